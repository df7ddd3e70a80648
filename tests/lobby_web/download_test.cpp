// The download dialog run as the lobby runs it, against the fake application
// server and a loopback HTTP server serving a zip made by the zip tool.
// clang-format off
#include "lobby/net/base/PrivateMessages.h"
#include "tests/support/HttpResponder.h"
// clang-format on

#include <gtest/gtest.h>

#include <atomic>

#include "lobby/ui/web/DlgDownload.h"
#include "tests/lobby_download/DownloadFixture.h"
#include "tests/lobby_ui/LobbyUiTest.h"
#include "tests/lobby_web/WebTestKit.h"
#include "tests/support/Patience.h"

using namespace downloadtest;
using testsupport::Connection;
using testsupport::LoopbackServer;

namespace {

std::string PackageUrl(const LoopbackServer& http, const std::string& name) {
    return HttpUrl(http.Port(), "/" + name);
}

bool FolderEmpty(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    bool empty = true;
    if (find == INVALID_HANDLE_VALUE) return true;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") empty = false;
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return empty;
}

class DownloadDialog : public ::testing::Test {
protected:
    void SetUp() override {
        LoadedSkin();
        webtest::Boxes().clear();
    }
    INT_PTR Run(unsigned short appPort, const std::string& folder) {
        CDlgDownload dialog(CWnd::FromHandle(lobby.Hwnd()));
        dialog.SetTarget("127.0.0.1", appPort, "fenlo", 1, folder.c_str());
        const INT_PTR result = dialog.DoModal();
        percent = dialog.GetPercent();
        return result;
    }
    webtest::Recorder lobby;
    int percent = -1;
};

TEST_F(DownloadDialog, FetchesAndUnpacksThePackage) {
    LoopbackServer http(ServeArchives());
    LoopbackServer app(Answer({AppInfo("package.zip", PackageUrl(http, "package.zip"))}));
    const std::string folder = FreshFolder("dialog_ok");
    ASSERT_EQ(IDOK, Run(app.Port(), folder));
    EXPECT_EQ(100, percent);
    for (const char* name : {"readme.txt", "fenlo\\config.ini", "fenlo\\image\\cards.bin"})
        EXPECT_EQ(ReadBytes(folder + "\\" + name), ReadBytes(DataPath(std::string("src\\") + name))) << name;
    const int size = static_cast<int>(ReadBytes(DataPath("package.zip")).size());
    EXPECT_EQ(webtest::Boxes(), std::vector<std::string>{"提示|下载完成,总大小:" + std::to_string(size)});
}

TEST_F(DownloadDialog, FailuresShowTheirBoxAndLeaveNothingBehind) {
    LoopbackServer http(ServeArchives());
    LoopbackServer app(Answer({AppInfo("package.zip", PackageUrl(http, "missing.zip"))}));
    const std::string folder = FreshFolder("dialog_404");
    EXPECT_EQ(IDCANCEL, Run(app.Port(), folder));
    EXPECT_EQ(webtest::Boxes(), std::vector<std::string>{"错误|下载失败，错误代码:1"});
    EXPECT_TRUE(FolderEmpty(folder));

    webtest::Boxes().clear();
    testsupport::RefusingPort refusing;
    EXPECT_EQ(IDCANCEL, Run(refusing.Port(), FreshFolder("dialog_refused")));
    EXPECT_EQ(webtest::Boxes(), std::vector<std::string>{"错误|连接更新服务器失败!"});
}

// An application server that takes the connection and never names the
// package: past the answer time the dialog fails as for a server it cannot
// reach, rather than waiting for ever.
TEST_F(DownloadDialog, ASilentApplicationServerFailsAfterTheAnswerTime) {
    std::atomic<bool> asked{false};
    LoopbackServer app([&](Connection& c) {
        int kind = 0;
        std::string request;
        asked = c.ReadFrame(kind, request, 5000);
        c.WaitClosed(20000);
    });
    CDlgDownload dialog(CWnd::FromHandle(lobby.Hwnd()));
    dialog.SetTarget("127.0.0.1", app.Port(), "fenlo", 1, FreshFolder("dialog_silent").c_str());
    dialog.SetAnswerTimeout(1000);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(asked);
    EXPECT_EQ(webtest::Boxes(), std::vector<std::string>{"错误|连接更新服务器失败!"});
}

// A thread timer clicks cancel once the download is under way.
CDlgDownload* running;
DWORD clickedAt;
void CALLBACK CancelWhileDownloading(HWND, UINT, UINT_PTR id, DWORD) {
    if (std::string(running->GetStatus()) != "下载文件中...") return;
    ::KillTimer(nullptr, id);
    SavePng(CaptureWindow(running->GetSafeHwnd()), "lobby_web_download");
    clickedAt = ::GetTickCount();
    webtest::Click(::GetDlgItem(running->GetSafeHwnd(), IDCANCEL));
}

TEST_F(DownloadDialog, CancelDuringASlowDownloadEndsSoon) {
    // A package that never finishes: a large length, a kilobyte every 100 ms.
    LoopbackServer http([](Connection& c) {
        std::string head;
        if (!testsupport::ReadHttpRequest(c, head, 5000)) return;
        if (!c.Send("HTTP/1.1 200 OK\r\nContent-Length: 10000000\r\nConnection: close\r\n\r\n")) return;
        for (int i = 0; i < 300 && c.Send(std::string(1024, 'x')); ++i) c.Pause(100);
    });
    LoopbackServer app(Answer({AppInfo("slow.zip", PackageUrl(http, "slow.zip"))}));
    const std::string folder = FreshFolder("dialog_cancel");
    CDlgDownload dialog(CWnd::FromHandle(lobby.Hwnd()));
    dialog.SetTarget("127.0.0.1", app.Port(), "slow", 1, folder.c_str());
    running = &dialog;
    clickedAt = 0;
    ::SetTimer(nullptr, 0, 100, CancelWhileDownloading);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    ASSERT_NE(0u, clickedAt);
    EXPECT_LT(::GetTickCount() - clickedAt, static_cast<DWORD>(testsupport::Patience(2500)));
    EXPECT_TRUE(webtest::Boxes().empty());
}

TEST_F(DownloadDialog, ProgressBarAtHalf) {
    CDlgDownload dialog(CWnd::FromHandle(lobby.Hwnd()));
    testsupport::RefusingPort refusing;
    dialog.SetTarget("127.0.0.1", refusing.Port(), "fenlo", 1, FreshFolder("dialog_pixels").c_str());
    ASSERT_TRUE(dialog.Create(CDlgDownload::IDD, CWnd::FromHandle(lobby.Hwnd())));
    dialog.ShowWindow(SW_SHOW);
    dialog.PostMessage(kMsgDownload, kDownloadLength, 1000);
    dialog.PostMessage(kMsgDownload, kDownloadProgress, 500);
    ASSERT_TRUE(PumpUntil([&] { return dialog.GetPercent() == 50; }));
    dialog.RedrawWindow();
    const Capture shot = CaptureWindow(dialog.GetSafeHwnd());
    SavePng(shot, "lobby_web_download_half");
    // The bar (green to yellow) covers half of its 310 pixels from x 5.
    EXPECT_GT(shot.Green(10, 8), 150);
    EXPECT_LT(shot.Red(10, 8), 60);
    EXPECT_GT(shot.Green(155, 8), 150);
    EXPECT_GT(shot.Blue(250, 8), shot.Green(250, 8)) << "the background past the bar";
    dialog.DestroyWindow();
}

}  // namespace

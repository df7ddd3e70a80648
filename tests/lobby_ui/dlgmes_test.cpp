// The lobby message box shown modally, watched from a second thread the way a
// person meets it: count-down, size, buttons, shape, the link and the trace.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "LobbyUiTest.h"
#include "lobby/ui/DlgMes.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/Patience.h"

namespace {

// Runs watch(box) on a second thread once the box titled caption is shown.
class Watcher {
public:
    Watcher(const char* caption, std::function<void(HWND)> watch)
        : m_thread([caption, watch] {
              HWND box = nullptr;
              for (int i = 0; i < 500 && !(box = ::FindWindowA(nullptr, caption)); ++i) ::Sleep(10);
              if (box) watch(box);
          }) {}
    ~Watcher() { m_thread.join(); }

private:
    std::thread m_thread;
};

bool WaitFor(const std::function<bool()>& done, DWORD ms = 5000) {
    ms = static_cast<DWORD>(testsupport::Patience(static_cast<int>(ms)));
    for (DWORD start = ::GetTickCount(); !done();) {
        if (::GetTickCount() - start > ms) return false;
        ::Sleep(10);
    }
    return true;
}

CRect Placed(HWND box, int id) {
    CRect r;
    ::GetWindowRect(::GetDlgItem(box, id), &r);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST(DlgMes, CountdownEndsWithOkOrCancel) {
    LoadedSkin();
    std::set<std::string> seen;
    INT_PTR result = 0;
    {
        Watcher w("倒计时", [&](HWND box) {
            WaitFor([&] {
                char text[16] = "";
                ::GetDlgItemTextA(box, kDlgMesCountLabel, text, sizeof text);
                seen.insert(text);
                return !::IsWindow(box);
            }, 9000);
        });
        result = ShowLobbyMessageBox("five seconds", "倒计时", 0, 1, 5, 0);
    }
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(seen.count("(5)"));
    EXPECT_TRUE(seen.count("(4)"));
    EXPECT_TRUE(seen.count("(1)"));
    EXPECT_EQ(ShowLobbyMessageBox("one second", "倒计时2", 1, 2, 1, 0), IDCANCEL);
}

TEST(DlgMes, LayoutShapeAndButtons) {
    LoadedSkin();
    CRect win, ok, cancel, client;
    bool cancelShown = true, cornerIn = true, centreIn = false, painted = false;
    {
        Watcher w("布局", [&](HWND box) {
            WaitFor([&] { return ::IsWindowVisible(box) != FALSE; });
            ::GetWindowRect(box, &win);
            ::GetClientRect(box, &client);
            ok = Placed(box, IDOK);
            cancelShown = ::IsWindowVisible(::GetDlgItem(box, IDCANCEL)) != FALSE;
            HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
            ::GetWindowRgn(box, rgn);
            cornerIn = ::PtInRegion(rgn, 0, 0) != FALSE;
            centreIn = ::PtInRegion(rgn, win.Width() / 2, win.Height() / 2) != FALSE;
            ::DeleteObject(rgn);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(ShowLobbyMessageBox("short", "布局", 0, 0, 0, 0), IDOK);
    }
    EXPECT_EQ(win.Width(), 300);
    EXPECT_FALSE(cancelShown);
    EXPECT_EQ(ok.CenterPoint().x, client.Width() / 2);
    EXPECT_EQ(ok.bottom, client.bottom - 2);
    EXPECT_FALSE(cornerIn);
    EXPECT_TRUE(centreIn);
    {
        Watcher w("两个按钮", [&](HWND box) {
            WaitFor([&] { return ::IsWindowVisible(box) != FALSE; });
            ::GetClientRect(box, &client);
            ok = Placed(box, IDOK);
            cancel = Placed(box, IDCANCEL);
            CRect w;
            ::GetWindowRect(box, &w);
            // Client in [color_list] color3; OK and Cancel at their centres in their
            // strips' first frame (the frame puts the client at 5, 28).
            const CPoint a = ok.CenterPoint() + CSize(5, 28), b = cancel.CenterPoint() + CSize(5, 28);
            const COLORREF okFace = SkinPicturePixel("btn\\btn8.png", ok.Width() / 2, ok.Height() / 2);
            const COLORREF cancelFace = SkinPicturePixel("btn\\btn9.png", cancel.Width() / 2, cancel.Height() / 2);
            painted = WaitFor([&] {
                Capture c = CaptureWhole(box);
                return c.At(w.Width() - 12, 36) == RGB(230, 240, 250) && c.At(a.x, a.y) == okFace &&
                       c.At(b.x, b.y) == cancelFace;
            });
            SavePng(CaptureWhole(box), "lobby_message_box");
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(ShowLobbyMessageBox("请确认这条消息的内容。", "两个按钮", 1, 0, 0, 0), IDCANCEL);
    }
    EXPECT_TRUE(painted);
    EXPECT_EQ(ok.right, client.Width() / 2 - 15);
    EXPECT_EQ(cancel.left, client.Width() / 2 + 15);
}

TEST(DlgMes, LinkOpensAddressAndTraceRecordsIt) {
    LoadedSkin();
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string trace = std::string(temp) + "lobby_trace_test.txt";
    std::remove(trace.c_str());
    ::SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", trace.c_str());
    std::string linkText;
    {
        Watcher w("链接", [&](HWND box) {
            WaitFor([&] { return ::IsWindowVisible(box) != FALSE; });
            HWND link = ::GetDlgItem(box, 0xE900);
            if (link) ::PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            WaitFor([&] {
                std::ifstream f(trace);
                std::stringstream s;
                s << f.rdbuf();
                linkText = s.str();
                return linkText.find("open no-such-page") != std::string::npos;
            });
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        ShowLobbyMessageBox("abc$here,no-such-page$tail", "链接", 0, 0, 0, 1);
    }
    ::SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
    EXPECT_NE(linkText.find("box 链接|abc$here,no-such-page$tail|0|0\n"), std::string::npos) << linkText;
    EXPECT_NE(linkText.find("open no-such-page\n"), std::string::npos) << linkText;
    std::remove(trace.c_str());

    CDlgMes box;
    box.SetText("abc$here,addr$tail", "c", 1);
    EXPECT_EQ(box.GetLinkFlag(), 1);
    EXPECT_STREQ(box.GetText(), "abc");
    EXPECT_STREQ(box.GetLinkAddress(), "addr");
    box.SetText("abc$here", "c", 1);
    EXPECT_EQ(box.GetLinkFlag(), 0);
    EXPECT_STREQ(box.GetText(), "abc$here");
    // A server's endless text is cut, never inside a character.
    box.SetText((std::string(999, 'a') + "中文").c_str(), "c", 0);
    const std::string shown = box.GetText().GetString();
    EXPECT_EQ(shown.find("\xD6"), std::string::npos) << "half a character";
    box.SetText(std::string(40000, 'N').c_str(), "c", 0);
    EXPECT_LT(box.GetText().GetLength(), 1200);
}

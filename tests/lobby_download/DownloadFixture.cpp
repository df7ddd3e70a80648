#include "tests/lobby_download/DownloadFixture.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/download/MyHttpDownloader.h"

using namespace testsupport;

namespace downloadtest {

namespace {

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

void RemoveTree(const std::string& path) {
    std::string from = path + '\0';  // a list of names, ending with an empty one
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

// Records the download events posted to it.
LRESULT CALLBACK EventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kMsgDownload) return DefWindowProcA(window, message, wParam, lParam);
    reinterpret_cast<Events*>(GetWindowLongPtrA(window, GWLP_USERDATA))->push_back({int(wParam), int(lParam)});
    return 0;
}

bool Ended(const Events& events) {
    for (const auto& e : events)
        if (e.first == kDownloadDone || e.first == kDownloadFailed || e == std::make_pair(6, 0)) return true;
    return false;
}

}  // namespace

std::string DataPath(const std::string& name) {
    const std::string here = FullPath("download_data\\" + name);
    return Exists(here) ? here : FullPath("..\\download_data\\" + name);
}

std::string ReadBytes(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(f, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(f);
    return bytes.substr(0, got);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FreshFolder(const std::string& name) {
    CreateDirectoryA("download_tmp", nullptr);
    const std::string folder = FullPath("download_tmp\\" + name);
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string HttpUrl(unsigned short port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

LoopbackServer::Handler ServeArchives() {
    return [](Connection& c) {
        std::string head;
        if (!ReadHttpRequest(c, head, 5000)) return;
        // "GET /<name> HTTP/1.1"
        const size_t start = head.find(" /") + 2;
        const std::string path = DataPath(head.substr(start, head.find(' ', start) - start));
        c.Send(Exists(path) ? HttpResponse(200, ReadBytes(path)) : HttpResponse(404, ""));
        c.Close();
    };
}

LoopbackServer::Handler Answer(std::vector<std::string> blocks) {
    return [blocks](Connection& c) {
        int kind = 0;
        std::string payload;
        if (!c.ReadFrame(kind, payload, 5000)) return;
        for (const std::string& block : blocks) {
            c.Pause(50);
            c.Send(block);
        }
        c.WaitClosed(5000);
    };
}

std::string AppInfo(const std::string& target, const std::string& url) {
    return Frame(1, "<AppInfo name=\"fenlo\" version=\"1.0\" file=\"" + target + "\" size=\"0\" url=\"" + url + "\"/>");
}

Events Download(unsigned short appPort, const std::string& folder, int unpack, int timeoutMs) {
    WNDCLASSA c = {};
    c.lpfnWndProc = EventProc;
    c.lpszClassName = "DownloadEvents";
    RegisterClassA(&c);  // fails harmlessly when registered already
    HWND window = CreateWindowA("DownloadEvents", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    Events events;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events));
    {
        CMyHttpDownloader downloader;
        downloader.SetNotifyWindow(window, unpack);
        downloader.SetApplication("127.0.0.1", appPort, "fenlo", folder.c_str());
        unsigned long long end = NowMs() + timeoutMs;
        // Waits for messages rather than polling: every poll is a trip to the wineserver.
        for (MSG m; NowMs() < end; MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT)) {
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            if (Ended(events) && end > NowMs() + 100) end = NowMs() + 100;  // nothing may follow the end
        }
    }
    DestroyWindow(window);
    return events;
}

void ExpectThePackageKeptPacked(const std::string& folderName) {
    LoopbackServer http(ServeArchives());
    LoopbackServer app(Answer({AppInfo("package.zip", HttpUrl(http.Port(), "/package.zip"))}));
    const std::string folder = FreshFolder(folderName);
    const Events events = Download(app.Port(), folder, 1);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), std::make_pair(static_cast<int>(kDownloadFailed), 1));
    for (const auto& e : events) EXPECT_NE(e.first, kDownloadDone);
    EXPECT_EQ(ReadBytes(folder + "\\package.zip"), ReadBytes(DataPath("package.zip")));
    EXPECT_FALSE(Exists(folder + "\\readme.txt"));
}

}  // namespace downloadtest

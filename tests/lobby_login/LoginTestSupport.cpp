#include "tests/lobby_login/LoginTestSupport.h"
#include "tests/support/Patience.h"

#include <atomic>
#include <fstream>

#include "lobby/net/base/TextHelpers.h"
#include "platform/CString.h"

using namespace testsupport;

// ---- MessageSink ----------------------------------------------------------------------

MessageSink::MessageSink() {
    std::mutex ready;
    std::unique_lock<std::mutex> lock(ready);
    std::condition_variable made;
    bool done = false;
    thread_ = std::thread([&] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &MessageSink::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MiraboLoginSink";
        RegisterClassA(&wc);  // fails harmlessly when registered already
        HWND window =
            CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        {
            std::lock_guard<std::mutex> g(ready);
            window_ = window;
            done = true;
        }
        made.notify_all();
        Loop();
    });
    made.wait(lock, [&] { return done; });
}

MessageSink::~MessageSink() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void MessageSink::Loop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    // Status strings still queued would leak: none can be, the window is gone.
}

LRESULT CALLBACK MessageSink::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageSink*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        PostQuitMessage(0);
        return 0;
    }
    if (self && message >= WM_USER) {
        Posted posted{message, wParam, false, std::string()};
        if (message == WM_USER + 6131) {
            CString* line = reinterpret_cast<CString*>(lParam);
            posted.hasText = line != nullptr;
            if (line) posted.text = line->str();
            delete line;
        } else if (message == WM_USER + 1 && lParam) {
            posted.hasText = true;
            posted.text = reinterpret_cast<const char*>(lParam);
        }
        {
            std::lock_guard<std::mutex> g(self->mutex_);
            self->messages_.push_back(posted);
        }
        self->changed_.notify_all();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<MessageSink::Posted> MessageSink::Messages() {
    std::lock_guard<std::mutex> g(mutex_);
    return messages_;
}

std::vector<std::string> MessageSink::StatusLines() {
    std::vector<std::string> lines;
    for (const Posted& p : Messages())
        if (p.message == WM_USER + 6131) lines.push_back(p.text);
    return lines;
}

size_t MessageSink::Count(UINT message) {
    std::lock_guard<std::mutex> g(mutex_);
    size_t n = 0;
    for (const Posted& p : messages_) n += p.message == message;
    return n;
}

bool MessageSink::WaitFor(UINT message, size_t count, int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(testsupport::Patience(timeoutMs)), [&] {
        size_t n = 0;
        for (const Posted& p : messages_) n += p.message == message;
        return n >= count;
    });
}

// ---- Scratch -----------------------------------------------------------------------------

Scratch::Scratch() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = AnsiToUtf8(temp) + "mirabo_login_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter) + "\\";
    CreateDirectoryW(Utf8ToWide(folder_).c_str(), nullptr);
}

Scratch::~Scratch() {
    WIN32_FIND_DATAW found;
    const std::wstring folder = Utf8ToWide(folder_);
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void Scratch::Write(const std::string& name, const std::string& text) const {
    std::ofstream out(Utf8ToWide(Path(name)).c_str(), std::ios::binary | std::ios::trunc);
    out << text;
}

std::string Scratch::ReadIni(const std::string& name, const char* section, const char* key) const {
    return ReadProfileText(Path(name), section, key);
}

// ---- files and settings ------------------------------------------------------------------

void PrepareHub(const Scratch& scratch, int time1, int time2, int time3, int time4) {
    ServerConfig::Files files;
    files.serverAddr = scratch.Path("serveraddr.ini");
    files.updaterRead = scratch.Path("updater.ini");
    files.updaterWrite = scratch.Path("updater.ini");
    GetServerConfig().SetFiles(files);

    CLobbyData& hub = GetLobbyData();
    hub.Shutdown();
    hub.SetServerConfigLoader(nullptr);
    hub.SetConfigFile(scratch.Path("config.ini"));
    hub.translateFlag = false;
    hub.versionxml = "<version game=\"FENLO\" number=\"2.0.1\"/>";
    hub.ping = "<GameMessage game=\"FENLO\"><Message name=\"Ping\" type=\"Request\"/></GameMessage>";
    hub.notice_url.clear();
    const int times[5] = {time1, time2, time3, time4, 3000};
    for (int i = 0; i < 5; ++i) {
        hub.timeText[i] = std::to_string(times[i]);
        hub.timeValue[i] = times[i];
    }
    hub.serverChoice = 0;
    hub.userName = "player";
    hub.storedDigest.clear();
    hub.ticket.clear();
    hub.moneyText.clear();
    hub.nickname.clear();
    hub.locked = 0;
    hub.loginRun = 0;
}

std::unique_ptr<LoopbackServer> StartProbeServer(int delayMs, const std::string& answer) {
    return std::make_unique<LoopbackServer>([delayMs, answer](Connection& c) {
        int kind;
        std::string probe;
        if (!c.ReadFrame(kind, probe, 10000)) return;
        if (delayMs < 0) {
            c.WaitClosed(30000);
            return;
        }
        c.Pause(delayMs);
        c.SendFrame(1, answer);
        c.WaitClosed(30000);
    });
}

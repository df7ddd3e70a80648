#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"

#include "tests/support/LoopbackServer.h"

namespace testsupport {

namespace {
struct WindowQuery {
    DWORD pid;
    const char* cls;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lp) {
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lp);
    DWORD owner = 0;
    char cls[64] = "";
    ::GetWindowThreadProcessId(window, &owner);
    ::GetClassNameA(window, cls, sizeof cls);
    if (owner == q.pid && ::IsWindowVisible(window) && (!q.cls || std::string(cls) == q.cls) &&
        (!q.title || WindowText(window) == q.title))
        q.found.push_back(window);
    return TRUE;
}
}  // namespace

std::string OwnFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text(path);
    return text.substr(0, text.rfind('\\') + 1);
}

std::string WindowText(HWND window) {
    char text[512] = "";
    DWORD_PTR copied = 0;  // WM_GETTEXT: GetWindowText does not ask a control of another process
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &copied);
    return text;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& args, const std::string& folder) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string line = "\"" + program + "\"" + (args.empty() || args[0] == ' ' ? args : " " + args);
    started_ = ::CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                &info_) != 0;
}

ChildProcess::~ChildProcess() {
    if (!started_) return;
    if (!WaitExit(0)) {
        for (HWND window : Windows()) ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitExit(5000)) ::TerminateProcess(info_.hProcess, 9);
        WaitExit(5000);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool ChildProcess::WaitExit(int ms) {
    return started_ && ::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(Patience(ms))) == WAIT_OBJECT_0;
}

void ChildProcess::Kill() {
    if (started_ && !WaitExit(0)) {
        ::TerminateProcess(info_.hProcess, 9);
        WaitExit(5000);
    }
}

DWORD ChildProcess::ExitCode() {
    DWORD code = 1;
    if (started_) ::GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

std::vector<HWND> ChildProcess::Windows(const char* cls, const char* title) {
    WindowQuery q{info_.dwProcessId, cls, title, {}};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND ChildProcess::WaitWindow(const char* cls, const char* title, int ms) {
    std::vector<HWND> found;
    WaitFor([&] { return !(found = Windows(cls, title)).empty(); }, ms);
    return found.empty() ? nullptr : found[0];
}

}  // namespace testsupport

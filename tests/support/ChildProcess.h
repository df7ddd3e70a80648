// A program a test starts in a working directory of its own, and the visible
// top-level windows it shows. The destructor closes what is left: WM_CLOSE to
// its windows, then termination.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <string>
#include <vector>

namespace testsupport {

class ChildProcess {
public:
    // args are put after the quoted program name, with a blank between unless
    // they start with one (the lobby's own command lines do).
    ChildProcess(const std::string& program, const std::string& args, const std::string& folder);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitExit(int ms);
    DWORD ExitCode();
    // Ends it at once (programs without windows to close).
    void Kill();
    // Its visible top-level windows, of a class and with a title when given.
    std::vector<HWND> Windows(const char* cls = nullptr, const char* title = nullptr);
    // The first such window within the time, or null.
    HWND WaitWindow(const char* cls, const char* title = nullptr, int ms = 10000);

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// The text of a window, also of another process's control; GBK bytes as they stand.
std::string WindowText(HWND window);

// The folder of the running program, ending with a backslash.
std::string OwnFolder();

}  // namespace testsupport

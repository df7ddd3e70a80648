// A test program that ctest runs in a Wine slot of its own starts with no
// program of ours left over from an earlier test, and leaves none behind: a
// lobby left running would hold the lobby's single-instance name, and the next
// test's lobby would open with "already running".
// The process image query is Vista's; Wine has it.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Patience.h"

namespace {

struct Stray {
    DWORD id;
    std::string path;
};

// Processes of this Wine world that are not Wine's own (everything outside C:\windows\).
std::vector<Stray> Strays() {
    std::vector<Stray> found;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId() || entry.th32ProcessID == 0) continue;
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        char path[MAX_PATH * 2] = "";
        DWORD size = sizeof path;
        DWORD code = 0;
        const bool named = ::QueryFullProcessImageNameA(process, 0, path, &size) != FALSE;
        const bool alive = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
        ::CloseHandle(process);
        if (!named || !alive || ::_strnicmp(path, "C:\\windows\\", 11) == 0) continue;
        found.push_back({entry.th32ProcessID, path});
    }
    ::CloseHandle(snapshot);
    return found;
}

std::string Names(const std::vector<Stray>& strays) {
    std::string names;
    for (const Stray& s : strays) names += (names.empty() ? "" : ", ") + s.path + " (" + std::to_string(s.id) + ")";
    return names;
}

void End(const std::vector<Stray>& strays) {
    for (const Stray& s : strays) {
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, s.id)) {
            ::TerminateProcess(process, 9);
            ::WaitForSingleObject(process, static_cast<DWORD>(testsupport::Patience(5000)));
            ::CloseHandle(process);
        }
    }
}

// Programs still ending (a child's child, a box being closed) get a moment.
std::vector<Stray> LastingStrays() {
    const DWORD deadline = ::GetTickCount() + static_cast<DWORD>(testsupport::Patience(5000));
    std::vector<Stray> strays = Strays();
    while (!strays.empty() && static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
        ::Sleep(100);
        strays = Strays();
    }
    return strays;
}

class SlotCheck : public testing::Environment {
public:
    void SetUp() override {
        if (!Own()) return;
        const std::vector<Stray> strays = LastingStrays();
        if (strays.empty()) return;
        std::printf("slot: ending what an earlier test left running: %s\n", Names(strays).c_str());
        End(strays);
    }
    void TearDown() override {
        if (!Own()) return;
        const std::vector<Stray> strays = LastingStrays();
        if (strays.empty()) return;
        ADD_FAILURE() << "left running after the tests: " << Names(strays);
        End(strays);
    }

private:
    // ctest hands a slot to one test at a time; the shared world is not ours to sweep.
    static bool Own() {
        const char* group = std::getenv("CTEST_RESOURCE_GROUP_0_WINE");
        return group && *group;
    }
};

const testing::Environment* const registered = testing::AddGlobalTestEnvironment(new SlotCheck);

}  // namespace

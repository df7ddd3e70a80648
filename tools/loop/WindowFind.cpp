#include "tools/loop/WindowFind.h"

#include <tlhelp32.h>

#include <cstring>

#include "tests/support/ChildProcess.h"

namespace loop {

using testsupport::WindowText;

HWND FindChild(HWND parent, const std::string& title) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && WindowText(child) == title) return child;
        if (HWND deeper = FindChild(child, title)) return deeper;
    }
    return nullptr;
}

static bool ClassIs(HWND window, const char* cls) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, cls) == 0;
}

HWND FindClass(HWND parent, const char* cls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassIs(child, cls)) return child;
        if (HWND deeper = FindClass(child, cls)) return deeper;
    }
    return nullptr;
}

HWND FindControl(HWND parent, int id, const char* cls) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id && ClassIs(child, cls)) return child;
        if (HWND deeper = FindControl(child, id, cls)) return deeper;
    }
    return nullptr;
}

namespace {
struct Query {
    DWORD pid;
    const std::function<bool(HWND)>* test;
    std::vector<HWND> found;
};

BOOL CALLBACK Match(HWND window, LPARAM lp) {
    Query& q = *reinterpret_cast<Query*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == q.pid && IsWindowVisible(window) && (!*q.test || (*q.test)(window))) q.found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> ProcessWindows(DWORD pid, const std::function<bool(HWND)>& test) {
    Query q{pid, &test, {}};
    if (pid) EnumWindows(Match, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

std::vector<DWORD> ProcessesNamed(const char* exe, DWORD parent) {
    std::vector<DWORD> out;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return out;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exe) == 0 && (!parent || entry.th32ParentProcessID == parent))
            out.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return out;
}

bool IsShown(HWND window) { return window && IsWindow(window) && IsWindowVisible(window); }
bool IsUsable(HWND window) { return IsShown(window) && IsWindowEnabled(window); }

void Click(HWND window, int x, int y) {
    if (x < 0) {
        RECT r{};
        GetClientRect(window, &r);
        x = r.right / 2;
        y = r.bottom / 2;
    }
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void DoubleClick(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Confirm(HWND box) {
    const int id = GetDlgItem(box, IDYES) ? IDYES : IDOK;
    HWND button = GetDlgItem(box, id);
    if (IsUsable(button) && ClassIs(button, "Button")) Click(button);
    else PostMessageA(box, WM_COMMAND, id, 0);  // a skinned box's own buttons
}

}  // namespace loop

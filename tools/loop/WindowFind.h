// Finding another program's windows from outside: by title, class, control id
// or owning process. Titles and texts are compared as the GBK bytes they are.
#pragma once

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <functional>
#include <string>
#include <vector>

namespace loop {

// The first visible descendant with that exact text, depth first.
HWND FindChild(HWND parent, const std::string& title);
// The first descendant of that class, depth first.
HWND FindClass(HWND parent, const char* cls);
// The first descendant with that control id and class, depth first.
HWND FindControl(HWND parent, int id, const char* cls);
// The visible top-level windows of a process that satisfy the test.
std::vector<HWND> ProcessWindows(DWORD pid, const std::function<bool(HWND)>& test = nullptr);
// Ids of running processes of that program file name (e.g. "fenlo.exe");
// only the children of parent when it is not 0.
std::vector<DWORD> ProcessesNamed(const char* exe, DWORD parent = 0);

bool IsShown(HWND window);                   // exists and is visible
bool IsUsable(HWND window);                  // visible and enabled

// Real input: a press and a release of the left button posted at a point of
// the window (its middle when x < 0), as a person's click arrives.
void Click(HWND window, int x = -1, int y = -1);
void DoubleClick(HWND window, int x, int y);
// Answers a message box with the button a person would take: Yes, else OK.
void Confirm(HWND box);

}  // namespace loop

// Where the lobby's web windows and download dialog reach the rest of the
// lobby: the main lobby window, its message-box queue, and the heap texts
// that travel with WM_USER+5600 and WM_USER+4444.
#pragma once

#include <windows.h>

#include <string>

// The main lobby window: the one set here, else the application's main window.
HWND LobbyMainWindow();
void SetLobbyMainWindow(HWND window);

// Shows a lobby message box (text, caption, style 0 inform / 1 confirm) and
// returns its answer; -1 while no sender is set.
using LobbyBoxSender = int (*)(LPCSTR text, LPCSTR caption, int style);
void SetLobbyBoxSender(LobbyBoxSender sender);
int SendLobbyBox(LPCSTR text, LPCSTR caption, int style);

// A text on the heap for a posted message; its receiver frees it with
// FreeWebText on every path.
char* NewWebText(const std::string& text);
void FreeWebText(LPARAM text);
// Posts a heap copy of text; frees it when the post fails.
BOOL PostWebText(HWND window, UINT message, WPARAM wParam, const std::string& text);

// Where the lobby's web windows and download dialog reach the rest of the
// lobby: the main lobby window and its message boxes.
#pragma once

#include <windows.h>

// The main lobby window: the one set here, else the application's main window.
HWND LobbyMainWindow();
void SetLobbyMainWindow(HWND window);

// Shows a lobby message box (text, caption, style 0 inform / 1 confirm) and
// returns its answer; -1 while no sender is set.
using LobbyBoxSender = int (*)(LPCSTR text, LPCSTR caption, int style);
void SetLobbyBoxSender(LobbyBoxSender sender);
int SendLobbyBox(LPCSTR text, LPCSTR caption, int style);

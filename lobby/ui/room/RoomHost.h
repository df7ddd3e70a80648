// What the room page needs from the lobby program around it: the main lobby
// window (kMsgMainCommand commands), the box service, the running-game check,
// the panels that follow the room, and the game client's start. The lobby's
// application installs one; tests install a recorder.
#pragma once

#include <windows.h>

#include <string>

class CRoomHost {
public:
    virtual ~CRoomHost() = default;

    virtual HWND GetMainWindow() = 0;
    virtual int IsGameRunning() = 0;
    // Shown by the main window later; the caller never waits in a modal loop.
    virtual int PostMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag, int seconds,
                               int linkFlag) = 0;
    // inRoom 1: the right-hand panel (the room's players) and the middle
    // panel's in-room buttons show; 0: they go back.
    virtual void ShowRoomPanels(int inRoom) { (void)inRoom; }
    // Starts fenlo.exe from the lobby's working directory with these
    // parameters (ShellExecute "open", SW_SHOWNORMAL); the result is not examined.
    virtual void LaunchGame(HWND owner, const std::string& params);
};

// Null until the lobby installs one; the page then shows no boxes and starts nothing.
void SetRoomHost(CRoomHost* host);
CRoomHost* GetRoomHost();

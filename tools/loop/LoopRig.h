// The whole loop on 127.0.0.1 for a driver, a test or a person: a play folder
// holding MiraboGame.exe, fenlo.exe and what they need beside them, our lobby
// and game servers started as child processes on free ports, and MiraboGame.exe
// started with the command-line login. Finders and actions reach the windows
// a player meets on the way; every wait polls up to its deadline.
#pragma once

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tools/loop/RemoteTree.h"

namespace loop {

// Window titles, as the programs write them (GBK).
extern const char kLoginTitle[];  // the login window of the command-line login
extern const char kLobbyTitle[];  // the lobby's main window
extern const char kTableTitle[];  // the card table of fenlo.exe

struct RigOptions {
    std::string name = "loop";  // part of the play folder's name
    std::string playFolder;     // empty: a fresh folder under %TEMP%, removed at the end
    std::string binFolder;      // the built programs; empty: this program's folder
    std::string account = "player";
    std::string password = "secret";
    int turnSeconds = 120;      // the game server's turn notices
    int idleMs = 600000;        // each server ends after this long without traffic
    std::vector<std::string> lobbyServerOptions;  // appended to MiraboLobbyServer.exe's
    std::vector<std::string> gameServerOptions;   // appended to FenloGameServer.exe's
};

class LoopRig {
public:
    explicit LoopRig(RigOptions options = RigOptions());
    // Closes fenlo.exe, MiraboGame.exe and both servers; removes a folder of its own.
    ~LoopRig();
    LoopRig(const LoopRig&) = delete;
    LoopRig& operator=(const LoopRig&) = delete;

    // Lays out the play folder and starts both servers; false with the reason.
    bool Start(std::string& error);
    // MiraboGame.exe with the command-line login of the account.
    bool StartLobby();
    // A server stopped, or started again on its former port (false when it
    // does not listen again within the time).
    void StopLobbyServer();
    void StopGameServer();
    bool RestartLobbyServer(int ms = 15000);
    bool RestartGameServer(int ms = 15000);

    const std::string& Folder() const { return folder_; }  // ends with a backslash
    const std::string& Bin() const { return bin_; }
    unsigned short LobbyPort() const { return lobbyPort_; }
    unsigned short GamePort() const { return gamePort_; }
    const std::string& Account() const { return options_.account; }
    std::string LoginLine() const;  // the command line of the command-line login
    testsupport::ChildProcess* Lobby() { return lobby_.get(); }
    // The lobby's trace and the table's trace, one line each, in the play folder.
    std::vector<std::string> TraceLines(bool table) const;

    // ---- the lobby -------------------------------------------------------------
    HWND WaitLoginWindow(int ms = 20000);
    HWND WaitLobbyWindow(int ms = 30000);
    HWND LobbyWindow();
    HWND Tree();  // the lobby's game tree
    // The tree item of a room, once the tree shows it ("新手房" matches "新手房(12人)").
    HTREEITEM WaitRoomItem(RemoteTree& tree, const std::string& room = "新手房", int ms = 20000);
    // Double-clicks the room's item; false when the tree never shows it.
    bool EnterRoom(const std::string& room = "新手房", int ms = 20000);
    HWND RoomPage();  // the room page with its desks, once shown
    HWND WaitRoomPage(int ms = 20000);
    HWND SeatButton(int desk, int seat);  // desk from 1, seat 0 to 2
    bool ClickSeat(int desk, int seat);
    // The lobby's message boxes (of that caption when given), each confirmed; how many.
    int ConfirmLobbyBoxes(const char* caption = nullptr);
    // Asks the lobby to close, confirms, and waits for it to end.
    bool CloseLobby(int ms = 15000);

    // ---- the card table ----------------------------------------------------------
    DWORD FenloId();  // the running fenlo.exe the lobby started, or 0
    HWND Table();
    HWND WaitTable(int ms = 20000);
    bool WaitFenloGone(int ms = 20000);
    HWND TableButton(int id);  // a visible table button
    bool ClickTableButton(int id);
    // The result dialog, once shown, and its buttons.
    HWND ResultDialog();
    HWND WaitResultDialog(int ms = 60000);
    // The table's boxes (not the table, its side panel nor the result), each
    // answered with the button; how many.
    int AnswerTableBoxes(int button = IDOK);
    // Closes the table as a person does (its close button, then Yes) and waits
    // until fenlo.exe has ended; ends it when it will not.
    bool CloseTable(int ms = 15000);

    // ---- pictures ------------------------------------------------------------------
    // The window as the screen shows it (its own pixels where the screen cannot
    // be read) as a PNG file folder\name.png; its path or "".
    static std::string Screenshot(HWND window, const std::string& folder, const std::string& name);

private:
    bool StartServer(bool lobby, unsigned short port, std::string& error);
    void EndFenlo();

    RigOptions options_;
    std::string bin_;
    std::string folder_;
    bool ownFolder_ = false;
    std::string secret_;
    unsigned short lobbyPort_ = 0;
    unsigned short gamePort_ = 0;
    std::unique_ptr<testsupport::ChildProcess> lobbyServer_;
    std::unique_ptr<testsupport::ChildProcess> gameServer_;
    std::unique_ptr<testsupport::ChildProcess> lobby_;
};

}  // namespace loop

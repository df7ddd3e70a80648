// CTableGame: the rules of one three-seat table, without a window. It owns
// the table's state (CTableState), the turn and deal clocks, the connection
// watch, the dirty list and the effect queue; it runs the phase machine,
// handles every message the session queues for the table and the player's
// commands, and does the game's part of the 25 ms tick. It reaches the
// screen only through CTableView and the session only through CTableSession.
//
// Its work is spread over files by subject: TableGame.cpp (phases, seats,
// button groups, clocks), TableCommands.cpp (requests and commands, leaving),
// HandMessages.cpp, RestoreMessage.cpp, TableMessages.cpp (the incoming
// messages) and TableTick.cpp (tick, keep-alive, reconnect, time-outs,
// dealing and effects).
#pragma once

#include <string>

#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"
#include "game/core/table/ConnectionWatch.h"
#include "game/core/table/DealClock.h"
#include "game/core/table/DirtyList.h"
#include "game/core/table/SpriteEffects.h"
#include "game/core/table/TableSession.h"
#include "game/core/table/TableState.h"
#include "game/core/table/TableView.h"
#include "game/core/table/TurnClock.h"

class CMessage;
class CDeskInfoMsg;
class CReconnectMsg;
class CCardOutResultMsg;
class CGameResultMsg;

class CTableGame {
public:
    CTableGame(CTableView& view, CTableSession& session);
    ~CTableGame();
    CTableGame(const CTableGame&) = delete;
    CTableGame& operator=(const CTableGame&) = delete;

    // ---- what the screen and the tests read
    CTableState& State() { return m_state; }
    const CTableState& State() const { return m_state; }
    CTurnClock& Clock() { return m_clock; }
    const CTurnClock& Clock() const { return m_clock; }
    CConnectionWatch& Watch() { return m_watch; }
    CSpriteEffects& Effects() { return m_effects; }
    const CSpriteEffects& Effects() const { return m_effects; }
    CDirtyList& Dirty() { return m_dirty; }
    const CDirtyList& Dirty() const { return m_dirty; }
    CDealClock& Deal() { return m_deal; }
    const CDealClock& Deal() const { return m_deal; }
    // The reconnect text, with a dot per second of the attempt.
    const std::string& StatusText() const { return m_statusText; }
    // The kind text of the validation reply ("3": no money is reported).
    const std::string& ValidateText() const { return m_validateText; }
    // How long a dropped player is waited for, ms.
    int WaitingMs() const { return m_waitingMs; }

    // ---- settings, from the window's set-up
    void SetKeepAlive(const std::string& ping) { m_ping = ping; }
    // The table's size, which the dealing's card positions follow.
    void SetTableSize(int width, int height) { m_width = width, m_height = height; }

    // ---- the 25 ms tick (TableTick.cpp): the connection, both queues, the
    // keep-alive, the dealing, the clock's time-outs and the effects. True
    // when it ran to its end: the screen's animations step then.
    bool Tick();
    // Handles one message taken from a queue and deletes it; null is allowed.
    void HandleGameMessage(CMessage* message);
    void Reconnect();
    void PollReconnect();
    void TickCountdown();
    void TickDealing();
    void TickEffect();
    void HandleMain();
    void EnterLostConnection();
    // Where card k of the deal is at the current step; false when it is not
    // in flight.
    bool DealCardPosition(int k, int* x, int* y) const;

    // ---- phases, seats, buttons and the clock (TableGame.cpp)
    void SetPhase(int phase);
    void ShowTurnButtons(int on);
    void ShowBidButtons(int highest);
    void HideAllActionButtons(int on);
    void ShowDoubleButtons(int mode);
    void ShowContestButtons(int on);
    void ShowAutoButtons(int on);
    void SortAllHands();
    void PlacePlayerPrompt(const std::string& name);
    void CloseAdControl();
    void AddDirtyRect(int x, int y, int width, int height);
    void InvalidateAll();
    void ClearWaiting(CPlayerInfo* p);
    void StartClock(int ms);
    void StartClockFor(int total, int remaining);
    void StopClock();
    void ClockForTurn(int seconds, int limit);
    // Played only while the table's sound is on.
    void Sound(const char* path);
    void ResetHandPositions();
    // "[name]suffix" in the side panel's chat; names hidden by the desk's
    // name mode show as "-".
    void ChatLine(const std::string& name, const char* suffix);
    std::string ChatName(const std::string& name) const;

    // ---- requests and commands (TableCommands.cpp). The On* commands of
    // the buttons check the phase and the button's enabled state first.
    // Sends a built request and frees it; the length is read after the build
    // (it is the builder's out-parameter).
    void SendRequest(unsigned char* request, const unsigned int& length);
    void SendReady();
    void SendBid(int bid);
    void SendContest(int yes);
    void SendDouble(int value);
    void OnCmdPlay();
    void OnCmdPass();
    void OnCmdHint();
    void OnPlay();
    void OnPass();
    void OnHint();
    void OnAutoPlay();
    void AutoPlayStep();
    bool FirstHint();
    void OnContinue();
    void OnCancelAutoPlay();
    void OnBet();
    void OnSort();
    void SetSound(int on);
    void SelectNextPair() { SelectNextGroup(2, &m_pairPos); }
    void SelectNextTriple() { SelectNextGroup(3, &m_triplePos); }
    void SelectNextGroup(int size, int* position);
    // The result dialog came up: the continue buttons, the 5 s clock and
    // the continue that follows by itself.
    void OnResultShown();
    // The exit question (Esc, the close button): leaves under the group
    // movie without asking; otherwise, on Yes, quits at once before any
    // server message, at auto-grouping tables, during a hand or while the
    // connection is lost, and else asks the server to leave.
    void OnCancel();
    void OnLeave();
    // The exit box, which has no owner; true on Yes.
    bool ConfirmLeave();
    // Ends the table under the group movie (no box): quits at once before
    // any server message or in phase 16, otherwise asks to leave.
    void LeaveUnderMovie();
    bool NothingReceived() const;
    void SendLeaving();

    // ---- incoming messages (HandMessages.cpp, RestoreMessage.cpp,
    // TableMessages.cpp)
    bool HandleHandMessage(CMessage* message);
    bool HandleTableMessage(CMessage* message);
    void OnDeskInfo(const CDeskInfoMsg& m);
    void OnCardOut(const CCardOutResultMsg& m);
    void OnGameResult(const CGameResultMsg& m);
    void OnRestore(const CReconnectMsg& m);
    void RequestDesk(const std::string& room);

private:
    CTableView& m_view;
    CTableSession& m_session;

    CTableState m_state;
    CTurnClock m_clock;
    CConnectionWatch m_watch;
    CDirtyList m_dirty;
    CSpriteEffects m_effects;
    CDealClock m_deal;
    CCardTypeJudge m_judge;
    CCardFinder m_finder;

    int m_width = 0, m_height = 0;  // the table's size
    int m_lastAlive = -1;
    std::string m_ping;  // the keep-alive text
    DWORD m_continueStamp = 0;
    int m_startPause = -1;
    int m_statusTicks = 0;
    DWORD m_reconnectStart = 0;
    std::string m_statusText;
    int m_waitingMs = 30000;
    std::string m_validateText;
    std::string m_betText;
    int m_pairPos = 0, m_triplePos = 0;  // the next-pair / next-triple search positions
};

// CPavlenDlg: the table window, the card-game client's main window, run
// modally. It holds the table's state (CTableState and the clocks beside it);
// its 25 ms timer watches the connection, takes the received messages from
// both of the session's queues and hands them to HandleGameMessage, and runs
// the turn clock, the dealing and the effects. Its work is spread over files
// by subject: TablePhase.cpp (phases, seats, button groups), TableCommands.cpp
// (requests), HandMessages.cpp, RestoreMessage.cpp, TableMessages.cpp (the
// incoming messages), TableTimer.cpp (timer, keep-alive, reconnect, time-outs)
// and LobbyLink.cpp (the lobby notification and quitting).
#pragma once

#include <string>
#include <vector>

#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"
#include "game/core/ClientLoading.h"
#include "game/ui/ConnectionWatch.h"
#include "game/ui/DealClock.h"
#include "game/ui/DirtyList.h"
#include "game/ui/SpriteEffects.h"
#include "game/ui/TableState.h"
#include "game/ui/TurnClock.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"
#include "platform/com/EventSinkMap.h"

class CMessage;
class CDeskInfoMsg;
class CReconnectMsg;
class CCardOutResultMsg;
class CGameResultMsg;
class CReslutDlg;
class CShockwaveflash;

class CPavlenDlg : public CDialog {
public:
    enum { IDD = IDD_FENLO_DIALOG };
    static constexpr UINT_PTR kTimerId = 0x24604F39;
    static constexpr UINT kTimerMs = 25;
    // From the picture loader: wParam 1 loaded; 0 failed, lParam the text.
    static constexpr UINT kLoadedMessage = kImagesLoadedMessage;
    static constexpr const char* kTitle = "Mirabo斗地主";
    static constexpr const char* kLobbyTitle = "游戏大厅";

    explicit CPavlenDlg(CWnd* parent = nullptr);
    ~CPavlenDlg() override;

    BOOL DestroyWindow() override;

    // Handles one message taken from a queue and deletes it; null is allowed.
    void HandleGameMessage(CMessage* message);
    // One tick of the table's timer.
    void Tick();

    CTableState& State() { return m_state; }
    CTurnClock& Clock() { return m_clock; }
    CConnectionWatch& Watch() { return m_watch; }
    CSpriteEffects& Effects() { return m_effects; }
    int SetupComplete() const { return m_setupComplete; }
    const std::string& StatusText() const { return m_statusText; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR id);
    LRESULT OnLoaded(WPARAM result, LPARAM text);

    // ---- set-up (PavlenDlg.cpp)
    bool ReadSettings();
    void SetupFailed(const char* text);

    // ---- phases, seats and buttons (TablePhase.cpp)
    void SetPhase(int phase);
    void ShowButton(int id, BOOL enable);
    void HideButton(int id);
    void ShowTurnButtons(int on);
    void ShowBidButtons(int highest);
    void HideAllActionButtons(int on);
    void ShowDoubleButtons(int mode);
    void ShowContestButtons(int on);
    void ShowAutoButtons(int on);
    void SortAllHands();
    void PlacePlayerPrompt(const std::string& name);
    void CloseAdControl();
    void BringToFront();
    int Box(const char* text, const char* caption, UINT type, int seconds);
    void ChatLine(const std::string& name, const char* suffix);
    void AddDirtyRect(int x, int y, int width, int height);
    void InvalidateAll();
    void ClientSize(int* width, int* height) const;
    void ClearWaiting(CPlayerInfo* p);
    void StartClock(int ms);
    void StartClockFor(int total, int remaining);
    void StopClock();
    void ClockForTurn(int seconds, int limit);
    void Sound(const char* path);
    void ResetHandPositions();

    // ---- requests (TableCommands.cpp)
    // Sends a built request and frees it; the length is read after the build
    // (it is the builder's out-parameter).
    void SendRequest(unsigned char* request, const unsigned int& length);
    void SendReady();
    void SendBid(int bid);
    void SendContest(int yes);
    void SendDouble(int value);
    void OnPlay();
    void OnPass();
    void OnAutoPlay();
    void AutoPlayStep();
    bool FirstHint();
    void OnContinue();
    void OnCmdReady() { SendReady(); }
    void OnBid0() { SendBid(0); }
    void OnBid1() { SendBid(1); }
    void OnBid2() { SendBid(2); }
    void OnBid3() { SendBid(3); }
    void OnDoubleYes() { SendDouble(2); }
    void OnDoubleNo() { SendDouble(1); }
    void OnContestYes() { SendContest(1); }
    void OnContestNo() { SendContest(0); }
    void OnCmdPlay();
    void OnCmdPass();

    // ---- incoming messages (HandMessages.cpp, RestoreMessage.cpp, TableMessages.cpp)
    bool HandleHandMessage(CMessage* message);
    bool HandleTableMessage(CMessage* message);
    void OnDeskInfo(const CDeskInfoMsg& m);
    void OnCardOut(const CCardOutResultMsg& m);
    void OnGameResult(const CGameResultMsg& m);
    void OnRestore(const CReconnectMsg& m);
    void RequestDesk(const std::string& room);
    void RunUpdater();

    // ---- timer (TableTimer.cpp)
    void Reconnect();
    void PollReconnect();
    void TickCountdown();
    void TickDealing();
    void TickEffect();
    void HandleMain();
    void EnterLostConnection();

    // ---- lobby link (LobbyLink.cpp)
    void NotifyLobby();
    void QuitTable();
    static BOOL CALLBACK EnumLobbyWindowsProc(HWND window, LPARAM self);

    CLoading m_loading;
    CTableState m_state;
    CTurnClock m_clock;
    CConnectionWatch m_watch;
    CDirtyList m_dirty;
    CSpriteEffects m_effects;
    CDealClock m_deal;
    CCardTypeJudge m_judge;
    CCardFinder m_finder;

    int m_setupComplete = 0;
    int m_lastAlive = -1;
    CString m_ping;          // the keep-alive text
    DWORD m_continueStamp = 0;
    int m_startPause = -1;
    int m_flashTicks = 0;
    int m_statusTicks = 0;
    DWORD m_reconnectStart = 0;
    std::string m_statusText;
    int m_waitingMs = 30000;
    std::string m_validateText;  // kind text of the validation reply
    std::string m_betText;
    bool m_quitting = false;
    double m_ownScore = 0.0;
    int m_pairPos = 0, m_triplePos = 0;  // the next-pair / next-triple search positions
    // The side panel does not exist yet: the calls that reach it do nothing.
    CShockwaveflash* m_groupMovie = nullptr;
    CWnd* m_sidePanel = nullptr;
    CReslutDlg* m_resultDialog = nullptr;

    // ==== the player's side: the hand under the mouse, the commands, leaving,
    // the lobby's records, the result dialog and the group movie
    // (HandSelection.cpp, PlayerCommands.cpp, LobbyLink.cpp, TableResult.cpp,
    // GroupMovie.cpp)
public:
    // Posted by the result dialog: wParam 1 continue, 0 back to the lobby.
    static constexpr UINT kResultChoiceMessage = WM_USER + 102;
    static constexpr UINT kGroupMovieId = 1054;
    // Card i of n of the own hand in a client area of width x height.
    static RECT CardRect(int i, int n, bool selected, int width, int height);
    const std::string& NoticeText() const { return m_noticeText; }
    int NoticeCount() const { return m_noticeCount; }

protected:
    // Index of the own card under the point, searched from the last; -1 none.
    int HitTest(POINT point);
    void AddCardDirtyRect(int index);
    // Draws the dirty part of the table now.
    void RepaintNow();
    void ToggleCard(int index);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnCmdHint();
    void OnHint();
    void OnCancelAutoPlay();
    void OnBet();
    void OnSort();
    void SelectNextPair() { SelectNextGroup(2, &m_pairPos); }
    void SelectNextTriple() { SelectNextGroup(3, &m_triplePos); }
    void SelectNextGroup(int size, int* position);
    void OnSoundOff() { SetSound(0); }
    void OnSoundOn() { SetSound(1); }
    void SetSound(int on);

    void OnLeave();
    void OnBackToLobby();
    LRESULT OnResultChoice(WPARAM choice, LPARAM);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    // Ends the table under the group movie (no box): quits at once before
    // any server message or in phase 16, otherwise asks to leave.
    void LeaveUnderMovie();
    bool NothingReceived() const;
    void SendLeaving();
    void ShowResultDialog();
    void DestroyResultDialog();
    void ShowGroupMovie();
    void CloseGroupMovie();
    void CallMovie(const std::string& request);
    void SendNoticeToMovie();
    void ShowMovieCount(int value);
    void OnMovieCommand(LPCSTR command, LPCSTR args);

    std::vector<RECT> m_cardRects;
    int m_dragSelect = 0;
    int m_dragIndex = -1;
    POINT m_dragStart = {-1, -1};
    POINT m_lastMouse = {-1, -1};
    std::string m_noticeText;
    int m_noticeCount = 0;
    int m_noticeOffset = 0;

    DECLARE_EVENTSINK_MAP()
    DECLARE_MESSAGE_MAP()
};

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

#include <memory>
#include <string>

#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"
#include "game/core/ClientLoading.h"
#include "game/ui/ConnectionWatch.h"
#include "game/ui/DealClock.h"
#include "game/ui/DirtyList.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/SpriteEffects.h"
#include "game/ui/TableState.h"
#include "game/ui/TurnClock.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"

class CMessage;
class CDeskInfoMsg;
class CReconnectMsg;
class CCardOutResultMsg;
class CGameResultMsg;
class CDlgRight;

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
    // Neither exists yet: the calls that reach them do nothing.
    CWnd* m_groupMovie = nullptr;
    CWnd* m_sidePanel = nullptr;
    CWnd* m_resultDialog = nullptr;

    // ---- side panel and effect overlay (SidePanelLink.cpp)
public:
    // The side panel the table feeds (not owned); null while there is none.
    void SetSidePanel(CDlgRight* panel) { m_panel = panel; }
    CDlgRight* SidePanel() const { return m_panel; }
    // A Flash effect movie over the client area (codes 0..3, 100, 101).
    void ShowEffectMovie(int code);
    void CloseEffectMovie();
    CFlashDlg* EffectMovie() const { return m_effectMovie.get(); }
    // A green line in the panel's chat (the lobby's chat-box notices).
    void PanelNotice(const std::string& text);

protected:
    // Chat, notices, ranking and match time; false for other messages.
    bool HandlePanelMessage(CMessage* message);
    // The name shown in a chat line: "-" while names are hidden.
    std::string ChatName(const std::string& name) const;
    CDlgRight* m_panel = nullptr;
    std::unique_ptr<CFlashDlg> m_effectMovie;
    int m_currentEffect = 0;

    DECLARE_MESSAGE_MAP()
};

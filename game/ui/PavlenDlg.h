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
#include <vector>

#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"
#include "game/core/ClientLoading.h"
#include "game/ui/ConnectionWatch.h"
#include "game/ui/DealClock.h"
#include "game/ui/DlgRight.h"
#include "game/ui/DirtyList.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/SpriteEffects.h"
#include "game/ui/TableState.h"
#include "game/ui/TurnClock.h"
#include "game/ui/XImgButton.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"
#include "platform/com/EventSinkMap.h"
#include "platform/vantor/CxImage.h"

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
    // Owned by the table unless owned is false.
    int Box(const char* text, const char* caption, UINT type, int seconds, bool owned = true);
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
    CShockwaveflash* m_groupMovie = nullptr;
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

    // ==== The table on screen: set-up and layout (TableSetup.cpp), the render
    // pass and the draw routines (TableRender.cpp, TableDraw.cpp,
    // TableDrawSeats.cpp), seat animations (TableAnimations.cpp) and the
    // calls into the side panel, movies and result dialog (TableNeighbours.cpp).
public:
    // The render pass: the table into the back buffer, then the dirty parts
    // (or everything) onto dc. Nothing without a DC, with nothing dirty or
    // while the group movie covers the table.
    void Render(CDC* dc);
    // The render pass onto the window now.
    void RenderNow();
    const RECT& TableRect() const { return m_client; }
    CBitmap& BackBuffer() { return m_backBuffer; }
    CDirtyList& Dirty() { return m_dirty; }
    CDealClock& Deal() { return m_deal; }
    // The clock's place and the counter box's place on the table.
    POINT ClockPosition() const { return m_clockAt; }
    POINT CounterPosition() const { return m_counterAt; }
    // Strictly overlaps a dirty rectangle.
    bool IntersectsDirty(int x, int y, int width, int height) const;
    void QueueEffect(int code);
    void TickAnimations();
    // The lobby's notice, scrolled through its band `passes` times.
    void SetNotice(const std::string& text, int passes);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_icon); }
    void OnWindowPosChanged(WINDOWPOS* pos);
    void OnSysCommand(UINT code, LPARAM lParam);
    void OnMinimize() { CloseWindow(); }
    void OnNothing() {}

    // ---- set-up (TableSetup.cpp)
    bool LoadFrameImages();
    void PlaceFrameButtons();
    void SetupSystemMenu();
    void LayoutGameButtons();
    void SkinGameButtons();
    CXImgButton* Button(int id);
    void DrawClock();
    void ReleaseScreen();

    // ---- draw routines (TableDraw.cpp, TableDrawSeats.cpp)
    // The picture of an image-table entry at (x, y) when it meets a dirty
    // rectangle (always with gate false); a missing picture draws nothing.
    void DrawEntry(CDC* dc, int entry, int x, int y, bool gate = true);
    // Slice index of `slices` equal slices side by side; nothing past the last.
    void DrawSlice(CDC* dc, int entry, int slices, int index, int x, int y);
    void DrawCard(CDC* dc, int number, int suit, int x, int y, BOOL sideways, BOOL leftSet);
    void DrawBackground(CDC* dc);
    void DrawNotice(CDC* dc);
    // Moves the notice 4 pixels on, at most every 90 ms.
    void ScrollNotice();
    void DrawReadyPrompts(CDC* dc);
    void DrawHands(CDC* dc);
    void DrawDealing(CDC* dc);
    void DrawBottomCards(CDC* dc);
    void DrawBids(CDC* dc);
    void DrawDoubles(CDC* dc);
    void DrawContest(CDC* dc);
    void DrawPlayed(CDC* dc);
    void DrawCardCounts(CDC* dc);
    void DrawResultHands(CDC* dc);
    void DrawSeats(CDC* dc);
    void DrawSideSeat(CDC* dc, CPlayerInfo* p, bool next);
    void DrawInfoPanel(CDC* dc);
    void DrawDim(CDC* dc);
    void HandleResultDisplay(CDC* dc);
    void PaintClock(CDC* dc);
    void DrawEffects(CDC* dc);
    void DrawDigits(CDC* dc, int entry, int value, int rightX, int y);
    // Where card k of the deal is at the current step; false when it is not
    // in flight.
    bool DealCardPosition(int k, int* x, int* y) const;

    // ---- neighbours (TableNeighbours.cpp): the side panel is built
    // elsewhere; these are the table's single call points into it.
    void CreateSidePanel();
    void GiveSidePanelImages();
    void DestroySidePanel();

    RECT m_client = {0, 0, 0, 0};
    CDC m_windowDC;
    CBitmap m_backBuffer;
    HICON m_icon = nullptr;
    CxImage m_bg, m_minUp, m_minOn, m_closeUp, m_closeOn, m_soundUp, m_soundOnFace, m_silentUp, m_silentOn;
    CxImage m_rightBg, m_peopleNum, m_peopleNum2;
    POINT m_counterAt = {0, 0};
    POINT m_clockAt = {0, 0};
    CStringArray m_movieNames;
    DWORD m_noticeStamp = 0;
    int m_blink = 0;
    DWORD m_blinkStamp = 0, m_randStamp = 0;
    DWORD m_patternStamp[3] = {0, 0, 0};
    int m_patternFrame[3] = {-1, -1, -1};  // own, right, left
    DWORD m_bounceStamp[3] = {0, 0, 0};
    int m_reportHalf[2] = {0, 0};  // next, previous
    CXImgButton m_ready, m_play, m_pass, m_hint, m_bid1, m_bid2, m_bid3, m_noBid, m_double, m_noDouble;
    CXImgButton m_redouble, m_noRedouble, m_contestYes, m_contestNo, m_nextPair, m_nextTriple, m_autoPlay;
    CXImgButton m_cancelAuto, m_sort, m_leave, m_continue, m_backToLobby, m_soundOnButton, m_soundOffButton;
    CXImgButton m_close, m_minimize;
    CWnd m_control1085, m_control1086;
    // ==== end of the table on screen

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
    std::unique_ptr<CDlgRight> m_ownPanel;  // the one the table created
    std::unique_ptr<CFlashDlg> m_effectMovie;
    int m_currentEffect = 0;

    DECLARE_MESSAGE_MAP()
};

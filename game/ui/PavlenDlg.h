// CPavlenDlg: the table window, the card-game client's main window, run
// modally. The rules live in its CTableGame (game/core/table/TableGame.h),
// for which the window is the CTableView: it keeps the set-up, the drawing,
// the mouse and the hand under it, the side panel, the movies, the result
// dialog and the lobby link's window messages. Its 25 ms timer runs the
// game's tick, then steps the screen's animations and renders.
//
// Went to CTableGame with their names: the table's state and clocks
// (State, Clock, Watch, Effects, Dirty, Deal), HandleGameMessage, Tick and
// the tick's parts (Reconnect, PollReconnect, TickCountdown, TickDealing,
// TickEffect, HandleMain, EnterLostConnection, DealCardPosition), the phases
// and button groups (SetPhase, ShowTurnButtons, ShowBidButtons,
// HideAllActionButtons, ShowDoubleButtons, ShowContestButtons,
// ShowAutoButtons, SortAllHands, PlacePlayerPrompt, CloseAdControl,
// AddDirtyRect, InvalidateAll, ClearWaiting, StartClock, StartClockFor,
// StopClock, ClockForTurn, ResetHandPositions), the requests and commands
// (SendRequest, SendReady, SendBid, SendContest, SendDouble, OnPlay, OnPass,
// OnHint, OnAutoPlay, AutoPlayStep, FirstHint, OnContinue, OnCancelAutoPlay,
// OnBet, OnSort, SelectNextGroup, LeaveUnderMovie, NothingReceived,
// SendLeaving), the message handlers (HandleHandMessage, HandleTableMessage,
// OnDeskInfo, OnCardOut, OnGameResult, OnRestore, RequestDesk), ChatName and
// StatusText; HandlePanelMessage is the view's PanelMessage; the seat
// look-ups (FindPlayerByName, FindPlayerBySeat, GetNextPlayer, GetPrevPlayer,
// GetLastPlay) are CTableState's. The window keeps one-line forwarders for
// those its buttons, drawing and tests call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/core/ClientLoading.h"
#include "game/core/table/TableGame.h"
#include "game/ui/DlgRight.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/XImgButton.h"
#include "game/ui/resource.h"
#include "platform/Framework.h"
#include "platform/com/EventSinkMap.h"
#include "platform/vantor/CxImage.h"

class CMessage;
class CReslutDlg;
class CShockwaveflash;

class CPavlenDlg : public CDialog, public CTableView {
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

    CTableGame& Game() { return m_game; }
    CTableState& State() { return m_game.State(); }
    int SetupComplete() const { return m_setupComplete; }
    // The control id of a table button.
    static int ControlId(Button button);
    // The frame's picture files (the background first), as the set-up loads them.
    static std::vector<std::string> FramePictureFiles();

    // Forwarders into the game.
    void HandleGameMessage(CMessage* message) { m_game.HandleGameMessage(message); }
    void AddDirtyRect(int x, int y, int width, int height) { m_game.AddDirtyRect(x, y, width, height); }
    void InvalidateAll() { m_game.InvalidateAll(); }

    // ---- the game's view (TableView.cpp)
    void ShowButton(Button button, bool enabled) override;
    void HideButton(Button button) override;
    void EnableButton(Button button, bool enabled) override;
    bool ButtonEnabled(Button button) const override;
    using CTableView::Box;
    int Box(const char* text, const char* caption, unsigned type, int seconds, BoxOwner owner) override;
    void BringToFront() override;
    void CallAttention() override;
    void Sound(const char* path) override;
    void ChatLine(const std::string& line) override;
    bool PanelMessage(const CMessage& message) override;
    void ClientSize(int* width, int* height) const override;
    // The clock's place beside the seat of that name.
    void PlacePrompt(const std::string& name) override;
    void DrawClock() override;
    void MarkEffect(int code, int planeBefore) override;
    void InvalidateWindow() override { Invalidate(); }
    // The render pass onto the window now.
    void RenderNow() override;
    // Draws the dirty part of the table now.
    void RepaintNow() override;
    bool GroupMovieShown() const override { return m_groupMovie != nullptr; }
    void ShowGroupMovie() override;
    void CloseGroupMovie() override;
    void ShowMovieCount(int value) override;
    void DestroyResultDialog() override;
    void NotifyLobby() override;
    void QuitTable() override;
    void RunUpdater() override;
    void OpenAddress(const std::string& address) override;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override { m_game.OnCancel(); }
    void OnTimer(UINT_PTR id);
    LRESULT OnLoaded(WPARAM result, LPARAM text);

    // ---- set-up (PavlenDlg.cpp)
    bool ReadSettings();
    void SetupFailed(const char* text);

    // ---- the buttons' commands, into the game
    void OnCmdReady() { m_game.SendReady(); }
    void OnBid0() { m_game.SendBid(0); }
    void OnBid1() { m_game.SendBid(1); }
    void OnBid2() { m_game.SendBid(2); }
    void OnBid3() { m_game.SendBid(3); }
    void OnDoubleYes() { m_game.SendDouble(2); }
    void OnDoubleNo() { m_game.SendDouble(1); }
    void OnContestYes() { m_game.SendContest(1); }
    void OnContestNo() { m_game.SendContest(0); }
    void OnAutoPlay() { m_game.OnAutoPlay(); }
    void OnContinue() { m_game.OnContinue(); }
    void OnCmdPlay() { m_game.OnCmdPlay(); }
    void OnCmdPass() { m_game.OnCmdPass(); }

    // ---- lobby link (LobbyLink.cpp)
    static BOOL CALLBACK EnumLobbyWindowsProc(HWND window, LPARAM self);

    CTableGame m_game;
    CLoading m_loading;
    int m_setupComplete = 0;
    bool m_quitting = false;
    int m_flashTicks = 0;
    CShockwaveflash* m_groupMovie = nullptr;
    CReslutDlg* m_resultDialog = nullptr;

    // ==== the player's side: the hand under the mouse, the commands,
    // leaving, the lobby's records, the result dialog and the group movie
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
    CShockwaveflash* GroupMovie() const { return m_groupMovie; }
    CReslutDlg* ResultDialog() const { return m_resultDialog; }

protected:
    // Index of the own card under the point, searched from the last; -1 none.
    int HitTest(POINT point);
    void AddCardDirtyRect(int index);
    void ToggleCard(int index);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnCmdHint() { m_game.OnCmdHint(); }
    void OnCancelAutoPlay() { m_game.OnCancelAutoPlay(); }
    void OnBet() { m_game.OnBet(); }
    void OnSort() { m_game.OnSort(); }
    void SelectNextPair() { m_game.SelectNextPair(); }
    void SelectNextTriple() { m_game.SelectNextTriple(); }
    void OnSoundOff() { SetSound(0); }
    void OnSoundOn() { SetSound(1); }
    // The game's switch, then the setting written back.
    void SetSound(int on);

    void OnLeave() { m_game.OnLeave(); }
    void OnBackToLobby();
    LRESULT OnResultChoice(WPARAM choice, LPARAM);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    // The result dialog over the table, then the game's continue buttons.
    void ShowResultDialog();
    void CallMovie(const std::string& request);
    void SendNoticeToMovie();
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
    const RECT& TableRect() const { return m_client; }
    CBitmap& BackBuffer() { return m_backBuffer; }
    // The clock's place and the counter box's place on the table.
    POINT ClockPosition() const { return m_clockAt; }
    POINT CounterPosition() const { return m_counterAt; }
    // Strictly overlaps a dirty rectangle.
    bool IntersectsDirty(int x, int y, int width, int height) const;
    void QueueEffect(int code);
    // The seats' animations and the notice, after a whole game tick.
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
    // A control shown with enable, or hidden with disable.
    void ShowControl(int id, BOOL enable);
    void HideControl(int id);
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
    bool DealCardPosition(int k, int* x, int* y) const { return m_game.DealCardPosition(k, x, y); }

    // ---- neighbours (TableNeighbours.cpp): the side panel is built
    // elsewhere; these are the table's single call points into it.
    void CreateSidePanel();
    void GiveSidePanelImages();
    void DestroySidePanel();

    RECT m_client = {0, 0, 0, 0};
    CDC m_windowDC;
    CBitmap m_backBuffer;   // a DIB section: binding it to each pass costs nothing
    HICON m_icon = nullptr;
    CxImage m_bg, m_minUp, m_minOn, m_closeUp, m_closeOn, m_soundUp, m_soundOnFace, m_silentUp, m_silentOn;
    CxImage m_rightBg, m_peopleNum, m_peopleNum2;
    POINT m_counterAt = {0, 0};
    POINT m_clockAt = {0, 0};
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
    // The side panel, the effect movie and the result dialog directly above
    // the table, under any other program's window over it: put there when
    // they do not stand so, or always.
    void RaiseFloatingWindows(bool always = false);
    CFlashDlg* EffectMovie() const { return m_effectMovie.get(); }
    // A green line in the panel's chat (the lobby's chat-box notices).
    void PanelNotice(const std::string& text);

protected:
    CDlgRight* m_panel = nullptr;
    std::unique_ptr<CDlgRight> m_ownPanel;  // the one the table created
    std::unique_ptr<CFlashDlg> m_effectMovie;
    int m_currentEffect = 0;

    DECLARE_MESSAGE_MAP()
};

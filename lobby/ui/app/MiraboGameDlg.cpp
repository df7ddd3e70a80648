// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/app/MiraboGameDlg.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LobbySend.h"
#include "lobby/net/startup/NLogin.h"
#include "lobby/ui/DlgMes.h"
#include "lobby/ui/RoomChatSender.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/MessageGuard.h"
#include "lobby/ui/app/MiraboGameApp.h"

namespace {
enum { kPumpTimer = 0, kMemberRefreshTimer = 1, kAdvertTimer = 1000 };
const UINT kAboutCommand = 0x10;

// The about box (dialog 100): the program's icon and its version.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent) : CDialog(100, parent) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128)))
            ::SendDlgItemMessageA(m_hWnd, 1000, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        SetDlgItemText(1001, GetLobbyApp()->m_versionLabel);
        return TRUE;
    }
};

}  // namespace

BEGIN_MESSAGE_MAP(CMyMiraboGameDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_COPYDATA()
    ON_WM_TIMER()
    ON_WM_GETMINMAXINFO()
    ON_MESSAGE(kMsgShowMessageBox, OnShowMessageBox)
    ON_MESSAGE(kMsgMainCommand, OnCommandMessage)
    ON_MESSAGE(kMsgClosePage, OnClosePageMessage)
    ON_MESSAGE(kMsgPopupNotice, OnPopupNotice)
    ON_MESSAGE(kMsgPumpKick, OnPumpKick)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CMyMiraboGameDlg::CMyMiraboGameDlg(CWnd* parent) : CDialog(IDD, parent) {}

CMyMiraboGameDlg::~CMyMiraboGameDlg() {
    if (m_reconnectStep) {
        m_reconnectStep->Stop();
        delete m_reconnectStep;  // joins its thread
    }
    m_candidates.clear();
}

BOOL CMyMiraboGameDlg::OnInitDialog() {
    LobbyStep("main window");
    CDialog::OnInitDialog();
    SetWindowText("游戏大厅");
    m_icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    if (m_icon) {
        SetIcon(m_icon, TRUE);
        SetIcon(m_icon, FALSE);
    }
    if (CMenu* menu = GetSystemMenu(FALSE)) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, kAboutCommand, "关于 MiraboGame(&A)...");
    }
    m_skinWin.SetSkin(GetLobbySkin());
    m_skinWin.InstallSkin(this);
    LobbyStep("main window skin");

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_left.Create(CDlgLeft::IDD, this);
    LobbyStep("left panel");
    m_mid.Create(CDlgMid::IDD, this);
    LobbyStep("middle panel");
    m_top.Create(CDlgTop::IDD, this);
    LobbyStep("top panel");
    // Room chat goes out on the lobby connection while the room's page exists.
    m_right.SetChatSender([this](const CLobbyChatMsg& message) {
        if (m_mid.GetPageWnd(m_roomPageId)) SendRoomChat(GetLobbyData(), message);
    });
    m_right.Create(CDlgRight::IDD, this);
    LobbyStep("main window panels");
    m_top.GetClientRect(&m_topRect);
    m_left.GetClientRect(&m_leftRect);
    m_mid.GetClientRect(&m_midRect);
    m_right.GetClientRect(&m_rightRect);
    m_top.ShowWindow(SW_SHOW);
    m_left.ShowWindow(SW_SHOW);
    m_mid.ShowWindow(SW_SHOW);
    m_right.ShowWindow(SW_HIDE);
    m_rightHidden = 1;
    Layout();

    MoveWindow(0, 0, 930, 670);
    ApplyRegion();
    LobbyStep("main window laid out");

    GetLobbyData().SetArrivalNotice(m_hWnd, kMsgPumpKick);
    RequestRoomList();
    LobbyStep("room list requested");
    SetTimer(kPumpTimer, 50);

    m_layoutReady = true;
    // The shown panels draw nothing while the window shows, grows and opens its
    // member page: they are drawn once, at the maximised size, with the page.
    CWnd* const shown[] = {&m_top, &m_left, &m_mid};
    for (CWnd* panel : shown) panel->SendMessage(WM_SETREDRAW, FALSE);
    SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    // Shown, it is painted at once, its background over all of it (the panels
    // wait): the screen never shows it black, also under Wine, which puts a
    // window's pixels on the screen as a paint ends.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
    LobbyStep("main window maximised");
    SendMessage(kMsgMainCommand, 10, 0);
    for (CWnd* panel : shown) panel->SendMessage(WM_SETREDRAW, TRUE);
    // The panels are drawn after the messages waiting (the room list's answer
    // fills the tree first) and before the member page's web view, which takes
    // a while to make and waits for the paints (CDlgOrderWeb::NavigateSoon).
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    SetTimer(kAdvertTimer, 3000);
    LobbyStep("main window made");
    return TRUE;
}

void CMyMiraboGameDlg::ApplyRegion() {
    CRect window;
    GetWindowRect(&window);
    SetWindowRgn(::CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1, 9, 9), TRUE);
}

void CMyMiraboGameDlg::Layout() {
    CRect client;
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    const int T = m_topRect.Height();
    const int L = m_leftHidden ? 0 : m_leftRect.Width();
    const int R = m_rightHidden ? 0 : m_rightRect.Width();
    const UINT flags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
    if (m_top.GetSafeHwnd()) m_top.SetWindowPos(nullptr, 0, 0, W, T, flags);
    if (m_left.GetSafeHwnd() && !m_leftHidden) m_left.SetWindowPos(nullptr, 0, T, L, H - T, flags);
    if (m_right.GetSafeHwnd() && !m_rightHidden) m_right.SetWindowPos(nullptr, W - R, T, R, H - T, flags);
    if (m_mid.GetSafeHwnd()) m_mid.SetWindowPos(nullptr, L, T, W - R - L, H - T, flags);
    // The panels were moved unpainted: all of the client area is drawn again,
    // theirs included, or a panel moved over another's old place would show
    // its pixels (a panel shown before it was moved, the hidden tree).
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int CMyMiraboGameDlg::HideLeftPanel() {
    if (m_leftHidden) return 0;
    m_leftHidden = 1;
    m_left.ShowWindow(SW_HIDE);
    Layout();
    return 1;
}

int CMyMiraboGameDlg::ShowLeftPanel() {
    if (!m_leftHidden) return 0;
    m_leftHidden = 0;
    m_left.ShowWindow(SW_SHOW);
    Layout();
    return 1;
}

int CMyMiraboGameDlg::ShowRightPanel() {
    if (!m_rightHidden) return 0;
    m_rightHidden = 0;
    // Put in its place before it shows, not where it was made (over the left
    // of the window); while hidden it is not moved with the window.
    Layout();
    m_right.ShowWindow(SW_SHOW);
    return 1;
}

int CMyMiraboGameDlg::HideRightPanel() {
    if (m_rightHidden) return 0;
    m_rightHidden = 1;
    m_right.ShowWindow(SW_HIDE);
    Layout();
    return 1;
}

void CMyMiraboGameDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == kAboutCommand) {
        CAboutDlg about(this);
        about.DoModal();
    } else if ((id & 0xFFF0) == SC_CLOSE) {
        EndLobby();
    } else {
        Default();
    }
    (void)lParam;
}

// The window is destroyed at once; the modal loop that runs it ends with it.
void CMyMiraboGameDlg::EndLobby() {
    KillTimer(kPumpTimer);
    EndModalLoop(IDCANCEL);
    DestroyWindow();
}

void CMyMiraboGameDlg::OnPaint() {
    if (!IsIconic() || !m_icon) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    dc.DrawIcon((client.Width() - cx + 1) / 2, (client.Height() - cy + 1) / 2, m_icon);
}

// The panels cover the client area and draw it; this is what shows where no
// panel has drawn yet. When the window first shows, the panels wait (their
// redraw is off) and this is the whole client area: under Wine the screen
// would show the window's unpainted pixels, black, until they draw. Drawn
// directly (a few tiles and a fill): a kept picture would be composed anew
// for each size the window takes.
BOOL CMyMiraboGameDlg::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    GetLobbySkin()->DrawFrameDirect(dc, 0, 0, client.right, client.bottom, 1);
    return TRUE;
}

void CMyMiraboGameDlg::OnSize(UINT, int, int) {
    Default();
    if (!m_layoutReady) return;
    Layout();
    ApplyRegion();
}

void CMyMiraboGameDlg::OnClose() {
    if (ShowLobbyMessageBox("    是否要退出游戏大厅?", "提示", 1, 0, 0, 0, this) == IDOK) Default();
}

void CMyMiraboGameDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = 930;
    info->ptMinTrackSize.y = 670;
}

LRESULT CMyMiraboGameDlg::OnShowMessageBox(WPARAM wParam, LPARAM lParam) {
    if (wParam != 0) return 0;
    std::unique_ptr<MessageBoxRequest> request = TakeOwned(kMessageBoxRequest, lParam);
    if (!request) return 0;
    return ShowLobbyMessageBox(request->text, request->caption, request->style, request->countFlag,
                               request->seconds, request->linkFlag, this);
}

LRESULT CMyMiraboGameDlg::OnClosePageMessage(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0) m_mid.ClosePage(static_cast<int>(lParam));
    return 0;
}

LRESULT CMyMiraboGameDlg::OnPopupNotice(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0) RemovePopupNotice(static_cast<int>(lParam));
    else if (wParam == 1) ShowPopupNotice(TakeOwned(kPopupNoticeRequest, lParam));
    return 0;
}

void CMyMiraboGameDlg::OnDestroy() {
    GetLobbyData().SetArrivalNotice(nullptr, 0);
    Default();
}

// A message arrived in an empty queue: it is taken now rather than on the next
// tick, as a tick would take it (not while reconnecting: the queue is dropped).
LRESULT CMyMiraboGameDlg::OnPumpKick(WPARAM, LPARAM) {
    if (!m_reconnecting && m_layoutReady) PumpTick();
    return 0;
}

void CMyMiraboGameDlg::OnTimer(UINT_PTR id) {
    if (id == kPumpTimer) {
        PumpTick();
    } else if (id == kMemberRefreshTimer) {
        KillTimer(kMemberRefreshTimer);
        NavigateMemberPage(2, nullptr);
    } else if (id == kAdvertTimer) {
        KillTimer(kAdvertTimer);
        PostMessage(kMsgMainCommand, 14, 0);
    }
}

// ---- connection watch and message pump ----------------------------------------

void CMyMiraboGameDlg::PumpTick() {
    if (m_reconnecting) return PollReconnect();
    CLobbyData& hub = GetLobbyData();
    bool alive;
    {
        LobbyLockGuard guard(hub.lobbyLock);
        CNetEngineEx* engine = hub.GetNetEngine();
        alive = engine && engine->IsAlive();
    }
    if (alive) {
        if (!m_reconnectStep) HandleServerMessage(hub.PopMessage());
        return;
    }
    m_reconnecting = 1;
    GetLobbyApp()->PostMessageBox("检测到和服务器断开连接，正在尝试重连!", "错误", 0, 1, 5);
    StartReconnect();
}

void CMyMiraboGameDlg::StartReconnect() {
    // Deleting a step joins its thread: never under the hub's lock.
    if (m_reconnectStep) {
        m_reconnectStep->Stop();
        delete m_reconnectStep;
        m_reconnectStep = nullptr;
    }
    CLobbyData& hub = GetLobbyData();
    hub.ResetNetEngine();
    m_reconnectStep = new CNLogin();
    m_reconnectStep->Start(0);
    m_reconnectStart = ::GetTickCount();
}

void CMyMiraboGameDlg::PollReconnect() {
    if (!m_reconnectStep) return StartReconnect();
    m_reconnectStep->ProcessReply();
    const LoginVerdict verdict = LoginVerdictOf(m_reconnectStep->GetState());
    if (verdict == LoginVerdict::kLoggedIn) {
        m_reconnectStep->Stop();
        delete m_reconnectStep;
        m_reconnectStep = nullptr;
        RequestRoomList();
        m_reconnecting = 0;
        GetLobbyData().loginRun = 1;
        GetLobbyApp()->PostMessageBox("连接服务器成功", "提示", 0, 1, 5);
    } else if (verdict == LoginVerdict::kNewerClient) {
        OnNewerClientWhileReconnecting();
    } else if (verdict != LoginVerdict::kNotStarted) {
        // Working or failed: after 10 s a new attempt; a step that has not run yet waits.
        if (::GetTickCount() - m_reconnectStart > 10000) StartReconnect();
    }
}

// The server wants a newer client: retrying cannot help. The retries stay
// stopped and, once, the login dialog's box and the updater.
void CMyMiraboGameDlg::OnNewerClientWhileReconnecting() {
    if (m_updaterOffered) return;
    m_updaterOffered = true;
    CMyMiraboGameApp* app = GetLobbyApp();
    app->PostMessageBox("当前客户的版本过低!\r\n 将为您更新为最新版本...", "提示", 0);
    app->StartUpdater(".");
}

void CMyMiraboGameDlg::RequestRoomList() {
    CLobbyData& hub = GetLobbyData();
    if (SendLobbyRequest(hub, [&](CLobbyProtocol& protocol, int* length) {
            return protocol.MakeRoomListMsg(hub.userName, length);
        }))
        hub.StampRoomListSendTime(::timeGetTime());
}

void CMyMiraboGameDlg::HandleServerMessage(CMessage* raw) {
    std::unique_ptr<CMessage> message(raw);
    if (!message) return;
    // The start-up trace: every message up to the filled tree, then the game launch's.
    if (!m_treeTraced || message->kind == kMsgEnterDeskAK || message->kind == kMsgStartGame)
        LobbyStep("message %d", message->kind);
    DispatchServerMessage(*this, std::move(message));
}

void CMyMiraboGameDlg::OnLoginRefused() {
    ShowLobbyMessageBox("密码验证错误，可能该帐号已在别处登陆，请重新登陆大厅！", "错误", 0, 0, 0, 0, this);
    EndLobby();
}

void CMyMiraboGameDlg::OnValidateFail(CValidateFailMsg* message) {
    ShowLobbyMessageBox(message->reason.c_str(), "提示", 0, 0, 0, 0, this);
    OnCancel();
}

void CMyMiraboGameDlg::RepaintTree() { m_left.Invalidate(); }

void CMyMiraboGameDlg::OnKick(CPlayerKickMsg* message) {
    ShowLobbyMessageBox(message->text.c_str(), "提示", 0, 0, 0, 0, this);
    if (message->closeFlag == "True") {
        EndLobby();
        return;
    }
    if (message->reconnect == "True") {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        if (CNetEngineEx* engine = hub.GetNetEngine()) engine->ClearAlive();
    }
}

// The box waits for the player: what it shows is copied and the hub's lock
// is not held meanwhile.
void CMyMiraboGameDlg::OnMoneyNotEnough(CMoneyIsNotEnoughMsg* message) {
    const CString text = message->text.c_str();
    const CString target = message->target.c_str();
    if (ShowLobbyMessageBox(text, "提示信息", 1, 0, 0, 0, this) != IDOK) return;
    LobbyTrace("open %s", target.GetString());
    ::ShellExecuteA(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/PavlenDlg.h"

#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/core/NetEngineEx.h"
#include "game/ui/TableTrace.h"

BEGIN_MESSAGE_MAP(CPavlenDlg, CDialog)
ON_WM_TIMER()
ON_MESSAGE(CPavlenDlg::kLoadedMessage, OnLoaded)
ON_BN_CLICKED(IDC_READY, OnCmdReady)
ON_BN_CLICKED(IDC_PLAY, OnCmdPlay)
ON_BN_CLICKED(IDC_PASS, OnCmdPass)
ON_BN_CLICKED(IDC_NO_BID, OnBid0)
ON_BN_CLICKED(IDC_BID1, OnBid1)
ON_BN_CLICKED(IDC_BID2, OnBid2)
ON_BN_CLICKED(IDC_BID3, OnBid3)
ON_BN_CLICKED(IDC_DOUBLE, OnDoubleYes)
ON_BN_CLICKED(IDC_REDOUBLE, OnDoubleYes)
ON_BN_CLICKED(IDC_NO_DOUBLE, OnDoubleNo)
ON_BN_CLICKED(IDC_NO_REDOUBLE, OnDoubleNo)
ON_BN_CLICKED(IDC_CONTEST_YES, OnContestYes)
ON_BN_CLICKED(IDC_CONTEST_NO, OnContestNo)
ON_BN_CLICKED(IDC_AUTO_PLAY, OnAutoPlay)
ON_BN_CLICKED(IDC_CONTINUE, OnContinue)
ON_BN_CLICKED(IDC_CLOSE, OnCancel)
// ---- the player's side
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_BN_CLICKED(IDC_HINT, OnCmdHint)
ON_BN_CLICKED(IDC_CANCEL_AUTO, OnCancelAutoPlay)
ON_BN_CLICKED(IDC_BET, OnBet)
ON_BN_CLICKED(IDC_SORT, OnSort)
ON_BN_CLICKED(IDC_NEXT_PAIR, SelectNextPair)
ON_BN_CLICKED(IDC_NEXT_TRIPLE, SelectNextTriple)
ON_BN_CLICKED(IDC_SOUND_ON, OnSoundOff)
ON_BN_CLICKED(IDC_SOUND_OFF, OnSoundOn)
ON_BN_CLICKED(IDC_LEAVE, OnLeave)
ON_BN_CLICKED(IDC_BACK_TO_LOBBY, OnBackToLobby)
ON_MESSAGE(CPavlenDlg::kResultChoiceMessage, OnResultChoice)
ON_WM_COPYDATA()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CPavlenDlg, CDialog)
ON_EVENT(CPavlenDlg, CPavlenDlg::kGroupMovieId, 150, OnMovieCommand)
END_EVENTSINK_MAP()

CPavlenDlg::CPavlenDlg(CWnd* parent) : CDialog(IDD, parent) {
    m_state.ownName = GetGameSession()->playerId;
    m_clock.total = 30000;
}

CPavlenDlg::~CPavlenDlg() = default;

BOOL CPavlenDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(kTitle);
    m_loading.Start(this);
    SetTimer(kTimerId, kTimerMs);
    if (!ReadSettings()) return FALSE;
    for (int id : {IDC_CLOSE, IDC_MINIMIZE}) ShowButton(id, TRUE);
    ModifyStyle(0, WS_MINIMIZEBOX);
    CGameSession* session = GetGameSession();
    if (session->vipFlag || !session->autoPlacedFlag)
        ShowButton(IDC_SOUND_ON, TRUE);
    else
        ShowGroupMovie();
    NotifyLobby();
    return TRUE;
}

bool CPavlenDlg::ReadSettings() {
    const CString path = GetGameSession()->ConfigPath();
    char ping[512] = "";
    ::GetPrivateProfileStringA("SYSTEM", "ping", "", ping, sizeof ping, path);
    if (!ping[0]) return SetupFailed("错误:\n打开config.ini文件时缺少了ping字段,\n强烈建议您重新安装!"), false;
    m_ping = ping;
    m_watch.time1 = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "time1", -1, path));
    if (m_watch.time1 < 0) return SetupFailed("错误:\n打开config.ini文件时缺少了time1字段,\n强烈建议您重新安装!"), false;
    m_watch.time2 = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "time2", -1, path));
    if (m_watch.time2 < 0) return SetupFailed("错误:\n打开config.ini文件时缺少了time2字段,\n强烈建议您重新安装!"), false;
    const int sound = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "soundon", -1, path));
    if (sound != 0 && sound != 1)
        return SetupFailed("错误:\n打开config.ini文件时缺少了soundon字段,\n强烈建议您重新安装!"), false;
    m_state.soundOn = sound;
    return true;
}

void CPavlenDlg::SetupFailed(const char* text) {
    BringToFront();
    Box(text, nullptr, 0, 0);
    QuitTable();
}

BOOL CPavlenDlg::DestroyWindow() {
    DestroyResultDialog();
    CloseGroupMovie();
    if (m_hWnd) KillTimer(kTimerId);
    return CDialog::DestroyWindow();
}

LRESULT CPavlenDlg::OnLoaded(WPARAM result, LPARAM text) {
    TableTrace("loaded %d", static_cast<int>(result));
    if (result == 0) {
        SetupFailed(reinterpret_cast<const char*>(text));
        return 0;
    }
    for (int id : {IDC_READY, IDC_PLAY, IDC_PASS, IDC_HINT, IDC_BID1, IDC_BID2, IDC_BID3, IDC_NO_BID, IDC_DOUBLE,
                   IDC_NO_DOUBLE, IDC_REDOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_YES, IDC_CONTEST_NO, IDC_LEAVE,
                   IDC_CONTINUE, IDC_BACK_TO_LOBBY, IDC_CANCEL_AUTO, IDC_SORT, IDC_NEXT_PAIR, IDC_NEXT_TRIPLE,
                   IDC_SOUND_OFF, IDC_AUTO_PLAY})
        HideButton(id);
    if (CWnd* autoPlay = GetDlgItem(IDC_AUTO_PLAY)) autoPlay->EnableWindow(TRUE);
    m_setupComplete = 1;
    m_state.tableReady = 1;
    Invalidate();
    return 0;
}

void CPavlenDlg::OnCancel() {
    CTableState& s = m_state;
    if (m_groupMovie) return LeaveUnderMovie();
    BringToFront();
    if (Box("您确定退出本桌游戏吗？", "斗地主", 0x34, 0) != IDYES) return;
    CGameSession* session = GetGameSession();
    CNetEngineEx* connection = session->GetConnection();
    if (session->autoPlacedFlag || s.handRunning || s.phase == 16 || !connection ||
        connection->IsWaitingFirstText()) {
        QuitTable();
        return;
    }
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildLeaving(&n), n);
}

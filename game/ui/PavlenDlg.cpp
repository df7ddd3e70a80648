// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/PavlenDlg.h"

#include "game/core/GameSession.h"
#include "game/core/TableStep.h"
#include "game/core/table/TableTrace.h"
#include "game/ui/GameImages.h"

#include <cstdlib>
#include <ctime>

BEGIN_MESSAGE_MAP(CPavlenDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_ERASEBKGND()
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
// ---- the table on screen
ON_WM_WINDOWPOSCHANGED()
ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
ON_WM_SYSCOMMAND()
ON_BN_CLICKED(IDC_PLAIN_1086, OnNothing)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CPavlenDlg, CDialog)
ON_EVENT(CPavlenDlg, CPavlenDlg::kGroupMovieId, 150, OnMovieCommand)
END_EVENTSINK_MAP()

CPavlenDlg::CPavlenDlg(CWnd* parent) : CDialog(IDD, parent), m_game(*this, *GetGameSession()) {}

CPavlenDlg::~CPavlenDlg() = default;

BOOL CPavlenDlg::OnInitDialog() {
    TableStep("table window");
    CDialog::OnInitDialog();
    CWinApp* app = AfxGetApp();
    m_icon = app ? app->LoadIcon(IDR_MAINFRAME) : nullptr;
    if (!m_icon) m_icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);
    SetWindowText(kTitle);
    if (!LoadFrameImages()) {
        SetupFailed("安装目录下可能缺少了文件,强烈建议您重新安装!");
        return FALSE;
    }
    TableStep("frame pictures");
    SetTimer(kTimerId, kTimerMs);
    GetClientRect(&m_client);
    m_game.SetTableSize(m_client.right, m_client.bottom);
    m_windowDC.Attach(::GetDC(m_hWnd));
    m_backBuffer.Attach(AfxCreateDibSection(m_windowDC, m_client.right, m_client.bottom));
    if (!ReadSettings()) return FALSE;
    PlaceFrameButtons();
    TableStep("frame buttons");
    ModifyStyle(0, WS_MINIMIZEBOX);
    CreateSidePanel();
    TableStep("side panel");
    CGameSession* session = GetGameSession();
    if (session->vipFlag || !session->autoPlacedFlag)
        ShowButton(kSoundOn, true);
    else
        ShowGroupMovie();
    m_soundOnButton.SetToolTipText("关闭音效");
    m_soundOffButton.SetToolTipText("打开音效");
    TableStep("group movie or sound button");
    SetupSystemMenu();
    srand(static_cast<unsigned>(time(nullptr)));
    NotifyLobby();
    TableStep("table window made");
    return TRUE;
}

bool CPavlenDlg::ReadSettings() {
    const CString path = GetGameSession()->ConfigPath();
    char ping[512] = "";
    ::GetPrivateProfileStringA("SYSTEM", "ping", "", ping, sizeof ping, path);
    if (!ping[0]) return SetupFailed("错误:\n打开config.ini文件时缺少了ping字段,\n强烈建议您重新安装!"), false;
    m_game.SetKeepAlive(ping);
    CConnectionWatch& watch = m_game.Watch();
    watch.time1 = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "time1", -1, path));
    if (watch.time1 < 0) return SetupFailed("错误:\n打开config.ini文件时缺少了time1字段,\n强烈建议您重新安装!"), false;
    watch.time2 = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "time2", -1, path));
    if (watch.time2 < 0) return SetupFailed("错误:\n打开config.ini文件时缺少了time2字段,\n强烈建议您重新安装!"), false;
    const int sound = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "soundon", -1, path));
    if (sound != 0 && sound != 1)
        return SetupFailed("错误:\n打开config.ini文件时缺少了soundon字段,\n强烈建议您重新安装!"), false;
    m_game.State().soundOn = sound;
    return true;
}

// The set-up's boxes (a missing file or setting, the loader's failure) have
// no owner.
void CPavlenDlg::SetupFailed(const char* text) {
    BringToFront();
    Box(text, nullptr, 0, 0, kNoOwner);
    QuitTable();
}

BOOL CPavlenDlg::DestroyWindow() {
    DestroyResultDialog();
    CloseGroupMovie();
    CloseEffectMovie();
    DestroySidePanel();
    if (m_hWnd) {
        ReleaseScreen();
        KillTimer(kTimerId);
    }
    return CDialog::DestroyWindow();
}

LRESULT CPavlenDlg::OnLoaded(WPARAM result, LPARAM text) {
    TableTrace("loaded %d", static_cast<int>(result));
    TableStep("pictures loaded");
    // A table that has already ended (a missing frame picture) shows no second box.
    if (m_quitting) return 0;
    if (result == 0) {
        SetupFailed(reinterpret_cast<const char*>(text));
        return 0;
    }
    LayoutGameButtons();
    SkinGameButtons();
    TableStep("game buttons skinned");
    for (Button b : {kReady, kPlay, kPass, kHint, kBid1, kBid2, kBid3, kNoBid, kDouble, kNoDouble, kRedouble,
                     kNoRedouble, kContestYes, kContestNo, kLeave, kContinue, kBackToLobby, kCancelAuto, kSort,
                     kNextPair, kNextTriple, kSoundOff, kAutoPlay})
        HideButton(b);
    m_autoPlay.EnableWindow(TRUE);
    CGameImages* images = GetGameImages();
    m_game.Effects().planeHeight = images ? images->Height(315) : 0;
    m_counterAt = {m_client.right - (images ? images->Width(206) : 0) - 220, 25};
    GiveSidePanelImages();
    TableStep("side panel pictures");
    char advert[512] = "";
    ::GetPrivateProfileStringA("SYSTEM", "advulr", "", advert, sizeof advert, GetGameSession()->ConfigPath());
    if (!advert[0]) {
        SetupFailed("错误:\n打开config.ini文件时缺少了advulr字段,\n强烈建议您重新安装!");
        return 0;
    }
    m_setupComplete = 1;
    m_game.State().tableReady = 1;
    Invalidate();
    TableStep("buttons laid out");
    return 0;
}

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/app/DlgLogin.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <string>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/net/startup/NLogin.h"
#include "lobby/net/startup/ServerConfig.h"
#include "lobby/ui/DlgMes.h"
#include "lobby/ui/LoginRules.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/Browser.h"
#include "lobby/ui/app/DlgAutoLogin.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "platform/TextFont.h"

static_assert(kMsgLinkClicked == WM_HYPERLINK_CLICKED, "the links of the dialog notify by the table's message");

namespace {
const UINT_PTR kStatusTimer = 1;
const int kUserEdit = 1001, kPassEdit = 1002, kStatus = 1012, kRemember = 1013;
const int kRegLink = 1029, kFindPassLink = 1030;
const int kFirstRadio = 1033, kLastRadio = 1036;

// The place of a child in the dialog's client coordinates.
CRect ChildRect(HWND dialog, int id) {
    CRect r;
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The size of a control's text in its font.
SIZE TextSizeOf(HWND control) {
    char text[64] = "";
    ::GetWindowTextA(control, text, sizeof text);
    HDC dc = ::GetDC(control);
    const SIZE size = AfxTextExtent(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), text);
    ::ReleaseDC(control, dc);
    return size;
}

// Moves the control to (x, y), as wide as its text plus the room its mark
// takes; returns its right edge.
int PlaceToText(HWND control, int x, int y, int mark) {
    const SIZE size = TextSizeOf(control);
    ::MoveWindow(control, x, y, size.cx + mark, std::max<int>(size.cy, 14), FALSE);
    return x + size.cx + mark;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDlgLogin, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(kMsgLoadingDone, OnLoadingDone)
    ON_MESSAGE(kMsgNewerClient, OnNewerClient)
    ON_MESSAGE(kMsgLinkClicked, OnLinkClicked)
    ON_MESSAGE(kMsgLoginStatus, OnLoginStatus)
    ON_MESSAGE(kMsgSlide, OnSlide)
    ON_MESSAGE(kMsgBannerNotice, OnBannerNotice)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CDlgLogin::CDlgLogin(CWnd* parent) : CDialog(IDD, parent), app_(*GetLobbyApp()), login_(new CNLogin()) {}

CDlgLogin::~CDlgLogin() {
    delete login_;
    if (editBrush_) ::DeleteObject(editBrush_);
}

void CDlgLogin::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDOK, start_);
    DDX_Control(dx, IDCANCEL, exit_);
    DDX_Control(dx, kRegLink, regLink_);
    DDX_Control(dx, kFindPassLink, findLink_);
}

// Links, picture buttons, the status line and, with the login background,
// the window's shape and the edits' places.
void CDlgLogin::ApplySkin() {
    HWND dialog = GetSafeHwnd();
    CSkinRes* skin = GetLobbySkin();
    struct Link { CHyperLink* link; const char* text; } links[] = {{&regLink_, "注册成为新用户"}, {&findLink_, "找回密码"}};
    for (const Link& l : links) {
        l.link->SetWindowText(l.text);
        l.link->SetURL(l.text);
        l.link->SetMode(CHyperLink::kNotifyParent);
        l.link->SetBackgroundColour(0x0BD06F);
        l.link->SetUnderline(CHyperLink::kUnderlineAlways);
        l.link->SetColours(0xFF3C3C, 0xFF0000, 0xFF0000);
    }
    const CRect info = skin->GetLoginInfoRect();
    if (!info.IsRectEmpty())
        ::MoveWindow(::GetDlgItem(dialog, kStatus), info.left, info.top, info.Width(), info.Height(), FALSE);
    struct Button { CPngButton1* button; Gdiplus::Image* normal; Gdiplus::Image* hover; int x, y; } buttons[] = {
        {&start_, skin->GetStartImage(), skin->GetStartImage2(), skin->GetStartBtnX(), skin->GetStartBtnY()},
        {&exit_, skin->GetExitImage(), skin->GetExitImage2(), skin->GetExitBtnX(), skin->GetExitBtnY()}};
    for (const Button& b : buttons) {
        if (!b.normal) continue;  // no skin: the plain button stays
        b.button->SetImages(b.normal, b.hover, b.normal, b.normal);
        b.button->SetBkColor(0x0BD06F);
        ::SetWindowPos(b.button->GetSafeHwnd(), nullptr, b.x, b.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    CMyBitmap* background = skin->GetLoginBkImage();
    if (!background) return;
    const CSize size = background->Size();
    ::SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
    ::SetWindowRgn(dialog, background->CreateRegion(RGB(255, 0, 255)), TRUE);
    const CRect user = skin->GetUserEditRect(), pass = skin->GetPassEditRect();
    ::MoveWindow(::GetDlgItem(dialog, kUserEdit), user.left, user.top, user.Width(), user.Height(), FALSE);
    ::MoveWindow(::GetDlgItem(dialog, kPassEdit), pass.left, pass.top, pass.Width(), pass.Height(), FALSE);
    // The controls the skin places nowhere go in the rows it leaves: the
    // remember box under the password edit, the server lines in a row over the
    // status line, the links under the start button at the status line's ends.
    const int mark = 18;  // a box or a radio mark and the gap after it
    const CRect status = ChildRect(dialog, kStatus), start = ChildRect(dialog, IDOK);
    PlaceToText(::GetDlgItem(dialog, kRemember), pass.left, pass.bottom + 6, mark);
    for (int id = kFirstRadio, x = status.left; id <= kLastRadio; ++id)
        x = PlaceToText(::GetDlgItem(dialog, id), x, status.top - 20, mark) + 8;
    HWND find = ::GetDlgItem(dialog, kFindPassLink);
    PlaceToText(::GetDlgItem(dialog, kRegLink), status.left, start.bottom + 8, 0);
    PlaceToText(find, status.right - TextSizeOf(find).cx, start.bottom + 8, 0);
}

void CDlgLogin::OnPaint() {
    CPaintDC dc(this);
    if (CMyBitmap* background = GetLobbySkin()->GetLoginBkImage())
        background->Draw(&dc, 0, 0, nullptr, RGB(255, 0, 255), TRUE);
}

BOOL CDlgLogin::OnEraseBkgnd(CDC*) { return TRUE; }

HBRUSH CDlgLogin::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    CSkinRes* skin = GetLobbySkin();
    const int id = control ? ::GetDlgCtrlID(control->GetSafeHwnd()) : 0;
    if (id == kUserEdit || id == kPassEdit) {
        ::SetTextColor(dc->GetSafeHdc(), skin->GetLoginEditTextColor());
        ::SetBkColor(dc->GetSafeHdc(), skin->GetLoginEditBkColor());
        if (!editBrush_) editBrush_ = ::CreateSolidBrush(skin->GetLoginEditBkColor());
        return editBrush_;
    }
    if (kind == CTLCOLOR_STATIC && id != kRegLink && id != kFindPassLink) {
        ::SetBkMode(dc->GetSafeHdc(), TRANSPARENT);
        ::SetTextColor(dc->GetSafeHdc(), skin->GetLoginTextColor());
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return reinterpret_cast<HBRUSH>(Default());
}

BOOL CDlgLogin::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND dialog = GetSafeHwnd();
    CSkinRes* skin = GetLobbySkin();
    const bool shaped = skin->GetLoginBkImage() != nullptr;
    ::SendDlgItemMessageA(dialog, kUserEdit, EM_LIMITTEXT, shaped ? 64 : 128, 0);
    ::SendDlgItemMessageA(dialog, kPassEdit, EM_LIMITTEXT, shaped ? 64 : 128, 0);
    SetWindowText("MiraboGame");
    ApplySkin();
    ::EnableWindow(::GetDlgItem(dialog, IDOK), FALSE);

    statusShown_ = false;
    SetTimer(kStatusTimer, 150);
    ready_ = false;
    loading_.Attach(this);

    const CString user = skin->GetUserText();
    if (!user.IsEmpty()) {
        SetDlgItemText(kUserEdit, user);
        CheckDlgButton(kRemember, BST_CHECKED);
        ::SetFocus(::GetDlgItem(dialog, kPassEdit));
    } else {
        ::SetFocus(::GetDlgItem(dialog, kUserEdit));
    }
    login_->SetNotifyWindow(dialog);
    CenterWindow();
    CRect rect;
    ::GetWindowRect(dialog, &rect);
    ::SetWindowPos(dialog, nullptr, rect.left, rect.top + 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    PlaceBanner();

    for (int id = kFirstRadio; id <= kLastRadio; ++id) CheckDlgButton(id, BST_UNCHECKED);
    if (int radio = RadioForServerSelect(app_.SvrSelect)) CheckRadioButton(kFirstRadio, kLastRadio, radio);
    return FALSE;
}

// The banner above, its bottom kPanelOverlap pixels below this dialog's top.
void CDlgLogin::PlaceBanner() {
    if (!banner_.Create(CDlgLoginTop::IDD, this)) return;
    CRect mine, banner;
    ::GetWindowRect(GetSafeHwnd(), &mine);
    ::GetWindowRect(banner_.GetSafeHwnd(), &banner);
    ::SetWindowPos(banner_.GetSafeHwnd(), nullptr, mine.left, mine.top + CDlgLoginTop::kPanelOverlap - banner.Height(),
                   mine.Width(), banner.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(banner_.GetSafeHwnd(), SW_SHOW);
    banner_.SetPlaced(true);
}

void CDlgLogin::SetSlideState(int state) {
    slideState_ = state;
    banner_.SetSlideState(state);
}

LRESULT CDlgLogin::OnSlide(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0) {
        std::unique_ptr<BannerPosition> position = TakeOwned(kBannerMoved, lParam);
        if (!position || slideState_ == 1 || !banner_.GetSafeHwnd()) return 0;
        CRect banner;
        ::GetWindowRect(banner_.GetSafeHwnd(), &banner);
        const int y = position->y + banner.Height() - (slideState_ == 0 ? CDlgLoginTop::kPanelOverlap : 0);
        ::SetWindowPos(GetSafeHwnd(), nullptr, position->x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (wParam == 1 && slideState_ != 1) {
        SetTimer(slideState_ == 0 ? 0 : 2, 20);
        SetSlideState(1);
    }
    return 0;
}

// One 10-pixel step of the panel down (timer 0) or up (timer 2).
void CDlgLogin::SlideStep(UINT_PTR timer) {
    CRect mine, banner;
    ::GetWindowRect(GetSafeHwnd(), &mine);
    ::GetWindowRect(banner_.GetSafeHwnd(), &banner);
    if (timer == 0) {
        if (mine.top < banner.bottom) {
            ::SetWindowPos(GetSafeHwnd(), nullptr, mine.left, mine.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            KillTimer(0);
            SetSlideState(2);
        }
    } else if (banner.bottom - mine.top < CDlgLoginTop::kPanelOverlap) {
        ::SetWindowPos(GetSafeHwnd(), nullptr, mine.left, mine.top - 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        KillTimer(2);
        SetSlideState(0);
    }
}

void CDlgLogin::OnLButtonDown(UINT, CPoint) {
    if (slideState_ != 1 && banner_.GetSafeHwnd()) ::SendMessageA(banner_.GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT CDlgLogin::OnBannerNotice(WPARAM wParam, LPARAM lParam) {
    PostOwned(banner_.GetSafeHwnd(), kBannerNoticeText, wParam, TakeOwned(kBannerNoticeText, lParam));
    return 0;
}

void CDlgLogin::OnOK() {
    HWND dialog = GetSafeHwnd();
    CString typed, password;
    GetDlgItemText(kUserEdit, typed);
    GetDlgItemText(kPassEdit, password);
    if (!IsLoginNameText(std::string(typed))) {
        ShowLobbyMessageBox("请输入正确格式的用户名!", "提示", 0, 0, 0, 0, this);
        ::SetFocus(::GetDlgItem(dialog, kUserEdit));
        return;
    }
    const std::string user = CutTrailingBlanks(std::string(typed));
    if (user.empty() || password.IsEmpty()) {
        ShowLobbyMessageBox("请输入完整的用户名和密码!", "消息", 0, 0, 0, 0, this);
        return;
    }
    CLobbyData& hub = GetLobbyData();
    hub.userName = NormalizeLoginName(user);
    hub.storedDigest = MakeStoredDigest(std::string(password), false);
    ::EnableWindow(::GetDlgItem(dialog, IDOK), FALSE);

    GetLobbySkin()->SaveUserText(IsDlgButtonChecked(kRemember) == BST_CHECKED ? typed.GetString() : "");

    ServerLineChoice choice = ServerLineForRadio(GetCheckedRadioButton(kFirstRadio, kLastRadio));
    if (choice.known) {
        const CString config = app_.ConfigFile();
        {
            LobbyLockGuard guard(hub.lobbyLock);
            if (choice.setsTime4Flag) {
                hub.serverChoice = hub.serverChoice == -1 ? 0 : choice.serverLine;
                hub.timeValue[3] = 1;
            } else {
                hub.serverChoice = choice.serverLine;
            }
            hub.timeText[3] = "1";
        }
        app_.time[3] = "1";
        ::WritePrivateProfileStringA("SYSTEM", "time4", "1", config);
        ::WritePrivateProfileStringA("SYSTEM", "SvrSelect", choice.svrSelect, config);
    }
    StartLogin();
}

void CDlgLogin::StartLogin() {
    GetServerConfig().LoadUpdaterConfig();
    loggingIn_ = true;
    if (!login_->Start(1)) {
        loggingIn_ = false;
        ::EnableWindow(::GetDlgItem(GetSafeHwnd(), IDOK), TRUE);
        app_.PostMessageBox("登陆失败,请检查用户名和密码!", "错误", 0);
    }
}

void CDlgLogin::OnCancel() {
    if (login_) login_->Stop();
    EndDialog(IDCANCEL);
}

void CDlgLogin::OnTimer(UINT_PTR id) {
    if (id == 0 || id == 2) return SlideStep(id);
    if (id != kStatusTimer) return;
    if (!ready_) {
        loading_.Tick(static_cast<unsigned>(id));
        const char* status = loading_.GetCurrentStatus();
        std::string text = status ? status : "";
        ++dots_;
        text.append(static_cast<size_t>(dots_), '.');
        if (dots_ > 5) dots_ = 0;
        ShowStatus(text.c_str());
    } else if (loggingIn_) {
        CheckLoginResult();
        if (login_) ShowStatus(login_->GetStatusText());
    } else if (!statusShown_) {
        statusShown_ = true;
        ShowStatus(loading_.GetCurrentStatus());
    }
}

void CDlgLogin::ShowStatus(const char* text) {
    HWND status = ::GetDlgItem(GetSafeHwnd(), kStatus);
    if (!status) return;
    ::SetWindowTextA(status, text ? text : "");
    const CRect rect = ChildRect(GetSafeHwnd(), kStatus);
    // At once, background and text, before the screen is next updated: the
    // static has already drawn its new text over the old one.
    ::RedrawWindow(GetSafeHwnd(), &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CDlgLogin::CheckLoginResult() {
    if (!login_) return;
    switch (LoginVerdictOf(login_->GetState())) {
    case LoginVerdict::kLoggedIn:
        ::WritePrivateProfileStringA("SYSTEM", "time4", "0", app_.ConfigFile());
        loggingIn_ = false;
        EndDialog(IDOK);
        break;
    case LoginVerdict::kFailed:
        ReEnable();
        break;
    case LoginVerdict::kTimedOut:
        ReEnable();
        app_.PostMessageBox("登陆超时!请检查网络连接...", "提示", 0);
        break;
    case LoginVerdict::kNewerClient:
        OnClientTooOld();
        break;
    case LoginVerdict::kNotStarted:
    case LoginVerdict::kWorking:
        break;
    }
}

void CDlgLogin::ReEnable() {
    HWND dialog = GetSafeHwnd();
    loggingIn_ = false;
    SetDlgItemText(kPassEdit, "");
    for (int id : {IDOK, kUserEdit, kPassEdit}) ::EnableWindow(::GetDlgItem(dialog, id), TRUE);
}

// The server wants a newer client. The step says so twice (state 11 and
// kMsgNewerClient); whichever comes first tells the player, starts the updater
// beside the program and ends the login; the other finds it done.
void CDlgLogin::OnClientTooOld() {
    if (tooOld_) return;
    tooOld_ = true;  // first: the box below lets the other signal in
    ReEnable();
    ::UpdateWindow(GetSafeHwnd());
    app_.TellClientTooOld(GetSafeHwnd(), ".", SW_SHOW);
    EndDialog(IDCANCEL);
}

LRESULT CDlgLogin::OnNewerClient(WPARAM, LPARAM) {
    OnClientTooOld();
    return 0;
}

LRESULT CDlgLogin::OnLoadingDone(WPARAM wParam, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (wParam) {
        ::EnableWindow(::GetDlgItem(GetSafeHwnd(), IDOK), TRUE);
        if (!ApplyNotice(text)) EndDialog(IDCANCEL);
        else ready_ = true;
    } else if (text && *text) {
        CString box;
        box.Format("很抱歉,出现以下意外:%s", text);
        app_.PostMessageBox(box, "错误", 0);
    } else {
        EndDialog(IDCANCEL);
    }
    return 0;
}

int CDlgLogin::ApplyNotice(const char* text) {
    if (!text) return 1;
    LoginNotice notice;
    if (!ReadLoginNotice(text, notice)) return 1;
    if (notice.postsBanner())
        PostOwned(banner_.GetSafeHwnd(), kBannerNoticeText, 0, std::make_unique<CString>(notice.bannerText.c_str()));
    if (notice.opensBrowser()) OpenBrowser(notice.url.c_str(), 0, 0, notice.width, notice.height, this);
    if (notice.blocking != 1) return 1;
    if (!notice.keepsDialog()) return 0;
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return 1;
}

LRESULT CDlgLogin::OnLinkClicked(WPARAM, LPARAM lParam) {
    const CString* address = lParam == kRegLink ? &app_.RegWeb : lParam == kFindPassLink ? &app_.FindPassWeb : nullptr;
    if (!address) return 0;
    LobbyTrace("open %s", address->GetString());
    ::ShellExecuteA(nullptr, "open", *address, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

// Every status string is freed, whatever wParam says.
LRESULT CDlgLogin::OnLoginStatus(WPARAM, LPARAM lParam) {
    TakeOwned(kLoginStatusLine, lParam);
    return 0;
}

void CDlgLogin::OnDestroy() {
    CDialog::OnDestroy();
    KillTimer(kStatusTimer);
    if (login_) {
        login_->SetState(CNLogin::kStateStopped);
        delete login_;
        login_ = nullptr;
    }
}

// The dialog is the program's main window while it runs: the boxes asked for
// meanwhile are shown over it.
INT_PTR RunLoginDialog(CMyMiraboGameApp& app) {
    INT_PTR result;
    if (app.m_autoLogin) {
        CDlgAutoLogin dlg;
        dlg.SetLoginInfo(app.m_cmdUser, app.m_cmdPassword, app.m_programFolder + "Skin\\Style1\\Skin.ini",
                         app.m_commandLine);
        app.m_pMainWnd = &dlg;
        result = dlg.DoModal();
    } else {
        CDlgLogin dlg;
        app.m_pMainWnd = &dlg;
        result = dlg.DoModal();
    }
    app.m_pMainWnd = nullptr;
    return result;
}

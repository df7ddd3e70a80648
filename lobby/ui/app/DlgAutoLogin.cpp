// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/app/DlgAutoLogin.h"

#include <gdiplus.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/net/startup/NLogin.h"
#include "lobby/net/startup/ServerConfig.h"
#include "lobby/ui/LoginRules.h"
#include "lobby/ui/TextImage.h"
#include "lobby/ui/app/MiraboGameApp.h"

namespace {
const UINT_PTR kLoadingTimer = 0x246F9194;
const UINT_PTR kPictureTimer = 2;
const COLORREF kMagenta = RGB(255, 0, 255);

Gdiplus::Image* LoadImage(const CString& path) {
    std::wstring wide(path.GetLength() + 1, L'\0');
    int n = ::MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return new Gdiplus::Image(wide.c_str());
}
}  // namespace

BEGIN_MESSAGE_MAP(CDlgAutoLogin, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(kMsgLoadingDone, OnLoadingDone)
    ON_MESSAGE(kMsgNewerClient, OnNewerClient)
    ON_MESSAGE(kMsgLinkClicked, OnIgnored)
    ON_MESSAGE(kMsgBannerNotice, OnBannerNotice)
    ON_MESSAGE(kMsgLoginStatus, OnLoginStatus)
END_MESSAGE_MAP()

CDlgAutoLogin::CDlgAutoLogin(CWnd* parent) : CDialog(IDD, parent), app_(*GetLobbyApp()), login_(new CNLogin()) {}

CDlgAutoLogin::~CDlgAutoLogin() {
    delete login_;
    delete exitImage_;
    delete picture1_;
    delete picture2_;
    delete statusImage_;
}

void CDlgAutoLogin::SetLoginInfo(LPCSTR user, LPCSTR digest, LPCSTR skinIni, LPCSTR commandLine) {
    user_ = user;
    digest_ = digest;
    skinIni_ = skinIni;
    commandLine_ = commandLine;
}

void CDlgAutoLogin::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDCANCEL, exit_); }

int CDlgAutoLogin::LoadSkin() {
    if (!CMyMiraboGameApp::FileExists(skinIni_)) return 0;
    std::string path(skinIni_);
    const CString folder = path.substr(0, path.rfind('\\') + 1).c_str();
    auto read = [&](LPCSTR key) {
        char value[512] = "";
        ::GetPrivateProfileStringA("login_dlg", key, "", value, sizeof value, skinIni_);
        return CString(value);
    };
    const CString bk = read("auto_login_bk");
    if (bk.IsEmpty() || !background_.LoadFile(folder + bk)) return 0;
    Gdiplus::Image** images[3] = {&exitImage_, &picture1_, &picture2_};
    LPCSTR keys[3] = {"auto_login_exit", "auto_login_l1", "auto_login_l2"};
    for (int i = 0; i < 3; ++i) {
        const CString value = read(keys[i]);
        if (value.IsEmpty()) return 0;
        *images[i] = LoadImage(folder + value);
    }
    return 1;
}

BOOL CDlgAutoLogin::OnInitDialog() {
    LobbyStep("login window");
    CDialog::OnInitDialog();
    SetWindowText("MiraboGame");
    const int skinLoaded = LoadSkin();
    LobbyStep("login window skin");
    if (!skinLoaded) {
        ::MessageBoxA(GetSafeHwnd(), "载入资源失败,请重新下载客户端!", "错误", MB_OK);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    const CSize size = background_.Size();
    ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    ::SetWindowRgn(GetSafeHwnd(), background_.CreateRegion(kMagenta), TRUE);
    exit_.SetImage(exitImage_);
    ::SetWindowPos(exit_.GetSafeHwnd(), nullptr, 247, 117, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    loading_.Attach(this);
    login_->SetNotifyWindow(GetSafeHwnd());
    SetTimer(kLoadingTimer, 150);
    ready_ = false;
    SetTimer(kPictureTimer, 500);
    PostOwned(GetSafeHwnd(), kLoginStatusLine, 0, std::make_unique<CString>("初始化中。。。"));
    CenterWindow();
    LobbyStep("login window made");
    return TRUE;
}

void CDlgAutoLogin::OnOK() {
    if (user_.IsEmpty() || digest_.IsEmpty()) {
        ::MessageBoxA(GetSafeHwnd(), "登陆密码和用户名不能为空!", "登陆错误", MB_OK);
        EndDialog(IDCANCEL);
        return;
    }
    // The name comes from a web page: the typed login's character test holds for it too.
    const std::string user = std::string(user_).substr(0, 255);
    if (!IsLoginNameText(user)) {
        ::MessageBoxA(GetSafeHwnd(), "请输入正确格式的用户名!", "提示", MB_OK);
        EndDialog(IDCANCEL);
        return;
    }
    CLobbyData& hub = GetLobbyData();
    hub.userName = NormalizeLoginName(user);
    hub.storedDigest = MakeStoredDigest(std::string(digest_), true);
    {
        LobbyLockGuard guard(hub.lobbyLock);
        hub.serverChoice = 0;
        hub.timeText[3] = "1";
    }
    app_.time[3] = "1";
    ::WritePrivateProfileStringA("SYSTEM", "time4", "1", app_.ConfigFile());
    StartLogin();
}

void CDlgAutoLogin::StartLogin() {
    GetServerConfig().LoadUpdaterConfig();
    loggingIn_ = true;
    if (!login_->Start(1)) {
        loggingIn_ = false;
        ::MessageBoxA(GetSafeHwnd(), "连接异常...", "错误", MB_OK);
    }
}

void CDlgAutoLogin::OnCancel() {
    KillTimer(kLoadingTimer);
    if (login_) login_->Stop();
    EndDialog(IDCANCEL);
}

LRESULT CDlgAutoLogin::OnLoadingDone(WPARAM wParam, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (wParam) {
        LobbyStep("loading done");
        ready_ = true;
        ::Sleep(500);
        OnOK();
        LobbyStep("login started");
    } else if (text && *text) {
        CString box;
        box.Format("很抱歉,出现以下意外:%s", text);
        app_.PostMessageBox(box, "错误", 0);
    } else {
        EndDialog(IDCANCEL);
    }
    return 0;
}

void CDlgAutoLogin::OnTimer(UINT_PTR id) {
    if (id == kLoadingTimer) {
        if (!ready_) loading_.Tick(static_cast<unsigned>(id));
        else if (loggingIn_) CheckLoginResult();
        else statusShown_ = true;
    } else if (id == kPictureTimer && pictureState_ != 3) {
        pictureState_ = pictureState_ == 1 ? 2 : 1;
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    }
}

void CDlgAutoLogin::CheckLoginResult() {
    if (!login_) return;
    switch (LoginVerdictOf(login_->GetState())) {
    case LoginVerdict::kLoggedIn:
        LobbyStep("logged in seen");
        ::WritePrivateProfileStringA("SYSTEM", "time4", "0", app_.ConfigFile());
        loggingIn_ = false;
        EndDialog(IDOK);
        break;
    case LoginVerdict::kFailed:
        StopLogin();
        break;
    case LoginVerdict::kTimedOut:
        StopLogin();
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

void CDlgAutoLogin::StopLogin() {
    loggingIn_ = false;
    KillTimer(kPictureTimer);
    pictureState_ = 3;
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

// The server wants a newer client. Whichever of the step's two signals
// (state 11, kMsgNewerClient) comes first tells the player, starts the updater
// beside the program with the whole command line and ends the login.
void CDlgAutoLogin::OnClientTooOld() {
    if (tooOld_) return;
    tooOld_ = true;  // first: the box below lets the other signal in
    StopLogin();
    ::UpdateWindow(GetSafeHwnd());
    app_.TellClientTooOld(GetSafeHwnd(), commandLine_, SW_HIDE);
    EndDialog(IDCANCEL);
}

LRESULT CDlgAutoLogin::OnNewerClient(WPARAM, LPARAM) {
    OnClientTooOld();
    return 0;
}

LRESULT CDlgAutoLogin::OnIgnored(WPARAM, LPARAM) { return 0; }

// No banner here: the notice text is dropped.
LRESULT CDlgAutoLogin::OnBannerNotice(WPARAM, LPARAM lParam) {
    TakeOwned(kBannerNoticeText, lParam);
    return 0;
}

// Every status string is freed; only wParam 0 carries a status line.
LRESULT CDlgAutoLogin::OnLoginStatus(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<CString> text = TakeOwned(kLoginStatusLine, lParam);
    if (wParam == 0 && text) {
        status_ = *text;
        statusChanged_ = true;
        ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    }
    return 0;
}

void CDlgAutoLogin::OnPaint() {
    if (!painted_) LobbyStep("login window painted");
    painted_ = true;
    CPaintDC paint(this);
    CRect client;
    ::GetClientRect(GetSafeHwnd(), &client);
    CMemDC dc(paint, client);
    background_.Draw(&dc, 0, 0, nullptr, kMagenta, TRUE);
    {
        Gdiplus::Graphics g(dc);
        Gdiplus::Image* picture = pictureState_ == 1 ? picture1_ : picture2_;
        if (picture) g.DrawImage(picture, 30, 77, picture->GetWidth(), picture->GetHeight());
        if (statusChanged_ && !status_.IsEmpty()) {
            delete statusImage_;
            statusImage_ = RenderGlowTextImage(status_, "宋体", 12, 0, 0xF3FF61, 0x344A09, 0, 0);
        }
        statusChanged_ = false;
        if (statusImage_) g.DrawImage(statusImage_, 34, 121, statusImage_->GetWidth(), statusImage_->GetHeight());
    }
}

BOOL CDlgAutoLogin::OnEraseBkgnd(CDC*) { return TRUE; }

void CDlgAutoLogin::OnLButtonDown(UINT, CPoint) {
    ::SendMessageA(GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void CDlgAutoLogin::OnDestroy() {
    CDialog::OnDestroy();
    KillTimer(kLoadingTimer);
    if (login_) {
        login_->SetState(CNLogin::kStateStopped);
        delete login_;
        login_ = nullptr;
    }
}

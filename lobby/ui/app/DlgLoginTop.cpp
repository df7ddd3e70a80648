#include "lobby/ui/app/DlgLoginTop.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/DlgMes.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/MiraboGameApp.h"

namespace {
const int kSlideButton = 1031, kPartnerButton = 1030, kCloseButton = 1032;
}

BEGIN_MESSAGE_MAP(CDlgLoginTop, CDialog)
    ON_BN_CLICKED(kSlideButton, OnSlide)
    ON_BN_CLICKED(kPartnerButton, OnPartnerLogin)
    ON_BN_CLICKED(kCloseButton, OnCloseLogin)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(kMsgBannerNotice, OnNotice)
END_MESSAGE_MAP()

void CDlgLoginTop::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, kSlideButton, slide_);
    DDX_Control(dx, kPartnerButton, partner_);
    DDX_Control(dx, kCloseButton, close_);
}

BOOL CDlgLoginTop::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    struct Button { CPngButton1* button; Gdiplus::Image* image; } buttons[] = {
        {&slide_, skin->GetBtnMiraboImage()}, {&partner_, skin->GetBtnPartnerImage()},
        {&close_, skin->GetLoginBtnCloseImage()}};
    for (const Button& b : buttons)
        if (b.image) b.button->SetImage(b.image);
    slide_.SetBkColor(0x0BD06F);
    partner_.SetBkColor(0x0BD06F);
    close_.SetBkMode(-1);
    CMyBitmap* background = skin->GetLoginBk2Image();
    if (background && background->IsLoaded()) {
        const CSize size = background->Size();
        ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        ::SetWindowRgn(GetSafeHwnd(), background->CreateRegion(RGB(255, 0, 255)), TRUE);
        PlaceButtons(size);
    }
    // The page stays blank where no browser can be made; the banner works on.
    if (web_.Create(CDlgWeb::IDD, this)) {
        const CRect place = skin->GetLoginWebRect();
        web_.MoveWindow(&place);
        web_.Navigate(GetLobbyApp()->LoginWeb);
        web_.ShowWindow(SW_SHOW);
    }
    return TRUE;
}

// In pixels, as the picture is: the template's dialog units grow with the dialog
// font. One row just above the login panel's top, under the picture's title and
// the version: slide and partner-site login at the left, close at the right.
void CDlgLoginTop::PlaceButtons(const CSize& picture) {
    const int margin = 12, gap = 8, rowBottom = picture.cy - kPanelOverlap - 2;
    auto size = [](CWnd& button) {
        RECT r;
        ::GetWindowRect(button.GetSafeHwnd(), &r);
        return CSize(r.right - r.left, r.bottom - r.top);
    };
    auto place = [](CWnd& button, int x, int y) {
        ::SetWindowPos(button.GetSafeHwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const CSize slide = size(slide_), partner = size(partner_), close = size(close_);
    const int rowHeight = std::max({slide.cy, partner.cy, close.cy});
    place(slide_, margin, rowBottom - slide.cy);
    place(partner_, margin + slide.cx + gap, rowBottom - partner.cy);
    place(close_, picture.cx - margin - close.cx, rowBottom - (rowHeight + close.cy) / 2);
}

BOOL CDlgLoginTop::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        OnCloseLogin();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CDlgLoginTop::OnSlide() {
    if (HWND parent = ::GetParent(GetSafeHwnd())) ::PostMessageA(parent, kMsgSlide, 1, 0);
}

void CDlgLoginTop::OnCloseLogin() {
    if (HWND parent = ::GetParent(GetSafeHwnd())) ::SendMessageA(parent, WM_CLOSE, 0, 0);
}

void CDlgLoginTop::OnPartnerLogin() {
    if (ShowLobbyMessageBox("为了你的帐号安全，将跳转到合作网站官方\r\n\r\n页面进行登陆，是否继续？\r\n", "提示", 1, 0, 0,
                            0, this) != IDOK)
        return;
    char browser[1024] = "";
    LONG size = sizeof browser;
    HKEY key = nullptr;
    bool found = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE",
                                 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (found) {
        found = ::RegQueryValueA(key, nullptr, browser, &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
    }
    if (!found) {
        ::MessageBoxA(nullptr, "打开失败,请确保系统装有IE浏览器。", "错误", MB_OK);
        return;
    }
    ::ShellExecuteA(nullptr, "open", browser, GetLobbyApp()->PartnerLoginWeb, nullptr, SW_SHOW);
    OnCloseLogin();
}

void CDlgLoginTop::OnPaint() {
    CPaintDC dc(this);
    CMyBitmap* background = GetLobbySkin()->GetLoginBk2Image();
    if (background && background->IsLoaded()) background->Draw(&dc, 0, 0, nullptr, RGB(255, 0, 255), TRUE);
    HDC hdc = dc.GetSafeHdc();
    ::SetTextColor(hdc, RGB(0, 0, 0));
    ::SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(GetSafeHwnd(), WM_GETFONT, 0, 0)));
    RECT text = {220, 45, 320, 65};
    const CString version = GetLobbyApp()->m_versionLabel;
    ::DrawTextA(hdc, version, -1, &text, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    ::SelectObject(hdc, old);
}

BOOL CDlgLoginTop::OnEraseBkgnd(CDC*) { return TRUE; }

void CDlgLoginTop::OnMove(int x, int y) {
    Default();
    if (!placed_) return;
    RECT window;
    ::GetWindowRect(GetSafeHwnd(), &window);
    (void)x;
    (void)y;
    SendOwned(::GetParent(GetSafeHwnd()), kBannerMoved, 0,
              std::unique_ptr<BannerPosition>(new BannerPosition{window.left, window.top}));
}

void CDlgLoginTop::OnLButtonDown(UINT, CPoint) {
    if (slideState_ != 1) ::SendMessageA(GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT CDlgLoginTop::OnNotice(WPARAM wParam, LPARAM lParam) {
    std::unique_ptr<CString> text = TakeOwned(kBannerNoticeText, lParam);
    ::SetFocus(GetSafeHwnd());
    if (wParam == 0 && text) ShowLobbyMessageBox(*text, "公告信息", 0, 0, 0, 0, this);
    return 0;
}

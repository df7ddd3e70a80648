// The top bar (129): the link buttons config.ini allows, the close button,
// the skin's frame and logo.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/LobbyPanels.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"
#include "lobby/ui/web/DlgOrderWeb.h"

namespace {
const UINT kTopIds[9] = {1008, 1011, 1010, 1009, 1012, 1013, 1014, 1015, 1016};
}  // namespace

BEGIN_MESSAGE_MAP(CDlgTop, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_COMMAND_RANGE(1008, 1016, OnLink)
END_MESSAGE_MAP()

BOOL CDlgTop::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    CMyMiraboGameApp* app = GetLobbyApp();
    const bool shown[8] = {app->MainWebShow, app->SetWebShow,   app->PayWebShow,  app->BBSWebShow,
                           app->BCityWebShow, app->PerWebShow, app->HelpWebShow, app->ShopWebShow};
    const std::vector<CPoint>& points = skin->GetButtonPoints();
    for (int i = 0; i < 9; ++i) {
        CPngButton1& b = m_buttons[i];
        if (HWND h = ::GetDlgItem(m_hWnd, static_cast<int>(kTopIds[i]))) b.SubclassWindow(h);
        else b.CreateEx(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), this, kTopIds[i]);
        const CPoint at = i < static_cast<int>(points.size()) ? points[i] : CPoint(0, 0);
        b.SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (Gdiplus::Image* strip = skin->GetImage(i < 8 ? i : 19)) b.SetImage(strip);
        b.SetBkMode(2);  // the bar's own frame behind the picture
        b.ShowWindow(i == 8 || shown[i] ? SW_SHOW : SW_HIDE);
    }
    return TRUE;
}

void CDlgTop::OnPaint() {
    {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        CMemDC dc(paint, client);
        CSkinRes* skin = GetLobbySkin();
        skin->DrawFrame(&dc, 0, 0, client.right, client.bottom, 2);
        skin->DrawLogo(&dc, 0, 0);
    }
    for (CPngButton1& b : m_buttons)
        if (b.m_hWnd && b.IsWindowVisible()) b.Invalidate(FALSE);
}

void CDlgTop::OnLink(UINT id) {
    CMyMiraboGameApp* app = GetLobbyApp();
    switch (id) {
        case 1008:
        case 1010: {
            const CString& address = id == 1008 ? app->MainWeb : app->PayWeb;
            LobbyTrace("open %s", address.GetString());
            ::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
            break;
        }
        case 1009: OpenLinkPage("论  坛", app->BBSWeb); break;
        case 1012: OpenLinkPage("商  城", app->BCityWeb); break;
        case 1013: OpenLinkPage("个人信息", app->PerWeb); break;
        case 1014: OpenLinkPage("帮  助", app->HelpWeb); break;
        case 1015: OpenLinkPage("购物卷", app->ShopWeb); break;
        case 1011: OpenLinkPage("设  置", app->SetWeb); break;
        case 1016:
            if (CWnd* main = GetParent()) main->PostMessage(WM_CLOSE);
            break;
        default: break;
    }
}

// One link page: while it is open it is retitled and navigated again.
void CDlgTop::OpenLinkPage(LPCSTR title, const CString& address) {
    m_linkTitle = title;
    LobbyTrace("link page %s %s", title, address.GetString());
    CMyMiraboGameDlg* main = GetLobbyApp()->m_mainDlg;
    if (!main) return;
    CDlgMid& mid = main->m_mid;
    if (auto* page = static_cast<CDlgOrderWeb*>(m_linkPageId >= 0 ? mid.GetPageWnd(m_linkPageId) : nullptr)) {
        mid.SetPageText(m_linkPageId, title);
        page->SetWindowText(title);
        mid.ActivatePage(m_linkPageId);
        page->Navigate(address);
        return;
    }
    auto* page = new CDlgOrderWeb();
    if (!page->Create(CDlgOrderWeb::IDD, &mid)) {
        delete page;
        m_linkPageId = -1;
        return;
    }
    m_linkPageId = mid.AddPage(title, page);
    page->SetPageKey(m_linkPageId);
    page->Navigate(address);
}

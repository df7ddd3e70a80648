// The middle panel (131): the tab strip over the page windows, and the
// buttons that hide and show the left and right panels.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <gdiplus.h>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/LobbyPanels.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"

namespace {

enum : UINT { kHideLeft = 1015, kShowLeft = 1016, kShowRight = 1017, kHideRight = 1019 };

CMyMiraboGameDlg* MainDlg() { return GetLobbyApp() ? GetLobbyApp()->m_mainDlg : nullptr; }

// The lobby's rules for closing a tab.
class LobbyTabRules : public CTabCloseRules {
public:
    BOOL CanCloseRoom(int key) override { return GetLobbyApp()->CanCloseRoom(key); }
    BOOL IsRoomSwitching() override { return GetLobbyApp()->m_forcedSwitch != 0; }
    int GetMemberPageKey() override { return MainDlg() ? MainDlg()->GetMemberPageId() : -1; }
    void PostMessageBox(LPCSTR text, LPCSTR caption) override { GetLobbyApp()->PostMessageBox(text, caption, 0); }
};
LobbyTabRules g_tabRules;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgMid, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(kMsgTabStrip, OnTabCommand)
    ON_COMMAND_RANGE(kHideLeft, kHideRight, OnPanelButton)
END_MESSAGE_MAP()

BOOL CDlgMid::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    CRect client;
    GetClientRect(&client);
    m_tabs.Create(CRect(16, 10, client.right - 16, 62), this, CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))));
    m_tabs.SetBkColor(skin->GetTabColor(1));
    m_tabs.SetImages(skin->GetTabBmp1Image(), skin->GetTabBmp2Image());
    m_tabs.SetSelTextColor(skin->GetTabTextColor());
    m_tabs.SetTextColor(skin->GetTabColor(2));
    m_tabs.SetCloseRules(&g_tabRules);
    const UINT ids[4] = {kHideLeft, kShowLeft, kShowRight, kHideRight};
    PngButton* buttons[4] = {&m_btnHideLeft, &m_btnShowLeft, &m_btnShowRight, &m_btnHideRight};
    for (int i = 0; i < 4; ++i) {
        if (HWND h = ::GetDlgItem(m_hWnd, static_cast<int>(ids[i]))) buttons[i]->SubclassWindow(h);
        else buttons[i]->CreateEx(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 12, 40), this, ids[i]);
        Gdiplus::Image* image = ids[i] == kHideLeft || ids[i] == kHideRight ? skin->GetBmpToLeft() : skin->GetBmpToRight();
        if (image) buttons[i]->SetImage(image);
    }
    m_btnHideLeft.ShowWindow(SW_SHOW);
    m_btnShowLeft.ShowWindow(SW_HIDE);
    UpdateGameButtons(0);
    m_ready = true;
    Layout();
    return TRUE;
}

void CDlgMid::Layout() {
    CRect client;
    GetClientRect(&client);
    CRect b;
    m_btnHideLeft.GetWindowRect(&b);
    const int bw = b.Width(), bh = b.Height();
    const int y = (client.Height() - bh) / 2;
    m_btnHideLeft.MoveWindow(0, y, bw, bh);
    m_btnShowLeft.MoveWindow(0, y, bw, bh);
    m_btnShowRight.MoveWindow(client.right - bw, y, bw, bh);
    m_btnHideRight.MoveWindow(client.right - bw, y, bw, bh);
    const int left = bw + 16, right = std::max(left, static_cast<int>(client.right) - bw - 15);
    if (m_tabs.m_hWnd) m_tabs.MoveWindow(left, 10, right - left, 52);
    m_pageRect = CRect(left, 62, right, std::max(62, static_cast<int>(client.bottom) - 16));
    m_pages.MoveAll(m_pageRect.left, m_pageRect.top, m_pageRect.right, m_pageRect.bottom);
}

void CDlgMid::OnSize(UINT, int, int) {
    if (m_ready) Layout();
}

void CDlgMid::OnDestroy() {
    m_tabs.RemoveAllTabs();
    m_pages.DestroyAll();
    Default();
}

BOOL CDlgMid::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    GetLobbySkin()->DrawFrame(dc, 0, 0, client.right, client.bottom, 1);
    return TRUE;
}

int CDlgMid::AddPage(LPCSTR title, CWnd* window) {
    if (!window) return -1;
    window->SetWindowText(title);
    const int id = m_tabs.AddTab(title);
    if (id < 0) return -1;
    window->ShowWindow(SW_HIDE);
    window->MoveWindow(&m_pageRect);
    window->SetWindowRgn(::CreateRoundRectRgn(0, 0, m_pageRect.Width() + 1, m_pageRect.Height() + 1, 3, 3), TRUE);
    m_pages.AddPage(id, window);
    ActivatePage(id);
    return id;
}

void CDlgMid::ClosePage(int id) { m_tabs.SendMessage(kMsgTabStrip, 100, id); }

int CDlgMid::ActivatePage(int id) {
    const bool shown = m_pages.ShowPage(id);
    if (!m_tabs.ActivateTab(id)) return shown ? 1 : 0;
    PostMessage(kMsgTabStrip, 0, id);
    return 1;
}

LRESULT CDlgMid::OnTabCommand(WPARAM wParam, LPARAM lParam) {
    const int id = static_cast<int>(lParam);
    CMyMiraboGameDlg* main = MainDlg();
    const bool roomPage = main && id == main->GetRoomPageId();
    if (wParam == 0) {
        m_pages.ShowPage(id);
        if (roomPage) {
            OnPanelButton(kHideLeft);
            OnPanelButton(kShowRight);
            m_tabs.SetRoomFlag(TRUE);
        } else {
            if (m_roomButtons == 1) OnPanelButton(kHideRight);
            OnPanelButton(kShowLeft);
            m_tabs.SetRoomFlag(FALSE);
        }
    } else if (wParam == 1) {
        m_pages.RemovePage(id);
        if (CWnd* parent = GetParent()) parent->PostMessage(kMsgMainCommand, 1, id);
        if (roomPage) {
            if (m_roomButtons == 1) OnPanelButton(kHideRight);
            OnPanelButton(kShowLeft);
            m_tabs.SetRoomFlag(FALSE);
        }
    }
    return 0;
}

void CDlgMid::OnPanelButton(UINT id) {
    CMyMiraboGameDlg* main = MainDlg();
    switch (id) {
        case kHideLeft:
            m_btnHideLeft.ShowWindow(SW_HIDE);
            m_btnShowLeft.ShowWindow(SW_SHOW);
            if (main) main->HideLeftPanel();
            break;
        case kShowLeft:
            m_btnHideLeft.ShowWindow(SW_SHOW);
            m_btnShowLeft.ShowWindow(SW_HIDE);
            if (main) main->ShowLeftPanel();
            break;
        case kShowRight:
            m_btnShowRight.ShowWindow(SW_HIDE);
            m_btnHideRight.ShowWindow(SW_SHOW);
            if (main) main->ShowRightPanel();
            break;
        case kHideRight:
            m_btnShowRight.ShowWindow(SW_SHOW);
            m_btnHideRight.ShowWindow(SW_HIDE);
            if (main) main->HideRightPanel();
            break;
        default:
            return;
    }
    m_btnShowRight.Invalidate();
    m_btnHideRight.Invalidate();
}

void CDlgMid::UpdateGameButtons(int flag) {
    if (flag) {
        // In a room from its desk list on (room state 3), before its page has an id.
        CMyMiraboGameDlg* main = MainDlg();
        const bool inRoom = main && main->m_left.m_roomState == 3;
        m_btnShowRight.ShowWindow(inRoom ? SW_HIDE : SW_SHOW);
        m_btnHideRight.ShowWindow(inRoom ? SW_SHOW : SW_HIDE);
        m_roomButtons = 1;
    } else {
        m_btnShowRight.ShowWindow(SW_HIDE);
        m_btnHideRight.ShowWindow(SW_HIDE);
        m_roomButtons = 0;
    }
}

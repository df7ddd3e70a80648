#include "lobby/ui/SkinTabCtrl.h"

#include <algorithm>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/EnBitmap.h"
#include "lobby/ui/SkinRes.h"
#include "platform/DefaultWndClass.h"

namespace {

struct Hold {
    explicit Hold(CCirSecLock& l) : lock(l) { lock.Lock(); }
    ~Hold() { lock.Unlock(); }
    CCirSecLock& lock;
};

const RECT kLeftPiece = {0, 0, 30, 27};
const RECT kMiddlePiece = {30, 0, 40, 27};
const RECT kRightPiece = {40, 0, 50, 27};
const CRect kFirstTab(-14, 0, 81, 27);

}  // namespace

CSkinTabCtrlBtn::CSkinTabCtrlBtn(int key, LPCSTR text, CSkinTabCtrl* owner, CFont* font)
    : m_nKey(key), m_text(text), m_pOwner(owner), m_pFont(font) {}

void CSkinTabCtrlBtn::SetRect(const CRect& rect) {
    m_rect = rect;
    m_nWidth = rect.Width();
    m_nHeight = rect.Height();
    m_textRect = CRect(rect.left + 15, rect.top + 3, rect.right - 3, rect.bottom);
}

void CSkinTabCtrlBtn::Draw(CDC* dc) {
    CMyBitmap* image = m_nState == 1 ? m_pImage1 : m_pImage2;
    if (image) {
        image->Draw(dc, m_rect.left, m_rect.top, &kLeftPiece, m_keyColor, TRUE);
        const int room = m_nWidth - 40, d = kMiddlePiece.right - kMiddlePiece.left;
        if (room > 0) {
            const int pieces = d < room ? room / d + (room % d ? 1 : 0) : 1;
            for (int i = 0; i < pieces; ++i) image->Draw(dc, m_rect.left + 30 + i * d, m_rect.top, &kMiddlePiece, m_keyColor, TRUE);
        }
        image->Draw(dc, m_rect.right - 10, m_rect.top, &kRightPiece, m_keyColor, TRUE);
    }
    HDC h = dc->m_hDC;
    LOGFONTA lf{};
    HFONT base = m_pFont ? static_cast<HFONT>(m_pFont->m_hObject) : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::GetObjectA(base, sizeof lf, &lf);
    if (m_nState == 1) lf.lfWeight = FW_BOLD;
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(h, font);
    ::SetBkMode(h, TRANSPARENT);
    ::SetTextColor(h, m_nState == 1 ? m_selTextColor : m_textColor);
    CRect r = m_textRect;
    ::DrawTextA(h, m_text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(h, old);
    ::DeleteObject(font);
}

BEGIN_MESSAGE_MAP(CSkinTabCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(kTabCloseCommand, OnCloseCommand)
    ON_MESSAGE(kMsgTabStrip, OnStripMessage)
END_MESSAGE_MAP()

CSkinTabCtrl::~CSkinTabCtrl() {
    RemoveAllTabs();
    if (m_hWnd) DestroyWindow();
}

BOOL CSkinTabCtrl::Create(const RECT& rect, CWnd* parent, CFont* font) {
    if (!CreateEx(0, AfxDefaultWndClass(), "", WS_CHILD | WS_VISIBLE, rect, parent, 0xE900)) return FALSE;
    m_pParent = parent;
    m_pFont = font;
    SetFont(font);
    return TRUE;
}

BOOL CSkinTabCtrl::SetImages(CMyBitmap* selected, CMyBitmap* normal) {
    if (!selected || !normal) return FALSE;
    m_pSelImage = selected;
    m_pImage = normal;
    return TRUE;
}

CSkinTabCtrlBtn* CSkinTabCtrl::Find(int key) {
    for (CSkinTabCtrlBtn* tab : m_tabs)
        if (tab->m_nKey == key) return tab;
    return nullptr;
}

CSkinTabCtrlBtn* CSkinTabCtrl::HitTest(CPoint point) {
    for (CSkinTabCtrlBtn* tab : m_tabs)
        if (tab->m_textRect.PtInRect(point)) return tab;
    return nullptr;
}

int CSkinTabCtrl::AddTab(LPCSTR text) {
    Hold hold(*this);
    const int key = ++m_nLastKey;
    auto* tab = new (std::nothrow) CSkinTabCtrlBtn(key, text ? text : "", this, m_pFont);
    if (!tab) {
        --m_nLastKey;
        return -1;
    }
    tab->SetRect(m_next);
    tab->m_pImage1 = m_pSelImage;
    tab->m_pImage2 = m_pImage;
    tab->m_selTextColor = m_selTextColor;
    tab->m_textColor = m_textColor;
    const bool first = m_tabs.empty();
    if (first) tab->m_nState = 1;
    m_tabs.push_back(tab);
    if (first) Notify(0, key);
    Invalidate();
    m_next.OffsetRect(tab->m_nWidth - 17, 0);
    return key;
}

BOOL CSkinTabCtrl::SelectTab(int key) {
    Hold hold(*this);
    CSkinTabCtrlBtn* tab = Find(key);
    if (!tab || tab->m_nState == 1) return FALSE;
    CSkinTabCtrlBtn* before = nullptr;
    for (CSkinTabCtrlBtn* t : m_tabs)
        if (t->m_nState == 1) before = t;
    tab->m_nState = 1;
    if (!before) return FALSE;
    before->m_nState = 2;
    Invalidate();
    Notify(0, key);
    return TRUE;
}

BOOL CSkinTabCtrl::ClickSelect(CSkinTabCtrlBtn* tab) {
    if (!tab || tab->m_nState == 1) return FALSE;
    for (CSkinTabCtrlBtn* t : m_tabs)
        if (t->m_nState == 1) t->m_nState = 2;
    tab->m_nState = 1;
    Invalidate();
    Notify(0, tab->m_nKey);
    return TRUE;
}

BOOL CSkinTabCtrl::ActivateTab(int key) {
    Hold hold(*this);
    CSkinTabCtrlBtn* tab = Find(key);
    if (!tab) return FALSE;
    for (CSkinTabCtrlBtn* t : m_tabs) t->m_nState = t == tab ? 1 : 2;
    Invalidate();
    return TRUE;
}

int CSkinTabCtrl::GetSelectedKey() {
    Hold hold(*this);
    for (CSkinTabCtrlBtn* t : m_tabs)
        if (t->m_nState == 1) return t->m_nKey;
    return -1;
}

BOOL CSkinTabCtrl::SetTabText(int key, LPCSTR text) {
    Hold hold(*this);
    CSkinTabCtrlBtn* tab = Find(key);
    if (!tab) return FALSE;
    tab->m_text = text ? text : "";
    return TRUE;
}

void CSkinTabCtrl::RemoveAllTabs() {
    Hold hold(*this);
    for (CSkinTabCtrlBtn* t : m_tabs) delete t;
    m_tabs.clear();
}

int CSkinTabCtrl::GetTabCount() {
    Hold hold(*this);
    return static_cast<int>(m_tabs.size());
}

CRect CSkinTabCtrl::GetTabRect(int key) {
    Hold hold(*this);
    CSkinTabCtrlBtn* tab = Find(key);
    return tab ? tab->m_rect : CRect();
}

int CSkinTabCtrl::GetTabState(int key) {
    Hold hold(*this);
    CSkinTabCtrlBtn* tab = Find(key);
    return tab ? tab->m_nState : 0;
}

BOOL CSkinTabCtrl::CloseTab(int key) {
    if (m_pRules) {
        if (!m_pRules->CanCloseRoom(key) && !m_pRules->IsRoomSwitching()) {
            m_pRules->PostMessageBox("请先退出游戏,再关闭大厅!", "提示");
            return FALSE;
        }
        if (key == m_pRules->GetMemberPageKey()) return FALSE;
    }
    Hold hold(*this);
    auto it = std::find_if(m_tabs.begin(), m_tabs.end(), [key](CSkinTabCtrlBtn* t) { return t->m_nKey == key; });
    if (it == m_tabs.end()) return FALSE;
    if (it == m_tabs.begin()) {
        if (m_tabs.size() > 1) SelectTab(m_tabs[1]->m_nKey);
    } else {
        SelectTab((*(it - 1))->m_nKey);
    }
    if (m_pParent) m_pParent->PostMessage(kMsgTabStrip, 1, key);
    it = std::find_if(m_tabs.begin(), m_tabs.end(), [key](CSkinTabCtrlBtn* t) { return t->m_nKey == key; });
    delete *it;
    m_tabs.erase(it);
    CRect r = kFirstTab;
    for (CSkinTabCtrlBtn* t : m_tabs) {
        t->SetRect(r);
        r.OffsetRect(t->m_nWidth - 17, 0);
    }
    m_next = r;  // a tab added later goes beside the last, not where a closed one was
    Invalidate();
    return TRUE;
}

void CSkinTabCtrl::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    CDC* cdc = &dc;
    GetLobbySkin()->DrawFrame(cdc, 0, 0, client.right, client.bottom, 4);
    if (m_bShowCaption) {
        HGDIOBJ oldFont = ::SelectObject(dc, m_pFont ? static_cast<HFONT>(m_pFont->m_hObject) : nullptr);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, m_captionColor);
        CRect r(10, 26, client.right, 51);
        ::DrawTextA(dc, m_caption, -1, &r, DT_SINGLELINE | DT_VCENTER);
        ::SelectObject(dc, oldFont);
    }
    {
        Hold hold(*this);
        CSkinTabCtrlBtn* selected = nullptr;
        for (CSkinTabCtrlBtn* t : m_tabs) {
            if (t->m_nState == 1) selected = t;
            else t->Draw(cdc);
        }
        if (selected) selected->Draw(cdc);
    }
}

void CSkinTabCtrl::OnLButtonDown(UINT, CPoint point) {
    {
        Hold hold(*this);
        ClickSelect(HitTest(point));
    }
    Default();
}

void CSkinTabCtrl::OnLButtonDblClk(UINT, CPoint point) {
    int key = -1;
    {
        Hold hold(*this);
        if (CSkinTabCtrlBtn* tab = HitTest(point)) key = tab->m_nKey;
    }
    if (key >= 0) CloseTab(key);
    Default();
}

void CSkinTabCtrl::OnRButtonDown(UINT, CPoint point) {
    {
        Hold hold(*this);
        CSkinTabCtrlBtn* tab = HitTest(point);
        if (!tab) return;
        ClickSelect(tab);
    }
    CMenu menu;
    if (menu.LoadMenu(kTabMenuId)) {
        if (CMenu* popup = menu.GetSubMenu(0)) {
            CPoint at;
            ::GetCursorPos(&at);
            SetForegroundWindow();
            popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
        }
    }
    Default();
}

void CSkinTabCtrl::OnCloseCommand() { CloseTab(GetSelectedKey()); }

LRESULT CSkinTabCtrl::OnStripMessage(WPARAM wParam, LPARAM lParam) {
    if (wParam == 100) CloseTab(static_cast<int>(lParam));
    return 0;
}

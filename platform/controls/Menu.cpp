#include "platform/controls/Menu.h"

#include "platform/App.h"
#include "platform/TempMap.h"
#include "platform/Wnd.h"

CMenu* CMenu::FromHandle(HMENU h) { return h ? afx_detail::TempMap<CMenu, HMENU>::Get(h) : nullptr; }

BOOL CMenu::Attach(HMENU h) {
    if (!h) return FALSE;
    DestroyMenu();
    m_hMenu = h;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id))); }

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    char buf[256] = "";
    int n = ::GetMenuStringA(m_hMenu, item, buf, sizeof buf, flags);
    text = buf;
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd ? wnd->m_hWnd : nullptr, rect);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }

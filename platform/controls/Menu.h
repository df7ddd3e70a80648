// Menus: a CMenu owns its HMENU unless detached; FromHandle wraps any menu
// until the thread's next idle moment.
#pragma once

#include <windows.h>

#include "platform/CString.h"

class CWnd;

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    virtual ~CMenu() { DestroyMenu(); }

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU h);
    BOOL Attach(HMENU h);
    HMENU Detach();
    void AttachTemporary(HMENU h) { m_hMenu = h; }

    // From the current resource module (AfxGetResourceHandle).
    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu();

    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, text); }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::InsertMenuA(m_hMenu, pos, flags, id, text);
    }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::ModifyMenuA(m_hMenu, pos, flags, id, text);
    }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    UINT EnableMenuItem(UINT item, UINT flags) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, flags)); }
    UINT CheckMenuItem(UINT item, UINT flags) { return static_cast<UINT>(::CheckMenuItem(m_hMenu, item, flags)); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect = nullptr);
};

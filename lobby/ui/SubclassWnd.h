// Hooks a window's procedure without deriving from its class. Several hooks
// can sit on one window: the latest gets each message first and passes it on
// (WindowProc of the base) to the one before, the last to the window's own
// procedure. WM_NCDESTROY unhooks them all.
#pragma once

#include <windows.h>

#include "platform/MapPtrToPtr.h"

class CWnd;

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;
    virtual ~CSubclassWnd();

    // Null unhooks. Returns 1.
    virtual BOOL HookWindow(CWnd* wnd);
    virtual BOOL HookWindow(HWND hWnd);
    virtual BOOL IsHooked() const { return m_hWnd != nullptr; }
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed down the chain.
    virtual LRESULT Default();

    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;

private:
    friend LRESULT CALLBACK SubclassHookProc(HWND, UINT, WPARAM, LPARAM);
};

// Window handle -> the window's first hook.
class CSubclassWndMap : public CMapPtrToPtr {
public:
    CSubclassWndMap() : CMapPtrToPtr(10) {}
    static CSubclassWndMap& GetHookMap();
    void Add(HWND hWnd, CSubclassWnd* hook);
    void Remove(CSubclassWnd* hook);
    void RemoveAll(HWND hWnd);
    CSubclassWnd* Lookup(HWND hWnd) const;
};

LRESULT CALLBACK SubclassHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

#include "lobby/ui/SubclassWnd.h"

#include "platform/ThreadState.h"
#include "platform/Wnd.h"

LRESULT CALLBACK SubclassHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* state = AfxGetThreadState();
    MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    CSubclassWndMap& map = CSubclassWndMap::GetHookMap();
    CSubclassWnd* hook = map.Lookup(hWnd);
    LRESULT result = 0;
    if (!hook) {
        result = ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        WNDPROC old = hook->m_pOldWndProc;
        map.RemoveAll(hWnd);
        result = ::CallWindowProcA(old, hWnd, message, wParam, lParam);
    } else {
        result = hook->WindowProc(message, wParam, lParam);
    }
    state->m_lastSentMsg = saved;
    return result;
}

CSubclassWnd::~CSubclassWnd() {
    if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

BOOL CSubclassWnd::HookWindow(CWnd* wnd) { return HookWindow(wnd ? wnd->m_hWnd : static_cast<HWND>(nullptr)); }

BOOL CSubclassWnd::HookWindow(HWND hWnd) {
    if (hWnd) {
        m_hWnd = hWnd;
        CSubclassWndMap::GetHookMap().Add(hWnd, this);
    } else if (m_hWnd) {
        CSubclassWndMap::GetHookMap().Remove(this);
        m_pOldWndProc = nullptr;
    }
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
    return m_pOldWndProc ? ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam) : 0;
}

LRESULT CSubclassWnd::Default() {
    const MSG& m = AfxGetThreadState()->m_lastSentMsg;
    return CSubclassWnd::WindowProc(m.message, m.wParam, m.lParam);
}

CSubclassWndMap& CSubclassWndMap::GetHookMap() {
    static CSubclassWndMap map;
    return map;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND hWnd) const {
    void* value = nullptr;
    return CMapPtrToPtr::Lookup(hWnd, value) ? static_cast<CSubclassWnd*>(value) : nullptr;
}

void CSubclassWndMap::Add(HWND hWnd, CSubclassWnd* hook) {
    CSubclassWnd* first = Lookup(hWnd);
    hook->m_pNext = first;
    if (first) {
        hook->m_pOldWndProc = first->m_pOldWndProc;
    } else {
        hook->m_pOldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassHookProc)));
    }
    SetAt(hWnd, hook);
}

void CSubclassWndMap::Remove(CSubclassWnd* hook) {
    HWND hWnd = hook->m_hWnd;
    CSubclassWnd* first = Lookup(hWnd);
    if (first == hook) {
        if (hook->m_pNext) {
            SetAt(hWnd, hook->m_pNext);
        } else {
            RemoveKey(hWnd);
            if (::IsWindow(hWnd))
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->m_pOldWndProc));
        }
    } else {
        for (CSubclassWnd* p = first; p; p = p->m_pNext) {
            if (p->m_pNext == hook) {
                p->m_pNext = hook->m_pNext;
                break;
            }
        }
    }
    hook->m_pNext = nullptr;
    hook->m_hWnd = nullptr;
}

void CSubclassWndMap::RemoveAll(HWND hWnd) {
    while (CSubclassWnd* hook = Lookup(hWnd)) hook->HookWindow(static_cast<HWND>(nullptr));
}

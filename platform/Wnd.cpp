#include "platform/Wnd.h"

#include <cstdio>
#include <map>
#include <string>

#include "platform/App.h"
#include "platform/LogSink.h"
#include "platform/TempMap.h"

namespace {

// Permanent map: the windows that are ours. Windows belong to the thread that
// made them, and only that thread dispatches their messages.
std::map<HWND, CWnd*>& PermanentMap() {
    thread_local std::map<HWND, CWnd*> map;
    return map;
}

// The window's first object: its latest hook, else its own CWnd.
CWnd* FirstOf(HWND hWnd) {
    auto& map = PermanentMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CSubclassWnd* AsHook(CWnd* wnd) { return dynamic_cast<CSubclassWnd*>(wnd); }

void UnhookAll(HWND hWnd) {
    while (CSubclassWnd* hook = AsHook(FirstOf(hWnd))) hook->Unhook();
}

thread_local CWnd* t_wndInit = nullptr;
thread_local HHOOK t_cbtHook = nullptr;

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_wndInit) {
        CWnd* wnd = t_wndInit;
        t_wndInit = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
        wnd->PreSubclassWindow();
        wnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(wnd->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    }
    return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* wnd) {
    if (!t_cbtHook) t_cbtHook = ::SetWindowsHookExA(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
    t_wndInit = wnd;
}

BOOL AfxUnhookWindowCreate() {
    if (t_cbtHook) {
        ::UnhookWindowsHookEx(t_cbtHook);
        t_cbtHook = nullptr;
    }
    BOOL attached = t_wndInit == nullptr;
    t_wndInit = nullptr;
    return attached;
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{hWnd, message, wParam, lParam, 0, {0, 0}};
    const MSG* outer = wnd->m_pCurrentMsg;
    wnd->m_pCurrentMsg = &msg;
    LRESULT result = AfxStopExceptions([&] { return wnd->WindowProc(message, wParam, lParam); },
                                       [&] {
                                           char place[80];
                                           std::snprintf(place, sizeof place, "the handler of message 0x%04X (window %p)",
                                                         message, static_cast<void*>(hWnd));
                                           return std::string(place);
                                       },
                                       [&] { return wnd->DefWindowProc(message, wParam, lParam); });
    wnd->m_pCurrentMsg = outer;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FirstOf(hWnd);
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    LRESULT result = AfxCallWndProc(wnd, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        UnhookAll(hWnd);
        if (CWnd* own = FirstOf(hWnd)) own->OnFinalDestroy();
    }
    return result;
}

// ---- CCmdTarget -----------------------------------------------------------------

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    UINT base = message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message;
    bool coded = base == WM_COMMAND || base == WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage; ++e) {
            if (e->nMessage != message) continue;
            if (coded && (e->nCode != code || id < e->nID || id > e->nLastID)) continue;
            return e;
        }
    }
    return nullptr;
}

// ---- CWnd: handle map -------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Still alive: take the window back, then destroy it.
        HWND h = m_hWnd;
        UnsubclassWindow();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    CWnd* wnd = FirstOf(hWnd);
    while (CSubclassWnd* hook = AsHook(wnd)) wnd = hook->m_pNext;
    return wnd;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    return afx_detail::TempMap<CWnd, HWND>::Get(hWnd);
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd) return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        UnhookAll(h);
        auto& map = PermanentMap();
        auto it = map.find(h);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || FirstOf(hWnd) || !Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

void CWnd::OnFinalDestroy() {
    UnsubclassWindow();
    PostNcDestroy();
}

// ---- CSubclassWnd ---------------------------------------------------------------

CSubclassWnd::~CSubclassWnd() { Unhook(); }

BOOL CSubclassWnd::HookWindow(HWND hWnd) {
    Unhook();
    if (!hWnd) return TRUE;
    if (!::IsWindow(hWnd)) return FALSE;
    CWnd*& first = PermanentMap()[hWnd];
    if (first) {
        m_pNext = first;
    } else {
        m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    }
    first = this;
    m_hWnd = hWnd;
    return TRUE;
}

void CSubclassWnd::Unhook() {
    if (!m_hWnd) return;
    auto& map = PermanentMap();
    auto it = map.find(m_hWnd);
    if (it != map.end() && it->second == this) {
        if (m_pNext) {
            it->second = m_pNext;
        } else {
            map.erase(it);
            if (::IsWindow(m_hWnd)) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        }
    } else if (it != map.end()) {
        for (CSubclassWnd* above = AsHook(it->second); above; above = AsHook(above->m_pNext)) {
            if (above->m_pNext != this) continue;
            above->m_pNext = m_pNext;
            if (!m_pNext) above->m_pfnSuper = m_pfnSuper;  // the window's previous procedure moves up
            break;
        }
    }
    m_hWnd = nullptr;
    m_pNext = nullptr;
    m_pfnSuper = nullptr;
}

LRESULT CSubclassWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pNext) return AfxCallWndProc(m_pNext, m_hWnd, message, wParam, lParam);
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    AfxHookWindowCreate(this);
    HWND h = ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), param);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

// ---- CWnd: dispatch -------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (!m_pCurrentMsg) return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The child control a parent's message concerns, or null.
HWND NotifyingChild(HWND parent, UINT message, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return dis && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return mis && mis->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(mis->CtlID)) : nullptr;
    }
    default:
        return IsCtlColor(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
    }
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    if (HWND h = NotifyingChild(m_hWnd, message, lParam)) {
        CWnd* child = FromHandlePermanent(h);
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return TRUE;
        *result = 0;
    }
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) return OnNotify(wParam, lParam, result);
    UINT key = IsCtlColor(message) ? WM_CTLCOLOR : message;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(key, 0, 0);
    return e && e->pfn(this, message, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    LRESULT ignored = 0;
    return e && e->pfn(this, WM_COMMAND, wParam, lParam, &ignored);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* nm = reinterpret_cast<const NMHDR*>(lParam);
    if (!nm) return FALSE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_NOTIFY, nm->code, static_cast<UINT>(nm->idFrom));
    return e && e->pfn(this, WM_NOTIFY, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = 0;
    if (message == WM_COMMAND) code = HIWORD(wParam);
    else if (message == WM_NOTIFY) code = reinterpret_cast<const NMHDR*>(lParam)->code;
    else if (IsCtlColor(message)) {
        // The control knows itself: it gets the CTLCOLOR_ kind instead.
        lParam = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);
        message = WM_CTLCOLOR;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_REFLECT_BASE + message, code, 0);
    if (!e) return FALSE;
    // A reflected handler has no message of its own to pass on (Default).
    const MSG* outer = m_pCurrentMsg;
    m_pCurrentMsg = nullptr;
    struct Restore {
        CWnd* wnd;
        const MSG* msg;
        ~Restore() { wnd->m_pCurrentMsg = msg; }
    } restore{this, outer};
    return e->pfn(this, WM_REFLECT_BASE + message, wParam, lParam, result);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* msg) {
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (h == hWndStop) break;
    }
    return FALSE;
}

// ---- CWnd: modal loop -----------------------------------------------------------

int CWnd::RunModalLoop() {
    m_nFlags |= WF_CONTINUEMODAL;
    MSG msg;
    // Idle work runs once when the queue empties, and again only after a
    // message the application counts as a reason for it (IsIdleMessage).
    bool idle = true;
    while (ContinueModal()) {
        if (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            idle = false;
            // Show a window created hidden (one shown meanwhile, say
            // maximised, keeps its state), drop temporary wrappers.
            if ((m_nFlags & WF_SHOWONIDLE) && m_hWnd) {
                m_nFlags &= ~WF_SHOWONIDLE;
                if (!::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
                ::UpdateWindow(m_hWnd);
            }
            AfxDeleteTempMaps();
        }
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return -1;
        }
        if (!WalkPreTranslateTree(nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        CWinApp* app = AfxGetApp();
        if (!app || app->IsIdleMessage(&msg)) idle = true;
    }
    return m_nModalResult;
}

void CWnd::EndModalLoop(int result) {
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        PostMessage(WM_NULL);
    }
}

// ---- CWnd: geometry and text -----------------------------------------------------

void CWnd::ClientToScreen(LPRECT r) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&r->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&r->right));
}

void CWnd::ScreenToClient(LPRECT r) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&r->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&r->right));
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    HWND center = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) center = ::GetParent(m_hWnd);
    CRect area;
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect self;
    GetWindowRect(&self);
    int x = area.left + (area.Width() - self.Width()) / 2;
    int y = area.top + (area.Height() - self.Height()) / 2;
    if (GetStyle() & WS_CHILD) {
        CPoint p(x, y);
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetWindowText(CString& text) const {
    // Some controls (rich edit) count characters, not bytes: room for two
    // bytes each, cut to what arrives.
    int n = ::GetWindowTextLengthA(m_hWnd) * 2;
    char* buf = text.GetBufferSetLength(n);
    ::GetWindowTextA(m_hWnd, buf, n + 1);
    text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    const int length = item ? ::GetWindowTextLengthA(item) : 0;
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int got = item ? ::GetWindowTextA(item, &buffer[0], length + 1) : 0;
    text = CString(buffer.c_str());
    return got;
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
    return 0;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = GetExStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(changed));
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (swpFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

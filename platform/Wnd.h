// Windows and message dispatch.
//
// Each window class lists its handlers in a message map, a static table read
// from top to bottom; the first entry that matches a message handles it:
//
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_TIMER()
//       ON_BN_CLICKED(6, OnYes)
//   END_MESSAGE_MAP()
//
// A window becomes ours either at creation (a thread-local hook attaches the
// new HWND to the waiting CWnd) or by subclassing an existing control. Either
// way its window procedure becomes AfxWndProc, which finds the CWnd in the
// handle map and calls the virtual WindowProc. Messages no entry handles go to
// the window's previous procedure (Default / DefWindowProc).
#pragma once

#include <windows.h>

#include "platform/CString.h"
#include "platform/Gdi.h"
#include "platform/Types.h"

class CCmdTarget;
class CWnd;

typedef LRESULT (*AFX_MSGTHUNK)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the table
    UINT nCode;     // WM_COMMAND notification code
    UINT nID;       // WM_COMMAND control id range
    UINT nLastID;
    AFX_MSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                    \
protected:                                       \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                     \
        using ThisClass [[maybe_unused]] = theClass;                                      \
        using TheBaseClass = baseClass;                                                   \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                    \
        {0, 0, 0, 0, nullptr}};                                              \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                         \
    }

#define AFX_THIS(t) static_cast<ThisClass*>(t)
#define AFX_ENTRY(msg, body) {msg, 0, 0, 0, [](CCmdTarget* t, WPARAM wp, LPARAM lp) -> LRESULT { \
    (void)t; (void)wp; (void)lp; body }},

#define ON_WM_CREATE()        AFX_ENTRY(WM_CREATE, return AFX_THIS(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lp));)
#define ON_WM_DESTROY()       AFX_ENTRY(WM_DESTROY, AFX_THIS(t)->OnDestroy(); return 0;)
#define ON_WM_PAINT()         AFX_ENTRY(WM_PAINT, AFX_THIS(t)->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND()    AFX_ENTRY(WM_ERASEBKGND, \
    return AFX_THIS(t)->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wp)));)
#define ON_WM_TIMER()         AFX_ENTRY(WM_TIMER, AFX_THIS(t)->OnTimer(static_cast<UINT_PTR>(wp)); return 0;)
#define AFX_MOUSE_ENTRY(msg, fn) AFX_ENTRY(msg, AFX_THIS(t)->fn(static_cast<UINT>(wp), CPoint(lp)); return 0;)
#define ON_WM_LBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP()     AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_MOUSEMOVE()     AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSELEAVE()    AFX_ENTRY(WM_MOUSELEAVE, AFX_THIS(t)->OnMouseLeave(); return 0;)
#define ON_WM_SETCURSOR()     AFX_ENTRY(WM_SETCURSOR, return AFX_THIS(t)->OnSetCursor( \
    CWnd::FromHandle(reinterpret_cast<HWND>(wp)), LOWORD(lp), HIWORD(lp));)
#define ON_WM_QUERYDRAGICON() AFX_ENTRY(WM_QUERYDRAGICON, \
    return reinterpret_cast<LRESULT>(AFX_THIS(t)->OnQueryDragIcon());)
#define ON_WM_WINDOWPOSCHANGED() AFX_ENTRY(WM_WINDOWPOSCHANGED, \
    AFX_THIS(t)->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lp)); return 0;)
#define ON_WM_SYSCOMMAND()    AFX_ENTRY(WM_SYSCOMMAND, AFX_THIS(t)->OnSysCommand(static_cast<UINT>(wp), lp); return 0;)
#define ON_WM_COPYDATA()      AFX_ENTRY(WM_COPYDATA, return AFX_THIS(t)->OnCopyData( \
    CWnd::FromHandle(reinterpret_cast<HWND>(wp)), reinterpret_cast<COPYDATASTRUCT*>(lp));)
#define AFX_NCMOUSE_ENTRY(msg, fn) AFX_ENTRY(msg, \
    AFX_THIS(t)->fn(static_cast<UINT>(wp), CPoint(lp)); return 0;)
#define ON_WM_NCLBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()   AFX_NCMOUSE_ENTRY(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCMOUSEMOVE()   AFX_NCMOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
// LRESULT fn(WPARAM, LPARAM) for any message, private ones included.
#define ON_MESSAGE(msg, fn)   AFX_ENTRY(msg, return AFX_THIS(t)->fn(wp, lp);)
// void fn() for a WM_COMMAND from a control or menu id.
#define ON_COMMAND(id, fn) {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), \
    [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { AFX_THIS(t)->fn(); return 0; }},
#define ON_BN_CLICKED(id, fn) ON_COMMAND(id, fn)

// Root of everything that has a message map.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // The first entry of this object's map chain for message (and, for
    // WM_COMMAND, notification code and id), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};

// Flags of CWnd::m_nFlags.
enum { WF_CONTINUEMODAL = 0x1, WF_SHOWONIDLE = 0x2 };

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The handle map: permanent objects are ours; FromHandle makes a
    // temporary wrapper for any other window.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    void AttachTemporary(HWND hWnd) { m_hWnd = hWnd; }

    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();

    // Overridables.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A notification the parent passes back to the control it concerns
    // (WM_DRAWITEM); TRUE when handled, with the message result in *result.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Runs the message-map dispatch; TRUE when an entry handled the message.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The message being handled, passed on to the previous window procedure.
    LRESULT Default();
    // Calls PreTranslateMessage of each of our windows from msg->hwnd up to
    // the top-level window (or hWndStop).
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* msg);

    // Modal loop: pumps messages until EndModalLoop.
    int RunModalLoop();
    void EndModalLoop(int result);
    BOOL ContinueModal() const { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

    // Window operations.
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
    void MoveWindow(LPCRECT r, BOOL repaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint); }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
    void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const;
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT r = nullptr, CRgn* rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, r, rgn ? static_cast<HRGN>(*rgn) : nullptr, flags);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->m_hDC); }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }

    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    // Table additions
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);

    // Default handlers: each passes the message on (Default).
    int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    void OnDestroy() { Default(); }
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnMouseLeave() { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return static_cast<BOOL>(Default()); }
    void OnNcLButtonDown(UINT, CPoint) { Default(); }
    void OnNcLButtonUp(UINT, CPoint) { Default(); }
    void OnNcMouseMove(UINT, CPoint) { Default(); }

    DECLARE_MESSAGE_MAP()

public:
    // Internal: the window's previous procedure, the message being handled,
    // WF_ flags and the modal result.
    WNDPROC m_pfnSuper = nullptr;
    const MSG* m_pCurrentMsg = nullptr;
    UINT m_nFlags = 0;
    int m_nModalResult = -1;

    // Called by AfxWndProc once WM_NCDESTROY has been handled.
    void OnFinalDestroy();
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The next window created on this thread is attached to wnd; the unhook
// reports whether that happened.
void AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();

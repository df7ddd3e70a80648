// Windows and message dispatch.
//
// Each window class lists its handlers in a message map, a static table read
// from top to bottom; the first entry that matches a message handles it, the
// derived class's map before its base's:
//
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_TIMER()
//       ON_BN_CLICKED(6, OnYes)
//       ON_NOTIFY(LVN_COLUMNCLICK, 1017, OnColumnClick)
//   END_MESSAGE_MAP()
//
// A window becomes ours either at creation (a thread-local hook attaches the
// new HWND to the waiting CWnd) or by subclassing an existing control. Either
// way its window procedure becomes AfxWndProc. A window we do not own, or
// whose class we do not derive from, can also be hooked: a CSubclassWnd sees
// its messages first, in its own map, and passes on what it leaves. How a
// message travels:
//
//  1. AfxWndProc finds the window's first object in the handle map: its
//     latest hook, else its own CWnd. It calls that object's WindowProc,
//     which calls OnWndMsg; what the object does not handle, or passes on
//     with Default(), goes to the hook before it and at last to the window's
//     own CWnd. A C++ exception leaving an object's handlers is caught around
//     that object, logged with the message number (AfxLogLine) and the
//     message gets the answer of what lies below it: no exception crosses
//     the system's frames.
//  2. OnWndMsg first reflects what a child control tells its parent
//     (WM_COMMAND from a control, WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM,
//     WM_MEASUREITEM, WM_HSCROLL/WM_VSCROLL from a scroll bar child): when the
//     child is one of ours, its OnChildNotify looks the message up in the
//     child's own map under WM_REFLECT_BASE + message (ON_NOTIFY_REFLECT,
//     ON_CONTROL_REFLECT, ON_WM_CTLCOLOR_REFLECT...). A reflected entry that
//     handles the message ends its travel; the _EX entries return FALSE, and a
//     reflected CtlColor a null brush, to let it pass on to the parent.
//  3. Then the window's own map: WM_COMMAND by notification code and id
//     (OnCommand), WM_NOTIFY by code and id (OnNotify), every other message by
//     its number; all WM_CTLCOLOR* meet at ON_WM_CTLCOLOR.
//  4. Messages no entry handles go to the window's previous procedure
//     (DefWindowProc). A handler passes its message on with Default(); the
//     default handlers of CWnd (OnSize, OnClose...) do just that. Reflected
//     handlers have no default: they leave the message to the parent.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "platform/CString.h"
#include "platform/Gdi.h"
#include "platform/Types.h"

class CCmdTarget;
class CWnd;
class CMenu;
class CScrollBar;

// Handles one message for target; FALSE lets it go on (to the parent or the
// previous procedure). *result is the message's answer.
typedef BOOL (*AFX_MSGTHUNK)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the table
    UINT nCode;     // WM_COMMAND / WM_NOTIFY notification code
    UINT nID;       // WM_COMMAND / WM_NOTIFY control id range
    UINT nLastID;
    AFX_MSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Messages reflected to the child control they concern are looked up under
// this base plus their number.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019  // the key under which every WM_CTLCOLOR* is mapped
#endif

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
// An entry whose body computes the answer (t, msg, wp, lp in scope); always handles.
#define AFX_ENTRY(msg, body) {msg, 0, 0, 0, [](CCmdTarget* t, UINT msg_, WPARAM wp, LPARAM lp, LRESULT* r) -> BOOL { \
    (void)t; (void)msg_; (void)wp; (void)lp; *r = [&]() -> LRESULT { body }(); return TRUE; }},
// An entry with a code and id range whose body sets *r and returns handled.
#define AFX_CODED_ENTRY(msg, code, first, last, body) {msg, static_cast<UINT>(code), static_cast<UINT>(first), \
    static_cast<UINT>(last), [](CCmdTarget* t, UINT, WPARAM wp, LPARAM lp, LRESULT* r) -> BOOL { \
    (void)t; (void)wp; (void)lp; *r = 0; body }},
#define AFX_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define AFX_X(lp) static_cast<int>(static_cast<short>(LOWORD(lp)))
#define AFX_Y(lp) static_cast<int>(static_cast<short>(HIWORD(lp)))

// ---- window messages ----
#define ON_WM_CREATE()        AFX_ENTRY(WM_CREATE, return AFX_THIS(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lp));)
#define ON_WM_DESTROY()       AFX_ENTRY(WM_DESTROY, AFX_THIS(t)->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY()     AFX_ENTRY(WM_NCDESTROY, AFX_THIS(t)->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE()         AFX_ENTRY(WM_CLOSE, AFX_THIS(t)->OnClose(); return 0;)
#define ON_WM_PAINT()         AFX_ENTRY(WM_PAINT, AFX_THIS(t)->OnPaint(); return 0;)
#define ON_WM_NCPAINT()       AFX_ENTRY(WM_NCPAINT, AFX_THIS(t)->OnNcPaint(); return 0;)
#define ON_WM_ERASEBKGND()    AFX_ENTRY(WM_ERASEBKGND, \
    return AFX_THIS(t)->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wp)));)
#define ON_WM_TIMER()         AFX_ENTRY(WM_TIMER, AFX_THIS(t)->OnTimer(static_cast<UINT_PTR>(wp)); return 0;)
#define ON_WM_SIZE()          AFX_ENTRY(WM_SIZE, AFX_THIS(t)->OnSize(static_cast<UINT>(wp), AFX_X(lp), AFX_Y(lp)); return 0;)
#define ON_WM_MOVE()          AFX_ENTRY(WM_MOVE, AFX_THIS(t)->OnMove(AFX_X(lp), AFX_Y(lp)); return 0;)
#define ON_WM_MOVING()        AFX_ENTRY(WM_MOVING, \
    AFX_THIS(t)->OnMoving(static_cast<UINT>(wp), reinterpret_cast<LPRECT>(lp)); return TRUE;)
#define ON_WM_GETMINMAXINFO() AFX_ENTRY(WM_GETMINMAXINFO, \
    AFX_THIS(t)->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp)); return 0;)
#define ON_WM_WINDOWPOSCHANGING() AFX_ENTRY(WM_WINDOWPOSCHANGING, \
    AFX_THIS(t)->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lp)); return 0;)
#define ON_WM_WINDOWPOSCHANGED() AFX_ENTRY(WM_WINDOWPOSCHANGED, \
    AFX_THIS(t)->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lp)); return 0;)
#define ON_WM_ENABLE()        AFX_ENTRY(WM_ENABLE, AFX_THIS(t)->OnEnable(static_cast<BOOL>(wp)); return 0;)
#define ON_WM_SHOWWINDOW()    AFX_ENTRY(WM_SHOWWINDOW, \
    AFX_THIS(t)->OnShowWindow(static_cast<BOOL>(wp), static_cast<UINT>(lp)); return 0;)
#define ON_WM_ACTIVATE()      AFX_ENTRY(WM_ACTIVATE, \
    AFX_THIS(t)->OnActivate(LOWORD(wp), AFX_WND(lp), static_cast<BOOL>(HIWORD(wp))); return 0;)
#define ON_WM_ACTIVATEAPP()   AFX_ENTRY(WM_ACTIVATEAPP, \
    AFX_THIS(t)->OnActivateApp(static_cast<BOOL>(wp), static_cast<DWORD>(lp)); return 0;)
#define ON_WM_SETFOCUS()      AFX_ENTRY(WM_SETFOCUS, AFX_THIS(t)->OnSetFocus(AFX_WND(wp)); return 0;)
#define ON_WM_KILLFOCUS()     AFX_ENTRY(WM_KILLFOCUS, AFX_THIS(t)->OnKillFocus(AFX_WND(wp)); return 0;)
#define ON_WM_CAPTURECHANGED() AFX_ENTRY(WM_CAPTURECHANGED, AFX_THIS(t)->OnCaptureChanged(AFX_WND(lp)); return 0;)
#define ON_WM_GETDLGCODE()    AFX_ENTRY(WM_GETDLGCODE, return AFX_THIS(t)->OnGetDlgCode();)
#define ON_WM_SETTINGCHANGE() AFX_ENTRY(WM_SETTINGCHANGE, \
    AFX_THIS(t)->OnSettingChange(static_cast<UINT>(wp), reinterpret_cast<LPCSTR>(lp)); return 0;)
#define ON_WM_DROPFILES()     AFX_ENTRY(WM_DROPFILES, AFX_THIS(t)->OnDropFiles(reinterpret_cast<HDROP>(wp)); return 0;)
#define ON_WM_CONTEXTMENU()   AFX_ENTRY(WM_CONTEXTMENU, AFX_THIS(t)->OnContextMenu(AFX_WND(wp), CPoint(lp)); return 0;)
#define ON_WM_SYSCOMMAND()    AFX_ENTRY(WM_SYSCOMMAND, AFX_THIS(t)->OnSysCommand(static_cast<UINT>(wp), lp); return 0;)
#define ON_WM_COPYDATA()      AFX_ENTRY(WM_COPYDATA, return AFX_THIS(t)->OnCopyData( \
    AFX_WND(wp), reinterpret_cast<COPYDATASTRUCT*>(lp));)
#define ON_WM_QUERYDRAGICON() AFX_ENTRY(WM_QUERYDRAGICON, \
    return reinterpret_cast<LRESULT>(AFX_THIS(t)->OnQueryDragIcon());)
#define ON_WM_SETCURSOR()     AFX_ENTRY(WM_SETCURSOR, return AFX_THIS(t)->OnSetCursor( \
    AFX_WND(wp), LOWORD(lp), HIWORD(lp));)
// Every WM_CTLCOLOR* message: HBRUSH OnCtlColor(CDC*, CWnd* control, UINT CTLCOLOR_ kind).
#define ON_WM_CTLCOLOR()      AFX_ENTRY(WM_CTLCOLOR, return reinterpret_cast<LRESULT>(AFX_THIS(t)->OnCtlColor( \
    CDC::FromHandle(reinterpret_cast<HDC>(wp)), AFX_WND(lp), msg_ - WM_CTLCOLORMSGBOX));)
#define ON_WM_DRAWITEM()      AFX_ENTRY(WM_DRAWITEM, \
    AFX_THIS(t)->OnDrawItem(static_cast<int>(wp), reinterpret_cast<LPDRAWITEMSTRUCT>(lp)); return TRUE;)
#define ON_WM_MEASUREITEM()   AFX_ENTRY(WM_MEASUREITEM, \
    AFX_THIS(t)->OnMeasureItem(static_cast<int>(wp), reinterpret_cast<LPMEASUREITEMSTRUCT>(lp)); return TRUE;)
#define AFX_SCROLL_ENTRY(msg, fn) AFX_ENTRY(msg, AFX_THIS(t)->fn(LOWORD(wp), HIWORD(wp), \
    reinterpret_cast<CScrollBar*>(AFX_WND(lp))); return 0;)
#define ON_WM_HSCROLL()       AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL()       AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)

// ---- keyboard ----
#define AFX_KEY_ENTRY(msg, fn) AFX_ENTRY(msg, \
    AFX_THIS(t)->fn(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp)); return 0;)
#define ON_WM_KEYDOWN()       AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP()         AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR()          AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN()    AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)

// ---- mouse, client and non-client ----
#define AFX_MOUSE_ENTRY(msg, fn) AFX_ENTRY(msg, AFX_THIS(t)->fn(static_cast<UINT>(wp), CPoint(lp)); return 0;)
#define ON_WM_LBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP()     AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP()     AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP()     AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE()     AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEHOVER()    AFX_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE()    AFX_ENTRY(WM_MOUSELEAVE, AFX_THIS(t)->OnMouseLeave(); return 0;)
#define ON_WM_MOUSEWHEEL()    AFX_ENTRY(WM_MOUSEWHEEL, return AFX_THIS(t)->OnMouseWheel( \
    GET_KEYSTATE_WPARAM(wp), GET_WHEEL_DELTA_WPARAM(wp), CPoint(lp));)
#define ON_WM_NCLBUTTONDOWN() AFX_MOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()   AFX_MOUSE_ENTRY(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_MOUSE_ENTRY(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP()   AFX_MOUSE_ENTRY(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCMOUSEMOVE()   AFX_MOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCHITTEST()     AFX_ENTRY(WM_NCHITTEST, return AFX_THIS(t)->OnNcHitTest(CPoint(lp));)
#define ON_WM_NCCALCSIZE()    AFX_ENTRY(WM_NCCALCSIZE, AFX_THIS(t)->OnNcCalcSize( \
    static_cast<BOOL>(wp), reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)); return 0;)
#define ON_WM_NCACTIVATE()    AFX_ENTRY(WM_NCACTIVATE, return AFX_THIS(t)->OnNcActivate(static_cast<BOOL>(wp));)

// LRESULT fn(WPARAM, LPARAM) for any message, private ones included.
#define ON_MESSAGE(msg, fn)   AFX_ENTRY(msg, return AFX_THIS(t)->fn(wp, lp);)

// ---- WM_COMMAND: void fn() by id and notification code; ranges get the id ----
#define ON_COMMAND(id, fn)    AFX_CODED_ENTRY(WM_COMMAND, 0, id, id, AFX_THIS(t)->fn(); return TRUE;)
#define ON_COMMAND_RANGE(first, last, fn) AFX_CODED_ENTRY(WM_COMMAND, 0, first, last, \
    AFX_THIS(t)->fn(static_cast<UINT>(LOWORD(wp))); return TRUE;)
#define ON_CONTROL(code, id, fn) AFX_CODED_ENTRY(WM_COMMAND, code, id, id, AFX_THIS(t)->fn(); return TRUE;)
#define ON_CONTROL_RANGE(code, first, last, fn) AFX_CODED_ENTRY(WM_COMMAND, code, first, last, \
    AFX_THIS(t)->fn(static_cast<UINT>(LOWORD(wp))); return TRUE;)
#define ON_BN_CLICKED(id, fn)     ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_EN_CHANGE(id, fn)      ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn)      ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn)    ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn)   ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn)     ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_EN_VSCROLL(id, fn)     ON_CONTROL(EN_VSCROLL, id, fn)
#define ON_EN_HSCROLL(id, fn)     ON_CONTROL(EN_HSCROLL, id, fn)
#define ON_CBN_SELCHANGE(id, fn)  ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_SELENDOK(id, fn)   ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_DBLCLK(id, fn)     ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_DROPDOWN(id, fn)   ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn)    ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_SETFOCUS(id, fn)   ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn)  ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn)  ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn)     ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SETFOCUS(id, fn)   ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn)  ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_STN_CLICKED(id, fn)    ON_CONTROL(STN_CLICKED, id, fn)
#define ON_STN_DBLCLK(id, fn)     ON_CONTROL(STN_DBLCLK, id, fn)

// ---- WM_NOTIFY: void fn(NMHDR*, LRESULT*); ranges: void fn(UINT id, NMHDR*, LRESULT*) ----
#define AFX_NMHDR reinterpret_cast<NMHDR*>(lp)
#define ON_NOTIFY(code, id, fn) AFX_CODED_ENTRY(WM_NOTIFY, code, id, id, AFX_THIS(t)->fn(AFX_NMHDR, r); return TRUE;)
#define ON_NOTIFY_RANGE(code, first, last, fn) AFX_CODED_ENTRY(WM_NOTIFY, code, first, last, \
    AFX_THIS(t)->fn(static_cast<UINT>(AFX_NMHDR->idFrom), AFX_NMHDR, r); return TRUE;)

// ---- reflected to the control itself: the id does not matter ----
// void fn(NMHDR*, LRESULT*): the parent never sees the notification.
#define ON_NOTIFY_REFLECT(code, fn) AFX_CODED_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0xFFFFFFFFu, \
    AFX_THIS(t)->fn(AFX_NMHDR, r); return TRUE;)
// BOOL fn(NMHDR*, LRESULT*): FALSE lets the parent handle it too.
#define ON_NOTIFY_REFLECT_EX(code, fn) AFX_CODED_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0xFFFFFFFFu, \
    return AFX_THIS(t)->fn(AFX_NMHDR, r);)
// void fn() / BOOL fn() for a WM_COMMAND notification code.
#define ON_CONTROL_REFLECT(code, fn) AFX_CODED_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0xFFFFFFFFu, \
    AFX_THIS(t)->fn(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(code, fn) AFX_CODED_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0xFFFFFFFFu, \
    return AFX_THIS(t)->fn();)
// HBRUSH CtlColor(CDC*, UINT CTLCOLOR_ kind); a null brush lets the parent colour it.
#define ON_WM_CTLCOLOR_REFLECT() {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, \
    [](CCmdTarget* t, UINT, WPARAM wp, LPARAM lp, LRESULT* r) -> BOOL { \
    HBRUSH b = AFX_THIS(t)->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wp)), static_cast<UINT>(lp)); \
    *r = reinterpret_cast<LRESULT>(b); return b != nullptr; }},
// void DrawItem(LPDRAWITEMSTRUCT) / void MeasureItem(LPMEASUREITEMSTRUCT).
#define ON_WM_DRAWITEM_REFLECT() AFX_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, \
    AFX_THIS(t)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lp)); return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT() AFX_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, \
    AFX_THIS(t)->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lp)); return TRUE;)
// void HScroll(UINT code, UINT pos) / VScroll: the bar's own scroll messages.
#define ON_WM_HSCROLL_REFLECT() AFX_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, \
    AFX_THIS(t)->HScroll(LOWORD(wp), HIWORD(wp)); return 0;)
#define ON_WM_VSCROLL_REFLECT() AFX_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, \
    AFX_THIS(t)->VScroll(LOWORD(wp), HIWORD(wp)); return 0;)

// Root of everything that has a message map.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // The first entry of this object's map chain for message (and, for
    // WM_COMMAND and WM_NOTIFY, reflected or not, notification code and id),
    // or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
    // Handlers for the events of this window's ActiveX controls (platform/com/EventSinkMap.h).
    virtual const struct AFX_EVENTSINKMAP* GetEventSinkMap() const { return nullptr; }

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
    // WM_COMMAND and WM_NOTIFY through the map; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification the parent passes back to the control it concerns
    // before handling it itself; TRUE when handled, with the answer in
    // *result. The default looks for a reflected entry (ReflectChildNotify).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

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
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    // Dialog item helpers: texts, check boxes and radio groups by control id.
    void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int firstId, int lastId, int checkId) { ::CheckRadioButton(m_hWnd, firstId, lastId, checkId); }
    // The first checked button of firstId..lastId, 0 when none is.
    int GetCheckedRadioButton(int firstId, int lastId) const;
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    void SetFont(CFont* font, BOOL redraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
    }
    CFont* GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CMenu* GetSystemMenu(BOOL revert) const;
    // The window's big (TRUE) or small icon; returns the previous one.
    HICON SetIcon(HICON icon, BOOL big) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // Minimises the window (it is not destroyed).
    BOOL CloseWindow() { return ::CloseWindow(m_hWnd); }
    void DragAcceptFiles(BOOL accept = TRUE) { ::DragAcceptFiles(m_hWnd, accept); }

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
    void OnNcDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnMoving(UINT, LPRECT) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnEnable(BOOL) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnActivateApp(BOOL, DWORD) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnCaptureChanged(CWnd*) { Default(); }
    UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }
    void OnSettingChange(UINT, LPCSTR) { Default(); }
    void OnDropFiles(HDROP) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
    void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonDblClk(UINT, CPoint) { Default(); }
    void OnMButtonDown(UINT, CPoint) { Default(); }
    void OnMButtonUp(UINT, CPoint) { Default(); }
    void OnMButtonDblClk(UINT, CPoint) { Default(); }
    void OnMouseHover(UINT, CPoint) { Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
    void OnNcLButtonDown(UINT, CPoint) { Default(); }
    void OnNcLButtonUp(UINT, CPoint) { Default(); }
    void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
    void OnNcRButtonDown(UINT, CPoint) { Default(); }
    void OnNcRButtonUp(UINT, CPoint) { Default(); }
    LRESULT OnNcHitTest(CPoint) { return Default(); }
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    void OnNcPaint() { Default(); }
    BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
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

// A hook on a window that is not this object's own: its map (or WindowProc)
// sees the window's messages before the hooks installed earlier and the
// window's own CWnd or procedure; Default() passes a message on to them.
// Several hooks can sit on one window, the latest first. The window's
// destruction (WM_NCDESTROY, after the hooks have seen it), its own CWnd
// letting it go, or the hook's destruction unhooks it. FromHandlePermanent
// never answers a hook.
class CSubclassWnd : public CWnd {
public:
    ~CSubclassWnd() override;

    // Hooks the window in front of its other hooks (a hook already on a
    // window leaves it first); null unhooks. FALSE for a non-window.
    virtual BOOL HookWindow(HWND hWnd);
    virtual BOOL HookWindow(CWnd* wnd) { return HookWindow(wnd ? wnd->m_hWnd : static_cast<HWND>(nullptr)); }
    virtual BOOL IsHooked() const { return m_hWnd != nullptr; }
    // The next hook, or the window's own CWnd, or its previous procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Internal: what this hook passes messages on to (the hook before it or
    // the window's own CWnd); null on a window that is not ours, where
    // m_pfnSuper holds the window's previous procedure.
    CWnd* m_pNext = nullptr;
    void Unhook();
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Hands one message to wnd (which sits on hWnd) as AfxWndProc does: Default()
// works in its handlers and no exception leaves it.
LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The next window created on this thread is attached to wnd; the unhook
// reports whether that happened.
void AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();

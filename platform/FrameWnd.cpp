#include "platform/FrameWnd.h"

LPCSTR AfxFrameworkClass(LPCSTR name, UINT classStyle) {
    WNDCLASSA wc = {};
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoA(instance, name, &wc)) return name;
    wc.style = classStyle;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    if (::RegisterClassA(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) return name;
    return nullptr;
}

// ---- CFrameWnd ------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       DWORD exStyle) {
    if (m_hWnd) return FALSE;
    if (!className) className = AfxFrameworkClass("MiraboFrame", CS_DBLCLKS);
    return className && CreateEx(exStyle, className, title, style, rect, parent, id);
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
    CView* old = m_pViewActive;
    if (view == old) return;
    m_pViewActive = view;
    if (!notify) return;
    if (old && old->m_hWnd) old->OnActivateView(FALSE, view, old);
    if (view && view->m_hWnd) view->OnActivateView(TRUE, view, old);
}

void CFrameWnd::InitialUpdateFrame() {
    if (m_pViewActive && m_pViewActive->m_hWnd) m_pViewActive->OnInitialUpdate();
}

// ---- CView ----------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CView::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (m_hWnd) return FALSE;
    if (!className) className = AfxFrameworkClass("MiraboView", CS_DBLCLKS);
    return className && CreateEx(0, className, windowName, style, rect, parent, id);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, void*) { Invalidate(); }

void CView::OnActivateView(BOOL activate, CView* activated, CView*) {
    if (activate && activated == this && m_hWnd) SetFocus();
}

void CView::OnPrepareDC(CDC*) {}

void CView::OnDraw(CDC*) {}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

// Frame windows and views, shaped like CWnd and CDialog: a CFrameWnd holds
// views (CView, or CScrollView for a document larger than the window) and
// knows which one is active.
#pragma once

#include "platform/Wnd.h"

class CView;

// A window class of the framework, registered once per name: arrow cursor,
// no background brush (the windows paint themselves). Null when it fails.
LPCSTR AfxFrameworkClass(LPCSTR name, UINT classStyle);

class CFrameWnd : public CWnd {
public:
    // A window of the framework's frame class (className null) or of the given class.
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                UINT id = 0, DWORD exStyle = 0);

    int OnCreate(LPCREATESTRUCT cs) { return CWnd::OnCreate(cs); }
    // The view that takes the frame's focus and commands; null for none.
    void SetActiveView(CView* view, BOOL notify = TRUE);
    CView* GetActiveView() const { return m_pViewActive; }
    // Gives the active view its first update (CView::OnInitialUpdate).
    void InitialUpdateFrame();

    DECLARE_MESSAGE_MAP()

protected:
    CView* m_pViewActive = nullptr;
};

class CView : public CWnd {
public:
    // A child window of the framework's view class (className null) or of the given class.
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The first update once the view and its frame exist; the default is OnUpdate.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, void* object);
    // The frame made this view (de)active.
    virtual void OnActivateView(BOOL activate, CView* activated, CView* deactivated);
    // Sets the DC up for drawing (a scroll view moves the origin), then draws.
    virtual void OnPrepareDC(CDC* dc);
    virtual void OnDraw(CDC* dc);

    void OnPaint();

    DECLARE_MESSAGE_MAP()
};

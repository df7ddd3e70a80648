// A static text control turned into a web link: link, visited and hover
// colours (the parent's WM_CTLCOLOR is reflected here), an underline, the
// hand cursor, a tooltip with the address, and on a click either opening the
// address with the shell (mode 0) or telling the parent (mode 1:
// WM_HYPERLINK_CLICKED with the control's id as lParam).
//
// Subclass an existing static (DDX_Control / SubclassDlgItem): the control's
// text and font are read then.
#pragma once

#include "platform/controls/Static.h"
#include "platform/controls/ToolTipCtrl.h"

constexpr UINT WM_HYPERLINK_CLICKED = WM_USER + 2008;

class CHyperLink : public CStatic {
public:
    // The lobby's defaults: blue link, white background, underline mode 1
    // until subclassed. The card-game client's: link 0xEE0000, the button
    // face as background, underline mode -1 from the start.
    enum Defaults { kLobbyDefaults, kClientDefaults };
    explicit CHyperLink(Defaults defaults = kLobbyDefaults);
    ~CHyperLink() override;

    enum { kOpenURL = 0, kNotifyParent = 1 };
    // Underline modes: always, never, only while the mouse is over the link.
    enum { kUnderlineAlways = 1, kUnderlineNever = 0, kUnderlineHover = -1 };

    void SetURL(const CString& url);
    CString GetURL() const { return m_strURL; }
    // hover (COLORREF)-1: the system highlight colour.
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = static_cast<COLORREF>(-1));
    COLORREF GetLinkColour() const { return m_crLinkColour; }
    COLORREF GetVisitedColour() const { return m_crVisitedColour; }
    COLORREF GetHoverColour() const { return m_crHoverColour; }
    void SetBackgroundColour(COLORREF c) { m_crBackground = c; }
    void SetVisited(BOOL visited = TRUE);
    BOOL GetVisited() const { return m_bVisited; }
    void SetUnderline(int mode);
    int GetUnderline() const { return m_nUnderline; }
    void SetMode(int mode) { m_nMode = mode; }
    int GetMode() const { return m_nMode; }
    void SetAutoSize(BOOL autoSize = TRUE);
    BOOL GetAutoSize() const { return m_bAdjustToFit; }

    // ShellExecute "open"; failing that the web-page class's open command
    // from the registry with WinExec. Above 32 is success.
    static INT_PTR GotoURL(LPCSTR url, int showCmd);
    // The message box for a failed open with the text for code.
    static void ReportError(INT_PTR code);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL DestroyWindow() override;

protected:
    void PreSubclassWindow() override;

    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    void PositionWindow();
    void SetDefaultCursor();

    int m_nMode = kOpenURL;
    COLORREF m_crLinkColour;
    COLORREF m_crVisitedColour = RGB(85, 26, 139);
    COLORREF m_crHoverColour = RGB(255, 0, 0);
    COLORREF m_crBackground;
    BOOL m_bOverControl = FALSE;
    BOOL m_bVisited = FALSE;
    int m_nUnderline;
    BOOL m_bAdjustToFit = TRUE;
    CString m_strURL;
    CFont m_UnderlineFont;
    CFont m_StdFont;
    HCURSOR m_hLinkCursor = nullptr;
    CToolTipCtrl m_ToolTip;
    static constexpr UINT_PTR kTimerId = 100;
};

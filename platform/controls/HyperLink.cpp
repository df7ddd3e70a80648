#include "platform/controls/HyperLink.h"

#include <cstdio>

#include "platform/AppServices.h"
#include "platform/HandCursor.h"
#include "platform/HyperLinkCommand.h"

namespace {

constexpr UINT kLeaveCheckMs = 100;
constexpr UINT kToolId = 1;

// The default value of HKEY_CLASSES_ROOT\subKey (at most MAX_PATH bytes).
LONG ReadClassesValue(LPCSTR subKey, char (&data)[MAX_PATH]) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey, 0, KEY_QUERY_VALUE, &key);
    if (rc != ERROR_SUCCESS) return rc;
    LONG size = MAX_PATH;
    rc = ::RegQueryValueA(key, nullptr, data, &size);
    ::RegCloseKey(key);
    data[MAX_PATH - 1] = '\0';
    return rc;
}

}  // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHyperLink::CHyperLink(Defaults defaults) {
    if (defaults == kClientDefaults) {
        m_crLinkColour = RGB(0, 0, 238);
        m_crBackground = ::GetSysColor(COLOR_BTNFACE);
        m_nUnderline = kUnderlineHover;
    } else {
        m_crLinkColour = RGB(0, 0, 255);
        m_crBackground = RGB(255, 255, 255);
        m_nUnderline = kUnderlineAlways;
    }
}

CHyperLink::~CHyperLink() {
    if (m_hLinkCursor) ::DestroyIcon(m_hLinkCursor);  // a CopyIcon copy
}

void CHyperLink::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_strURL.IsEmpty()) m_strURL = text;
    if (text.IsEmpty()) SetWindowText(m_strURL);

    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (!font) font = ::GetStockObject(DEFAULT_GUI_FONT);
    if (!font) font = ::GetStockObject(ANSI_VAR_FONT);
    LOGFONTA lf{};
    ::GetObjectA(font, sizeof lf, &lf);
    m_StdFont.CreateFontIndirect(&lf);
    lf.lfUnderline = TRUE;
    m_UnderlineFont.CreateFontIndirect(&lf);

    PositionWindow();
    SetDefaultCursor();
    m_nUnderline = kUnderlineHover;

    m_ToolTip.Create(this);
    CRect rect;
    GetClientRect(&rect);
    m_ToolTip.AddTool(this, m_strURL, &rect, kToolId);
    CStatic::PreSubclassWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg) {
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

BOOL CHyperLink::DestroyWindow() {
    KillTimer(kTimerId);
    return CStatic::DestroyWindow();
}

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT) {
    if (m_bOverControl) dc->SetTextColor(m_crHoverColour);
    else if (m_bVisited) dc->SetTextColor(m_crVisitedColour);
    else dc->SetTextColor(m_crLinkColour);
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
    if (!m_hLinkCursor) return FALSE;
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bOverControl) {
        m_bOverControl = TRUE;
        if (m_nUnderline == kUnderlineHover) SetFont(&m_UnderlineFont);
        Invalidate();
        SetTimer(kTimerId, kLeaveCheckMs);
    }
    CStatic::OnMouseMove(flags, point);
}

void CHyperLink::OnTimer(UINT_PTR id) {
    CPoint point(static_cast<LPARAM>(::GetMessagePos()));
    ScreenToClient(&point);
    CRect rect;
    GetClientRect(&rect);
    if (!rect.PtInRect(point)) {
        m_bOverControl = FALSE;
        KillTimer(kTimerId);
        if (m_nUnderline != kUnderlineAlways) SetFont(&m_StdFont);
        rect.bottom += 10;
        InvalidateRect(&rect);
    }
    CStatic::OnTimer(id);
}

BOOL CHyperLink::OnEraseBkgnd(CDC* dc) {
    CRect rect;
    GetClientRect(&rect);
    dc->FillSolidRect(&rect, m_crBackground);
    return TRUE;
}

void CHyperLink::OnClicked() {
    m_bOverControl = FALSE;
    if (m_nMode == kOpenURL) {
        INT_PTR result = GotoURL(m_strURL, SW_SHOW);
        m_bVisited = result > 32;
        if (m_bVisited) {
            SetVisited();
        } else {
            ::MessageBeep(MB_ICONEXCLAMATION);
            ReportError(result);
        }
    } else if (m_nMode == kNotifyParent) {
        ::PostMessageA(::GetParent(m_hWnd), WM_HYPERLINK_CLICKED, 0, GetDlgCtrlID());
    }
}

void CHyperLink::SetURL(const CString& url) {
    m_strURL = url;
    if (m_hWnd) {
        PositionWindow();
        m_ToolTip.UpdateTipText(m_strURL, this, kToolId);
    }
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover) {
    m_crLinkColour = link;
    m_crVisitedColour = visited;
    m_crHoverColour = hover == static_cast<COLORREF>(-1) ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (m_hWnd) Invalidate();
}

void CHyperLink::SetVisited(BOOL visited) {
    m_bVisited = visited;
    if (m_hWnd) Invalidate();
}

void CHyperLink::SetUnderline(int mode) {
    if (mode == m_nUnderline) return;
    if (m_hWnd) {
        SetFont(mode == kUnderlineAlways ? &m_UnderlineFont : &m_StdFont);
        Invalidate();
    }
    m_nUnderline = mode;
}

void CHyperLink::SetAutoSize(BOOL autoSize) {
    m_bAdjustToFit = autoSize;
    if (m_hWnd) PositionWindow();
}

void CHyperLink::PositionWindow() {
    if (!m_hWnd || !m_bAdjustToFit) return;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    if (HWND parent = ::GetParent(m_hWnd)) {
        ::ScreenToClient(parent, reinterpret_cast<LPPOINT>(&window.left));
        ::ScreenToClient(parent, reinterpret_cast<LPPOINT>(&window.right));
    }
    CString text;
    GetWindowText(text);
    CSize extent;
    if (HDC dc = ::GetDC(m_hWnd)) {
        HGDIOBJ old = ::SelectObject(dc, m_UnderlineFont.m_hObject);
        ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    int height = extent.cy + window.Height() - client.Height();
    int width = extent.cx + window.Width() - client.Width();
    DWORD style = GetStyle();
    int top = (style & SS_CENTERIMAGE) ? window.top + (window.Height() - height) / 2 : window.top;
    int left = window.left;
    if ((style & SS_TYPEMASK) == SS_CENTER) left = window.left + (window.Width() - width) / 2;
    else if ((style & SS_TYPEMASK) == SS_RIGHT) left = window.right - width;
    SetWindowPos(nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::SetDefaultCursor() {
    if (!m_hLinkCursor) m_hLinkCursor = AfxLoadHandCursor();
}

INT_PTR CHyperLink::GotoURL(LPCSTR url, int showCmd) {
    INT_PTR result = reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", url, nullptr, nullptr, showCmd));
    if (result > 32) return result;
    char pageClass[MAX_PATH] = "";
    if (ReadClassesValue(".htm", pageClass) != ERROR_SUCCESS) return result;
    CString commandKey(pageClass);
    commandKey += "\\shell\\open\\command";
    char command[MAX_PATH] = "";
    if (ReadClassesValue(commandKey, command) != ERROR_SUCCESS) return result;
    CString line = HyperLinkCommandLine(command, url);
    return static_cast<INT_PTR>(::WinExec(line, static_cast<UINT>(showCmd)));
}

void CHyperLink::ReportError(INT_PTR code) {
    const char* reason = nullptr;
    switch (code) {
    case 0: reason = "The operating system is out\nof memory or resources."; break;
    case SE_ERR_FNF: reason = "The specified file was not found."; break;
    case SE_ERR_PNF: reason = "The specified path was not found."; break;
    case SE_ERR_ACCESSDENIED: reason = "The operating system denied\naccess to the specified file."; break;
    case SE_ERR_OOM: reason = "There was not enough memory to complete the operation."; break;
    case ERROR_BAD_FORMAT: reason = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case SE_ERR_SHARE: reason = "A sharing violation occurred. "; break;
    case SE_ERR_ASSOCINCOMPLETE: reason = "The filename association is\nincomplete or invalid."; break;
    case SE_ERR_DDETIMEOUT: reason = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case SE_ERR_DDEFAIL: reason = "The DDE transaction failed."; break;
    case SE_ERR_DDEBUSY:
        reason = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case SE_ERR_NOASSOC: reason = "There is no application associated\nwith the given filename extension."; break;
    case SE_ERR_DLLNOTFOUND: reason = "The specified dynamic-link library was not found."; break;
    default: break;
    }
    CString text("Unable to open hyperlink:\n\n");
    if (reason) {
        text += reason;
    } else {
        CString unknown;
        unknown.Format("Unknown Error (%d) occurred.", static_cast<int>(code));
        text += unknown;
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

#include "lobby/ui/ImgHlWnd.h"

#include <objidl.h>
#include <gdiplus.h>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/ui/TextImage.h"
#include "platform/DefaultWndClass.h"
#include "platform/HandCursor.h"

BEGIN_MESSAGE_MAP(CImgHlWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CImgHlWnd::CImgHlWnd() : m_hCursor(AfxLoadHandCursor()) {}

CImgHlWnd::~CImgHlWnd() {
    if (m_hWnd) DestroyWindow();
    delete m_pNormal;
    delete m_pHover;
    if (m_hCursor) ::DestroyCursor(m_hCursor);
}

int CImgHlWnd::Setup(LPCSTR label, LPCSTR address, COLORREF color, COLORREF glow, COLORREF hoverColor,
                     COLORREF hoverGlow, LPCSTR fontName, int size, int fontStyle, int x, int y, int* width,
                     int* height, CWnd* parent) {
    m_label = label;
    m_address = address;
    m_fontName = fontName;
    delete m_pNormal;
    delete m_pHover;
    m_pNormal = RenderGlowTextImage(label, fontName, size, fontStyle, color, glow, 0, 0);
    m_pHover = RenderGlowTextImage(label, fontName, size, fontStyle, hoverColor, hoverGlow, 0, 0);
    if (!m_pNormal) return 0;
    const int w = static_cast<int>(m_pNormal->GetWidth()), h = static_cast<int>(m_pNormal->GetHeight());
    if (width) *width = w;
    if (height) *height = h;
    return CreateEx(0, AfxDefaultWndClass(), "", WS_CHILD | WS_VISIBLE, CRect(x, y, x + w, y + h), parent, 0xE900)
               ? 1
               : 0;
}

void CImgHlWnd::OnPaint() {
    PaintImagePiece(*this, m_pBackground, m_fill, m_bHover && m_pHover ? m_pHover : m_pNormal);
}

void CImgHlWnd::OnMouseMove(UINT, CPoint) {
    if (m_bHover) return;
    m_bHover = true;
    Invalidate(FALSE);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
}

LRESULT CImgHlWnd::OnMouseLeaveMsg(WPARAM, LPARAM) {
    m_bHover = false;
    Invalidate(FALSE);
    return 0;
}

BOOL CImgHlWnd::OnSetCursor(CWnd*, UINT, UINT) {
    if (!m_hCursor) return static_cast<BOOL>(Default());
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CImgHlWnd::OnLButtonDown(UINT, CPoint) {
    LobbyTrace("open %s", m_address.GetString());
    ::ShellExecuteA(nullptr, "open", m_address, nullptr, nullptr, SW_SHOWNORMAL);
}

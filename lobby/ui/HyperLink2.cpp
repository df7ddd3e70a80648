#include "lobby/ui/HyperLink2.h"

#include <gdiplus.h>

#include "lobby/net/base/PrivateMessages.h"
#include "platform/HandCursor.h"
#include "lobby/ui/TextImage.h"

BEGIN_MESSAGE_MAP(CHyperLink2, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CHyperLink2::CHyperLink2() : m_hCursor(AfxLoadHandCursor()) {}

CHyperLink2::~CHyperLink2() {
    if (m_hWnd) DestroyWindow();
    delete m_pNormal;
    delete m_pHover;
    if (m_hCursor) ::DestroyCursor(m_hCursor);
}

int CHyperLink2::SetLink(LPCSTR label, LPCSTR address, COLORREF textColor, COLORREF hoverColor, COLORREF bkColor,
                         LPCSTR fontName, int size, int fontStyle, int x, int y, int* width, int* height,
                         CWnd* parent) {
    m_label = label;
    m_address = address;
    m_textColor = textColor;
    m_hoverColor = hoverColor;
    m_bkColor = bkColor;
    delete m_pNormal;
    delete m_pHover;
    m_pNormal = RenderTextImage(label, fontName, size, fontStyle, textColor, 1, 1);
    m_pHover = RenderTextImage(label, fontName, size, fontStyle, hoverColor, 1, 1);
    if (!m_pNormal) return 0;
    const int w = static_cast<int>(m_pNormal->GetWidth()), h = static_cast<int>(m_pNormal->GetHeight());
    if (width) *width = w;
    if (height) *height = h;
    CRect r(x, y, x + w, y + h);
    return CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, r, parent, 0xE900) ? 1 : 0;
}

void CHyperLink2::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(dc, client);
    HBRUSH brush = ::CreateSolidBrush(m_bkColor);
    ::FillRect(mem, &client, brush);
    ::DeleteObject(brush);
    Gdiplus::Bitmap* image = m_bHover && m_pHover ? m_pHover : m_pNormal;
    if (image && m_pNormal) {
        Gdiplus::Graphics g(mem);
        g.DrawImage(image, Gdiplus::Rect(0, 0, static_cast<INT>(m_pNormal->GetWidth()),
                                         static_cast<INT>(m_pNormal->GetHeight())));
    }
}

void CHyperLink2::OnLButtonDown(UINT, CPoint) {
    PostOwned(::GetParent(m_hWnd), kImageLinkAddress, 0, HeapText(m_address.GetString()));
    Default();
}

void CHyperLink2::OnMouseMove(UINT, CPoint) {
    if (m_bHover) return;
    m_bHover = true;
    Invalidate(FALSE);
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&tme);
}

LRESULT CHyperLink2::OnMouseLeaveMsg(WPARAM, LPARAM) {
    m_bHover = false;
    Invalidate(FALSE);
    return 0;
}

BOOL CHyperLink2::OnSetCursor(CWnd*, UINT, UINT) {
    if (!m_hCursor) return static_cast<BOOL>(Default());
    ::SetCursor(m_hCursor);
    return TRUE;
}

#include "lobby/ui/PngButton.h"

#include <gdiplus.h>

#include "lobby/net/base/PrivateMessages.h"
#include "platform/HandCursor.h"
#include "lobby/ui/SkinRes.h"

using Gdiplus::Graphics;
using Gdiplus::Image;

BEGIN_MESSAGE_MAP(CPngButtonBase, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHover)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CPngButtonBase::CPngButtonBase() : m_hCursor(AfxLoadHandCursor()) {}

CPngButtonBase::~CPngButtonBase() {
    if (m_hCursor) ::DestroyCursor(m_hCursor);
}

void CPngButtonBase::SizeTo(int width, int height) {
    if (!m_hWnd) return;
    CRect r;
    GetWindowRect(&r);
    if (r.Width() == width && r.Height() == height) return;  // made at its size: nothing to move
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&r);
    MoveWindow(r.left, r.top, width, height);
}

void CPngButtonBase::SetImage(Image* strip) {
    m_pStrip = strip;
    m_nWidth = strip ? static_cast<int>(strip->GetWidth()) : 0;
    m_nHeight = strip ? static_cast<int>(strip->GetHeight()) : 0;
    m_nFrameWidth = m_nWidth / 4;
    SizeTo(m_nFrameWidth, m_nHeight);
}

void CPngButtonBase::SetImages(Image* normal, Image* hover, Image* pressed, Image* disabled) {
    m_pStrip = nullptr;
    m_pImages[0] = normal;
    m_pImages[1] = hover;
    m_pImages[2] = pressed;
    m_pImages[3] = disabled;
    m_nWidth = normal ? static_cast<int>(normal->GetWidth()) : 0;
    m_nHeight = normal ? static_cast<int>(normal->GetHeight()) : 0;
    m_nFrameWidth = m_nWidth;
    SizeTo(m_nWidth, m_nHeight);
}

void CPngButtonBase::DrawState(Graphics& g, int state) {
    if (m_pStrip) {
        g.DrawImage(m_pStrip, Gdiplus::Rect(0, 0, m_nFrameWidth, m_nHeight), state * m_nFrameWidth, 0,
                    m_nFrameWidth, m_nHeight, Gdiplus::UnitPixel);
    } else if (m_pImages[state]) {
        g.DrawImage(m_pImages[state], Gdiplus::Rect(0, 0, m_nFrameWidth, m_nHeight));
    }
}

template <class Fn> void CPngButtonBase::Buffered(HDC dc, Fn paint) {
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty()) return;
    CMemDC mem(dc, client);
    paint(mem);
}

void CPngButtonBase::OnMouseMove(UINT, CPoint) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
    }
    Default();
}

LRESULT CPngButtonBase::OnMouseHover(WPARAM, LPARAM) {
    m_bHover = true;
    Invalidate(FALSE);
    return 0;
}

LRESULT CPngButtonBase::OnMouseLeaveMsg(WPARAM, LPARAM) {
    m_bTracking = m_bHover = false;
    Invalidate(FALSE);
    return 0;
}

void CPngButtonBase::OnLButtonUp(UINT, CPoint) {
    Invalidate(FALSE);
    Default();
}

BOOL CPngButtonBase::OnSetCursor(CWnd*, UINT, UINT) {
    if (!m_hCursor) return FALSE;
    ::SetCursor(m_hCursor);
    return TRUE;
}

// ---- PngButton ----------------------------------------------------------------

BEGIN_MESSAGE_MAP(PngButton, CPngButtonBase)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void PngButton::SetText(LPCSTR text, int x, int y) {
    m_text = text;
    m_nTextX = x;
    m_nTextY = y;
}

void PngButton::SetState(int state) {
    if (state == m_nState) return;
    m_nState = state;
    if (m_hWnd) Invalidate(FALSE);
}

BOOL PngButton::EnableWindow(BOOL enable) {
    m_bEnabled = enable != FALSE;
    return CWnd::EnableWindow(enable);
}

void PngButton::OnLButtonDown(UINT, CPoint) {
    Invalidate(FALSE);
    if (CWnd* parent = GetParent()) parent->SendMessage(kMsgPngButtonPressed, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    Default();
}

void PngButton::DrawItem(LPDRAWITEMSTRUCT dis) {
    const bool pressed = (dis->itemState & ODS_SELECTED) != 0;
    Buffered(dis->hDC, [&](HDC mem) {
        if (m_bFill) {
            RECT r = {0, 0, m_nFrameWidth, m_nHeight};
            HBRUSH brush = ::CreateSolidBrush(m_fillColor);
            ::FillRect(mem, &r, brush);
            ::DeleteObject(brush);
        }
        {
            Graphics g(mem);
            int state = !m_bEnabled ? 3 : pressed ? 2 : m_bHover ? 1 : 0;
            DrawState(g, state);
            if (m_nState == 1 && m_pOverlay)
                g.DrawImage(m_pOverlay, Gdiplus::Rect(0, 0, m_nFrameWidth, m_nHeight));
        }
        if (m_bShowText) {
            CString text = m_text;
            if (text.IsEmpty()) GetWindowText(text);
            HGDIOBJ oldFont = ::SelectObject(mem, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
            ::SetTextColor(mem, m_textColor);
            ::SetBkMode(mem, TRANSPARENT);
            SIZE size{};
            ::GetTextExtentPoint32A(mem, text, text.GetLength(), &size);
            CRect client;
            GetClientRect(&client);
            int x = m_nTextX == -1 ? (client.Width() - size.cx) / 2 : m_nTextX;
            int y = m_nTextY == -1 ? (client.Height() - size.cy) / 2 : m_nTextY;
            CRect r(x, y, x + size.cx, y + size.cy);
            ::DrawTextA(mem, text, text.GetLength(), &r, DT_SINGLELINE);
            ::SelectObject(mem, oldFont);
        }
    });
}

// ---- CPngButton1 --------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPngButton1, CPngButtonBase)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CPngButton1::OnLButtonDown(UINT, CPoint) {
    Invalidate(FALSE);
    Default();
}

void CPngButton1::Paint(HDC dc, bool pressed, bool hover) {
    Buffered(dc, [&](HDC mem) {
        if (m_nBkMode == 0) {
            RECT r = {0, 0, m_nFrameWidth, m_nHeight};
            HBRUSH brush = ::CreateSolidBrush(m_bkColor);
            ::FillRect(mem, &r, brush);
            ::DeleteObject(brush);
        } else if (m_nBkMode >= 1 && m_nBkMode <= 6 && GetParent()) {
            CRect parentClient, me, client;
            GetParent()->GetClientRect(&parentClient);
            GetWindowRect(&me);
            GetParent()->ScreenToClient(&me);
            GetClientRect(&client);
            // The parent's frame, as tall as the parent, seen through the button's rows.
            if (parentClient.Height() > 0 && client.Width() > 0)
                GetLobbySkin()->DrawFrame(CDC::FromHandle(mem), 0, -me.top, client.Width(),
                                          parentClient.Height() - me.top, m_nBkMode);
        }
        {
            Graphics g(mem);
            DrawState(g, m_bDisabledLook ? 3 : pressed ? 2 : hover ? 1 : 0);
        }
        if (m_bShowText) {
            CString text;
            GetWindowText(text);
            HGDIOBJ oldFont = ::SelectObject(mem, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
            ::SetTextColor(mem, m_textColor);
            ::SetBkMode(mem, TRANSPARENT);
            CRect client;
            GetClientRect(&client);
            ::DrawTextA(mem, text, text.GetLength(), &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            ::SelectObject(mem, oldFont);
        }
    });
}

void CPngButton1::DrawItem(LPDRAWITEMSTRUCT dis) { Paint(dis->hDC, (dis->itemState & ODS_SELECTED) != 0, m_bHover); }

void CPngButton1::Redraw() {
    if (!m_hWnd) return;
    HDC dc = ::GetDC(m_hWnd);
    Paint(dc, false, false);
    ::ReleaseDC(m_hWnd, dc);
}

#include "game/ui/SkinScrollbar.h"

BEGIN_MESSAGE_MAP(CSkinScrollbar, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CSkinScrollbar::CreateBar(CWnd* parent) {
    return Create("", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOTIFY, CRect(0, 0, 0, 0), parent, 0xFFFF);
}

void CSkinScrollbar::SetPictures(CxImage* const* pictures, int count) {
    for (int i = 0; i < 6; ++i) m_pictures[i] = i < count ? pictures[i] : nullptr;
}

void CSkinScrollbar::Refresh() {
    if (!m_hWnd) return;
    UpdateThumb();
    Invalidate(FALSE);
}

int CSkinScrollbar::ClientLength() const {
    CRect r;
    GetClientRect(&r);
    return Vertical() ? r.Height() : r.Width();
}

void CSkinScrollbar::OnPaint() {
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    Clamp();
    CMemDC buffer(dc, r);
    Paint(buffer, r.Width(), r.Height());
}

void CSkinScrollbar::OnLButtonDown(UINT, CPoint point) {
    SetCapture();
    const Zones z = GetZones();
    const int at = Along(point);
    if (at >= m_thumbPos && at < m_thumbPos + z.thumbLen && m_ratio > 0.0) {
        m_dragging = 1;
    } else if (at >= z.fwdStart && at < z.fwdStart + z.fwdLen) {
        m_fwdPressed = 1;
        SetTimer(kDelayTimer, kDelayMs);
    } else if (at >= z.backStart && at < z.backStart + z.backLen) {
        m_backPressed = 1;
        SetTimer(kDelayTimer, kDelayMs);
    }
}

void CSkinScrollbar::OnMouseMove(UINT, CPoint point) {
    if (!m_dragging || m_ratio <= 0.0) return;
    DragTo(Along(point));
    Clamp();
    Invalidate(FALSE);
}

void CSkinScrollbar::OnLButtonUp(UINT, CPoint point) {
    Refresh();
    KillTimer(kRepeatTimer);
    KillTimer(kDelayTimer);
    if (GetCapture() == this) ::ReleaseCapture();
    const Zones z = GetZones();
    const int at = Along(point);
    const bool onBack = at >= z.backStart && at < z.backStart + z.backLen;
    const bool onFwd = at >= z.fwdStart && at < z.fwdStart + z.fwdLen;
    const bool onThumb = at >= m_thumbPos && at < m_thumbPos + z.thumbLen;
    if (m_backPressed && onBack) {
        Line(-1);
    } else if (m_fwdPressed && onFwd) {
        Line(1);
    } else if (!onThumb && !m_dragging) {
        if (at <= m_thumbPos && at > z.pageBackAbove)
            Page(-1);
        else if (at > m_thumbPos && at < z.pageFwdBelow)
            Page(1);
    }
    m_backPressed = m_fwdPressed = m_spare = m_dragging = 0;
    Refresh();
}

void CSkinScrollbar::OnTimer(UINT_PTR id) {
    if (id == kDelayTimer) {
        KillTimer(kDelayTimer);
        if (m_backPressed || m_fwdPressed) SetTimer(kRepeatTimer, kRepeatMs);
    } else if (id == kRepeatTimer) {
        if (m_fwdPressed)
            Line(1);
        else if (m_backPressed)
            Line(-1);
        Refresh();
    }
}

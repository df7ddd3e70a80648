#include "game/ui/SkinEditScrollbars.h"

#include "game/ui/SkinPaint.h"
#include "game/ui/SkinRichEditCtrl.h"

int CSkinVScrollbar::ThumbWidth() const { return skin::Width(m_pictures[kThumb]); }

int CSkinVScrollbar::Gap() const {
    return m_edit && m_edit->HorizontalBar().m_hWnd ? m_edit->HorizontalBar().ThumbHeight() : 0;
}

CSkinScrollbar::Zones CSkinVScrollbar::GetZones() const {
    const int H = ClientLength(), g = Gap();
    const int u = skin::Height(m_pictures[kUp]), d = skin::Height(m_pictures[kDown]);
    return {0, u, H - d - g, d, skin::Height(m_pictures[kThumb]), d + g, H - d - g};
}

void CSkinVScrollbar::UpdateThumb() {
    if (!m_edit || !m_edit->m_hWnd || m_dragging) return;
    const int range = m_edit->ScrollRange();
    if (range <= 0 || !m_pictures[kThumb]) {
        m_ratio = 0.0;
        return;
    }
    const int H = ClientLength(), g = Gap();
    const int u = skin::Height(m_pictures[kUp]), d = skin::Height(m_pictures[kDown]);
    m_ratio = static_cast<double>(H + 2 - skin::Height(m_pictures[kThumb]) - u - d - g) / range;
    m_thumbPos = u + static_cast<int>(m_ratio * m_edit->GetFirstVisibleLine()) - 1;
    Clamp();
}

void CSkinVScrollbar::Clamp() {
    const Zones z = GetZones();
    if (z.fwdStart < z.thumbLen + m_thumbPos) m_thumbPos = z.fwdStart - z.thumbLen + 1;
    if (m_thumbPos < z.backLen) m_thumbPos = z.backLen - 1;
}

void CSkinVScrollbar::Line(int direction) {
    if (m_edit) m_edit->LineScroll(direction);
}

void CSkinVScrollbar::Page(int direction) {
    if (!m_edit) return;
    if (direction > 0)
        m_edit->PageDown();
    else
        m_edit->PageUp();
}

void CSkinVScrollbar::DragTo(int along) {
    if (!m_edit || m_ratio <= 0.0) return;
    m_thumbPos = along - skin::Height(m_pictures[kThumb]) / 2;
    Clamp();
    const int target = static_cast<int>((m_thumbPos - skin::Height(m_pictures[kUp]) + 1) / m_ratio);
    const int first = m_edit->GetFirstVisibleLine();
    if (target != first) m_edit->LineScroll(target - first);
}

void CSkinVScrollbar::Paint(HDC dc, int W, int H) {
    RECT all = {0, 0, W, H};
    ::SetBkColor(dc, RGB(0, 0, 0));
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const int u = skin::Height(m_pictures[kUp]), d = skin::Height(m_pictures[kDown]), g = Gap();
    skin::Draw(m_pictures[kUp], dc, 0, 0);
    skin::Draw(m_pictures[kSpan], dc, 0, u, skin::Width(m_pictures[kSpan]), H - u - d - g);
    skin::Draw(m_pictures[kDown], dc, 0, H - d - g);
    if (m_ratio > 0.0) skin::Draw(m_pictures[kThumb], dc, 0, m_thumbPos);
}

void CSkinHScrollbar::ScrollBy(int dx) {
    int pos = 0, limit = 0;
    SkinScrollState(*m_target, SB_HORZ, &pos, &limit);
    m_target->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos + dx));
}

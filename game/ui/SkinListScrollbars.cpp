#include "game/ui/SkinListScrollbars.h"

#include <climits>

#include <commctrl.h>

#include "game/ui/SkinPaint.h"

void SkinScrollState(HWND wnd, int bar, int* pos, int* limit) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    *pos = 0;
    *limit = 0;
    if (!wnd || !::FlatSB_GetScrollInfo(wnd, bar, &si)) return;
    const int page = si.nPage > 0 ? static_cast<int>(si.nPage) : 1;
    *pos = si.nPos;
    *limit = si.nMax - si.nMin - page + 1;
    if (*limit < 0) *limit = 0;
}

// ---- vertical

int CSkinVerticleScrollbar::ThumbWidth() const { return skin::Width(m_pictures[kThumb]); }

CSkinScrollbar::Zones CSkinVerticleScrollbar::GetZones() const {
    const int H = ClientLength();
    const int t = skin::Height(m_pictures[kTop]), u = skin::Height(m_pictures[kUp]);
    const int d = skin::Height(m_pictures[kDown]), b = skin::Height(m_pictures[kBottom]);
    return {t, u, H - b - d, d, skin::Height(m_pictures[kThumb]), b + d, H - b - d};
}

void CSkinVerticleScrollbar::UpdateThumb() {
    if (!m_list || !m_list->m_hWnd || m_dragging) return;
    int pos = 0, limit = 0;
    SkinScrollState(*m_list, SB_VERT, &pos, &limit);
    if (limit <= 0 || !m_pictures[kThumb]) {
        m_ratio = 0.0;
        return;
    }
    const int H = ClientLength();
    const int t = skin::Height(m_pictures[kTop]), u = skin::Height(m_pictures[kUp]);
    const int d = skin::Height(m_pictures[kDown]), b = skin::Height(m_pictures[kBottom]);
    const int h = skin::Height(m_pictures[kThumb]);
    m_ratio = static_cast<double>(H + 2 - h - u - d - t - b) / limit;
    m_thumbPos = t + static_cast<int>(m_ratio * pos) + u - 1;
    Clamp();
}

void CSkinVerticleScrollbar::Clamp() {
    const Zones z = GetZones();
    const int t = skin::Height(m_pictures[kTop]), u = skin::Height(m_pictures[kUp]);
    if (z.fwdStart < z.thumbLen + m_thumbPos) m_thumbPos = z.fwdStart - z.thumbLen + 1;
    if (m_thumbPos < t + u) m_thumbPos = t + u - 1;
}

void CSkinVerticleScrollbar::Line(int direction) {
    if (m_list) m_list->SendMessage(WM_VSCROLL, direction < 0 ? SB_LINEUP : SB_LINEDOWN);
}

void CSkinVerticleScrollbar::Page(int direction) {
    if (m_list) m_list->SendMessage(WM_VSCROLL, direction < 0 ? SB_PAGEUP : SB_PAGEDOWN);
}

void CSkinVerticleScrollbar::DragTo(int along) {
    if (!m_list || m_ratio <= 0.0) return;
    const int t = skin::Height(m_pictures[kTop]), u = skin::Height(m_pictures[kUp]);
    m_thumbPos = along - skin::Height(m_pictures[kThumb]) / 2;
    const int target = static_cast<int>((m_thumbPos - t - u + 1) / m_ratio);
    int pos = 0, limit = 0;
    SkinScrollState(*m_list, SB_VERT, &pos, &limit);
    CRect row;
    if (m_list->GetItemCount() > 0 && m_list->GetItemRect(0, &row, LVIR_BOUNDS))
        m_list->Scroll(CSize(0, (target - pos) * row.Height()));
}

void CSkinVerticleScrollbar::Paint(HDC dc, int W, int H) {
    RECT all = {0, 0, W, H};
    const COLORREF bk = m_list && m_list->m_hWnd ? m_list->GetBkColor() : RGB(0, 0, 0);
    ::SetBkColor(dc, bk);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const int t = skin::Height(m_pictures[kTop]), u = skin::Height(m_pictures[kUp]);
    const int d = skin::Height(m_pictures[kDown]), b = skin::Height(m_pictures[kBottom]);
    skin::Draw(m_pictures[kTop], dc, 0, 0);
    skin::Draw(m_pictures[kUp], dc, 0, t);
    skin::Draw(m_pictures[kSpan], dc, 0, t + u, skin::Width(m_pictures[kSpan]), H - b - d - t - u);
    skin::Draw(m_pictures[kDown], dc, 0, H - b - d);
    skin::Draw(m_pictures[kBottom], dc, 1, H - b);
    if (m_ratio > 0.0) skin::Draw(m_pictures[kThumb], dc, 0, m_thumbPos);
}

// ---- horizontal

int CSkinHorizontalScrollbar::ThumbHeight() const { return skin::Height(m_pictures[kThumb]); }

CSkinScrollbar::Zones CSkinHorizontalScrollbar::GetZones() const {
    const int W = ClientLength();
    const int l = skin::Width(m_pictures[kLeft]), r = skin::Width(m_pictures[kRight]);
    return {0, l, W - r, r, skin::Width(m_pictures[kThumb]), INT_MIN, INT_MAX};
}

void CSkinHorizontalScrollbar::UpdateThumb() {
    if (!m_target || !m_target->m_hWnd || m_dragging) return;
    int pos = 0, limit = 0;
    SkinScrollState(*m_target, SB_HORZ, &pos, &limit);
    if (limit <= 0 || !m_pictures[kThumb]) {
        m_ratio = 0.0;
        return;
    }
    const int W = ClientLength();
    const int l = skin::Width(m_pictures[kLeft]), r = skin::Width(m_pictures[kRight]);
    m_ratio = static_cast<double>(W + 2 - skin::Width(m_pictures[kThumb]) - l - r) / limit;
    m_thumbPos = l + static_cast<int>(m_ratio * pos) - 1;
    Clamp();
}

void CSkinHorizontalScrollbar::Clamp() {
    const Zones z = GetZones();
    if (z.fwdStart < z.thumbLen + m_thumbPos) m_thumbPos = z.fwdStart - z.thumbLen + 1;
    if (m_thumbPos < z.backLen) m_thumbPos = z.backLen - 1;
}

void CSkinHorizontalScrollbar::Line(int direction) {
    if (m_target) m_target->SendMessage(WM_HSCROLL, direction < 0 ? SB_LINELEFT : SB_LINERIGHT);
}

void CSkinHorizontalScrollbar::Page(int direction) {
    if (m_target) m_target->SendMessage(WM_HSCROLL, direction < 0 ? SB_PAGELEFT : SB_PAGERIGHT);
}

void CSkinHorizontalScrollbar::DragTo(int along) {
    if (!m_target || m_ratio <= 0.0) return;
    m_thumbPos = along - skin::Width(m_pictures[kThumb]) / 2;
    int pos = 0, limit = 0;
    SkinScrollState(*m_target, SB_HORZ, &pos, &limit);
    ScrollBy(static_cast<int>((m_thumbPos - skin::Width(m_pictures[kLeft]) + 1) / m_ratio) - pos);
}

void CSkinHorizontalScrollbar::ScrollBy(int dx) {
    m_target->SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), 0);
}

COLORREF CSkinHorizontalScrollbar::Background() const {
    return m_target && m_target->m_hWnd ? static_cast<COLORREF>(m_target->SendMessage(LVM_GETBKCOLOR)) : RGB(0, 0, 0);
}

void CSkinHorizontalScrollbar::Paint(HDC dc, int W, int H) {
    RECT all = {0, 0, W, H};
    ::SetBkColor(dc, Background());
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    const int l = skin::Width(m_pictures[kLeft]), r = skin::Width(m_pictures[kRight]);
    skin::Draw(m_pictures[kLeft], dc, 0, 0);
    skin::Draw(m_pictures[kSpan], dc, l, 0, W - l - r, skin::Height(m_pictures[kSpan]));
    skin::Draw(m_pictures[kRight], dc, W - r, 0);
    if (m_ratio > 0.0) skin::Draw(m_pictures[kThumb], dc, m_thumbPos, 0);
}

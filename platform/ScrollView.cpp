#include "platform/ScrollView.h"

#include <algorithm>

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int mapMode, SIZE total, const SIZE& page, const SIZE& line) {
    m_nMapMode = mapMode;
    m_totalDev = CSize(std::max(0L, static_cast<long>(total.cx)), std::max(0L, static_cast<long>(total.cy)));
    m_pageDev = page;
    m_lineDev = line;
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd) UpdateBars();
}

int CScrollView::MaxPos(int bar) const {
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    int max = bar == SB_VERT ? m_totalDev.cy - client.Height() : m_totalDev.cx - client.Width();
    return std::max(0, max);
}

void CScrollView::UpdateBars() {
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    // Position first, so the bars below never show an old, larger one.
    CPoint target(std::min(static_cast<int>(m_pos.x), MaxPos(SB_HORZ)), std::min(static_cast<int>(m_pos.y), MaxPos(SB_VERT)));
    if (target != m_pos) ScrollBy(target.x - m_pos.x, target.y - m_pos.y);
    const int bars[2] = {SB_HORZ, SB_VERT};
    for (int bar : bars) {
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        int total = bar == SB_VERT ? m_totalDev.cy : m_totalDev.cx;
        int size = bar == SB_VERT ? client.Height() : client.Width();
        if (total > size) {
            si.nMax = total - 1;
            si.nPage = static_cast<UINT>(size);
            si.nPos = bar == SB_VERT ? m_pos.y : m_pos.x;
        }
        ::SetScrollInfo(m_hWnd, bar, &si, TRUE);
    }
}

BOOL CScrollView::ScrollBy(int dx, int dy) {
    int x = std::max(0, std::min(static_cast<int>(m_pos.x) + dx, MaxPos(SB_HORZ)));
    int y = std::max(0, std::min(static_cast<int>(m_pos.y) + dy, MaxPos(SB_VERT)));
    if (x == m_pos.x && y == m_pos.y) return FALSE;
    int moveX = m_pos.x - x, moveY = m_pos.y - y;
    m_pos = CPoint(x, y);
    ::ScrollWindowEx(m_hWnd, moveX, moveY, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
    if (moveX) ::SetScrollPos(m_hWnd, SB_HORZ, x, TRUE);
    if (moveY) ::SetScrollPos(m_hWnd, SB_VERT, y, TRUE);
    return TRUE;
}

void CScrollView::ScrollToPosition(POINT pt) { ScrollBy(pt.x - m_pos.x, pt.y - m_pos.y); }

void CScrollView::OnPrepareDC(CDC* dc) { ::SetViewportOrgEx(*dc, -m_pos.x, -m_pos.y, nullptr); }

void CScrollView::OnSize(UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

int CScrollView::TrackPos(int bar, UINT code, int current, int page, int line) const {
    switch (code) {
    case SB_TOP: return 0;
    case SB_BOTTOM: return MaxPos(bar);
    case SB_LINEUP: return current - line;
    case SB_LINEDOWN: return current + line;
    case SB_PAGEUP: return current - page;
    case SB_PAGEDOWN: return current + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit track position; the message carries only 16 bits.
        SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        return ::GetScrollInfo(m_hWnd, bar, &si) ? si.nTrackPos : current;
    }
    default: return current;
    }
}

void CScrollView::OnVScroll(UINT code, UINT, CScrollBar*) {
    int y = TrackPos(SB_VERT, code, m_pos.y, m_pageDev.cy, m_lineDev.cy);
    ScrollBy(0, y - m_pos.y);
}

void CScrollView::OnHScroll(UINT code, UINT, CScrollBar*) {
    int x = TrackPos(SB_HORZ, code, m_pos.x, m_pageDev.cx, m_lineDev.cx);
    ScrollBy(x - m_pos.x, 0);
}

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint) {
    UINT lines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int step;
    if (lines == WHEEL_PAGESCROLL) {
        step = ::MulDiv(-delta, m_pageDev.cy, WHEEL_DELTA);
    } else {
        step = ::MulDiv(-delta, static_cast<int>(lines) * m_lineDev.cy, WHEEL_DELTA);
        step = std::max(-static_cast<int>(m_pageDev.cy), std::min(step, static_cast<int>(m_pageDev.cy)));
    }
    return ScrollBy(0, step);
}

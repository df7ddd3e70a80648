// Scroll bar controls. Their parent's WM_HSCROLL/WM_VSCROLL are reflected to
// them (ON_WM_HSCROLL_REFLECT) before the parent sees them.
#pragma once

#include "platform/Wnd.h"

class CScrollBar : public CWnd {
public:
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void GetScrollRange(LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL) const {
        info->cbSize = sizeof(SCROLLINFO);
        info->fMask = mask;
        return ::GetScrollInfo(m_hWnd, SB_CTL, info);
    }
    BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE) {
        info->cbSize = sizeof(SCROLLINFO);
        return ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw) != 0;
    }
    void ShowScrollBar(BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
    BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
};

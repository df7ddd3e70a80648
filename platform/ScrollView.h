// A view over a document larger than its window: the standard scroll bars,
// scrolling by the bars (WM_VSCROLL, WM_HSCROLL) and the mouse wheel. A scroll
// moves the window's contents and its child windows by the same amount.
#pragma once

#include "platform/FrameWnd.h"

class CScrollView : public CView {
public:
    // Page and line sizes of {0, 0} take the defaults: a tenth of the total
    // size, and a tenth of the page.
    static const SIZE sizeDefault;

    // Only MM_TEXT: sizes are pixels.
    void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault, const SIZE& line = sizeDefault);
    CPoint GetScrollPosition() const { return m_pos; }
    CSize GetTotalSize() const { return m_totalDev; }
    CSize GetPageSize() const { return m_pageDev; }
    CSize GetLineSize() const { return m_lineDev; }
    // Scrolls so that this document point is at the top left (clamped).
    void ScrollToPosition(POINT pt);

    void OnPrepareDC(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint pt);

    DECLARE_MESSAGE_MAP()

protected:
    // Shows, hides and sizes the bars for the client size; keeps the position in range.
    void UpdateBars();
    // Moves by (dx, dy) pixels within range; TRUE when the position changed.
    BOOL ScrollBy(int dx, int dy);

    int m_nMapMode = 0;
    CSize m_totalDev, m_pageDev, m_lineDev;
    CPoint m_pos;

private:
    int MaxPos(int bar) const;
    // The new position along one bar for a scroll code.
    int TrackPos(int bar, UINT code, int current, int page, int line) const;
};

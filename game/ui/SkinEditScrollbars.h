// The picture scroll bars of CSkinRichEditCtrl.
#pragma once

#include "game/ui/SkinListScrollbars.h"

class CSkinRichEditCtrl;

// Pictures: top, up arrow, span, down arrow, bottom, thumb (top and bottom
// are not drawn). Scrolls by lines over the control's scroll range.
class CSkinVScrollbar : public CSkinScrollbar {
public:
    enum { kTop, kUp, kSpan, kDown, kBottom, kThumb };
    void SetEdit(CSkinRichEditCtrl* edit) { m_edit = edit; }
    int ThumbWidth() const;

protected:
    Zones GetZones() const override;
    bool Vertical() const override { return true; }
    void UpdateThumb() override;
    void Clamp() override;
    void Line(int direction) override;
    void Page(int direction) override;
    void DragTo(int along) override;
    void Paint(HDC dc, int width, int height) override;
    int Gap() const;  // the horizontal bar's thumb height, when that bar exists

    CSkinRichEditCtrl* m_edit = nullptr;
};

// Pictures: left arrow, span, right arrow, thumb; WM_HSCROLL to the control.
class CSkinHScrollbar : public CSkinHorizontalScrollbar {
protected:
    void ScrollBy(int dx) override;
    COLORREF Background() const override { return RGB(0, 0, 0); }
};

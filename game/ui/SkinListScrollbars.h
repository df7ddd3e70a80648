// The picture scroll bars of CSkinListCtrl: they scroll the list with
// WM_VSCROLL / WM_HSCROLL and drag it with LVM_SCROLL.
#pragma once

#include "game/ui/SkinScrollbar.h"

class CListCtrl;

// Pictures: top, up arrow, span, down arrow, bottom, thumb.
class CSkinVerticleScrollbar : public CSkinScrollbar {
public:
    enum { kTop, kUp, kSpan, kDown, kBottom, kThumb };
    void SetList(CListCtrl* list) { m_list = list; }
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

    CListCtrl* m_list = nullptr;
};

// Pictures: left arrow, span, right arrow, thumb.
class CSkinHorizontalScrollbar : public CSkinScrollbar {
public:
    enum { kLeft, kSpan, kRight, kThumb };
    void SetTarget(CWnd* target) { m_target = target; }
    int ThumbHeight() const;

protected:
    Zones GetZones() const override;
    bool Vertical() const override { return false; }
    void UpdateThumb() override;
    void Clamp() override;
    void Line(int direction) override;
    void Page(int direction) override;
    void DragTo(int along) override;
    void Paint(HDC dc, int width, int height) override;
    // Scrolls the control by dx pixels (the list: LVM_SCROLL).
    virtual void ScrollBy(int dx);
    virtual COLORREF Background() const;

    CWnd* m_target = nullptr;
};

// Scroll position and limit (the highest position) of a control's bar;
// the limit is 0 when it cannot scroll.
void SkinScrollState(HWND wnd, int bar, int* pos, int* limit);

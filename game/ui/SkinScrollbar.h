// CSkinScrollbar: the family of picture scroll bars that stand beside a list
// or a rich edit in its parent (static controls, id 0xFFFF). Each bar draws
// arrows, span and thumb from borrowed pictures; a held arrow repeats after
// 250 ms every 50 ms; a click beside the thumb pages; the thumb drags.
// The derived bars know the control they serve and their layout.
#pragma once

#include "platform/Framework.h"

class CxImage;

class CSkinScrollbar : public CStatic {
public:
    enum { kRepeatTimer = 1, kDelayTimer = 2, kRepeatMs = 50, kDelayMs = 250 };

    // Creates the bar as a visible child of parent (SS_NOTIFY, WS_GROUP, id 0xFFFF).
    BOOL CreateBar(CWnd* parent);
    // Pictures in the bar's own order; the bar never owns them.
    void SetPictures(CxImage* const* pictures, int count);
    // The thumb from the served control, then a repaint.
    void Refresh();
    int ThumbPos() const { return m_thumbPos; }
    bool Dragging() const { return m_dragging != 0; }

protected:
    // Positions along the bar (y for vertical bars, x for horizontal ones).
    struct Zones {
        int backStart, backLen;  // the up or left arrow
        int fwdStart, fwdLen;    // the down or right arrow
        int thumbLen;
        int pageBackAbove, pageFwdBelow;  // the page zones end here
    };
    virtual Zones GetZones() const = 0;
    virtual bool Vertical() const = 0;
    // Thumb position from the control (not while dragging); keeps it when
    // the control cannot scroll.
    virtual void UpdateThumb() = 0;
    virtual void Clamp() = 0;
    virtual void Line(int direction) = 0;  // -1 up or left, +1 down or right
    virtual void Page(int direction) = 0;
    virtual void DragTo(int along) = 0;    // pointer position along the bar
    virtual void Paint(HDC dc, int width, int height) = 0;

    int Along(CPoint p) const { return Vertical() ? p.y : p.x; }
    int ClientLength() const;

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);

    CxImage* m_pictures[6] = {};
    BYTE m_backPressed = 0, m_fwdPressed = 0, m_spare = 0, m_dragging = 0;
    int m_thumbPos = 36;
    double m_ratio = 0.0;  // pixels per scroll step; 0 while the control cannot scroll

    DECLARE_MESSAGE_MAP()
};

// Push buttons, check boxes and radio buttons.
#pragma once

#include "platform/Wnd.h"

class CButton : public CWnd {
public:
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }

    // Owner-drawn buttons paint here; the parent passes WM_DRAWITEM on.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

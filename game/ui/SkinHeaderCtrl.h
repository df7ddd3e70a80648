// CSkinHeaderCtrl: the header of CSkinListCtrl, painted from three borrowed
// pictures (span, column start, column end) and as high as the span picture.
// Columns cannot be resized by the user.
#pragma once

#include "platform/Framework.h"

class CxImage;

class CSkinHeaderCtrl : public CHeaderCtrl {
public:
    void SetPictures(CxImage* span, CxImage* start, CxImage* end) {
        m_span = span;
        m_start = start;
        m_end = end;
    }
    void SetTextColor(COLORREF colour) { m_textColour = colour; }

protected:
    LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
    void OnRefuse(NMHDR*, LRESULT* result) { *result = 1; }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();

    CxImage* m_span = nullptr;
    CxImage* m_start = nullptr;
    CxImage* m_end = nullptr;
    COLORREF m_textColour = 0;

    DECLARE_MESSAGE_MAP()
};

// The chat's colour dialog, opened at a given place.
#pragma once

#include "platform/Framework.h"

class CExColorDlg : public CColorDialog {
public:
    explicit CExColorDlg(COLORREF initial = 0, CWnd* parent = nullptr) : CColorDialog(initial, 0, parent) {}
    void SetPosition(int x, int y) {
        m_nX = x;
        m_nY = y;
    }
    // With both coordinates above 0: moved there, 25 pixels taller than its client area.
    BOOL OnInitDialog() override;

private:
    int m_nX = -1, m_nY = -1;
};

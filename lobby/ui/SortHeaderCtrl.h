// The sortable list's header, painted on the skin's header strip (frame
// type 5) with centred texts and a line after each item; no sort arrow.
#pragma once

#include <vector>

#include "platform/Framework.h"

class CSortHeaderCtrl : public CHeaderCtrl {
public:
    void SetSortColumn(int column, BOOL ascending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }

    // Item count, then each item's width: one 32-bit integer each.
    std::vector<BYTE> StoreWidths() const;
    // Applies the widths only when the stored count equals the item count.
    BOOL LoadWidths(const BYTE* data, UINT bytes);

protected:
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();

    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;

    DECLARE_MESSAGE_MAP()
};

// CSkinListCtrl: the report list of the side panel's ranking. It keeps its
// own copy of every cell (so sorting never asks the control for texts),
// sorts by a clicked column, draws selected rows in its own colours, paints
// its header from pictures and has picture scroll bars beside it in its
// parent. Pictures are borrowed.
#pragma once

#include <string>
#include <vector>

#include "game/ui/SkinHeaderCtrl.h"
#include "game/ui/SkinListScrollbars.h"
#include "platform/Framework.h"

class CxImage;

class CSkinListCtrl : public CListCtrl {
public:
    // The record behind every row's item data: one stored text per column.
    struct Row {
        std::vector<std::string> cells;
        int spare = 0;
    };

    ~CSkinListCtrl() override;

    // pictures: header span, start, end; vertical top, up, span, down,
    // bottom, thumb; horizontal left, span, right, thumb (13, may be null).
    void AttachSkin(CxImage* const* pictures);
    void SetSelectedColours(COLORREF text, COLORREF background) {
        m_selText = text;
        m_selBack = background;
    }
    int AddItem(int row, LPCSTR text);
    int SetItemText(int row, int column, LPCSTR text);
    BOOL DeleteAllItems();
    void SortByColumn(int column, int ascending);
    void FlatScrollSetup();
    // Places the bars beside the list (again after the list moved).
    void PlaceBars();
    void RefreshBars();

    int SortColumn() const { return m_sortColumn; }
    int SortAscending() const { return m_ascending; }
    // The stored text of a cell; "" when unset.
    std::string StoredText(int row, int column) const;
    CSkinHeaderCtrl& Header() { return m_header; }
    CSkinVerticleScrollbar& VerticalBar() { return m_vbar; }
    CSkinHorizontalScrollbar& HorizontalBar() { return m_hbar; }

protected:
    void PreSubclassWindow() override;
    void SubclassHeader();
    void FreeRows();
    static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM list);

    int OnCreate(LPCREATESTRUCT cs);
    void OnCustomDraw(NMHDR* nm, LRESULT* result);
    void OnColumnClick(NMHDR* nm, LRESULT* result);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*);
    BOOL OnMouseWheel(UINT, short, CPoint);
    void OnKeyDown(UINT, UINT, UINT);
    void OnKeyUp(UINT, UINT, UINT);
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*);
    void OnDestroy();
    void OnWindowPosChanged(WINDOWPOS*);

    CSkinHeaderCtrl m_header;
    CSkinVerticleScrollbar m_vbar;
    CSkinHorizontalScrollbar m_hbar;
    COLORREF m_selText = 0xE5E5E5;
    COLORREF m_selBack = 0xA57B73;
    int m_sortColumn = -1;
    int m_ascending = 1;
    int m_paintedSelected = -1;  // the row whose selection custom draw took away

    DECLARE_MESSAGE_MAP()
};

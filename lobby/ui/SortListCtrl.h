// The lobby's report list: columns from one text, rows keeping copies of
// their texts, alternating row colours, and sorting by a header click
// (numbers as numbers, other text as text) through the list view's own sort.
#pragma once

#include <vector>

#include "lobby/ui/SortHeaderCtrl.h"
#include "platform/Framework.h"

class CSortListCtrl : public CListCtrl {
public:
    struct Row {
        std::vector<CString> texts;
        int value = 0;
    };

    // "name,width;name,width[;]": 0 as soon as an insertion fails.
    int SetColumns(LPCSTR columnText);
    // Exactly one text per column; the new row's index, -1 otherwise.
    int AddItem(const std::vector<CString>& texts);
    BOOL SetItemText(int row, int column, LPCSTR text);
    const std::vector<CString>* GetItemTexts(int row) const;
    BOOL SetItemValue(int row, int value);
    int GetItemValue(int row) const;
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    void SetRowColors(COLORREF odd, COLORREF even) {
        m_oddColor = odd;
        m_evenColor = even;
    }
    void Sort(int column, BOOL ascending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }
    int GetColumnCount() const { return m_nColumns; }
    CSortHeaderCtrl& Header() { return m_header; }

    // The widths kept under "ListCtrls", key = control id in decimal.
    void LoadColumnWidths();
    void SaveColumnWidths();

protected:
    void PreSubclassWindow() override;
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    void OnDestroy();

private:
    void HookHeader();
    void FreeRow(int row);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM self);

    CSortHeaderCtrl m_header;
    COLORREF m_oddColor = RGB(255, 255, 255), m_evenColor = RGB(255, 255, 255);
    int m_nColumns = 0;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;

    DECLARE_MESSAGE_MAP()
};

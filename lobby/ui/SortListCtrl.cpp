#include "lobby/ui/SortListCtrl.h"

#include <cstdio>

#include "lobby/ui/PanelRules.h"

BEGIN_MESSAGE_MAP(CSortListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CSortListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    HookHeader();
}

void CSortListCtrl::HookHeader() {
    if (m_header.m_hWnd) return;
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header) m_header.SubclassWindow(header);
}

int CSortListCtrl::SetColumns(LPCSTR columnText) {
    HookHeader();
    for (const auto& column : ParseColumnList(columnText)) {
        if (InsertColumn(m_nColumns, column.first.c_str(), LVCFMT_LEFT, column.second) < 0) return 0;
        ++m_nColumns;
    }
    HookHeader();
    return 1;
}

int CSortListCtrl::AddItem(const std::vector<CString>& texts) {
    if (m_nColumns == 0 || static_cast<int>(texts.size()) != m_nColumns) return -1;
    const int row = InsertItem(GetItemCount(), texts[0]);
    if (row < 0) return -1;
    for (int c = 1; c < m_nColumns; ++c) CListCtrl::SetItemText(row, c, texts[c]);
    auto* record = new Row;
    record->texts = texts;
    SetItemData(row, reinterpret_cast<DWORD_PTR>(record));
    return row;
}

BOOL CSortListCtrl::SetItemText(int row, int column, LPCSTR text) {
    if (!CListCtrl::SetItemText(row, column, text)) return FALSE;
    auto* record = reinterpret_cast<Row*>(GetItemData(row));
    if (record && column >= 0 && column < static_cast<int>(record->texts.size())) record->texts[column] = text;
    return TRUE;
}

const std::vector<CString>* CSortListCtrl::GetItemTexts(int row) const {
    auto* record = reinterpret_cast<Row*>(GetItemData(row));
    return record ? &record->texts : nullptr;
}

BOOL CSortListCtrl::SetItemValue(int row, int value) {
    if (row < 0 || row >= GetItemCount()) return FALSE;
    auto* record = reinterpret_cast<Row*>(GetItemData(row));
    if (!record) return FALSE;
    record->value = value;
    return TRUE;
}

int CSortListCtrl::GetItemValue(int row) const {
    auto* record = reinterpret_cast<Row*>(GetItemData(row));
    return record ? record->value : 0;
}

void CSortListCtrl::FreeRow(int row) {
    delete reinterpret_cast<Row*>(GetItemData(row));
    SetItemData(row, 0);
}

BOOL CSortListCtrl::DeleteItem(int row) {
    if (row < 0 || row >= GetItemCount()) return FALSE;
    FreeRow(row);
    return CListCtrl::DeleteItem(row);
}

BOOL CSortListCtrl::DeleteAllItems() {
    for (int i = 0; i < GetItemCount(); ++i) FreeRow(i);
    return CListCtrl::DeleteAllItems();
}

int CALLBACK CSortListCtrl::CompareRows(LPARAM a, LPARAM b, LPARAM self) {
    auto* list = reinterpret_cast<CSortListCtrl*>(self);
    auto* ra = reinterpret_cast<Row*>(a);
    auto* rb = reinterpret_cast<Row*>(b);
    const int c = list->m_nSortColumn;
    auto text = [c](const Row* r) -> LPCSTR {
        return r && c >= 0 && c < static_cast<int>(r->texts.size()) ? static_cast<LPCSTR>(r->texts[c]) : "";
    };
    auto system = [](const char* x, const char* y) { return ::lstrcmpA(x, y); };
    return list->m_bAscending ? CompareListTexts(text(ra), text(rb), system)
                              : CompareListTexts(text(rb), text(ra), system);
}

void CSortListCtrl::Sort(int column, BOOL ascending) {
    m_nSortColumn = column;
    m_bAscending = ascending;
    if (m_header.m_hWnd) m_header.SetSortColumn(column, ascending);
    // The list view's own sort: the rule above is not symmetric, so no
    // algorithm that relies on a strict weak order may see it.
    SortItems(&CSortListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
}

void CSortListCtrl::OnColumnClick(NMHDR* header, LRESULT* result) {
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    const BOOL ascending = column != m_nSortColumn || !m_bAscending;
    Sort(column, ascending);
    *result = 0;
}

void CSortListCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        draw->clrTextBk = (draw->nmcd.dwItemSpec % 2) ? m_oddColor : m_evenColor;
    }
}

void CSortListCtrl::OnDestroy() {
    for (int i = 0; i < GetItemCount(); ++i) FreeRow(i);
    Default();
}

void CSortListCtrl::LoadColumnWidths() {
    CWinApp* app = AfxGetApp();
    if (!app || !m_header.m_hWnd) return;
    char key[16];
    std::snprintf(key, sizeof key, "%d", GetDlgCtrlID());
    LPBYTE data = nullptr;
    UINT bytes = 0;
    if (app->GetProfileBinary("ListCtrls", key, &data, &bytes) && bytes > 0) {
        m_header.LoadWidths(data, bytes);
        Invalidate();
    }
    delete[] data;
}

void CSortListCtrl::SaveColumnWidths() {
    CWinApp* app = AfxGetApp();
    if (!app || !m_header.m_hWnd) return;
    char key[16];
    std::snprintf(key, sizeof key, "%d", GetDlgCtrlID());
    std::vector<BYTE> data = m_header.StoreWidths();
    app->WriteProfileBinary("ListCtrls", key, data.data(), static_cast<UINT>(data.size()));
}

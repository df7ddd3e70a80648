#include "lobby/ui/SortHeaderCtrl.h"

#include <cstring>

#include "lobby/ui/SkinRes.h"

BEGIN_MESSAGE_MAP(CSortHeaderCtrl, CHeaderCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CSortHeaderCtrl::SetSortColumn(int column, BOOL ascending) {
    m_nSortColumn = column;
    m_bAscending = ascending;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item)) {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate();
}

std::vector<BYTE> CSortHeaderCtrl::StoreWidths() const {
    const int count = GetItemCount();
    std::vector<int> values{count};
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        GetItem(i, &item);
        values.push_back(item.cxy);
    }
    std::vector<BYTE> out(values.size() * sizeof(int));
    std::memcpy(out.data(), values.data(), out.size());
    return out;
}

BOOL CSortHeaderCtrl::LoadWidths(const BYTE* data, UINT bytes) {
    if (!data || bytes < sizeof(int)) return FALSE;
    int count = 0;
    std::memcpy(&count, data, sizeof count);
    if (count != GetItemCount() || bytes < (static_cast<UINT>(count) + 1) * sizeof(int)) return FALSE;
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        std::memcpy(&item.cxy, data + (i + 1) * sizeof(int), sizeof(int));
        SetItem(i, &item);
    }
    return TRUE;
}

void CSortHeaderCtrl::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    GetLobbySkin()->DrawFrame(&dc, 0, 0, client.right, client.bottom, 5);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < GetItemCount(); ++i) {
        char text[256] = "";
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        GetItem(i, &item);
        CRect r;
        GetItemRect(i, &r);
        ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::MoveToEx(dc, r.right - 1, r.top, nullptr);
        ::LineTo(dc, r.right - 1, r.bottom);
    }
    ::SelectObject(dc, oldFont);
}

#include "game/ui/SkinListCtrl.h"

#include "game/ui/SkinListCompare.h"

BEGIN_MESSAGE_MAP(CSkinListCtrl, CListCtrl)
ON_WM_CREATE()
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_NCCALCSIZE()
ON_WM_DESTROY()
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CSkinListCtrl::~CSkinListCtrl() {
    if (m_hWnd) FreeRows();
}

void CSkinListCtrl::PreSubclassWindow() { SubclassHeader(); }

int CSkinListCtrl::OnCreate(LPCREATESTRUCT) {
    const int result = static_cast<int>(Default());
    SubclassHeader();
    return result;
}

void CSkinListCtrl::SubclassHeader() {
    if (m_header.m_hWnd || (GetStyle() & LVS_NOCOLUMNHEADER)) return;
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header) m_header.SubclassWindow(header);
}

void CSkinListCtrl::AttachSkin(CxImage* const* p) {
    m_header.SetPictures(p[0], p[1], p[2]);
    m_vbar.SetPictures(p + 3, 6);
    m_hbar.SetPictures(p + 9, 4);
    CWnd* parent = GetParent();
    if (!m_vbar.m_hWnd) m_vbar.CreateBar(parent);
    if (!m_hbar.m_hWnd) m_hbar.CreateBar(parent);
    m_vbar.SetList(this);
    m_hbar.SetTarget(this);
    // The header takes the span picture's height.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    PlaceBars();
}

void CSkinListCtrl::PlaceBars() {
    if (!m_vbar.m_hWnd || !m_hbar.m_hWnd) return;
    CRect r;
    GetWindowRect(&r);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&r), 2);
    const int vw = m_vbar.ThumbWidth(), hh = m_hbar.ThumbHeight();
    // The vertical bar covers the list's own one and the corner; the
    // horizontal bar lies below the list.
    ::SetWindowPos(m_vbar, HWND_TOP, r.right - vw, r.top, vw, r.Height() + hh, SWP_NOACTIVATE);
    m_hbar.SetWindowPos(nullptr, r.left, r.bottom, r.Width() - vw, hh, SWP_NOZORDER | SWP_NOACTIVATE);
    RefreshBars();
}

void CSkinListCtrl::RefreshBars() {
    m_vbar.Refresh();
    m_hbar.Refresh();
}

int CSkinListCtrl::AddItem(int row, LPCSTR text) {
    if (!text) text = "";
    const int index = InsertItem(row, text);
    if (index < 0) return index;
    Row* record = new Row;
    const int columns = m_header.m_hWnd ? m_header.GetItemCount() : 0;
    record->cells.resize(columns > 0 ? columns : 1);
    record->cells[0] = text;
    SetItemData(index, reinterpret_cast<DWORD_PTR>(record));
    CListCtrl::SetItemText(index, 1, text);
    return index;
}

int CSkinListCtrl::SetItemText(int row, int column, LPCSTR text) {
    if (!text) text = "";
    if (column < 0 || !CListCtrl::SetItemText(row, column, text)) return 0;
    if (Row* record = reinterpret_cast<Row*>(GetItemData(row))) {
        if (static_cast<size_t>(column) >= record->cells.size()) record->cells.resize(column + 1);
        record->cells[column] = text;
    }
    return 1;
}

std::string CSkinListCtrl::StoredText(int row, int column) const {
    const Row* record = reinterpret_cast<const Row*>(GetItemData(row));
    if (!record || column < 0 || static_cast<size_t>(column) >= record->cells.size()) return "";
    return record->cells[column];
}

void CSkinListCtrl::FreeRows() {
    for (int i = 0, n = GetItemCount(); i < n; ++i) {
        delete reinterpret_cast<Row*>(GetItemData(i));
        SetItemData(i, 0);
    }
}

BOOL CSkinListCtrl::DeleteAllItems() {
    FreeRows();
    return CListCtrl::DeleteAllItems();
}

int CALLBACK CSkinListCtrl::Compare(LPARAM a, LPARAM b, LPARAM list) {
    const CSkinListCtrl* self = reinterpret_cast<const CSkinListCtrl*>(list);
    const Row* ra = reinterpret_cast<const Row*>(a);
    const Row* rb = reinterpret_cast<const Row*>(b);
    const size_t c = static_cast<size_t>(self->m_sortColumn);
    const char* ta = ra && c < ra->cells.size() ? ra->cells[c].c_str() : "";
    const char* tb = rb && c < rb->cells.size() ? rb->cells[c].c_str() : "";
    return SkinListCompare(ta, tb, self->m_ascending);
}

void CSkinListCtrl::SortByColumn(int column, int ascending) {
    m_sortColumn = column;
    m_ascending = ascending;
    if (column >= 0) SortItems(&CSkinListCtrl::Compare, reinterpret_cast<DWORD_PTR>(this));
}

void CSkinListCtrl::FlatScrollSetup() {
    ::InitializeFlatSB(m_hWnd);
    ::FlatSB_EnableScrollBar(m_hWnd, SB_BOTH, ESB_DISABLE_BOTH);
    SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
}

void CSkinListCtrl::OnCustomDraw(NMHDR* nm, LRESULT* result) {
    NMLVCUSTOMDRAW* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
    const int row = static_cast<int>(cd->nmcd.dwItemSpec);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT:
        if (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) {
            m_paintedSelected = row;
            cd->clrText = m_selText;
            cd->clrTextBk = m_selBack;
            SetItemState(row, 0, LVIS_SELECTED);
            cd->nmcd.uItemState &= ~CDIS_SELECTED;
        }
        *result = CDRF_NOTIFYPOSTPAINT;
        return;
    case CDDS_ITEMPOSTPAINT:
        if (m_paintedSelected == row) {
            m_paintedSelected = -1;
            SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
        *result = CDRF_DODEFAULT;
        return;
    default:
        *result = CDRF_DODEFAULT;
    }
}

void CSkinListCtrl::OnColumnClick(NMHDR* nm, LRESULT* result) {
    const int column = reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem;
    SortByColumn(column, column == m_sortColumn ? !m_ascending : 1);
    *result = 0;
}

void CSkinListCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    {
        CMemDC buffer(dc, client);
        buffer.FillSolidRect(&client, GetBkColor());
        if (m_header.m_hWnd && m_header.IsWindowVisible()) {
            CRect h;
            m_header.GetWindowRect(&h);
            ScreenToClient(&h);
            ::ExcludeClipRect(dc, h.left, h.top, h.right, h.bottom);
        }
        SetTextBkColor(static_cast<COLORREF>(SendMessage(LVM_GETTEXTBKCOLOR)));
        RefreshBars();
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(buffer.m_hDC), 0);
    }
    // Custom draw gave the selected rows their state back, which asks for
    // a repaint of what was just painted.
    ::ValidateRect(m_hWnd, nullptr);
    ::EndPaint(m_hWnd, &ps);
}

BOOL CSkinListCtrl::OnEraseBkgnd(CDC*) {
    RefreshBars();
    return TRUE;
}

BOOL CSkinListCtrl::OnMouseWheel(UINT, short, CPoint) {
    RefreshBars();
    const BOOL handled = static_cast<BOOL>(Default());
    RefreshBars();
    return handled;
}

void CSkinListCtrl::OnKeyDown(UINT, UINT, UINT) {
    RefreshBars();
    Default();
    RefreshBars();
}

void CSkinListCtrl::OnKeyUp(UINT, UINT, UINT) {
    RefreshBars();
    Default();
}

void CSkinListCtrl::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    UpdateWindow();
    Default();
}

void CSkinListCtrl::OnDestroy() {
    FreeRows();
    Default();
}

void CSkinListCtrl::OnWindowPosChanged(WINDOWPOS* pos) {
    Default();
    if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) PlaceBars();
}

#include "lobby/ui/KvTreeCtrl.h"

#include <gdiplus.h>

BEGIN_MESSAGE_MAP(CKvTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

HTREEITEM CKvTreeCtrl::FindFrom(HTREEITEM item, int id) {
    for (; item; item = GetNextSiblingItem(item)) {
        CTreeData* node = ItemNode(item);
        if (node && node->m_id == id) return item;
        if (HTREEITEM found = FindFrom(GetChildItem(item), id)) return found;
    }
    return nullptr;
}

HTREEITEM CKvTreeCtrl::FindItem(int id) {
    Lock();
    HTREEITEM item = FindFrom(GetRootItem(), id);
    Unlock();
    return item;
}

int CALLBACK CKvTreeCtrl::CompareIds(LPARAM a, LPARAM b, LPARAM) {
    const CTreeData* x = reinterpret_cast<const CTreeData*>(a);
    const CTreeData* y = reinterpret_cast<const CTreeData*>(b);
    if (!x || !y) return 0;
    return x->m_id < y->m_id ? -1 : x->m_id > y->m_id ? 1 : 0;
}

BOOL CKvTreeCtrl::SortChildren(HTREEITEM parent) { return SortChildrenCB(parent, CompareIds, 0); }

int CKvTreeCtrl::GetItemPath(int roomId, std::string& path) {
    Lock();
    CTreeData* node = nullptr;
    FindRoom(roomId, &node);
    HTREEITEM item = node ? FindItem(node->m_id) : nullptr;
    if (!item) {
        Unlock();
        return 0;
    }
    path = node->m_name;
    for (HTREEITEM up = GetParentItem(item); up; up = GetParentItem(up))
        path = std::string(GetItemText(up)) + "\\" + path;
    Unlock();
    return 1;
}

void CKvTreeCtrl::SetBkImage(Gdiplus::Image* image) {
    m_bkImage = image;
    m_bkWidth = image ? static_cast<int>(image->GetWidth()) : 0;
    m_bkHeight = image ? static_cast<int>(image->GetHeight()) : 0;
    SetBkColor(0xFF00FF);
}

void CKvTreeCtrl::OnCustomDraw(NMHDR* header, LRESULT* result) {
    NMTVCUSTOMDRAW* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // Other items are in their node's colour. The selected one keeps the
        // control's selection colours while the tree has the focus; without it
        // the tree would draw the text in the node's (or its own) colour, white
        // here, on the light selection box: it is dark text on the button face.
        // (Whether the tree has the focus is asked: some controls mark the
        // selected item CDIS_FOCUS whatever has the focus.)
        CTreeData* node = reinterpret_cast<CTreeData*>(draw->nmcd.lItemlParam);
        if (!(draw->nmcd.uItemState & CDIS_SELECTED)) {
            if (node) draw->clrText = node->m_color;
        } else if (::GetFocus() != m_hWnd) {
            draw->clrText = ::GetSysColor(COLOR_BTNTEXT);
            draw->clrTextBk = ::GetSysColor(COLOR_BTNFACE);
        }
    }
}

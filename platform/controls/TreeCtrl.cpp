#include "platform/controls/TreeCtrl.h"

#include "platform/controls/ImageList.h"

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CreateEx(0, WC_TREEVIEWA, "", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<LPSTR>(text);
    ins.item.iImage = image;
    ins.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    char buf[1024] = "";
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = sizeof buf;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return CString(buf);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return static_cast<DWORD_PTR>(tv.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    tv.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = image;
    tv.iSelectedImage = selectedImage;
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
    TVHITTESTINFO info{};
    info.pt = point;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags) *flags = info.flags;
    return item;
}

BOOL CTreeCtrl::SortChildrenCB(HTREEITEM parent, PFNTVCOMPARE compare, LPARAM data) {
    TVSORTCB sort{parent, compare, data};
    return static_cast<BOOL>(SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
}

HIMAGELIST CTreeCtrl::SetImageList(CImageList* list, int kind) {
    return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                                                    reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr)));
}

#include "platform/controls/ImageList.h"

#include "platform/Gdi.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (!list) return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST h = m_hImageList;
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}

BOOL CImageList::Draw(CDC* dc, int index, POINT at, UINT style) {
    return ImageList_Draw(m_hImageList, index, dc->m_hDC, at.x, at.y, style);
}

#include "lobby/ui/BmpImageList.h"

int CBmpImageList::CreateOnce(int width, int height) {
    if (m_bCreated) return 0;
    m_hImageList = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 0);
    if (m_hImageList) return 1;
    m_nWidth = width;
    m_nHeight = height;
    m_bCreated = true;
    return 0;
}

int CBmpImageList::LoadBitmapFile(LPCSTR fileName, COLORREF mask) {
    HBITMAP bmp = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    if (!bmp) return -1;
    int index = m_hImageList ? ImageList_AddMasked(m_hImageList, bmp, mask) : -1;
    ::DeleteObject(bmp);
    return index;
}

void CBmpImageList::DeleteImageList() {
    if (m_hImageList) ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
}

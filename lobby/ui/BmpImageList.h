// An image list of the skin's small icons, filled from bitmap files.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CBmpImageList {
public:
    CBmpImageList() = default;
    CBmpImageList(const CBmpImageList&) = delete;
    CBmpImageList& operator=(const CBmpImageList&) = delete;
    ~CBmpImageList() { DeleteImageList(); }

    // Once only: 0 at once when already marked created.
    int CreateOnce(int width, int height);
    // The index of the added image, or -1.
    int LoadBitmapFile(LPCSTR fileName, COLORREF mask);
    void DeleteImageList();

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

private:
    bool m_bCreated = false;
    int m_nWidth = 0, m_nHeight = 0;
};

// An owner-drawn link: its label as a text picture, another colour while the
// mouse is over it; a click posts kMsgImageLinkClicked (wParam 0, lParam a heap copy
// of the address, new[]) to the parent, which opens and frees it.
#pragma once

#include "platform/Wnd.h"

namespace Gdiplus {
class Bitmap;
}

class CHyperLink2 : public CWnd {
public:
    CHyperLink2();
    ~CHyperLink2() override;

    // 1 when the window was made; its size in width, height.
    int SetLink(LPCSTR label, LPCSTR address, COLORREF textColor, COLORREF hoverColor, COLORREF bkColor,
                LPCSTR fontName, int size, int fontStyle, int x, int y, int* width, int* height, CWnd* parent);
    const CString& GetAddress() const { return m_address; }
    bool IsHovering() const { return m_bHover; }

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeaveMsg(WPARAM, LPARAM);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

private:
    CString m_label, m_address;
    COLORREF m_textColor = 0, m_hoverColor = 0, m_bkColor = 0;
    Gdiplus::Bitmap* m_pNormal = nullptr;
    Gdiplus::Bitmap* m_pHover = nullptr;
    bool m_bHover = false;
    HCURSOR m_hCursor = nullptr;

    DECLARE_MESSAGE_MAP()
};

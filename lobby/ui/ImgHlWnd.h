// A link piece of a pop-up notice: its label as a glowing text picture,
// another picture while hovered; a click opens the address with the shell.
#pragma once

#include "lobby/ui/ImgTextWnd.h"

class CImgHlWnd : public CWnd {
public:
    CImgHlWnd();
    ~CImgHlWnd() override;
    int Setup(LPCSTR label, LPCSTR address, COLORREF color, COLORREF glow, COLORREF hoverColor, COLORREF hoverGlow,
              LPCSTR fontName, int size, int fontStyle, int x, int y, int* width, int* height, CWnd* parent);
    void SetBackground(Gdiplus::Image* image) { m_pBackground = image; }
    const CString& GetAddress() const { return m_address; }
    bool IsHovering() const { return m_bHover; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeaveMsg(WPARAM, LPARAM);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, CPoint point);

    CString m_label, m_address, m_fontName;
    Gdiplus::Bitmap* m_pNormal = nullptr;
    Gdiplus::Bitmap* m_pHover = nullptr;
    Gdiplus::Image* m_pBackground = nullptr;
    COLORREF m_fill = 0xFFFFFF;
    bool m_bHover = false;
    HCURSOR m_hCursor = nullptr;

    DECLARE_MESSAGE_MAP()
};

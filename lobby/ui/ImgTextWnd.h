// A piece of a pop-up notice: text shown as a glowing text picture over the
// part of the pop-up's background that lies under the piece.
#pragma once

#include "platform/Framework.h"

namespace Gdiplus {
class Bitmap;
class Image;
}

// Paints wnd double-buffered: the background image under the window (or the
// fill colour), then the picture at (0, 0) in its own size.
void PaintImagePiece(CWnd& wnd, Gdiplus::Image* background, COLORREF fill, Gdiplus::Bitmap* picture);

class CImgTextWnd : public CWnd {
public:
    ~CImgTextWnd() override;
    // 1 when the child window was made; its size in width, height.
    int Setup(LPCSTR text, COLORREF color, COLORREF glow, LPCSTR fontName, int size, int fontStyle, int x, int y,
              int* width, int* height, CWnd* parent);
    void SetBackground(Gdiplus::Image* image) { m_pBackground = image; }
    const CString& GetText() const { return m_text; }

protected:
    void OnPaint();

    CString m_text, m_fontName;
    Gdiplus::Bitmap* m_pImage = nullptr;
    Gdiplus::Image* m_pBackground = nullptr;
    COLORREF m_fill = 0xFFFFFF;

    DECLARE_MESSAGE_MAP()
};

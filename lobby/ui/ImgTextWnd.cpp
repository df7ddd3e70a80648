#include "lobby/ui/ImgTextWnd.h"

#include <objidl.h>
#include <gdiplus.h>

#include "lobby/ui/TextImage.h"
#include "platform/DefaultWndClass.h"

void PaintImagePiece(CWnd& wnd, Gdiplus::Image* background, COLORREF fill, Gdiplus::Bitmap* picture) {
    CPaintDC paint(&wnd);
    CRect client;
    wnd.GetClientRect(&client);
    CMemDC dc(paint, client);
    Gdiplus::Graphics g(dc);
    if (background) {
        CRect place;
        wnd.GetWindowRect(&place);
        ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<POINT*>(&place), 2);
        g.DrawImage(background, Gdiplus::Rect(0, 0, client.Width(), client.Height()), place.left, place.top,
                    client.Width(), client.Height(), Gdiplus::UnitPixel);
    } else {
        HBRUSH brush = ::CreateSolidBrush(fill);
        ::FillRect(dc, &client, brush);
        ::DeleteObject(brush);
    }
    if (picture)
        g.DrawImage(picture, Gdiplus::Rect(0, 0, static_cast<INT>(picture->GetWidth()),
                                           static_cast<INT>(picture->GetHeight())));
}

BEGIN_MESSAGE_MAP(CImgTextWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CImgTextWnd::~CImgTextWnd() {
    if (m_hWnd) DestroyWindow();
    delete m_pImage;
}

int CImgTextWnd::Setup(LPCSTR text, COLORREF color, COLORREF glow, LPCSTR fontName, int size, int fontStyle, int x,
                       int y, int* width, int* height, CWnd* parent) {
    m_text = text;
    m_fontName = fontName;
    delete m_pImage;
    m_pImage = RenderGlowTextImage(text, fontName, size, fontStyle, color, glow, 0, 0);
    if (!m_pImage) return 0;
    const int w = static_cast<int>(m_pImage->GetWidth()), h = static_cast<int>(m_pImage->GetHeight());
    if (width) *width = w;
    if (height) *height = h;
    return CreateEx(0, AfxDefaultWndClass(), "", WS_CHILD | WS_VISIBLE, CRect(x, y, x + w, y + h), parent, 0xE900)
               ? 1
               : 0;
}

void CImgTextWnd::OnPaint() { PaintImagePiece(*this, m_pBackground, m_fill, m_pImage); }

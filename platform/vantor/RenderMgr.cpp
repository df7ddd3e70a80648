#include "platform/vantor/RenderMgr.h"

#include "platform/BitmapDraw.h"
#include "platform/TextFont.h"

RenderMgr::RenderMgr() = default;
RenderMgr::~RenderMgr() = default;

BOOL RenderMgr::DrawTextToDC(CDC* dc, LPCSTR text, int x, int y, LPCSTR fontName, int fontHeight, COLORREF color,
                             UINT format, int weight) {
    if (!dc || !dc->m_hDC || !text) return FALSE;
    HDC hdc = dc->m_hDC;
    HFONT font = AfxTextFont(fontName ? fontName : "", fontHeight, weight);
    HGDIOBJ oldFont = ::SelectObject(hdc, font);
    int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    COLORREF oldColor = ::SetTextColor(hdc, color);
    RECT r = {x, y, x, y};
    ::DrawTextA(hdc, text, -1, &r, (format | DT_CALCRECT) & ~static_cast<UINT>(DT_CENTER | DT_RIGHT));
    int drawn = ::DrawTextA(hdc, text, -1, &r, format | DT_NOCLIP);
    ::SetTextColor(hdc, oldColor);
    ::SetBkMode(hdc, oldMode);
    ::SelectObject(hdc, oldFont);
    return drawn != 0;
}

BOOL RenderMgr::DrawAlphaCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                     BYTE alpha) {
    if (!dc || !bitmap) return FALSE;
    return bitmap_draw::Blend(dc->m_hDC, *bitmap, x, y, cx, cy, srcX, srcY, alpha);
}

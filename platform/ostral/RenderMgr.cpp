#include "platform/ostral/RenderMgr.h"

#include "platform/BitmapDraw.h"

RenderMgr::RenderMgr() = default;
RenderMgr::~RenderMgr() = default;

BOOL RenderMgr::DrawAlphaCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                     BYTE alpha) {
    if (!dc || !bitmap) return FALSE;
    return bitmap_draw::Blend(dc->m_hDC, *bitmap, x, y, cx, cy, srcX, srcY, alpha);
}

BOOL RenderMgr::DrawCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                DWORD rop) {
    if (!dc || !bitmap) return FALSE;
    return bitmap_draw::Copy(dc->m_hDC, *bitmap, x, y, cx, cy, srcX, srcY, rop);
}

BOOL RenderMgr::DrawCBitmapToDCWithColorMask(CDC* dc, CBitmap* bitmap, COLORREF mask, int x, int y, int cx, int cy,
                                             int srcX, int srcY, int srcCx, int srcCy) {
    if (!dc || !bitmap) return FALSE;
    return bitmap_draw::Keyed(dc->m_hDC, *bitmap, mask, x, y, cx, cy, srcX, srcY, srcCx, srcCy);
}

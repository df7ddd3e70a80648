// Bitmap drawing helpers: plain, with constant alpha, or with a key colour
// left out. An object of the class marks a drawing scope.
#pragma once

#include <windows.h>

#include "platform/Gdi.h"
#include "platform/ostral/OstralApi.h"

class OSTRAL_API RenderMgr {
public:
    RenderMgr();
    ~RenderMgr();
    RenderMgr(const RenderMgr&) = delete;
    RenderMgr& operator=(const RenderMgr&) = delete;

    // Sizes of 0 mean the rest of the bitmap from the source offset.
    static BOOL DrawAlphaCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                     BYTE alpha);
    static BOOL DrawCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                DWORD rop);
    // Pixels of colour mask are left out; the source part (srcX, srcY, srcCx,
    // srcCy) is stretched to (x, y, cx, cy).
    static BOOL DrawCBitmapToDCWithColorMask(CDC* dc, CBitmap* bitmap, COLORREF mask, int x, int y, int cx, int cy,
                                             int srcX, int srcY, int srcCx, int srcCy);
};

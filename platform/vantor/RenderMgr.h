// Drawing helpers of the image library: a text and an alpha-blended bitmap
// into a device context. An object of the class marks a drawing scope.
#pragma once

#include <windows.h>

#include "platform/Gdi.h"
#include "platform/vantor/VantorApi.h"

class VANTOR_API RenderMgr {
public:
    RenderMgr();
    ~RenderMgr();
    RenderMgr(const RenderMgr&) = delete;
    RenderMgr& operator=(const RenderMgr&) = delete;

    // Text with its top-left corner at (x, y), transparent background, in a
    // GB2312 font of that face and height; format takes DrawText flags.
    static BOOL DrawTextToDC(CDC* dc, LPCSTR text, int x, int y, LPCSTR fontName, int fontHeight, COLORREF color,
                             UINT format = 0, int weight = FW_NORMAL);
    // The bitmap's part from (srcX, srcY), cx x cy (0: the rest of it),
    // blended over the DC at (x, y) with constant alpha 0..255.
    static BOOL DrawAlphaCBitmapToDC(CDC* dc, CBitmap* bitmap, int x, int y, int cx, int cy, int srcX, int srcY,
                                     BYTE alpha);
};

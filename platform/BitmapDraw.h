// Drawing a bitmap into a DC: plain, with a constant alpha, or with a key
// colour left out. Sizes of 0 (or less) mean "the rest of the bitmap from the
// source offset". Each returns FALSE for a missing DC or bitmap.
#pragma once

#include <windows.h>

namespace bitmap_draw {

BOOL Copy(HDC dc, HBITMAP bitmap, int x, int y, int cx, int cy, int srcX, int srcY, DWORD rop);
BOOL Blend(HDC dc, HBITMAP bitmap, int x, int y, int cx, int cy, int srcX, int srcY, BYTE alpha);
// The source rectangle (srcX, srcY, srcCx, srcCy) is stretched to (x, y, cx, cy).
BOOL Keyed(HDC dc, HBITMAP bitmap, COLORREF key, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx,
           int srcCy);

}  // namespace bitmap_draw

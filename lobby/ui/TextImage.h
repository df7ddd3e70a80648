// Text drawn into GDI+ pictures: plain on a transparent ground, or ringed
// with a glow colour. Alignments: 0 near, 1 centre, 2 far. Font styles as
// GDI+ gives them (0 regular, 1 bold, 4 underline). Size in pixels.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

// A new picture, or null; the caller deletes it.
Gdiplus::Bitmap* RenderTextImage(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color,
                                 int hAlign, int vAlign);
Gdiplus::Bitmap* RenderGlowTextImage(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color,
                                     COLORREF glow, int hAlign, int vAlign);
// A new picture of the source's size: text pixels (those not of the opaque
// key colour) copied and ringed with glow, the rest transparent.
Gdiplus::Bitmap* MakeGlow(Gdiplus::Bitmap* source, COLORREF glow, COLORREF key);

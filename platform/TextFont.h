#pragma once
// Fonts of the texts the programs draw themselves. A height is the character
// height in pixels (GDI's negative lfHeight): on Windows SimSun's cell equals
// its em, so -12 is what a cell height of 12 gives there, while a font whose
// cell is taller than its em keeps the em asked for instead of shrinking.
// Drawing and measuring take their font from here, so a text is measured in
// the font it is drawn in.
#include <windows.h>

// The LOGFONT of such a font: character set GB2312, default precision.
LOGFONTA AfxTextLogFont(LPCSTR face, int height, int weight = FW_NORMAL, BOOL underline = FALSE,
                        BYTE quality = ANTIALIASED_QUALITY, BYTE pitchAndFamily = DEFAULT_PITCH | FF_SWISS);

// The font itself, made once per face, height, weight, underline, quality and
// pitch, and kept for the process's life: the caller never deletes it.
HFONT AfxTextFont(LPCSTR face, int height, int weight = FW_NORMAL, BOOL underline = FALSE,
                  BYTE quality = ANTIALIASED_QUALITY, BYTE pitchAndFamily = DEFAULT_PITCH | FF_SWISS);

// Width and height of a text (length -1: up to its NUL) in a font on a DC.
SIZE AfxTextExtent(HDC dc, HFONT font, LPCSTR text, int length = -1);

#pragma once
// Fonts of the texts the programs draw themselves. A positive height is a
// cell height, as Windows reads it: the font gets the character height (GDI's
// negative lfHeight) that a cell of that height gives the face on Windows, so
// a text keeps its Windows size whatever face stands in for it. SimSun's and
// SimHei's cell is their em (12 stays 12); Arial's is about 1.12 em (14 gives
// 13). A face the table does not know keeps the height as its em; a negative
// height is a character height already. Drawing and measuring take their
// font from here, so a text is measured in the font it is drawn in.
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

// Window regions cut from pictures, so that windows and buttons take the shape
// of their image.
#pragma once

#include <windows.h>

class CxImage;

// A new region (owned by the caller) covering the picture's visible pixels:
// its fully opaque ones when the alpha channel is valid, else every pixel
// that is not the key colour magenta (0xFF00FF). Null for a null image. The
// selection it makes stays set on the picture. The key colour and level that
// some callers pass are not used: the key is always magenta.
HRGN CreateRegionFromImage(CxImage* image, COLORREF keyColor = RGB(255, 0, 255), int level = 255);

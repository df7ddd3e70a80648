// Drawing helpers of the skinned controls: borrowed pictures that may be
// missing.
#pragma once

#include <windows.h>

#include "platform/vantor/CxImage.h"

namespace skin {

inline int Width(const CxImage* p) { return p && p->IsValid() ? static_cast<int>(p->GetWidth()) : 0; }
inline int Height(const CxImage* p) { return p && p->IsValid() ? static_cast<int>(p->GetHeight()) : 0; }
// Draws p at (x, y), stretched to cx x cy (-1: natural size); nothing without a picture.
inline void Draw(CxImage* p, HDC dc, int x, int y, int cx = -1, int cy = -1) {
    if (p && p->IsValid() && cx != 0 && cy != 0) p->Draw(dc, x, y, cx, cy);
}

}  // namespace skin

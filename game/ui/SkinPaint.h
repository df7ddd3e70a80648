// Drawing helpers of the skinned controls: borrowed pictures that may be
// missing, and a memory buffer for flicker-free painting.
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

// A memory DC with a bitmap compatible with target, copied out by Flush.
class Buffer {
public:
    Buffer(HDC target, int width, int height)
        : target_(target), width_(width), height_(height), dc_(::CreateCompatibleDC(target)),
          bitmap_(::CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          old_(::SelectObject(dc_, bitmap_)) {}
    ~Buffer() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    HDC dc() const { return dc_; }
    void Fill(COLORREF colour) {
        RECT r = {0, 0, width_, height_};
        ::SetBkColor(dc_, colour);
        ::ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    void Flush() { ::BitBlt(target_, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY); }

private:
    HDC target_;
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

}  // namespace skin

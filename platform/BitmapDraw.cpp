#include "platform/BitmapDraw.h"

namespace bitmap_draw {

namespace {

// Selects the bitmap into a memory DC for one draw.
class SourceDC {
public:
    SourceDC(HDC target, HBITMAP bitmap) : dc_(::CreateCompatibleDC(target)) {
        if (dc_) old_ = ::SelectObject(dc_, bitmap);
        if (!::GetObjectA(bitmap, sizeof(bm_), &bm_)) bm_ = BITMAP{};
    }
    ~SourceDC() {
        if (!dc_) return;
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    SourceDC(const SourceDC&) = delete;
    SourceDC& operator=(const SourceDC&) = delete;
    HDC dc() const { return dc_; }
    bool ok() const { return dc_ && bm_.bmWidth > 0 && bm_.bmHeight > 0; }
    // Fills in sizes left at 0: the rest of the bitmap from the offset.
    void Extent(int srcX, int srcY, int& cx, int& cy) const {
        if (cx <= 0) cx = bm_.bmWidth - srcX;
        if (cy <= 0) cy = bm_.bmHeight - srcY;
    }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
    BITMAP bm_{};
};

}  // namespace

BOOL Copy(HDC dc, HBITMAP bitmap, int x, int y, int cx, int cy, int srcX, int srcY, DWORD rop) {
    if (!dc || !bitmap) return FALSE;
    SourceDC src(dc, bitmap);
    if (!src.ok()) return FALSE;
    src.Extent(srcX, srcY, cx, cy);
    return ::BitBlt(dc, x, y, cx, cy, src.dc(), srcX, srcY, rop);
}

BOOL Blend(HDC dc, HBITMAP bitmap, int x, int y, int cx, int cy, int srcX, int srcY, BYTE alpha) {
    if (!dc || !bitmap) return FALSE;
    SourceDC src(dc, bitmap);
    if (!src.ok()) return FALSE;
    src.Extent(srcX, srcY, cx, cy);
    if (cx <= 0 || cy <= 0) return FALSE;
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, alpha, 0};
    return ::AlphaBlend(dc, x, y, cx, cy, src.dc(), srcX, srcY, cx, cy, bf);
}

BOOL Keyed(HDC dc, HBITMAP bitmap, COLORREF key, int x, int y, int cx, int cy, int srcX, int srcY, int srcCx,
           int srcCy) {
    if (!dc || !bitmap) return FALSE;
    SourceDC src(dc, bitmap);
    if (!src.ok()) return FALSE;
    src.Extent(srcX, srcY, srcCx, srcCy);
    if (cx <= 0) cx = srcCx;
    if (cy <= 0) cy = srcCy;
    if (cx <= 0 || cy <= 0 || srcCx <= 0 || srcCy <= 0) return FALSE;
    return ::TransparentBlt(dc, x, y, cx, cy, src.dc(), srcX, srcY, srcCx, srcCy, key);
}

}  // namespace bitmap_draw

// Ostral's bitmap drawing helpers.
#include "platform/ostral/RenderMgr.h"

#include <gtest/gtest.h>

#include "tests/platform/WindowCapture.h"

namespace {

constexpr COLORREF M = RGB(255, 0, 255);

// 4 x 2: magenta, red, green, blue on the top row; white below.
HBITMAP Source() {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 2);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    const COLORREF top[] = {M, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int x = 0; x < 4; ++x) {
        SetPixel(dc, x, 0, top[x]);
        SetPixel(dc, x, 1, RGB(255, 255, 255));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bmp;
}

class Target {
public:
    Target() {
        HDC screen = GetDC(nullptr);
        dc.Attach(CreateCompatibleDC(screen));
        bmp = CreateCompatibleBitmap(screen, 16, 8);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
        RECT r = {0, 0, 16, 8};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bmp);
    }
    Capture Read() { return CaptureDC(dc, 16, 8); }
    CDC dc;

private:
    HBITMAP bmp;
    HGDIOBJ old;
};

}  // namespace

TEST(OstralRenderMgr, CopiesTheBitmapOrAPartOfIt) {
    RenderMgr scope;
    CBitmap src;
    src.Attach(Source());
    Target t;
    EXPECT_TRUE(RenderMgr::DrawCBitmapToDC(&t.dc, &src, 2, 1, 0, 0, 0, 0, SRCCOPY));
    Capture px = t.Read();
    EXPECT_EQ(px.At(2, 1), M);
    EXPECT_EQ(px.At(5, 1), RGB(0, 0, 255));
    EXPECT_EQ(px.At(5, 2), RGB(255, 255, 255));
    EXPECT_EQ(px.At(6, 1), RGB(0, 0, 0));  // nothing beyond the bitmap

    // From an offset, the rest of the bitmap.
    EXPECT_TRUE(RenderMgr::DrawCBitmapToDC(&t.dc, &src, 10, 5, 0, 0, 2, 0, SRCCOPY));
    px = t.Read();
    EXPECT_EQ(px.At(10, 5), RGB(0, 255, 0));
    EXPECT_EQ(px.At(11, 5), RGB(0, 0, 255));
    EXPECT_EQ(px.At(12, 5), RGB(0, 0, 0));
}

TEST(OstralRenderMgr, ColorMaskLeavesTheKeyOutAndStretches) {
    CBitmap src;
    src.Attach(Source());
    Target t;
    EXPECT_TRUE(RenderMgr::DrawCBitmapToDCWithColorMask(&t.dc, &src, M, 0, 0, 0, 0, 0, 0, 0, 0));
    Capture px = t.Read();
    EXPECT_EQ(px.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(px.At(1, 0), RGB(255, 0, 0));
    // Twice the size.
    EXPECT_TRUE(RenderMgr::DrawCBitmapToDCWithColorMask(&t.dc, &src, M, 8, 0, 8, 4, 0, 0, 4, 2));
    px = t.Read();
    EXPECT_EQ(px.At(8, 0), RGB(0, 0, 0));
    EXPECT_EQ(px.At(11, 1), RGB(255, 0, 0));
    EXPECT_EQ(px.At(15, 3), RGB(255, 255, 255));
}

TEST(OstralRenderMgr, BlendsWithAConstantAlpha) {
    CBitmap src;
    src.Attach(Source());
    Target t;
    RenderMgr::DrawAlphaCBitmapToDC(&t.dc, &src, 0, 0, 1, 2, 1, 0, 0);    // alpha 0: nothing
    RenderMgr::DrawAlphaCBitmapToDC(&t.dc, &src, 1, 0, 1, 2, 1, 0, 255);  // opaque
    RenderMgr::DrawAlphaCBitmapToDC(&t.dc, &src, 2, 0, 1, 2, 1, 0, 128);  // half
    Capture px = t.Read();
    EXPECT_EQ(px.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(px.At(1, 0), RGB(255, 0, 0));
    EXPECT_NEAR(px.Red(2, 0), 128, 2);
    EXPECT_EQ(px.At(3, 0), RGB(0, 0, 0));  // one column only

    EXPECT_FALSE(RenderMgr::DrawAlphaCBitmapToDC(nullptr, &src, 0, 0, 1, 1, 0, 0, 9));
    EXPECT_FALSE(RenderMgr::DrawCBitmapToDC(&t.dc, nullptr, 0, 0, 0, 0, 0, 0, SRCCOPY));
    CBitmap empty;
    EXPECT_FALSE(RenderMgr::DrawCBitmapToDCWithColorMask(&t.dc, &empty, M, 0, 0, 0, 0, 0, 0, 0, 0));
}

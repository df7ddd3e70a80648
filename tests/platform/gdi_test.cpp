// Rectangles, GDI objects and device contexts.
#include "platform/Framework.h"
#include "platform/TextFont.h"

#include <gtest/gtest.h>

TEST(CRect, IntersectAndUnionHandleEmptyRectangles) {
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));  // touching edges
    EXPECT_TRUE(r.IsRectNull());

    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 5, 5), CRect(10, 10, 12, 12)));
    EXPECT_EQ(r, CRect(0, 0, 12, 12));
    // An empty rectangle adds nothing, wherever it lies.
    EXPECT_TRUE(r.UnionRect(CRect(100, 100, 100, 100), CRect(1, 2, 3, 4)));
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
    EXPECT_FALSE(r.UnionRect(CRect(), CRect(5, 5, 5, 9)));

    CRect m(10, 20, 30, 60);
    m.MoveToXY(0, 0);
    EXPECT_EQ(m, CRect(0, 0, 20, 40));
    EXPECT_TRUE(m.PtInRect(CPoint(0, 0)));
    EXPECT_FALSE(m.PtInRect(CPoint(20, 10)));  // right edge excluded
    CRect n(30, 40, 10, 20);
    n.NormalizeRect();
    EXPECT_EQ(n, CRect(10, 20, 30, 40));
    EXPECT_EQ(CPoint(MAKELPARAM(-5, 7)), CPoint(-5, 7));  // signed mouse coordinates
}

TEST(CDC, SelectObjectGivesBackWhatWasSelected) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    CFont a, b;
    a.CreateFont(12, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    b.CreateFont(20, 0, 0, 0, 700, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    CFont* first = dc.SelectObject(&a);
    CFont* second = dc.SelectObject(&b);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->m_hObject, original);
    EXPECT_EQ(second->m_hObject, a.m_hObject);
    dc.SelectObject(second);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), a.m_hObject);
    dc.SelectObject(first);  // still the original after the second select
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
    AfxDeleteTempMaps();
    // The wrappers owned nothing: the stock font is still usable.
    EXPECT_NE(GetObjectA(original, 0, nullptr), 0);
}

TEST(CDC, DrawsIntoABitmap) {
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 20, 10));
    ReleaseDC(nullptr, screen.Detach());
    EXPECT_EQ(bmp.GetSize(), CSize(20, 10));
    CBitmap* old = mem.SelectObject(&bmp);
    mem.FillSolidRect(0, 0, 20, 10, RGB(1, 2, 3));
    mem.FillSolidRect(CRect(5, 5, 10, 10), RGB(200, 100, 50));
    EXPECT_EQ(mem.GetPixel(0, 0) & 0xFFFFFF, RGB(1, 2, 3));
    EXPECT_EQ(mem.GetPixel(7, 7) & 0xFFFFFF, RGB(200, 100, 50));
    mem.SelectObject(old);
}

namespace {

// A 40 x 30 screen-compatible bitmap in a memory DC, all blue.
struct Canvas {
    Canvas() {
        HDC screen = GetDC(nullptr);
        dc.Attach(CreateCompatibleDC(screen));
        bitmap.Attach(CreateCompatibleBitmap(screen, 40, 30));
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        dc.FillSolidRect(0, 0, 40, 30, kBlue);
    }
    ~Canvas() { SelectObject(dc, old); }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y) & 0xFFFFFF; }
    static constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);
    CBitmap bitmap;
    CDC dc;
    HGDIOBJ old;
};

}  // namespace

TEST(CMemDC, DrawsInTheTargetsCoordinatesAndReachesOnlyItsRectangleWhenItGoes) {
    Canvas target;
    {
        CMemDC mem(target.dc, CRect(10, 5, 30, 25));
        EXPECT_TRUE(mem.IsNew());
        mem.FillSolidRect(0, 0, 40, 30, Canvas::kRed);  // beyond its rectangle too
        mem.FillSolidRect(CRect(10, 5, 12, 7), Canvas::kGreen);
        EXPECT_EQ(target.At(20, 15), Canvas::kBlue);  // nothing before it goes
    }
    EXPECT_EQ(target.At(10, 5), Canvas::kGreen);
    EXPECT_EQ(target.At(11, 6), Canvas::kGreen);
    EXPECT_EQ(target.At(12, 7), Canvas::kRed);
    EXPECT_EQ(target.At(29, 24), Canvas::kRed);
    for (POINT p : {POINT{9, 15}, POINT{30, 15}, POINT{20, 4}, POINT{20, 25}})
        EXPECT_EQ(target.At(p.x, p.y), Canvas::kBlue) << p.x << "," << p.y;
}

TEST(CMemDC, AKeptBitmapIsMadeForItsSizeAndKeepsItsPicture) {
    Canvas target;
    CBitmap kept;
    {
        CMemDC mem(target.dc, CRect(0, 0, 20, 10), kept);
        ASSERT_TRUE(mem.IsNew());
        mem.FillSolidRect(0, 0, 20, 10, Canvas::kRed);
    }
    target.dc.FillSolidRect(0, 0, 40, 30, Canvas::kBlue);
    {
        CMemDC mem(target.dc, CRect(0, 0, 20, 10), kept);  // nothing drawn: the kept picture
        EXPECT_FALSE(mem.IsNew());
    }
    EXPECT_EQ(target.At(19, 9), Canvas::kRed);
    EXPECT_EQ(target.At(20, 9), Canvas::kBlue);
    {
        CMemDC mem(target.dc, CRect(0, 0, 30, 10), kept);
        EXPECT_TRUE(mem.IsNew());
    }
    EXPECT_EQ(kept.GetSize(), CSize(30, 10));
}

TEST(CMemDC, CopiesBackOnlyTheGivenPartsWithinItsRectangle) {
    Canvas target;
    {
        CMemDC mem(target.dc, CRect(10, 10, 30, 20));
        mem.FillSolidRect(0, 0, 40, 30, Canvas::kRed);
        mem.CopyBackOnly(CRect(12, 12, 14, 14));
        mem.CopyBackOnly(CRect(25, 0, 40, 30));  // reaches only 25..30 x 10..20
    }
    EXPECT_EQ(target.At(12, 12), Canvas::kRed);
    EXPECT_EQ(target.At(13, 13), Canvas::kRed);
    EXPECT_EQ(target.At(14, 14), Canvas::kBlue);
    EXPECT_EQ(target.At(10, 10), Canvas::kBlue);
    EXPECT_EQ(target.At(25, 10), Canvas::kRed);
    EXPECT_EQ(target.At(29, 19), Canvas::kRed);
    for (POINT p : {POINT{30, 15}, POINT{27, 9}, POINT{27, 20}})
        EXPECT_EQ(target.At(p.x, p.y), Canvas::kBlue) << p.x << "," << p.y;
    {
        CMemDC mem(target.dc, CRect(0, 0, 5, 5));
        mem.FillSolidRect(0, 0, 5, 5, Canvas::kGreen);
        mem.CopyBackOnly(CRect(20, 20, 30, 30));  // nothing of it lies within: nothing goes
    }
    EXPECT_EQ(target.At(0, 0), Canvas::kBlue);
}

TEST(CGdiObject, OwnsItsHandleUntilDetached) {
    HGDIOBJ kept;
    {
        CBrush brush(RGB(1, 2, 3));
        kept = brush.Detach();
        EXPECT_EQ(brush.m_hObject, nullptr);
    }
    EXPECT_NE(GetObjectA(kept, 0, nullptr), 0);
    DeleteObject(kept);

    HGDIOBJ gone;
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        gone = pen.m_hObject;
    }
    EXPECT_EQ(GetObjectA(gone, 0, nullptr), 0);
}

TEST(CRgn, CombinesAndOffsets) {
    CRgn a, b, both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(20, 0, 30, 10);
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(25, 5));
    EXPECT_FALSE(both.PtInRegion(15, 5));
    both.OffsetRgn(0, 100);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 100, 30, 110));
}

TEST(TextFont, AsksForTheCharacterHeightAndSharesOneFontPerKind) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (int height : {12, 14}) {
        HFONT font = AfxTextFont("宋体", height);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(AfxTextFont("宋体", height), font);  // made once, kept
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICA tm{};
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        // The em, not the cell, is the height asked for (to a rounding), whatever the face's leading.
        EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, height, 1);
        EXPECT_EQ(AfxTextExtent(dc, font, "排序").cy, tm.tmHeight);
    }
    EXPECT_NE(AfxTextFont("宋体", 12, FW_BOLD), AfxTextFont("宋体", 12));
    EXPECT_NE(AfxTextFont("宋体", 12, FW_NORMAL, TRUE), AfxTextFont("宋体", 12));
    EXPECT_EQ(AfxTextLogFont("黑体", -18, FW_BOLD).lfHeight, -18);  // already a character height
    EXPECT_EQ(AfxTextExtent(dc, AfxTextFont("宋体", 12), "").cx, 0);
    ::DeleteDC(dc);
}

// A cell height gives the em Windows draws in it: Arial's cell is 2288 of its
// 2048 units, SimSun's and SimHei's is their em; a face not listed keeps it.
TEST(TextFont, ACellHeightGivesTheFacesEmOnWindows) {
    EXPECT_EQ(AfxTextLogFont("Arial", 14).lfHeight, -13);
    EXPECT_EQ(AfxTextLogFont("arial", 12).lfHeight, -11);
    EXPECT_EQ(AfxTextLogFont("Arial", -14).lfHeight, -14);
    EXPECT_EQ(AfxTextFont("Arial", 14), AfxTextFont("Arial", -13));
    for (const char* face : {"宋体", "新宋体", "黑体", "SimSun", "NSimSun", "SimHei", "No Such Face", ""})
        for (int height : {12, 14}) EXPECT_EQ(AfxTextLogFont(face, height).lfHeight, -height) << face;
}

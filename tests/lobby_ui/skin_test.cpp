// The skin object against the generated stand-in skin: loading, stopping at
// the first failure, the user text, regions from a key colour, frame drawing
// and the glowing text picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/TextImage.h"
#include "tests/platform/WindowCapture.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A copy of the skin ini beside it (the picture paths stay valid), edited.
std::string SkinCopy(const std::string& name, const std::string& cutFrom = "", const std::string& cutTo = "") {
    std::string text = ReadAll(SkinIniPath());
    if (!cutFrom.empty()) {
        size_t a = text.find(cutFrom), b = text.find(cutTo, a);
        text.erase(a, b - a);
    }
    std::string path = SkinIniPath();
    path = path.substr(0, path.find_last_of('\\') + 1) + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A bitmap of w x h in key colour with one opaque rectangle (none when empty).
void MakeBitmap(CMyBitmap& bmp, int w, int h, const RECT& opaque) {
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP b = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, b);
    RECT all = {0, 0, w, h};
    HBRUSH key = ::CreateSolidBrush(RGB(255, 0, 255)), ink = ::CreateSolidBrush(RGB(10, 20, 30));
    ::FillRect(mem, &all, key);
    ::FillRect(mem, &opaque, ink);
    ::DeleteObject(key);
    ::DeleteObject(ink);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    bmp.Attach(b);
}

}  // namespace

TEST(SkinRes, GeneratedSkinLoadsWhole) {
    CSkinRes skin;
    ASSERT_EQ(skin.Load(SkinIniPath().c_str()), 1);
    EXPECT_EQ(skin.GetTitleHeight(), 28);
    EXPECT_EQ(skin.GetBorderBottom(), 6);
    EXPECT_EQ(skin.GetBkColor(2), RGB(210, 225, 245));
    EXPECT_EQ(skin.GetListColor(2), RGB(230, 240, 250));
    EXPECT_EQ(skin.GetUserEditRect(), CRect(100, 48, 220, 68));
    CMyBitmap* bitmaps[] = {skin.GetBtnMaxImage(),      skin.GetBtnMinImage(),      skin.GetBtnCloseImage(),
                            skin.GetBtnNormalImage(),   skin.GetDlgBorderTLImage(), skin.GetDlgBorderTMImage(),
                            skin.GetDlgBorderTRImage(), skin.GetDlgBorderLImage(),  skin.GetDlgBorderRImage(),
                            skin.GetDlgBorderBLImage(), skin.GetDlgBorderBMImage(), skin.GetDlgBorderBRImage(),
                            skin.GetTabBmp1Image(),     skin.GetTabBmp2Image(),     skin.GetLoginBkImage()};
    for (CMyBitmap* b : bitmaps) EXPECT_TRUE(b != nullptr);
    EXPECT_EQ(skin.GetBtnCloseImage()->Size(), CSize(80, 18));
    Gdiplus::Image* images[] = {
        skin.GetTreeTopImage(),  skin.GetDeskImage(),        skin.GetEmptySeatImage(),  skin.GetStartImage(),
        skin.GetStartImage2(),   skin.GetExitImage(),        skin.GetExitImage2(),      skin.GetBtnMiraboImage(),
        skin.GetBtnPartnerImage(), skin.GetLoginBtnCloseImage(), skin.GetBmpToLeft(),   skin.GetBmpToRight(),
        skin.GetWaitImage(),     skin.GetPopMsgBkImage(),    skin.GetPopMsgCloseImage(), skin.GetPopMsgBk2Image(),
        skin.GetPopMsgClose2Image(), skin.GetImage(0),       skin.GetImage(26),         skin.GetSeatImage(3)};
    for (Gdiplus::Image* i : images) {
        ASSERT_TRUE(i != nullptr);
        EXPECT_EQ(i->GetLastStatus(), Gdiplus::Ok);
        EXPECT_GT(i->GetWidth(), 0u);
    }
    EXPECT_EQ(skin.GetImage(-1), nullptr);
    EXPECT_EQ(skin.GetImage(27), nullptr);
    // Past the lists: null and colour 0, not a read past the end.
    EXPECT_EQ(skin.GetSeatImage(5), nullptr);
    EXPECT_EQ(skin.GetListColor(6), 0u);
    EXPECT_EQ(skin.GetTreeImageList()->GetImageCount(), 4);
    EXPECT_EQ(skin.GetButtonPoints().size(), 9u);
    EXPECT_STREQ(skin.GetText(1), "请稍候");
    EXPECT_STREQ(skin.GetUserText(), "玩家一");
    CString style;
    int id = 0;
    EXPECT_EQ(skin.GetStyleText(1, style, id), 1);
    EXPECT_EQ(id, 2);
    EXPECT_NE(skin.GetFaceTable().Lookup("/ku1").find("face\\1.gif"), std::string::npos);
    HRGN region = skin.GetPopMsgRegion();
    ASSERT_TRUE(region != nullptr);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));  // magenta corner
    EXPECT_TRUE(::PtInRegion(region, 130, 80));
}

TEST(SkinRes, StopsAtFirstFailureAndKeepsFirstFace) {
    CSkinRes skin;
    std::string path = SkinCopy("no_png_btn.ini", "[png_btn]", "[login_dlg]");
    EXPECT_EQ(skin.Load(path.c_str()), 0);
    EXPECT_EQ(skin.GetTitleHeight(), 28);           // read before the failure
    EXPECT_TRUE(skin.GetLogoImage() != nullptr);
    EXPECT_EQ(skin.GetLoginTextColor(), 0u);        // [login_dlg] onward: constructor values
    EXPECT_EQ(skin.GetStartBtnX(), 0);
    EXPECT_EQ(skin.GetDeskImage(), nullptr);
    EXPECT_STREQ(skin.GetUserText(), "");
    EXPECT_EQ(skin.GetImage(0), nullptr);
    std::remove(path.c_str());

    CSkinRes fresh;
    EXPECT_EQ(fresh.GetTitleHeight(), 30);
    EXPECT_EQ(fresh.GetBorderBottom(), 27);
    EXPECT_EQ(fresh.Load("Z:\\no\\such\\skin.ini"), 0);
    EXPECT_EQ(fresh.Load(nullptr), 0);

    CSkinRes dup;
    path = SkinCopy("dup_face.ini");
    ::WritePrivateProfileStringA("face", "face_text_1", "/wx1", path.c_str());
    ASSERT_EQ(dup.Load(path.c_str()), 1);
    EXPECT_NE(dup.GetFaceTable().Lookup("/wx1").find("face\\0.gif"), std::string::npos);
    EXPECT_EQ(dup.GetFaceTable().Lookup("/ku1"), "");

    dup.SaveUserText("abc");
    char value[64] = "";
    ::GetPrivateProfileStringA("text", "text_user", "", value, sizeof value, path.c_str());
    EXPECT_STREQ(value, "abc");
    EXPECT_STREQ(dup.GetUserText(), "玩家一");
    std::remove(path.c_str());
}

// A count the ini gives of a section's entries is cut to the keys that section
// holds: a huge one neither exhausts the memory nor reads for ever; a negative
// one lists nothing.
TEST(SkinRes, CountsAreCutToWhatTheirSectionsHold) {
    const std::string path = SkinCopy("counts.ini");
    const char* counts[][2] = {{"btn_point", "btn_count"}, {"text", "text_count"}, {"color_list", "count"},
                               {"style_text", "count"}};
    for (auto& c : counts) ::WritePrivateProfileStringA(c[0], c[1], "2147483647", path.c_str());
    CSkinRes huge;
    ASSERT_EQ(huge.Load(path.c_str()), 1);
    EXPECT_EQ(huge.GetButtonPoints().size(), 10u) << "nine points and the count";
    EXPECT_EQ(huge.GetTextCount(), 4);
    EXPECT_STREQ(huge.GetText(1), "请稍候");
    EXPECT_EQ(huge.GetListColor(5), RGB(20, 60, 110));
    EXPECT_EQ(huge.GetStyleTextCount(), 5);

    for (auto& c : counts) ::WritePrivateProfileStringA(c[0], c[1], "-5", path.c_str());
    CSkinRes negative;
    ASSERT_EQ(negative.Load(path.c_str()), 1);
    EXPECT_TRUE(negative.GetButtonPoints().empty());
    EXPECT_LE(negative.GetTextCount(), 0);
    EXPECT_EQ(negative.GetListColor(0), 0u);
    EXPECT_EQ(negative.GetStyleTextCount(), 0);

    // The lobby buttons' images are all required: a huge count fails at the
    // first one missing, as a count of 0 fails at once.
    ::WritePrivateProfileStringA("png_btn", "btn_count", "2147483647", path.c_str());
    CSkinRes buttons;
    EXPECT_EQ(buttons.Load(path.c_str()), 0);
    EXPECT_NE(buttons.GetImage(26), nullptr);
    std::remove(path.c_str());
}

// A skin read in the background is whole for whoever asks the accessor for
// it, however early; one that goes while it loads waits for the load.
TEST(SkinRes, BackgroundLoadIsWholeWhenAsked) {
    const std::string path = SkinCopy("late_colour.ini");
    ::WritePrivateProfileStringA("enter_wait", "frame", "97", path.c_str());  // read after most pictures
    LoadedSkin()->LoadInBackground(path.c_str());
    EXPECT_EQ(GetLobbySkin()->GetWaitFrameCount(), 97);
    ASSERT_EQ(GetLobbySkin()->Load(SkinIniPath().c_str()), 1);  // the others' skin again
    {
        CSkinRes going;
        going.LoadInBackground(path.c_str());
    }
    std::remove(path.c_str());
}

TEST(SkinRes, RegionFromKeyColour) {
    CMyBitmap none, one;
    MakeBitmap(none, 20, 10, RECT{0, 0, 0, 0});
    HRGN empty = none.CreateRegion(RGB(255, 0, 255));
    RECT box;
    EXPECT_EQ(::GetRgnBox(empty, &box), NULLREGION);
    MakeBitmap(one, 20, 10, RECT{3, 2, 11, 7});
    HRGN shape = one.CreateRegion(RGB(255, 0, 255)), expect = ::CreateRectRgn(3, 2, 11, 7);
    EXPECT_TRUE(::EqualRgn(shape, expect));
    // A bitmap already held is kept; a missing file leaves the bitmap unloaded.
    std::string bg = SkinIniPath();
    bg = bg.substr(0, bg.find_last_of('\\') + 1) + "dialog\\dlg_bg.bmp";
    EXPECT_EQ(one.LoadImageFile(bg.c_str()), 0);
    EXPECT_EQ(one.Size(), CSize(20, 10));
    CMyBitmap loaded, missing;
    EXPECT_EQ(loaded.LoadFile(bg.c_str()), 1);
    EXPECT_EQ(loaded.Size(), CSize(64, 64));
    EXPECT_EQ(missing.LoadFile("Z:\\no\\such.bmp"), 0);
    EXPECT_FALSE(missing.IsLoaded());
    ::DeleteObject(empty);
    ::DeleteObject(shape);
    ::DeleteObject(expect);
}

TEST(SkinRes, DrawFrame) {
    CSkinRes* skin = LoadedSkin();
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT all = {0, 0, 64, 64};
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    CDC* dc = CDC::FromHandle(mem);
    // Expected colours are read from the tile sheets (tiles at 0, 17 and 34).
    auto sheet = [](int style, int x, int y) {
        return SkinPicturePixel(style == 1 ? "bk\\bk_style1.bmp" : "bk\\bk_style2.bmp", x, y);
    };
    // Narrower than two tiles: the corners only, no edge tiles, no fill.
    EXPECT_EQ(skin->DrawFrame(dc, 0, 0, 29, 29, 1), 1);
    EXPECT_EQ(::GetPixel(mem, 5, 5), sheet(1, 5, 5));        // top-left tile
    EXPECT_EQ(::GetPixel(mem, 20, 5), sheet(1, 34 + 6, 5));  // top-right tile at right - 16 + 1
    EXPECT_EQ(::GetPixel(mem, 31, 5), RGB(0, 0, 0));
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(skin->DrawFrame(dc, 0, 0, 63, 63, 3), 1);
    EXPECT_EQ(::GetPixel(mem, 20, 5), sheet(3, 17 + 4, 5));  // top-middle tile
    EXPECT_EQ(::GetPixel(mem, 30, 30), skin->GetBkColor(2));
    EXPECT_EQ(::GetPixel(mem, 62, 62), sheet(3, 34 + 14, 34 + 14)); // bottom-right tile: 15 pixels from 48
    EXPECT_EQ(::GetPixel(mem, 63, 63), RGB(0, 0, 0));
    EXPECT_EQ(skin->DrawFrame(dc, 0, 0, 63, 30, 5), 1);
    EXPECT_EQ(skin->DrawFrame(dc, 0, 0, 63, 30, 7), 0);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

namespace {

// A screen-compatible bitmap in a memory DC over a pattern no frame repeats.
struct PatternCanvas {
    static const int kSize = 320;
    PatternCanvas() {
        HDC screen = ::GetDC(nullptr);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, kSize, kSize);
        old = ::SelectObject(dc, bitmap);
        ::ReleaseDC(nullptr, screen);
        std::vector<uint32_t> pattern(kSize * kSize);
        for (int i = 0; i < kSize * kSize; ++i) pattern[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
        ::SetDIBitsToDevice(dc, 0, 0, kSize, kSize, 0, 0, 0, kSize, pattern.data(), Info(), DIB_RGB_COLORS);
    }
    ~PatternCanvas() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    static BITMAPINFO* Info() {
        static BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        return &bi;
    }
    std::vector<uint32_t> Pixels() const {
        std::vector<uint32_t> p(kSize * kSize);
        ::GetDIBits(dc, bitmap, 0, kSize, p.data(), Info(), DIB_RGB_COLORS);
        for (uint32_t& v : p) v &= 0xFFFFFFu;
        return p;
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

}  // namespace

// The picture a frame is laid from, composed on its first call and copied on
// the next, leaves every pixel as drawing the frame afresh does, tiny and
// overhanging rectangles too; a skin loaded again draws anew.
TEST(SkinRes, DrawFrameFromItsPictureLeavesWhatDrawingAfreshLeaves) {
    CSkinRes skin;
    ASSERT_EQ(skin.Load(SkinIniPath().c_str()), 1);
    const RECT rects[] = {{0, 0, 29, 29}, {0, 0, 63, 63}, {3, 5, 200, 90}, {7, -40, 75, 300},
                          {10, 10, 10, 10}, {250, 250, 240, 260}, {20, 30, 319, 40}};
    for (int type = 1; type <= 6; ++type) {
        for (const RECT& r : rects) {
            PatternCanvas direct, composed, copied;
            skin.DrawFrameDirect(CDC::FromHandle(direct.dc), r.left, r.top, r.right, r.bottom, type);
            skin.DrawFrame(CDC::FromHandle(composed.dc), r.left, r.top, r.right, r.bottom, type);
            skin.DrawFrame(CDC::FromHandle(copied.dc), r.left, r.top, r.right, r.bottom, type);
            const std::vector<uint32_t> want = direct.Pixels();
            EXPECT_TRUE(composed.Pixels() == want) << "type " << type << " at " << r.left << "," << r.top;
            EXPECT_TRUE(copied.Pixels() == want) << "type " << type << " at " << r.left << "," << r.top;
        }
    }
    PatternCanvas before, after;
    skin.DrawFrame(CDC::FromHandle(before.dc), 0, 0, 63, 63, 3);
    EXPECT_EQ(::GetPixel(before.dc, 30, 30), RGB(210, 225, 245));
    ASSERT_EQ(skin.Load(SkinCopy("Skin_grey_fill.ini", "bk_color2=", "\n").c_str()), 1);
    skin.DrawFrame(CDC::FromHandle(after.dc), 0, 0, 63, 63, 3);
    EXPECT_EQ(::GetPixel(after.dc, 30, 30), RGB(200, 200, 200)) << "the fill's default colour";
}

TEST(TextImage, GlowRingsTextAndLeavesNoKey) {
    std::unique_ptr<Gdiplus::Bitmap> plain(RenderTextImage("Ab", "宋体", 14, 0, RGB(0, 0, 0), 0, 0));
    ASSERT_TRUE(plain != nullptr);
    EXPECT_GT(plain->GetWidth(), 4u);
    // A server's endless text makes no picture wider than its first part.
    std::unique_ptr<Gdiplus::Bitmap> endless(
        RenderTextImage(std::string(40000, 'A').c_str(), "宋体", 14, 0, RGB(0, 0, 0), 0, 0));
    ASSERT_TRUE(endless != nullptr);
    EXPECT_LT(endless->GetWidth(), 2000u * 14u);
    std::unique_ptr<Gdiplus::Bitmap> glow(
        RenderGlowTextImage("Ab", "宋体", 14, 1, RGB(255, 255, 0), RGB(0, 0, 255), 0, 0));
    ASSERT_TRUE(glow != nullptr);
    int full = 0, text = 0, key = 0;
    for (UINT y = 0; y < glow->GetHeight(); ++y) {
        for (UINT x = 0; x < glow->GetWidth(); ++x) {
            Gdiplus::Color c;
            glow->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &c);
            Gdiplus::ARGB v = c.GetValue();
            key += v == 0xFFFF00FF;
            full += v == 0xFF0000FF;
            text += c.GetAlpha() == 255 && v != 0xFF0000FF;
        }
    }
    EXPECT_EQ(key, 0);
    EXPECT_GT(text, 0);
    EXPECT_GT(full, text / 4);
}

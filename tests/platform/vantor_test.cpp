// The image library: decoding, drawing, turning, greying, selections.
#include "platform/vantor/CxImage.h"
#include "platform/vantor/RenderMgr.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "tests/platform/WindowCapture.h"

namespace {

const char* Data(const char* name) {
    static std::string path;
    path = std::string("testdata\\vantor\\") + name;
    return path.c_str();
}

std::vector<BYTE> ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RGBQUAD Quad(BYTE r, BYTE g, BYTE b, BYTE a = 0) {
    RGBQUAD q;
    q.rgbRed = r;
    q.rgbGreen = g;
    q.rgbBlue = b;
    q.rgbReserved = a;
    return q;
}

COLORREF ColorOf(const CxImage& img, long x, long y) {
    RGBQUAD q = img.GetPixelColor(x, y);
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// A 32-bit memory DC filled with one colour, to draw images on.
class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits;
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        RECT r = {0, 0, w, h};
        HBRUSH b = CreateSolidBrush(fill);
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    Capture Read() const { return CaptureDC(dc_, w_, h_); }

private:
    int w_, h_;
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
};

}  // namespace

TEST(CxImage, DecodesPngAndBmpFromFilesAndMemory) {
    CxImage png(Data("grid.png"), CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(png.IsValid()) << png.GetLastError();
    EXPECT_EQ(png.GetWidth(), 5u);
    EXPECT_EQ(png.GetHeight(), 3u);
    EXPECT_EQ(ColorOf(png, 0, 0), RGB(0, 0, 200));
    EXPECT_EQ(ColorOf(png, 4, 2), RGB(160, 200, 200));

    CxImage bmp(Data("grid.bmp"), CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(bmp.IsValid());
    EXPECT_FALSE(bmp.AlphaIsValid());
    for (long y = 0; y < 3; ++y)
        for (long x = 0; x < 5; ++x) EXPECT_EQ(ColorOf(bmp, x, y), ColorOf(png, x, y)) << x << "," << y;

    std::vector<BYTE> bytes = ReadAll(Data("grid.png"));
    CxImage fromBuffer(bytes.data(), static_cast<DWORD>(bytes.size()), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(fromBuffer.GetWidth(), 5u);
    CxMemFile mem(bytes.data(), static_cast<DWORD>(bytes.size()));
    CxImage fromStream;
    EXPECT_TRUE(fromStream.Decode(&mem, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(ColorOf(fromStream, 1, 1), RGB(40, 100, 200));

    CxImage rgba(Data("rgba.png"), CXIMAGE_FORMAT_PNG);
    EXPECT_TRUE(rgba.AlphaIsValid());
    EXPECT_EQ(rgba.GetPixelColor(1, 0).rgbReserved, 128);
}

// A JPEG made by GDI+'s own encoder: 8 x 4, left half red, right half blue.
std::vector<BYTE> MakeJpeg() {
    using namespace Gdiplus;
    ULONG_PTR token;
    GdiplusStartupInput input;
    GdiplusStartup(&token, &input, nullptr);
    std::vector<uint32_t> argb(32);
    for (int i = 0; i < 32; ++i) argb[i] = (i % 8) < 4 ? 0xFFFF0000u : 0xFF0000FFu;
    GpBitmap* bmp = nullptr;
    DllExports::GdipCreateBitmapFromScan0(8, 4, 32, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(argb.data()), &bmp);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    const CLSID jpeg = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    std::vector<BYTE> out;
    if (DllExports::GdipSaveImageToStream(bmp, stream, &jpeg, nullptr) == Ok) {
        HGLOBAL mem;
        GetHGlobalFromStream(stream, &mem);
        STATSTG st;
        stream->Stat(&st, STATFLAG_NONAME);
        auto* p = static_cast<BYTE*>(GlobalLock(mem));
        out.assign(p, p + st.cbSize.QuadPart);
        GlobalUnlock(mem);
    }
    stream->Release();
    DllExports::GdipDisposeImage(bmp);
    GdiplusShutdown(token);
    return out;
}

TEST(CxImage, DecodesJpegAndWorksOffTheUserInterfaceThread) {
    std::vector<BYTE> jpeg = MakeJpeg();
    ASSERT_FALSE(jpeg.empty());
    // Pictures are loaded on a worker thread at start-up.
    CxImage img;
    std::thread loader([&] { img.Decode(jpeg.data(), static_cast<DWORD>(jpeg.size()), CXIMAGE_FORMAT_JPG); });
    loader.join();
    ASSERT_TRUE(img.IsValid()) << img.GetLastError();
    EXPECT_EQ(img.GetWidth(), 8u);
    EXPECT_EQ(img.GetHeight(), 4u);
    EXPECT_FALSE(img.AlphaIsValid());
    EXPECT_GT(img.GetPixelColor(0, 0).rgbRed, 200);
    EXPECT_GT(img.GetPixelColor(7, 3).rgbBlue, 200);
}

TEST(CxImage, UnreadableInputGivesAnEmptyImage) {
    for (const char* name : {"missing.png", "broken.png"}) {
        CxImage img(Data(name), CXIMAGE_FORMAT_PNG);
        EXPECT_FALSE(img.IsValid()) << name;
        EXPECT_EQ(img.GetWidth(), 0u);
        EXPECT_EQ(img.GetHeight(), 0u);
        EXPECT_STRNE(img.GetLastError(), "");
        Canvas c(4, 4, RGB(9, 9, 9));
        EXPECT_EQ(img.Draw(c.dc(), 0, 0), 0);
        EXPECT_FALSE(img.RotateLeft());
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        EXPECT_FALSE(img.SelectionToHRGN(rgn));
        DeleteObject(rgn);
    }
    BYTE junk[3] = {1, 2, 3};
    CxImage img(junk, sizeof(junk), CXIMAGE_FORMAT_BMP);
    EXPECT_FALSE(img.IsValid());
    CxImage none(nullptr, 100, CXIMAGE_FORMAT_BMP);
    EXPECT_FALSE(none.IsValid());
}

TEST(CxImage, TurnsAQuarterEitherWay) {
    CxImage src(Data("grid.png"), CXIMAGE_FORMAT_PNG);
    CxImage left, right;
    ASSERT_TRUE(src.RotateLeft(&left));
    ASSERT_TRUE(src.RotateRight(&right));
    EXPECT_EQ(src.GetWidth(), 5u);  // the source is left alone
    ASSERT_EQ(left.GetWidth(), 3u);
    ASSERT_EQ(left.GetHeight(), 5u);
    ASSERT_EQ(right.GetWidth(), 3u);
    for (long y = 0; y < 3; ++y) {
        for (long x = 0; x < 5; ++x) {
            // Left: the top-right corner comes to the top-left.
            EXPECT_EQ(ColorOf(left, y, 4 - x), ColorOf(src, x, y));
            EXPECT_EQ(ColorOf(right, 2 - y, x), ColorOf(src, x, y));
        }
    }
    // In place, four turns give the picture back.
    CxImage again(src);
    for (int i = 0; i < 4; ++i) again.RotateRight();
    for (long x = 0; x < 5; ++x) EXPECT_EQ(ColorOf(again, x, 2), ColorOf(src, x, 2));
}

// A transfer hands the picture over whole, alpha included, and leaves the
// source empty.
TEST(CxImage, TransferMovesThePictureOver) {
    const CxImage original(Data("rgba.png"), CXIMAGE_FORMAT_PNG);
    CxImage from(original), to(Data("grid.png"), CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(to.Transfer(from));
    EXPECT_EQ(to.GetWidth(), original.GetWidth());
    EXPECT_EQ(to.GetType(), static_cast<DWORD>(CXIMAGE_FORMAT_PNG));
    EXPECT_TRUE(to.AlphaIsValid());
    EXPECT_EQ(ColorOf(to, 1, 0), ColorOf(original, 1, 0));
    EXPECT_EQ(to.GetPixelColor(1, 0).rgbReserved, 128);
    EXPECT_FALSE(from.IsValid());
    EXPECT_FALSE(to.Transfer(from)) << "an empty picture leaves an empty one";
}

TEST(CxImage, GreyScaleKeepsAlpha) {
    CxImage img(Data("rgba.png"), CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(img.GrayScale());
    EXPECT_EQ(ColorOf(img, 0, 0), RGB(76, 76, 76));  // 0.299 * 255
    EXPECT_EQ(ColorOf(img, 1, 0), RGB(149, 149, 149));
    EXPECT_EQ(img.GetPixelColor(1, 0).rgbReserved, 128);
    EXPECT_TRUE(img.AlphaIsValid());
}

TEST(CxImage, DrawsPlainScaledClippedKeyedAndBlended) {
    CxImage grid(Data("grid.bmp"), CXIMAGE_FORMAT_BMP);
    {
        Canvas c(12, 8, RGB(1, 1, 1));
        EXPECT_EQ(grid.Draw(c.dc(), 2, 3), 1);
        Capture px = c.Read();
        EXPECT_EQ(px.At(2, 3), RGB(0, 0, 200));
        EXPECT_EQ(px.At(6, 5), RGB(160, 200, 200));
        EXPECT_EQ(px.At(1, 3), RGB(1, 1, 1));
        EXPECT_EQ(px.At(7, 3), RGB(1, 1, 1));
    }
    {
        Canvas c(12, 8, RGB(1, 1, 1));
        grid.Draw(c.dc(), 0, 0, 10, 6);  // twice the size
        Capture px = c.Read();
        EXPECT_EQ(px.At(3, 3), ColorOf(grid, 1, 1));
        EXPECT_EQ(px.At(9, 5), ColorOf(grid, 4, 2));
    }
    {
        // Only inside the clip: one strip slice.
        Canvas c(12, 8, RGB(1, 1, 1));
        RECT clip = {3, 0, 4, 8};
        grid.Draw(c.dc(), 0, 0, -1, -1, &clip);
        Capture px = c.Read();
        EXPECT_EQ(px.At(3, 1), ColorOf(grid, 3, 1));
        EXPECT_EQ(px.At(2, 1), RGB(1, 1, 1));
        EXPECT_EQ(px.At(4, 1), RGB(1, 1, 1));
    }
    {
        CxImage keyed(Data("keyed.bmp"), CXIMAGE_FORMAT_BMP);
        keyed.SetTransIndex(0);
        keyed.SetTransColor(Quad(255, 0, 255));
        Canvas c(6, 4, RGB(1, 1, 1));
        keyed.Draw(c.dc(), 0, 0);
        Capture px = c.Read();
        EXPECT_EQ(px.At(0, 0), RGB(1, 1, 1));        // the key colour is left out
        EXPECT_EQ(px.At(1, 1), RGB(250, 120, 30));
        EXPECT_EQ(px.At(4, 2), RGB(254, 0, 255));    // a near colour is drawn
        // Without a transparent index the key colour is drawn too.
        keyed.SetTransIndex(-1);
        EXPECT_EQ(keyed.Draw(c.dc(), 0, 0), 1);
        EXPECT_EQ(c.Read().At(0, 0), RGB(255, 0, 255));
    }
    {
        CxImage rgba(Data("rgba.png"), CXIMAGE_FORMAT_PNG);
        Canvas c(4, 2, RGB(255, 255, 255));
        rgba.Draw(c.dc(), 0, 0);
        Capture px = c.Read();
        EXPECT_EQ(px.At(0, 0), RGB(255, 0, 0));
        EXPECT_NEAR(px.Red(1, 0), 127, 2);
        EXPECT_EQ(px.Green(1, 0), 255);
        EXPECT_EQ(px.At(2, 0), RGB(255, 255, 255));  // alpha 0: nothing drawn
    }
}

TEST(CxImage, AlphaFromTransparencyMakesTheKeyTransparent) {
    CxImage keyed(Data("keyed.bmp"), CXIMAGE_FORMAT_BMP);
    keyed.SetTransColor(Quad(255, 0, 255));
    CxImage grey(keyed);
    ASSERT_TRUE(grey.AlphaFromTransparency());
    ASSERT_TRUE(grey.GrayScale());
    EXPECT_TRUE(grey.AlphaIsValid());
    EXPECT_EQ(grey.GetPixelColor(0, 0).rgbReserved, 0);
    EXPECT_EQ(grey.GetPixelColor(1, 1).rgbReserved, 255);
    Canvas c(6, 4, RGB(1, 1, 1));
    grey.Draw(c.dc(), 0, 0);
    Capture px = c.Read();
    EXPECT_EQ(px.At(0, 0), RGB(1, 1, 1));
    int g = (250 * 299 + 120 * 587 + 30 * 114) / 1000;
    EXPECT_EQ(px.At(2, 1), RGB(g, g, g));

    CxImage noAlpha(grey, true, true, false);  // copied without the alpha channel
    EXPECT_FALSE(noAlpha.AlphaIsValid());
    EXPECT_EQ(noAlpha.GetPixelColor(0, 0).rgbReserved, 255);
}

TEST(CxImage, SelectionsBecomeWindowRegions) {
    // Colour key: every pixel but magenta.
    CxImage keyed(Data("keyed.bmp"), CXIMAGE_FORMAT_BMP);
    ASSERT_FALSE(keyed.AlphaIsValid());
    EXPECT_TRUE(keyed.SelectionAddColor(Quad(255, 0, 255), 255));
    EXPECT_TRUE(keyed.SelectionInvert());
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(keyed.SelectionToHRGN(rgn));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inner = x >= 1 && x <= 4 && y >= 1 && y <= 2;
            EXPECT_EQ(PtInRegion(rgn, x, y) != 0, inner) << x << "," << y;
        }
    DeleteObject(rgn);

    // Alpha: only fully opaque pixels.
    CxImage rgba(Data("rgba.png"), CXIMAGE_FORMAT_PNG);
    EXPECT_TRUE(rgba.SelectionAddAlpha(255, 255));
    rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_TRUE(rgba.SelectionToHRGN(rgn));
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_FALSE(PtInRegion(rgn, 1, 0));
    EXPECT_FALSE(PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(PtInRegion(rgn, 3, 0));
    EXPECT_TRUE(PtInRegion(rgn, 2, 1));
    DeleteObject(rgn);

    // A null region gets a new one.
    HRGN fresh = nullptr;
    ASSERT_TRUE(rgba.SelectionToHRGN(fresh));
    EXPECT_TRUE(PtInRegion(fresh, 0, 1));
    DeleteObject(fresh);
}

TEST(CxImage, DrawStringExWritesIntoThePicture) {
    CxImage img;
    ASSERT_TRUE(img.Create(60, 20));
    CXTEXTINFO text{};
    std::snprintf(text.text, sizeof(text.text), "%s", "排序");
    text.lfont.lfHeight = 12;
    text.lfont.lfCharSet = 134;
    std::snprintf(text.lfont.lfFaceName, sizeof(text.lfont.lfFaceName), "%s", "宋体");
    text.fcolor = RGB(200, 0, 0);
    EXPECT_EQ(img.DrawStringEx(nullptr, 10, 4, &text), 1);
    int red = 0, strayAbove = 0;
    for (long y = 0; y < 20; ++y)
        for (long x = 0; x < 60; ++x) {
            bool isRed = ColorOf(img, x, y) != RGB(255, 255, 255);
            red += isRed;
            if (isRed && (y < 4 || x < 10)) ++strayAbove;
        }
    EXPECT_GT(red, 10);
    EXPECT_EQ(strayAbove, 0);
}

TEST(CxMemFile, GrowsOnWriteAndKeepsAFixedBufferInBounds) {
    CxMemFile own;
    const char data[] = "abcdef";
    EXPECT_EQ(own.Write(data, 1, 6), 6u);
    EXPECT_EQ(own.Size(), 6);
    EXPECT_TRUE(own.Seek(10, SEEK_SET));
    EXPECT_EQ(own.Write("z", 1, 1), 1u);  // the gap is filled with zeros
    EXPECT_EQ(own.Size(), 11);
    EXPECT_EQ(own.GetBuffer()[8], 0);
    EXPECT_FALSE(own.Seek(-20, SEEK_END));
    EXPECT_TRUE(own.Seek(-11, SEEK_END));
    char back[5] = {};
    EXPECT_EQ(own.Read(back, 2, 2), 2u);
    EXPECT_STREQ(back, "abcd");

    BYTE fixed[4] = {};
    CxMemFile mem(fixed, sizeof(fixed));
    EXPECT_EQ(mem.Write(data, 1, 6), 4u);  // only what fits
    EXPECT_EQ(fixed[3], 'd');
    EXPECT_TRUE(mem.Seek(100, SEEK_SET));
    EXPECT_EQ(mem.Write(data, 1, 1), 0u);  // past the end of a fixed buffer
    EXPECT_TRUE(mem.Eof());
    EXPECT_EQ(mem.Read(back, 1, 1), 0u);
}

TEST(VantorRenderMgr, DrawsTextAndBlendsBitmaps) {
    RenderMgr scope;
    Canvas c(80, 30, RGB(255, 255, 255));
    CDC dc;
    dc.Attach(c.dc());
    EXPECT_TRUE(RenderMgr::DrawTextToDC(&dc, "网络质量", 10, 8, "宋体", 12, RGB(0, 0, 255), 0x2000));
    Capture px = c.Read();
    int blue = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            if (px.Blue(x, y) > 150 && px.Red(x, y) < 100) {
                ++blue;
                if (x < 10 || y < 8) ++outside;
            }
    EXPECT_GT(blue, 10);
    EXPECT_EQ(outside, 0);

    CBitmap black;
    HDC screen = GetDC(nullptr);
    black.Attach(CreateCompatibleBitmap(screen, 10, 10));  // a new bitmap is black
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(RenderMgr::DrawAlphaCBitmapToDC(&dc, &black, 60, 0, 0, 0, 0, 0, 128));
    px = c.Read();
    EXPECT_NEAR(px.Red(65, 5), 127, 2);
    EXPECT_EQ(px.At(70, 5), RGB(255, 255, 255));
    EXPECT_FALSE(RenderMgr::DrawAlphaCBitmapToDC(&dc, nullptr, 0, 0, 0, 0, 0, 0, 128));
    dc.Detach();
}

// The region joins rows of like runs into taller rectangles: it must still
// cover exactly the selected pixels (rounded ends, a hole making two runs per
// row, an empty row between two like bands).
TEST(CxImage, RegionFromSelectionEqualsItsPixels) {
    CxImage shape;
    ASSERT_TRUE(shape.Create(24, 21, CXIMAGE_FORMAT_BMP));
    auto inside = [](long x, long y) {
        if (y == 10) return false;
        const long inset = y < 3 ? 3 - y : y > 17 ? y - 17 : 0;
        if (x < 2 + inset || x >= 22 - inset) return false;
        return !(x >= 9 && x < 14 && y >= 5 && y < 16);
    };
    for (long y = 0; y < 21; ++y)
        for (long x = 0; x < 24; ++x) shape.SetPixelColor(x, y, inside(x, y) ? Quad(10, 200, 30) : Quad(255, 0, 255));
    ASSERT_TRUE(shape.SelectionAddColor(Quad(255, 0, 255), 255));
    ASSERT_TRUE(shape.SelectionInvert());
    HRGN made = nullptr;
    ASSERT_TRUE(shape.SelectionToHRGN(made));

    HRGN pixels = CreateRectRgn(0, 0, 0, 0);
    for (long y = 0; y < 21; ++y)
        for (long x = 0; x < 24; ++x)
            if (inside(x, y)) {
                HRGN dot = CreateRectRgn(x, y, x + 1, y + 1);
                CombineRgn(pixels, pixels, dot, RGN_OR);
                DeleteObject(dot);
            }
    EXPECT_TRUE(EqualRgn(made, pixels));
    DeleteObject(made);
    DeleteObject(pixels);
}

namespace {

// GDI+'s reading of a file: 32-bit ARGB pixels and whether the form has alpha.
bool GdiplusPixels(const std::vector<BYTE>& bytes, UINT* w, UINT* h, std::vector<uint32_t>* pixels, bool* alpha) {
    using namespace Gdiplus;
    IStream* stream = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    GpBitmap* bmp = nullptr;
    const bool made = stream && DllExports::GdipCreateBitmapFromStream(stream, &bmp) == Ok;
    if (stream) stream->Release();
    if (!made) return false;
    PixelFormat format = 0;
    DllExports::GdipGetImageWidth(bmp, w);
    DllExports::GdipGetImageHeight(bmp, h);
    DllExports::GdipGetImagePixelFormat(bmp, &format);
    *alpha = (format & PixelFormatAlpha) != 0;
    GpRect rect(0, 0, static_cast<INT>(*w), static_cast<INT>(*h));
    BitmapData locked{};
    DllExports::GdipBitmapLockBits(bmp, &rect, ImageLockModeRead, PixelFormat32bppARGB, &locked);
    pixels->resize(static_cast<size_t>(*w) * *h);
    for (UINT y = 0; y < *h; ++y)
        std::memcpy(&(*pixels)[static_cast<size_t>(y) * *w],
                    static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride, *w * 4);
    DllExports::GdipBitmapUnlockBits(bmp, &locked);
    DllExports::GdipDisposeImage(bmp);
    if (!*alpha)
        for (uint32_t& px : *pixels) px |= 0xFF000000u;
    return true;
}

void PictureFiles(const std::string& folder, std::vector<std::string>* files) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PictureFiles(path, files);
        } else if (name.size() > 4) {
            std::string ext = name.substr(name.size() - 4);
            for (char& c : ext) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (ext == ".png" || ext == ".bmp") files->push_back(path);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

}  // namespace

// The programs' own pictures are read without GDI+: every one must come out
// as GDI+ gives it, pixel for pixel and with the same alpha.
TEST(CxImage, ShippedPicturesReadTheSameAsThroughGdiplus) {
    ULONG_PTR token;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    std::vector<std::string> files;
    for (const char* folder : {"fenlo", "Skin", "testdata"}) PictureFiles(folder, &files);
    ASSERT_GT(files.size(), 200u);
    for (const std::string& path : files) {
        const std::vector<BYTE> bytes = ReadAll(path.c_str());
        UINT w = 0, h = 0;
        std::vector<uint32_t> want;
        bool alpha = false;
        const bool readable = GdiplusPixels(bytes, &w, &h, &want, &alpha);
        CxImage image;
        image.Decode(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), CXIMAGE_FORMAT_UNKNOWN);
        ASSERT_EQ(image.IsValid(), readable) << path;
        if (!readable) continue;
        ASSERT_EQ(image.GetWidth(), w) << path;
        ASSERT_EQ(image.GetHeight(), h) << path;
        EXPECT_EQ(image.AlphaIsValid(), alpha) << path;
        size_t differ = 0;
        for (UINT y = 0; y < h; ++y)
            for (UINT x = 0; x < w; ++x) {
                const RGBQUAD q = image.GetPixelColor(static_cast<long>(x), static_cast<long>(y));
                const uint32_t got = static_cast<uint32_t>(q.rgbReserved) << 24 | q.rgbRed << 16 | q.rgbGreen << 8 | q.rgbBlue;
                differ += got != want[static_cast<size_t>(y) * w + x];
            }
        EXPECT_EQ(differ, 0u) << path;
    }
    Gdiplus::GdiplusShutdown(token);
}

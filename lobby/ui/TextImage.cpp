#include "lobby/ui/TextImage.h"

#include <gdiplus.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "lobby/ui/SkinGeometry.h"
#include "lobby/ui/SkinText.h"
#include "platform/CString.h"
#include "platform/Gdi.h"
#include "platform/TextFont.h"

using namespace Gdiplus;

namespace {

std::wstring Wide(LPCSTR text) {
    if (!text) return std::wstring();
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
    w.resize(wcslen(w.c_str()));
    return w;
}

uint32_t Rgb(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

// The family of that name; when it is not installed, the face the system's
// font mapper picks for it, else the first installed family.
std::unique_ptr<FontFamily> FindFamily(const std::wstring& name) {
    std::unique_ptr<FontFamily> family(new FontFamily(name.c_str()));
    if (family->IsAvailable()) return family;
    wchar_t face[LF_FACESIZE] = L"";
    HDC dc = ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    if (face[0]) {
        family.reset(new FontFamily(face));
        if (family->IsAvailable()) return family;
    }
    InstalledFontCollection installed;
    INT found = 0;
    FontFamily first;
    if (installed.GetFamilyCount() > 0 && installed.GetFamilies(1, &first, &found) == Ok && found == 1)
        family.reset(first.Clone());
    return family;
}

// No picture shows more than this of a text: a longer one from a server would
// make a picture wider than any screen and take seconds to draw.
const size_t kMaxPictureText = 2000;

// Text measured and drawn into a new 32-bit picture on a transparent ground.
Bitmap* Render(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color, int hAlign, int vAlign) {
    std::wstring wtext = Wide(CutText(text ? text : "", kMaxPictureText).c_str()), wfont = Wide(fontName);
    std::unique_ptr<FontFamily> family = FindFamily(wfont);
    Font font(family.get(), static_cast<REAL>(size), fontStyle, UnitPixel);
    SolidBrush brush(Color(255, GetRValue(color), GetGValue(color), GetBValue(color)));
    StringFormat format;
    format.SetAlignment(static_cast<StringAlignment>(hAlign));
    format.SetLineAlignment(static_cast<StringAlignment>(vAlign));

    Bitmap probe(1, 1, PixelFormat32bppARGB);
    RectF box;
    {
        Graphics g(&probe);
        g.MeasureString(wtext.c_str(), static_cast<INT>(wtext.size()), &font, PointF(0, 0), &box);
    }
    int width = static_cast<int>(box.Width) + 2, height = static_cast<int>(box.Height) + 2;
    auto* bitmap = new Bitmap(width, height, PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Ok) {
        delete bitmap;
        return nullptr;
    }
    Graphics g(bitmap);
    g.Clear(Color(0x00FF00FF));
    g.DrawString(wtext.c_str(), static_cast<INT>(wtext.size()), &font,
                 RectF(1, 1, static_cast<REAL>(width - 1), static_cast<REAL>(height - 1)), &format, &brush);
    return bitmap;
}

// A picture's pixels as 0xAARRGGBB, rows from the top, read into or written
// from the buffer (width x height).
void CopyPixels(Bitmap* picture, std::vector<uint32_t>& pixels, bool read) {
    const int w = static_cast<int>(picture->GetWidth()), h = static_cast<int>(picture->GetHeight());
    pixels.resize(static_cast<size_t>(w) * h);
    Rect all(0, 0, w, h);
    BitmapData data{};
    data.Width = w;
    data.Height = h;
    data.Stride = w * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    const UINT mode = (read ? ImageLockModeRead : ImageLockModeWrite) | ImageLockModeUserInputBuf;
    if (picture->LockBits(&all, mode, PixelFormat32bppARGB, &data) == Ok) picture->UnlockBits(&data);
}

// Text on the opaque key colour, for a glow: drawn by GDI in the shared text
// font without smoothing, so that every pixel is text or key (an edge pixel
// blended with the key would stay, tinted, inside the glow), as SimSun's
// bitmaps draw these sizes on Windows. Measured in the font it is drawn in.
Bitmap* RenderOnKey(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color, int hAlign) {
    const std::string shown = CutText(text ? text : "", kMaxPictureText);
    HFONT font = AfxTextFont(fontName ? fontName : "", size, (fontStyle & FontStyleBold) ? FW_BOLD : FW_NORMAL,
                             (fontStyle & FontStyleUnderline) ? TRUE : FALSE, NONANTIALIASED_QUALITY);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    RECT box = {0, 0, 0, 0};
    ::DrawTextA(dc, shown.c_str(), -1, &box, DT_CALCRECT | DT_NOPREFIX);
    const int width = box.right + 2, height = box.bottom + 2;
    void* bits = nullptr;
    HBITMAP dib = AfxCreateDibSection(dc, width, height, &bits);
    Bitmap* picture = nullptr;
    if (dib && bits) {
        HGDIOBJ oldBitmap = ::SelectObject(dc, dib);
        uint32_t* drawn = static_cast<uint32_t*>(bits);
        const size_t count = static_cast<size_t>(width) * height;
        std::fill(drawn, drawn + count, 0xFF00FFu);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, color);
        RECT place = {1, 1, width - 1, height - 1};
        ::DrawTextA(dc, shown.c_str(), -1, &place,
                    DT_NOPREFIX | (hAlign == 1 ? DT_CENTER : hAlign == 2 ? DT_RIGHT : DT_LEFT));
        ::GdiFlush();
        std::vector<uint32_t> pixels(drawn, drawn + count);
        ::SelectObject(dc, oldBitmap);
        for (uint32_t& p : pixels) p |= 0xFF000000u;  // GDI leaves the alpha byte: all opaque
        picture = new Bitmap(width, height, PixelFormat32bppARGB);
        if (picture->GetLastStatus() == Ok) {
            CopyPixels(picture, pixels, false);
        } else {
            delete picture;
            picture = nullptr;
        }
    }
    if (dib) ::DeleteObject(dib);
    ::SelectObject(dc, oldFont);
    ::DeleteDC(dc);
    return picture;
}

}  // namespace

Bitmap* RenderTextImage(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color, int hAlign,
                        int vAlign) {
    return Render(text, fontName, size, fontStyle, color, hAlign, vAlign);
}

Bitmap* RenderGlowTextImage(LPCSTR text, LPCSTR fontName, int size, int fontStyle, COLORREF color, COLORREF glow,
                            int hAlign, int vAlign) {
    (void)vAlign;  // the picture is the text's own size
    std::unique_ptr<Bitmap> plain(RenderOnKey(text, fontName, size, fontStyle, color, hAlign));
    return plain ? MakeGlow(plain.get(), glow, RGB(255, 0, 255)) : nullptr;
}

Bitmap* MakeGlow(Bitmap* source, COLORREF glow, COLORREF key) {
    if (!source) return nullptr;
    const int w = static_cast<int>(source->GetWidth()), h = static_cast<int>(source->GetHeight());
    auto* result = new Bitmap(w, h, PixelFormat32bppARGB);
    if (result->GetLastStatus() != Ok || w <= 0 || h <= 0) return result;
    std::vector<uint32_t> src, dst(static_cast<size_t>(w) * h);
    CopyPixels(source, src, true);
    MakeGlowPixels(src.data(), dst.data(), w, h, Rgb(glow), Rgb(key));
    CopyPixels(result, dst, false);
    return result;
}

#include "platform/vantor/CxImage.h"
#include "platform/vantor/PictureDecode.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

constexpr uint32_t kAlpha = 0xFF000000u;

inline uint32_t Rgb(uint32_t px) { return px & 0x00FFFFFFu; }
inline uint32_t FromQuad(RGBQUAD q) {
    return (static_cast<uint32_t>(q.rgbReserved) << 24) | (static_cast<uint32_t>(q.rgbRed) << 16) |
           (static_cast<uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
}
inline RGBQUAD ToQuad(uint32_t px) {
    RGBQUAD q;
    q.rgbBlue = static_cast<BYTE>(px);
    q.rgbGreen = static_cast<BYTE>(px >> 8);
    q.rgbRed = static_cast<BYTE>(px >> 16);
    q.rgbReserved = static_cast<BYTE>(px >> 24);
    return q;
}
inline COLORREF ToColorRef(uint32_t px) {
    return RGB(static_cast<BYTE>(px >> 16), static_cast<BYTE>(px >> 8), static_cast<BYTE>(px));
}

bool StartGdiplus() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    });
    return started;
}

// A 32-bit top-down DIB section holding pixels, for GDI to draw from or on.
HBITMAP MakeDib(DWORD w, DWORD h, const uint32_t* pixels, uint32_t** bitsOut) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = static_cast<LONG>(w);
    bi.bmiHeader.biHeight = -static_cast<LONG>(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) return nullptr;
    if (pixels) std::memcpy(bits, pixels, static_cast<size_t>(w) * h * 4);
    if (bitsOut) *bitsOut = static_cast<uint32_t*>(bits);
    return bmp;
}

enum CacheMode { kCacheNone = 0, kCachePlain, kCacheAlpha, kCacheKeyed };

}  // namespace

CxImage::CxImage(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
    Copy(src, copypixels, copyselection, copyalpha);
}

CxImage& CxImage::operator=(const CxImage& src) {
    if (this != &src) Copy(src);
    return *this;
}

CxImage::~CxImage() { Changed(); }

void CxImage::Changed() {
    if (m_cache) ::DeleteObject(m_cache);
    m_cache = nullptr;
    m_cacheMode = kCacheNone;
}

bool CxImage::Fail(const char* why) {
    Destroy();
    m_lastError = why;
    return false;
}

void CxImage::Destroy() {
    Changed();
    m_width = m_height = 0;
    m_pixels.clear();
    m_selection.clear();
    m_alphaValid = false;
}

bool CxImage::Transfer(CxImage& from) {
    if (this == &from) return IsValid();
    Changed();
    from.Changed();
    m_width = from.m_width;
    m_height = from.m_height;
    m_type = from.m_type;
    m_transIndex = from.m_transIndex;
    m_transColor = from.m_transColor;
    m_lastError.swap(from.m_lastError);
    m_pixels.swap(from.m_pixels);
    m_alphaValid = from.m_alphaValid;
    m_selection.swap(from.m_selection);
    from.Destroy();
    return IsValid();
}

void CxImage::Copy(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
    if (this == &src) return;
    Changed();
    m_width = src.m_width;
    m_height = src.m_height;
    m_type = src.m_type;
    m_transIndex = src.m_transIndex;
    m_transColor = src.m_transColor;
    m_lastError = src.m_lastError;
    m_pixels = copypixels ? src.m_pixels : std::vector<uint32_t>(src.m_pixels.size(), 0xFFFFFFFFu);
    m_alphaValid = copyalpha && src.m_alphaValid;
    if (!m_alphaValid)
        for (auto& px : m_pixels) px |= kAlpha;
    m_selection = copyselection ? src.m_selection : std::vector<BYTE>();
}

bool CxImage::Create(DWORD width, DWORD height, DWORD imagetype) {
    Destroy();
    if (width == 0 || height == 0 || width > 32768 || height > 32768) return Fail("bad image size");
    m_width = width;
    m_height = height;
    m_type = imagetype;
    m_pixels.assign(static_cast<size_t>(width) * height, 0xFFFFFFFFu);
    m_lastError.clear();
    return true;
}

// ---- decoding -------------------------------------------------------------------

bool CxImage::Load(const char* filename, DWORD imagetype) {
    CxIOFile file;
    if (!filename || !file.Open(filename, "rb")) return Fail("cannot open the file");
    return Decode(&file, imagetype);
}

bool CxImage::Decode(BYTE* buffer, DWORD size, DWORD imagetype) {
    if (!buffer || size == 0) return Fail("no data");
    return DecodeBytes(buffer, size, imagetype);
}

bool CxImage::Decode(CxFile* file, DWORD imagetype) {
    if (!file) return Fail("no file");
    std::vector<BYTE> data;
    BYTE chunk[16384];
    size_t n;
    while ((n = file->Read(chunk, 1, sizeof(chunk))) > 0) data.insert(data.end(), chunk, chunk + n);
    if (data.empty()) return Fail("no data");
    return DecodeBytes(data.data(), data.size(), imagetype);
}

bool CxImage::DecodeBytes(const BYTE* data, size_t size, DWORD imagetype) {
    Destroy();
    // The plain forms our own files use are read here: GDI+ pays a start of
    // its codecs and a registry walk per picture.
    vantor::DecodedPicture plain;
    if (vantor::DecodeSimplePicture(data, size, plain)) {
        m_width = plain.width;
        m_height = plain.height;
        m_pixels.swap(plain.pixels);
        m_type = imagetype;
        m_alphaValid = plain.alpha;
        m_lastError.clear();
        return true;
    }
    if (!StartGdiplus()) return Fail("GDI+ is not available");
    if (size > 0x7FFFFFFF) return Fail("data too large");
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) return Fail("out of memory");
    std::memcpy(::GlobalLock(mem), data, size);
    ::GlobalUnlock(mem);
    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(mem, TRUE, &stream) != S_OK) {
        ::GlobalFree(mem);
        return Fail("out of memory");
    }
    using namespace Gdiplus;
    GpBitmap* bitmap = nullptr;
    Status st = DllExports::GdipCreateBitmapFromStream(stream, &bitmap);
    stream->Release();
    if (st != Ok || !bitmap) return Fail("not a picture this library can read");

    UINT w = 0, h = 0;
    PixelFormat format = 0;
    DllExports::GdipGetImageWidth(bitmap, &w);
    DllExports::GdipGetImageHeight(bitmap, &h);
    DllExports::GdipGetImagePixelFormat(bitmap, &format);
    bool ok = false;
    if (w > 0 && h > 0 && w <= 32768 && h <= 32768) {
        GpRect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
        BitmapData locked{};
        if (DllExports::GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &locked) == Ok) {
            m_pixels.resize(static_cast<size_t>(w) * h);
            for (UINT y = 0; y < h; ++y) {
                const BYTE* row = static_cast<const BYTE*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride;
                std::memcpy(&m_pixels[static_cast<size_t>(y) * w], row, static_cast<size_t>(w) * 4);
            }
            DllExports::GdipBitmapUnlockBits(bitmap, &locked);
            ok = true;
        }
    }
    DllExports::GdipDisposeImage(bitmap);
    if (!ok) return Fail("bad picture size");
    m_width = w;
    m_height = h;
    m_type = imagetype;
    m_alphaValid = (format & PixelFormatAlpha) != 0;
    if (!m_alphaValid)
        for (auto& px : m_pixels) px |= kAlpha;
    m_lastError.clear();
    return true;
}

// ---- pixels ---------------------------------------------------------------------

RGBQUAD CxImage::GetPixelColor(long x, long y) const {
    if (x < 0 || y < 0 || x >= static_cast<long>(m_width) || y >= static_cast<long>(m_height)) return ToQuad(0);
    return ToQuad(Px(x, y));
}

void CxImage::SetPixelColor(long x, long y, RGBQUAD color) {
    if (x < 0 || y < 0 || x >= static_cast<long>(m_width) || y >= static_cast<long>(m_height)) return;
    if (!m_alphaValid) color.rgbReserved = 255;
    Px(x, y) = FromQuad(color);
    Changed();
}

void CxImage::SetTransColor(RGBQUAD color) {
    m_transColor = color;
    Changed();
}

bool CxImage::AlphaFromTransparency() {
    if (!IsValid()) return false;
    const uint32_t key = Rgb(FromQuad(m_transColor));
    for (auto& px : m_pixels) px = Rgb(px) | (Rgb(px) == key ? 0u : kAlpha);
    m_alphaValid = true;
    Changed();
    return true;
}

void CxImage::AlphaDelete() {
    for (auto& px : m_pixels) px |= kAlpha;
    m_alphaValid = false;
    Changed();
}

bool CxImage::GrayScale() {
    if (!IsValid()) return false;
    for (auto& px : m_pixels) {
        unsigned r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
        uint32_t grey = (r * 299 + g * 587 + b * 114) / 1000;
        px = (px & kAlpha) | (grey << 16) | (grey << 8) | grey;
    }
    Changed();
    return true;
}

bool CxImage::RotateLeft(CxImage* dst) { return Rotate(dst, true); }
bool CxImage::RotateRight(CxImage* dst) { return Rotate(dst, false); }

bool CxImage::Rotate(CxImage* dst, bool left) {
    if (!IsValid()) return false;
    std::vector<uint32_t> turned(m_pixels.size());
    const long w = static_cast<long>(m_width), h = static_cast<long>(m_height);
    // The turned picture is h wide and w high.
    for (long y = 0; y < h; ++y) {
        for (long x = 0; x < w; ++x) {
            long tx = left ? y : h - 1 - y;
            long ty = left ? w - 1 - x : x;
            turned[static_cast<size_t>(ty) * h + tx] = Px(x, y);
        }
    }
    CxImage* out = dst ? dst : this;
    if (out != this) out->Copy(*this, false, false, true);
    out->Changed();
    out->m_pixels.swap(turned);
    out->m_width = m_height;
    out->m_height = static_cast<DWORD>(w);
    out->m_selection.clear();
    return true;
}

// ---- selection ------------------------------------------------------------------

bool CxImage::SelectionAddAlpha(BYTE minAlpha, BYTE level) {
    if (!IsValid()) return false;
    if (m_selection.empty()) m_selection.assign(m_pixels.size(), 0);
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        BYTE a = m_alphaValid ? static_cast<BYTE>(m_pixels[i] >> 24) : 255;
        if (a >= minAlpha && level > m_selection[i]) m_selection[i] = level;
    }
    return true;
}

bool CxImage::SelectionAddColor(RGBQUAD color, BYTE level) {
    if (!IsValid()) return false;
    if (m_selection.empty()) m_selection.assign(m_pixels.size(), 0);
    const uint32_t key = Rgb(FromQuad(color));
    for (size_t i = 0; i < m_pixels.size(); ++i)
        if (Rgb(m_pixels[i]) == key && level > m_selection[i]) m_selection[i] = level;
    return true;
}

bool CxImage::SelectionInvert() {
    if (!IsValid()) return false;
    if (m_selection.empty()) m_selection.assign(m_pixels.size(), 0);
    for (auto& s : m_selection) s = static_cast<BYTE>(255 - s);
    return true;
}

bool CxImage::SelectionToHRGN(HRGN& region) const {
    if (!IsValid() || m_selection.empty()) return false;
    // One rectangle per run of selected pixels in a row; a row whose runs
    // repeat the row above's lengthens those rectangles instead, so that a
    // plain shape takes a few rectangles rather than one per row.
    std::vector<RECT> runs;
    size_t band = 0;  // the first rectangle of the row above
    for (long y = 0; y < static_cast<long>(m_height); ++y) {
        const BYTE* row = &m_selection[static_cast<size_t>(y) * m_width];
        const size_t first = runs.size();
        for (long x = 0; x < static_cast<long>(m_width);) {
            if (!row[x]) { ++x; continue; }
            long start = x;
            while (x < static_cast<long>(m_width) && row[x]) ++x;
            runs.push_back(RECT{start, y, x, y + 1});
        }
        const size_t count = runs.size() - first;
        bool same = count > 0 && first - band == count;
        for (size_t i = 0; same && i < count; ++i)
            same = runs[band + i].left == runs[first + i].left && runs[band + i].right == runs[first + i].right &&
                   runs[band + i].bottom == y;
        if (same) {
            for (size_t i = 0; i < count; ++i) runs[band + i].bottom = y + 1;
            runs.resize(first);
        } else {
            band = first;
        }
    }
    std::vector<BYTE> buf(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(runs.size());
    data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    data->rdh.rcBound = RECT{0, 0, static_cast<LONG>(m_width), static_cast<LONG>(m_height)};
    if (!runs.empty()) std::memcpy(data->Buffer, runs.data(), runs.size() * sizeof(RECT));
    HRGN selected = ::ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), data);
    if (!selected) return false;
    if (region) {
        ::CombineRgn(region, region, selected, RGN_OR);
        ::DeleteObject(selected);
    } else {
        region = selected;
    }
    return true;
}

// ---- drawing --------------------------------------------------------------------

HBITMAP CxImage::DrawSource(int& mode) {
    int want = m_alphaValid ? kCacheAlpha : m_transIndex >= 0 ? kCacheKeyed : kCachePlain;
    if (m_cache && m_cacheMode == want) {
        mode = want;
        return m_cache;
    }
    Changed();
    uint32_t* bits = nullptr;
    m_cache = MakeDib(m_width, m_height, m_pixels.data(), &bits);
    if (!m_cache) return nullptr;
    if (want != kCacheAlpha) {
        // GDI compares whole pixels with the key colour: no alpha byte.
        for (size_t i = 0; i < m_pixels.size(); ++i) bits[i] &= 0x00FFFFFFu;
    } else {
        // AlphaBlend takes premultiplied colours.
        for (size_t i = 0; i < m_pixels.size(); ++i) {
            uint32_t px = bits[i], a = px >> 24;
            uint32_t r = ((px >> 16) & 0xFF) * a / 255, g = ((px >> 8) & 0xFF) * a / 255, b = (px & 0xFF) * a / 255;
            bits[i] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    m_cacheMode = mode = want;
    return m_cache;
}

long CxImage::Draw(HDC hdc, const RECT& rect, RECT* clip, bool smooth) {
    return Draw(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, clip, smooth);
}

long CxImage::Draw(HDC hdc, long x, long y, long cx, long cy, RECT* clip, bool smooth) {
    if (!hdc || !IsValid()) return 0;
    if (cx < 0) cx = static_cast<long>(m_width);
    if (cy < 0) cy = static_cast<long>(m_height);
    if (cx == 0 || cy == 0) return 0;
    // The part of the target that is drawn, and the source pixels behind it.
    RECT dst = {x, y, x + cx, y + cy};
    if (clip && !::IntersectRect(&dst, &dst, clip)) return 0;
    const double fx = static_cast<double>(m_width) / cx, fy = static_cast<double>(m_height) / cy;
    long sx = static_cast<long>((dst.left - x) * fx), sy = static_cast<long>((dst.top - y) * fy);
    long sw = static_cast<long>((dst.right - dst.left) * fx + 0.5), sh = static_cast<long>((dst.bottom - dst.top) * fy + 0.5);
    if (sw < 1) sw = 1;
    if (sh < 1) sh = 1;
    if (sx + sw > static_cast<long>(m_width)) sw = static_cast<long>(m_width) - sx;
    if (sy + sh > static_cast<long>(m_height)) sh = static_cast<long>(m_height) - sy;
    const long dw = dst.right - dst.left, dh = dst.bottom - dst.top;

    int mode = kCacheNone;
    HBITMAP src = DrawSource(mode);
    if (!src) return 0;
    // One source DC for the thread's draws: making a DC for each costs more
    // than a card's blend.
    static thread_local HDC mem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(mem, src);
    int oldStretch = ::SetStretchBltMode(hdc, smooth ? HALFTONE : COLORONCOLOR);
    BOOL ok;
    if (mode == kCacheAlpha) {
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ok = ::AlphaBlend(hdc, dst.left, dst.top, dw, dh, mem, sx, sy, sw, sh, bf);
    } else if (mode == kCacheKeyed) {
        ok = ::TransparentBlt(hdc, dst.left, dst.top, dw, dh, mem, sx, sy, sw, sh, ToColorRef(FromQuad(m_transColor)));
    } else {
        ok = ::StretchBlt(hdc, dst.left, dst.top, dw, dh, mem, sx, sy, sw, sh, SRCCOPY);
    }
    ::SetStretchBltMode(hdc, oldStretch);
    ::SelectObject(mem, old);
    return ok ? 1 : 0;
}

long CxImage::DrawStringEx(HDC, long x, long y, CXTEXTINFO* text, bool setAlpha) {
    if (!IsValid() || !text) return 0;
    text->text[sizeof(text->text) - 1] = '\0';
    // Draw on a copy, then take back the pixels the text changed.
    uint32_t* bits = nullptr;
    HBITMAP dib = MakeDib(m_width, m_height, m_pixels.data(), &bits);
    if (!dib) return 0;
    HDC mem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldBmp = ::SelectObject(mem, dib);
    HFONT font = ::CreateFontIndirectA(&text->lfont);
    HGDIOBJ oldFont = ::SelectObject(mem, font);
    RECT r = {x, y, static_cast<LONG>(m_width), static_cast<LONG>(m_height)};
    ::DrawTextA(mem, text->text, -1, &r, DT_CALCRECT | DT_NOPREFIX);
    if (text->opaque) {
        HBRUSH brush = ::CreateSolidBrush(text->bcolor);
        ::FillRect(mem, &r, brush);
        ::DeleteObject(brush);
    }
    ::SetBkMode(mem, TRANSPARENT);
    ::SetTextColor(mem, text->fcolor);
    ::DrawTextA(mem, text->text, -1, &r, DT_NOPREFIX | DT_NOCLIP);
    ::GdiFlush();
    for (size_t i = 0; i < m_pixels.size(); ++i) {
        if (Rgb(bits[i]) == Rgb(m_pixels[i])) continue;
        m_pixels[i] = Rgb(bits[i]) | (setAlpha || !m_alphaValid ? kAlpha : (m_pixels[i] & kAlpha));
    }
    ::SelectObject(mem, oldFont);
    ::DeleteObject(font);
    ::SelectObject(mem, oldBmp);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
    Changed();
    return 1;
}

#include "lobby/ui/EnBitmap.h"

#include <cstdio>
#include <vector>

#include "lobby/ui/SkinText.h"
#include "platform/BitmapDraw.h"

BOOL CEnBitmap::LoadImageFile(LPCSTR path, COLORREF background) {
    if (m_hObject || !path) return FALSE;
    FILE* f = std::fopen(path, "rb");
    if (!f) return FALSE;
    std::vector<BYTE> bytes;
    BYTE chunk[16384];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed || bytes.empty()) return FALSE;
    IPicture* picture = LoadFromBuffer(bytes.data(), bytes.size());
    if (!picture) return FALSE;
    BOOL ok = RenderPicture(picture, background);
    picture->Release();
    return ok;
}

IPicture* CEnBitmap::LoadFromBuffer(const BYTE* bytes, size_t length) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length);
    if (!block) return nullptr;
    if (void* p = ::GlobalLock(block)) {
        memcpy(p, bytes, length);
        ::GlobalUnlock(block);
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture))))
        picture = nullptr;
    stream->Release();  // frees the block
    return picture;
}

BOOL CEnBitmap::RenderPicture(IPicture* picture, COLORREF background) {
    if (m_hObject || !picture) return FALSE;
    HWND desktop = ::GetDesktopWindow();
    HDC screen = ::GetDC(desktop);
    HDC mem = ::CreateCompatibleDC(screen);
    OLE_XSIZE_HIMETRIC hmW = 0;
    OLE_YSIZE_HIMETRIC hmH = 0;
    picture->get_Width(&hmW);
    picture->get_Height(&hmH);
    int cx = HimetricToPixels(hmW, ::GetDeviceCaps(screen, LOGPIXELSX));
    int cy = HimetricToPixels(hmH, ::GetDeviceCaps(screen, LOGPIXELSY));
    HBITMAP bmp = cx > 0 && cy > 0 ? AfxCreateDibSection(screen, cx, cy) : nullptr;
    BOOL ok = FALSE;
    if (bmp) {
        HGDIOBJ old = ::SelectObject(mem, bmp);
        if (background != static_cast<COLORREF>(-1)) {
            RECT r = {0, 0, cx, cy};
            HBRUSH brush = ::CreateSolidBrush(background);
            ::FillRect(mem, &r, brush);
            ::DeleteObject(brush);
        }
        ok = SUCCEEDED(picture->Render(mem, 0, 0, cx, cy, 0, hmH, hmW, -hmH, nullptr));
        ::SelectObject(mem, old);
        if (ok) Attach(bmp);
        else ::DeleteObject(bmp);
    }
    ::DeleteDC(mem);
    ::ReleaseDC(desktop, screen);
    return ok;
}

BOOL CMyBitmap::LoadFile(LPCSTR path) {
    DeleteObject();
    BOOL ok = LoadImageFile(path, 0);
    m_bLoaded = ok == 1;
    return ok;
}

CSize CMyBitmap::Size() const {
    BITMAP bm{};
    if (!m_hObject || !GetBitmap(&bm)) return CSize();
    return CSize(bm.bmWidth, bm.bmHeight);
}

BOOL CMyBitmap::DrawPlain(CDC* dc, int x, int y, const RECT* source) {
    CSize size = Size();
    CRect src = source ? CRect(*source) : CRect(0, 0, size.cx, size.cy);
    if (dc && m_hObject && !src.IsRectEmpty())
        bitmap_draw::Copy(*dc, *this, x, y, src.Width(), src.Height(), src.left, src.top, SRCCOPY);
    return TRUE;
}

// Mask method: key pixels become 1 in a one-bit mask, black in a copy of the
// source; the target is ANDed with the mask, then ORed with the copy.
BOOL CMyBitmap::DrawTransparent(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int srcX,
                                int srcY, COLORREF key, HPALETTE palette) {
    if (!dc || !bitmap || !bitmap->m_hObject || width <= 0 || height <= 0) return FALSE;
    HDC target = *dc;
    HDC src = ::CreateCompatibleDC(target), copy = ::CreateCompatibleDC(target), mask = ::CreateCompatibleDC(target);
    HPALETTE oldPal[2] = {};
    if (palette && (::GetDeviceCaps(target, RASTERCAPS) & RC_PALETTE)) {
        oldPal[0] = ::SelectPalette(copy, palette, FALSE);
        ::RealizePalette(copy);
        oldPal[1] = ::SelectPalette(target, palette, FALSE);
        ::RealizePalette(target);
    }
    HGDIOBJ oldSrc = ::SelectObject(src, bitmap->m_hObject);
    HBITMAP copyBmp = ::CreateCompatibleBitmap(target, width, height);
    HBITMAP maskBmp = ::CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldCopy = ::SelectObject(copy, copyBmp), oldMask = ::SelectObject(mask, maskBmp);
    ::BitBlt(copy, 0, 0, width, height, src, srcX, srcY, SRCCOPY);
    ::SetBkColor(copy, key);
    ::BitBlt(mask, 0, 0, width, height, copy, 0, 0, SRCCOPY);
    ::SetBkColor(copy, RGB(0, 0, 0));
    ::SetTextColor(copy, RGB(255, 255, 255));
    ::BitBlt(copy, 0, 0, width, height, mask, 0, 0, SRCAND);
    COLORREF oldBk = ::SetBkColor(target, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(target, RGB(0, 0, 0));
    ::BitBlt(target, x, y, width, height, mask, 0, 0, SRCAND);
    ::BitBlt(target, x, y, width, height, copy, 0, 0, SRCPAINT);
    ::SetBkColor(target, oldBk);
    ::SetTextColor(target, oldText);
    if (oldPal[0]) ::SelectPalette(copy, oldPal[0], FALSE);
    if (oldPal[1]) ::SelectPalette(target, oldPal[1], FALSE);
    ::SelectObject(src, oldSrc);
    ::SelectObject(copy, oldCopy);
    ::SelectObject(mask, oldMask);
    ::DeleteObject(copyBmp);
    ::DeleteObject(maskBmp);
    ::DeleteDC(src);
    ::DeleteDC(copy);
    ::DeleteDC(mask);
    return TRUE;
}

BOOL CMyBitmap::Draw(CDC* dc, int x, int y, const RECT* source, COLORREF key, BOOL transparent) {
    if (!transparent) return DrawPlain(dc, x, y, source);
    CSize size = Size();
    CRect src = source ? CRect(*source) : CRect(0, 0, size.cx, size.cy);
    DrawTransparent(dc, x, y, src.Width(), src.Height(), this, src.left, src.top, key, nullptr);
    return TRUE;
}

HRGN CMyBitmap::CreateRegion(COLORREF key) {
    CSize size = Size();
    if (size.cx <= 0 || size.cy <= 0) return ::CreateRectRgn(0, 0, 0, 0);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;  // rows from the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(static_cast<size_t>(size.cx) * size.cy);
    HDC dc = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    int rows = ::GetDIBits(dc, static_cast<HBITMAP>(m_hObject), 0, size.cy, bits.data(), &bi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    if (rows <= 0) return ::CreateRectRgn(0, 0, 0, 0);
    // COLORREF 0x00BBGGRR to the DIB's 0x00RRGGBB.
    const DWORD keyPixel = GetRValue(key) << 16 | GetGValue(key) << 8 | GetBValue(key);
    std::vector<RECT> rects;
    rects.reserve(static_cast<size_t>(size.cy));
    for (int y = 0; y < size.cy; ++y) {
        const DWORD* row = &bits[static_cast<size_t>(y) * size.cx];
        for (int x = 0; x < size.cx;) {
            while (x < size.cx && (row[x] & 0xFFFFFF) == keyPixel) ++x;
            int start = x;
            while (x < size.cx && (row[x] & 0xFFFFFF) != keyPixel) ++x;
            if (x > start) rects.push_back({start, y, x, y + 1});
        }
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = static_cast<DWORD>(rects.size());
    rd->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    rd->rdh.rcBound = {0, 0, size.cx, size.cy};
    if (!rects.empty()) memcpy(rd->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
}

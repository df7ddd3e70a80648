// Pictures decoded from PNG, BMP or JPEG (files, memory or streams), kept as
// 32-bit pixels with an optional alpha channel, drawn into a DC with alpha or
// with a transparent key colour, turned, greyed, written on, and cut into
// window regions through a selection mask.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/vantor/CxFile.h"
#include "platform/vantor/VantorApi.h"

enum {
    CXIMAGE_FORMAT_UNKNOWN = 0,  // whatever the data turns out to be
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
};

// What DrawStringEx writes: the text, its font and colours.
struct CXTEXTINFO {
    char text[4096];
    LOGFONTA lfont;
    COLORREF fcolor;  // text colour
    BYTE opaque;      // non-zero: fill the text's rectangle with bcolor first
    COLORREF bcolor;
};

class VANTOR_API CxImage {
public:
    CxImage() = default;
    explicit CxImage(DWORD imagetype) : m_type(imagetype) {}
    CxImage(const char* filename, DWORD imagetype) { Load(filename, imagetype); }
    CxImage(BYTE* buffer, DWORD size, DWORD imagetype) { Decode(buffer, size, imagetype); }
    CxImage(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
    CxImage& operator=(const CxImage& src);
    virtual ~CxImage();

    // Each replaces the picture; on failure the image is left empty and
    // GetLastError says why.
    bool Load(const char* filename, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
    bool Decode(BYTE* buffer, DWORD size, DWORD imagetype);
    bool Decode(CxFile* file, DWORD imagetype);
    // A blank picture: white, opaque, no alpha channel.
    bool Create(DWORD width, DWORD height, DWORD imagetype = CXIMAGE_FORMAT_UNKNOWN);
    void Destroy();
    void Copy(const CxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
    // Takes over the picture of from (its pixels are moved, not copied); from is left empty.
    bool Transfer(CxImage& from);

    bool IsValid() const { return m_width > 0 && m_height > 0; }
    DWORD GetWidth() const { return m_width; }
    DWORD GetHeight() const { return m_height; }
    DWORD GetType() const { return m_type; }
    const char* GetLastError() const { return m_lastError.c_str(); }
    // (x, y) from the top-left corner; colour as RGBQUAD with rgbReserved = alpha.
    RGBQUAD GetPixelColor(long x, long y) const;
    void SetPixelColor(long x, long y, RGBQUAD color);

    // Draws at (x, y), scaled to cx x cy (-1: natural size), only inside
    // clip when given. Per-pixel alpha when the alpha channel is valid, else
    // the transparent colour is left out when a transparent index is set.
    long Draw(HDC hdc, long x = 0, long y = 0, long cx = -1, long cy = -1, RECT* clip = nullptr,
              bool smooth = false);
    long Draw(HDC hdc, const RECT& rect, RECT* clip = nullptr, bool smooth = false);
    // Writes text into the picture itself, its top-left corner at (x, y).
    // With setAlpha the written pixels become opaque.
    long DrawStringEx(HDC hdc, long x, long y, CXTEXTINFO* text, bool setAlpha = false);

    // A quarter turn; into dst when given (this image unchanged), else in place.
    bool RotateLeft(CxImage* dst = nullptr);
    bool RotateRight(CxImage* dst = nullptr);
    bool GrayScale();

    // Transparency by key colour: index >= 0 switches it on.
    void SetTransIndex(long index) { m_transIndex = index; Changed(); }
    long GetTransIndex() const { return m_transIndex; }
    void SetTransColor(RGBQUAD color);
    RGBQUAD GetTransColor() const { return m_transColor; }

    bool AlphaIsValid() const { return m_alphaValid; }
    // Alpha 0 where the pixel is the transparent colour, 255 elsewhere.
    bool AlphaFromTransparency();
    void AlphaDelete();

    // The selection: a level 0..255 per pixel (0 = not selected).
    bool SelectionIsValid() const { return !m_selection.empty(); }
    void SelectionDelete() { m_selection.clear(); }
    // Selects, at level, the pixels whose alpha is at least minAlpha.
    bool SelectionAddAlpha(BYTE minAlpha, BYTE level);
    // Selects, at level, the pixels of exactly this colour (alpha ignored).
    bool SelectionAddColor(RGBQUAD color, BYTE level = 255);
    bool SelectionInvert();
    // Adds the selected pixels to region (window coordinates, top-left 0,0).
    bool SelectionToHRGN(HRGN& region) const;

private:
    bool DecodeBytes(const BYTE* data, size_t size, DWORD imagetype);
    bool Fail(const char* why);
    void Changed();
    bool Rotate(CxImage* dst, bool left);
    uint32_t& Px(long x, long y) { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    uint32_t Px(long x, long y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    BYTE& Sel(long x, long y) { return m_selection[static_cast<size_t>(y) * m_width + x]; }
    HBITMAP DrawSource(int& mode);

    DWORD m_width = 0;
    DWORD m_height = 0;
    DWORD m_type = CXIMAGE_FORMAT_UNKNOWN;
    std::vector<uint32_t> m_pixels;     // 0xAARRGGBB, rows from the top
    bool m_alphaValid = false;
    long m_transIndex = -1;
    RGBQUAD m_transColor = {0, 0, 0, 0};
    std::vector<BYTE> m_selection;       // empty: nothing selected
    std::string m_lastError;
    HBITMAP m_cache = nullptr;           // the pixels as drawn, made on first Draw
    int m_cacheMode = 0;
};

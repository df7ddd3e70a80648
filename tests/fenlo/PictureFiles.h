// Pictures for the table's tests: flat 24-bit BMP files and in-memory images.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/vantor/CxImage.h"
#include "tests/platform/WindowCapture.h"

namespace fenlo_test {

// A w x h BMP of one colour; with keyColumn its first column is magenta.
inline void WriteFlatBmp(const std::string& path, int w, int h, COLORREF color, bool keyColumn = false) {
    const int stride = (w * 3 + 3) & ~3;
    std::string data(static_cast<size_t>(stride) * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = keyColumn && x == 0 ? RGB(255, 0, 255) : color;
            char* p = &data[static_cast<size_t>(y) * stride + x * 3];
            p[0] = static_cast<char>(GetBValue(c)), p[1] = static_cast<char>(GetGValue(c)),
            p[2] = static_cast<char>(GetRValue(c));
        }
    BITMAPINFOHEADER bi = {sizeof bi, w, h, 1, 24, BI_RGB, static_cast<DWORD>(data.size()), 0, 0, 0, 0};
    BITMAPFILEHEADER bf = {0x4D42, static_cast<DWORD>(sizeof bf + sizeof bi + data.size()), 0, 0,
                           static_cast<DWORD>(sizeof bf + sizeof bi)};
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&bf, sizeof bf, 1, f);
        std::fwrite(&bi, sizeof bi, 1, f);
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

// A flat image in memory; the pixel (0, 0) magenta when keyCorner is set.
inline void FillImage(CxImage& image, int w, int h, COLORREF color, bool keyCorner = false) {
    image.Create(static_cast<DWORD>(w), static_cast<DWORD>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = keyCorner && x == 0 && y == 0 ? RGB(255, 0, 255) : color;
            image.SetPixelColor(x, y, RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 255});
        }
}

inline COLORREF PixelOf(const CxImage* image, int x, int y) {
    const RGBQUAD q = image->GetPixelColor(x, y);
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// Whether every opaque pixel of the picture's rectangle (sx, sy, w, h) shows
// unchanged at (x, y) of the capture; false when the rectangle has none.
inline bool ShowsPicture(const Capture& c, int x, int y, const CxImage* image, int sx, int sy, int w, int h) {
    int opaque = 0;
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) {
            const RGBQUAD q = image->GetPixelColor(sx + u, sy + v);
            if (q.rgbReserved != 255) continue;
            ++opaque;
            if (c.At(x + u, y + v) != RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)) return false;
        }
    return opaque > 0;
}

}  // namespace fenlo_test

#include "lobby/ui/SkinGeometry.h"

void MakeGlowPixels(const uint32_t* src, uint32_t* dst, int width, int height, uint32_t glowRgb, uint32_t keyRgb) {
    if (width <= 0 || height <= 0) return;
    for (int i = 0; i < width * height; ++i) dst[i] = 0;
    const uint32_t key = 0xFF000000u | (keyRgb & 0xFFFFFFu);
    const uint32_t full = 0xFF000000u | (glowRgb & 0xFFFFFFu);
    const uint32_t half = 0x7F000000u | (glowRgb & 0xFFFFFFu);
    auto at = [&](int x, int y) { return src[y * width + x]; };
    for (int y = 1; y < height - 1; ++y) {
        for (int x = 1; x < width - 1; ++x) {
            if (at(x, y) == key) continue;
            dst[y * width + x] = at(x, y);
            const int dx[4] = {0, 0, -1, 1}, dy[4] = {-1, 1, 0, 0};
            for (int k = 0; k < 4; ++k)
                if (at(x + dx[k], y + dy[k]) == key) dst[(y + dy[k]) * width + x + dx[k]] = full;
            for (int sy = -1; sy <= 1; sy += 2) {
                for (int sx = -1; sx <= 1; sx += 2) {
                    if (at(x + sx, y + sy) == key && at(x, y + sy) == key && at(x + sx, y) == key)
                        dst[(y + sy) * width + x + sx] = half;
                }
            }
        }
    }
}

int SkinHitTest(const SkinFrameLayout& f, int x, int y) {
    if (f.close.Contains(x, y)) return kHitClose;
    if (f.minBox && f.minimize.Contains(x, y)) return kHitMinButton;
    if (f.maxBox && f.maximize.Contains(x, y)) return kHitMaxButton;
    if (SkinRect{f.left, 5, f.left + f.iconWidth, 5 + f.iconHeight}.Contains(x, y)) return kHitSysMenu;
    const int W = f.width, H = f.height, L = f.left, R = f.right, T = f.title, B = f.bottom;
    if (f.sizable && !f.maximized) {
        const struct { SkinRect r; int code; } zones[] = {
            {{0, 0, L, T}, kHitTopLeft},          {{W - L, 0, W, T}, kHitTopRight},
            {{0, H - B, L, H}, kHitBottomLeft},   {{W - R, H - B, W, H}, kHitBottomRight},
            {{0, T, L, H - B}, kHitLeft},         {{W - R, T, W, H - B}, kHitRight},
            {{L, H - B, W - R, H}, kHitBottom},   {{L, 0, W - R, 5}, kHitTop},
        };
        for (const auto& z : zones)
            if (z.r.Contains(x, y)) return z.code;
    }
    if (SkinRect{L, 5, W - R, T}.Contains(x, y)) return kHitCaption;
    return kHitClient;
}

std::vector<TilePlacement> LayTileFrame(int left, int top, int right, int bottom, int w, int h, SkinRect& fill) {
    std::vector<TilePlacement> out;
    if (right - left - 2 * w > 0) {
        int n = (right - left - 2 * w) / w;
        for (int i = 0, x = left + w; i <= n; ++i, x += w) {
            out.push_back({1, x, top});
            out.push_back({7, x, bottom - h + 1});
        }
    }
    if (bottom - top - 2 * h > 0) {
        int m = (bottom - top - 2 * h) / h;
        for (int i = 0, y = top + w; i <= m; ++i, y += h) {
            out.push_back({3, left, y});
            out.push_back({5, right - w + 1, y});
        }
    }
    out.push_back({0, left, top});
    out.push_back({6, left, bottom - h + 1});
    out.push_back({2, right - w + 1, top});
    out.push_back({8, right - w + 1, bottom - h + 1});
    fill = {left + w, top + h, right - w + 1, bottom - h + 1};
    return out;
}

std::vector<StripPiece> LayTiledStrip(int left, int right, int imageWidth) {
    std::vector<StripPiece> out;
    if (imageWidth <= 0) return out;
    int x = left;
    for (; x < right - imageWidth; x += imageWidth) out.push_back({0, imageWidth, x});
    out.push_back({0, right - x, x});
    return out;
}

std::vector<StripPiece> LayThreeSlice(int left, int right, int imageWidth) {
    std::vector<StripPiece> out;
    const int t = imageWidth / 3;
    if (t <= 0) return out;
    out.push_back({0, t, left});
    int x = left + t;
    for (; x < right - t; x += t) out.push_back({t, 2 * t, x});
    const int r = right - x;
    out.push_back({imageWidth - r, r, x});
    return out;
}

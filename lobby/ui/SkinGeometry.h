// Geometry of the skinned drawing without windows: the glow around text
// pixels, the frame's hit test and the loops of the tiled frames and strips.
// No windows.h: also built natively.
#pragma once

#include <cstdint>
#include <vector>

// Left, top inclusive; right, bottom exclusive.
struct SkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// ARGB pixels (0xAARRGGBB), rows from the top. dst (width x height) becomes
// all transparent, then every interior source pixel other than the opaque key
// is copied and rings its key-coloured neighbours with glow: the four direct
// ones fully opaque, a diagonal one half opaque when it and the two direct
// pixels beside it are key. Written in scan order; a later write wins.
void MakeGlowPixels(const uint32_t* src, uint32_t* dst, int width, int height, uint32_t glowRgb, uint32_t keyRgb);

// Hit codes as WM_NCHITTEST gives them.
enum SkinHit {
    kHitClient = 1, kHitCaption = 2, kHitSysMenu = 3, kHitMinButton = 8, kHitMaxButton = 9,
    kHitLeft = 10, kHitRight = 11, kHitTop = 12, kHitTopLeft = 13, kHitTopRight = 14,
    kHitBottom = 15, kHitBottomLeft = 16, kHitBottomRight = 17, kHitClose = 20
};

struct SkinFrameLayout {
    int width = 0, height = 0;                        // window size
    int title = 0, left = 0, right = 0, bottom = 0;   // caption height and borders
    SkinRect close, minimize, maximize;               // caption buttons (empty: none)
    int iconWidth = 16, iconHeight = 16;
    bool minBox = false, maxBox = false, sizable = false, maximized = false;
};

// x, y relative to the window's top-left corner.
int SkinHitTest(const SkinFrameLayout& f, int x, int y);

// One tile of a bordered tile frame: which tile (0 top-left, 1 top-middle,
// 2 top-right, 3 middle-left, 5 middle-right, 6 bottom-left, 7 bottom-middle,
// 8 bottom-right) goes to x, y.
struct TilePlacement {
    int tile, x, y;
};
// Right and bottom inclusive; tiles w x h. The edges first, then the corners;
// fill gets the inner rectangle.
std::vector<TilePlacement> LayTileFrame(int left, int top, int right, int bottom, int w, int h, SkinRect& fill);

// One piece of a strip: source columns srcX .. srcX + width drawn at x.
struct StripPiece {
    int srcX, width, x;
};
// An image imageWidth wide repeated from left to right (type 2).
std::vector<StripPiece> LayTiledStrip(int left, int right, int imageWidth);
// Left third, overlapping middle pieces, then the last columns (types 4 to 6).
std::vector<StripPiece> LayThreeSlice(int left, int right, int imageWidth);

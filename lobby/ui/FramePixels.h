// A picture drawn twice, over black and over white, tells of each pixel
// whether the drawing covered it (alike over both), left it alone (still
// black and white) or blended it (in between: its alpha is the difference).
// From the two comes the picture to keep and the rectangles that lay it over
// any background as the drawing itself would have: copies where it covered,
// blends where it blended, nothing where it left the background alone.
// No windows.h: also built natively.
#pragma once

#include <cstdint>
#include <vector>

struct FrameOp {
    int x, y, width, height;  // in the drawing's coordinates
    bool blend;               // false: a plain copy
};

// overBlack and overWhite: width x height pixels 0x??RRGGBB from the top.
// overBlack becomes the picture to keep: covered pixels as drawn, blended
// ones premultiplied with their alpha in the top byte, the rest 0. Returns
// the disjoint rectangles that lay it.
std::vector<FrameOp> SplitFramePixels(uint32_t* overBlack, const uint32_t* overWhite, int width, int height);

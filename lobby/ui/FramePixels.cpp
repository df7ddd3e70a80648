#include "lobby/ui/FramePixels.h"

#include <algorithm>

namespace {

enum Kind : uint8_t { kLeft, kCovered, kBlended };

// More runs than this in a row: the row becomes one blend from its first
// touched pixel to its last (a covered pixel blends with alpha 255).
constexpr size_t kMaxRuns = 8;

struct Run {
    int x0, x1;
    Kind kind;
    bool operator==(const Run& o) const { return x0 == o.x0 && x1 == o.x1 && kind == o.kind; }
};

Kind KindOf(uint32_t overBlack, uint32_t overWhite) {
    const uint32_t b = overBlack & 0xFFFFFFu, w = overWhite & 0xFFFFFFu;
    if (b == w) return kCovered;
    return b == 0 && w == 0xFFFFFFu ? kLeft : kBlended;
}

// Over black a blend leaves c * a; over white c * a + (255 - a).
uint32_t Premultiplied(uint32_t overBlack, uint32_t overWhite) {
    int spread = 0;
    for (int shift = 0; shift < 24; shift += 8)
        spread += std::max(0, static_cast<int>((overWhite >> shift) & 0xFF) - static_cast<int>((overBlack >> shift) & 0xFF));
    const uint32_t alpha = static_cast<uint32_t>(255 - (spread + 1) / 3);
    uint32_t out = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) out |= std::min((overBlack >> shift) & 0xFF, alpha) << shift;
    return out;
}

}  // namespace

std::vector<FrameOp> SplitFramePixels(uint32_t* overBlack, const uint32_t* overWhite, int width, int height) {
    std::vector<FrameOp> ops;
    std::vector<Run> band, runs;
    int bandTop = 0;
    auto closeBand = [&](int bottom) {
        for (const Run& r : band) ops.push_back({r.x0, bandTop, r.x1 - r.x0, bottom - bandTop, r.kind == kBlended});
    };
    for (int y = 0; y < height; ++y) {
        uint32_t* kept = overBlack + static_cast<size_t>(y) * width;
        const uint32_t* white = overWhite + static_cast<size_t>(y) * width;
        runs.clear();
        for (int x = 0; x < width; ++x) {
            const Kind k = KindOf(kept[x], white[x]);
            if (k == kLeft) continue;
            if (!runs.empty() && runs.back().x1 == x && runs.back().kind == k)
                runs.back().x1 = x + 1;
            else
                runs.push_back({x, x + 1, k});
        }
        const bool oneBlend = runs.size() > kMaxRuns;
        if (oneBlend) runs.assign(1, Run{runs.front().x0, runs.back().x1, kBlended});
        for (int x = 0; x < width; ++x) {
            const Kind k = KindOf(kept[x], white[x]);
            if (k == kBlended)
                kept[x] = Premultiplied(kept[x], white[x]);
            else if (k == kLeft)
                kept[x] = 0;
            else if (oneBlend)
                kept[x] = 0xFF000000u | (kept[x] & 0xFFFFFFu);
        }
        if (runs != band) {
            closeBand(y);
            band = runs;
            bandTop = y;
        }
    }
    closeBand(height);
    return ops;
}

// CDirtyList: the rectangles the next render pass copies to the screen, or
// the whole client area once a full redraw is pending.
#pragma once

#include <vector>

struct DirtyRect {
    int left, top, right, bottom;
};

class CDirtyList {
public:
    // Dropped while a full redraw is pending, or when it lies inside a listed one.
    void Add(int x, int y, int width, int height);
    // The whole client area; nothing while a full redraw is pending.
    void AddAll(int width, int height);
    void Clear();
    bool Full() const { return full_ != 0; }
    bool Empty() const { return rects_.empty(); }
    const std::vector<DirtyRect>& Rects() const { return rects_; }

private:
    std::vector<DirtyRect> rects_;
    int full_ = 0;
};

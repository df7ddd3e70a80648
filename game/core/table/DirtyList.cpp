#include "game/core/table/DirtyList.h"

void CDirtyList::Add(int x, int y, int width, int height) {
    if (full_) return;
    const DirtyRect r = {x, y, x + width, y + height};
    for (const DirtyRect& d : rects_)
        if (r.left >= d.left && r.top >= d.top && r.right <= d.right && r.bottom <= d.bottom) return;
    rects_.push_back(r);
}

void CDirtyList::AddAll(int width, int height) {
    if (full_) return;
    rects_.clear();
    rects_.push_back({0, 0, width, height});
    full_ = 1;
}

void CDirtyList::Clear() {
    rects_.clear();
    full_ = 0;
}

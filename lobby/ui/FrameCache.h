// Pictures that depend only on their size and a state (a skin frame of one
// type, say), composed once and from then on copied. A picture is composed
// over black and over white (FramePixels.h), so that its copy lays over any
// background the pixels the drawing itself would have left there; it is kept
// in a bitmap of a CMemDC until the cache is cleared (the skin changed) or
// the least recently used pictures make room for others.
#pragma once

#include <windows.h>

#include <functional>
#include <list>
#include <vector>

#include "lobby/ui/FramePixels.h"
#include "platform/Gdi.h"

// What a picture depends on besides the drawing: a state and the size of
// what is drawn (which may differ from the box the drawing touches).
struct FrameKey {
    int state, width, height;
    bool operator==(const FrameKey& o) const { return state == o.state && width == o.width && height == o.height; }
};

class CFrameCache {
public:
    // Draws with the box's top-left corner at (0, 0) of a memory DC.
    using Compose = std::function<void(HDC)>;

    explicit CFrameCache(size_t maxPixels = 4u << 20) : m_maxPixels(maxPixels) {}
    CFrameCache(const CFrameCache&) = delete;
    CFrameCache& operator=(const CFrameCache&) = delete;

    // Lays the picture of key into the box of dc; compose draws it, once,
    // when the cache does not hold it. A key has one box size.
    void Draw(HDC dc, const RECT& box, const FrameKey& key, const Compose& compose);
    void Clear() { m_entries.clear(); }
    size_t Count() const { return m_entries.size(); }

private:
    struct Entry {
        FrameKey key;
        int width, height;  // of the box
        CBitmap bitmap;     // as composed over black, turned into the picture
        std::vector<FrameOp> ops;
    };
    Entry& Find(HDC dc, const FrameKey& key, int width, int height, const Compose& compose);

    size_t m_maxPixels;
    std::list<Entry> m_entries;  // the most recently used first
};

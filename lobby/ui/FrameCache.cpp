#include "lobby/ui/FrameCache.h"

#include <cstring>

namespace {

// A 32-bit DIB section of width x height, rows from the top, every byte set
// to fill, with what compose drew on it; null when it cannot be made.
HBITMAP DrawOver(HDC like, int width, int height, BYTE fill, const CFrameCache::Compose& compose, uint32_t** pixels) {
    void* bits = nullptr;
    HBITMAP dib = AfxCreateDibSection(like, width, height, &bits);
    if (!dib) return nullptr;
    std::memset(bits, fill, static_cast<size_t>(width) * height * 4);
    HDC mem = ::CreateCompatibleDC(like);
    HGDIOBJ old = ::SelectObject(mem, dib);
    compose(mem);
    ::GdiFlush();
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    *pixels = static_cast<uint32_t*>(bits);
    return dib;
}

}  // namespace

CFrameCache::Entry& CFrameCache::Find(HDC dc, const FrameKey& key, int width, int height, const Compose& compose) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (!(it->key == key) || it->width != width || it->height != height) continue;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return m_entries.front();
    }
    m_entries.emplace_front();
    Entry& e = m_entries.front();
    e.key = key, e.width = width, e.height = height;
    uint32_t *black = nullptr, *white = nullptr;
    CBitmap overWhite;
    e.bitmap.Attach(DrawOver(dc, width, height, 0x00, compose, &black));
    overWhite.Attach(DrawOver(dc, width, height, 0xFF, compose, &white));
    // The picture over black becomes the one kept.
    if (e.bitmap.m_hObject && overWhite.m_hObject) e.ops = SplitFramePixels(black, white, width, height);
    // Room for the new one: the least recently used go first.
    size_t pixels = 0;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        pixels += static_cast<size_t>(it->width) * it->height;
        it = it != m_entries.begin() && pixels > m_maxPixels ? m_entries.erase(it) : std::next(it);
    }
    return e;
}

void CFrameCache::Draw(HDC dc, const RECT& box, const FrameKey& key, const Compose& compose) {
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (!dc || width <= 0 || height <= 0) return;
    Entry& e = Find(dc, key, width, height, compose);
    if (e.ops.empty()) return;
    CMemDC mem(dc, box, e.bitmap);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    bool copied = false;
    for (const FrameOp& op : e.ops) {
        const CRect r(box.left + op.x, box.top + op.y, box.left + op.x + op.width, box.top + op.y + op.height);
        if (op.blend) {
            ::GdiAlphaBlend(dc, r.left, r.top, r.Width(), r.Height(), mem, r.left, r.top, r.Width(), r.Height(), blend);
        } else {
            mem.CopyBackOnly(r);
            copied = true;
        }
    }
    if (!copied) mem.CopyBackOnly(CRect());
}

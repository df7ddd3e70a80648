#include "lobby/ui/FrameCache.h"

#include <cstring>

namespace {

// A 32-bit top-down DIB section of width x height, every byte set to fill,
// with what compose draws on it.
std::vector<uint32_t> ComposeOver(HDC like, int width, int height, BYTE fill, const CFrameCache::Compose& compose) {
    std::vector<uint32_t> pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(like, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return pixels;
    const size_t count = static_cast<size_t>(width) * height;
    std::memset(bits, fill, count * 4);
    HDC mem = ::CreateCompatibleDC(like);
    HGDIOBJ old = ::SelectObject(mem, dib);
    compose(mem);
    ::GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    pixels.assign(p, p + count);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
    return pixels;
}

}  // namespace

CFrameCache::Entry& CFrameCache::Find(HDC dc, const FrameKey& key, int width, int height, const Compose& compose) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (!(it->key == key) || it->width != width || it->height != height) continue;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return m_entries.front();
    }
    const std::vector<uint32_t> black = ComposeOver(dc, width, height, 0x00, compose);
    const std::vector<uint32_t> white = ComposeOver(dc, width, height, 0xFF, compose);
    m_entries.emplace_front();
    Entry& e = m_entries.front();
    e.key = key, e.width = width, e.height = height;
    if (!black.empty() && !white.empty()) e.picture = SplitFramePixels(black.data(), white.data(), width, height);
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
    const FramePicture& p = e.picture;
    if (p.ops.empty()) return;
    const int x0 = box.left + p.left, y0 = box.top + p.top;
    CMemDC mem(dc, CRect(x0, y0, x0 + p.width, y0 + p.height), e.bitmap);
    if (mem.IsNew()) {
        if (p.pixels.empty()) {  // no bitmap could be kept: nothing to lay
            mem.CopyBackOnly(CRect());
            return;
        }
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = p.width;
        bi.bmiHeader.biHeight = -p.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        ::SetDIBitsToDevice(mem, x0, y0, p.width, p.height, 0, 0, 0, p.height, p.pixels.data(), &bi, DIB_RGB_COLORS);
        if (e.bitmap.m_hObject) std::vector<uint32_t>().swap(e.picture.pixels);  // the bitmap holds them now
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    bool copied = false;
    for (const FrameOp& op : p.ops) {
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

#include "platform/GifFrames.h"

#include <objidl.h>
#include <gdiplus.h>

GifFrames::GifFrames() = default;
GifFrames::~GifFrames() = default;

bool GifFrames::Load(const wchar_t* path) {
    image_.reset();
    delays_.clear();
    count_ = current_ = 0;
    if (!path || ::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return false;
    auto image = std::make_unique<Gdiplus::Image>(path);
    if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0) return false;
    GUID dimension = Gdiplus::FrameDimensionTime;
    count_ = image->GetFrameCount(&dimension);
    if (count_ == 0) count_ = 1;
    const UINT size = image->GetPropertyItemSize(PropertyTagFrameDelay);
    if (size > sizeof(Gdiplus::PropertyItem)) {
        std::vector<BYTE> buffer(size);
        auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
        if (image->GetPropertyItem(PropertyTagFrameDelay, size, item) == Gdiplus::Ok) {
            const UINT n = item->length / 4;
            for (UINT i = 0; i < n; ++i) delays_.push_back(static_cast<UINT*>(item->value)[i] * 10);
        }
    }
    image_ = std::move(image);
    return true;
}

UINT GifFrames::Delay(UINT frame) const {
    const UINT d = frame < delays_.size() ? delays_[frame] : 0;
    return d < 20 ? 100 : d;
}

void GifFrames::Select(UINT frame) {
    if (!image_ || frame >= count_) return;
    GUID dimension = Gdiplus::FrameDimensionTime;
    if (count_ > 1) image_->SelectActiveFrame(&dimension, frame);
    current_ = frame;
}

UINT GifFrames::Advance() {
    Select(count_ ? (current_ + 1) % count_ : 0);
    return Delay(current_);
}

int GifFrames::Width() const { return image_ ? static_cast<int>(image_->GetWidth()) : 0; }
int GifFrames::Height() const { return image_ ? static_cast<int>(image_->GetHeight()) : 0; }

void GifFrames::Draw(HDC dc, const RECT& rect) const {
    if (!image_) return;
    Gdiplus::Graphics g(dc);
    g.DrawImage(image_.get(), static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
}

HBITMAP GifFrames::CopyFrame(COLORREF background) const {
    if (!image_) return nullptr;
    const int w = Width(), h = Height();
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
    ::ReleaseDC(nullptr, screen);
    if (!bmp) {
        ::DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT r = {0, 0, w, h};
    HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    Draw(dc, r);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bmp;
}

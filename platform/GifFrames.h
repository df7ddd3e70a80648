// The frames of an animated GIF through GDI+ (started by the caller): the
// count, each frame's delay, the selected frame drawn or copied to a bitmap.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace Gdiplus {
class Image;
}

class GifFrames {
public:
    GifFrames();
    ~GifFrames();
    GifFrames(const GifFrames&) = delete;
    GifFrames& operator=(const GifFrames&) = delete;

    // False when the file cannot be read as a picture.
    bool Load(const wchar_t* path);
    bool IsLoaded() const { return image_ != nullptr; }
    UINT Count() const { return count_; }
    UINT Current() const { return current_; }
    // Delay of the frame in ms (100 when the file gives none or less than 20).
    UINT Delay(UINT frame) const;
    void Select(UINT frame);
    // Selects the next frame, back to 0 after the last; its delay.
    UINT Advance();
    int Width() const;
    int Height() const;
    Gdiplus::Image* Image() const { return image_.get(); }
    // The selected frame scaled into rect.
    void Draw(HDC dc, const RECT& rect) const;
    // A new 24-bit bitmap of the selected frame on the background colour.
    HBITMAP CopyFrame(COLORREF background) const;

private:
    std::unique_ptr<Gdiplus::Image> image_;
    std::vector<UINT> delays_;
    UINT count_ = 0;
    UINT current_ = 0;
};

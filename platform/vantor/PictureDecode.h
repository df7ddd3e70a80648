// The picture forms the program's own files use, decoded without GDI+:
// 8-bit RGB and RGBA PNG (not interlaced) and 24-bit uncompressed BMP. Plain
// C++ over zlib. Any other form, and any damaged file, is refused, and the
// caller leaves it to GDI+, which reads every form and reports the damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

struct DecodedPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows from the top; alpha 0xFF when the form has none
    bool alpha = false;            // the form carries an alpha channel
};

// Sides above this, or more pixels than kMaxPixels, are refused.
constexpr uint32_t kMaxSide = 32768;
constexpr uint64_t kMaxPixels = 64u * 1024 * 1024;

// True with the picture filled in; false leaves it empty.
bool DecodePng(const uint8_t* data, size_t size, DecodedPicture& out);
bool DecodeBmp(const uint8_t* data, size_t size, DecodedPicture& out);
// Whichever of the two the bytes start like.
bool DecodeSimplePicture(const uint8_t* data, size_t size, DecodedPicture& out);

}  // namespace vantor

#include "platform/vantor/PictureDecode.h"

#include <zlib.h>

#include <cstring>
#include <new>

#include "platform/ByteOrder.h"

namespace vantor {

namespace {

bool SizeFits(uint32_t w, uint32_t h) {
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && uint64_t(w) * h <= kMaxPixels;
}

bool Allocate(DecodedPicture& out, uint32_t w, uint32_t h) {
    try {
        out.pixels.assign(size_t(w) * h, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.width = w;
    out.height = h;
    return true;
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Reverses the row filters in place; rows are 1 + stride bytes.
bool Unfilter(uint8_t* data, uint32_t rows, size_t stride, int bpp) {
    const uint8_t* prior = nullptr;
    for (uint32_t y = 0; y < rows; ++y) {
        uint8_t* row = data + y * (stride + 1);
        const uint8_t filter = row[0];
        uint8_t* cur = row + 1;
        switch (filter) {
            case 0:
                break;
            case 1:
                for (size_t i = bpp; i < stride; ++i) cur[i] = uint8_t(cur[i] + cur[i - bpp]);
                break;
            case 2:
                if (prior)
                    for (size_t i = 0; i < stride; ++i) cur[i] = uint8_t(cur[i] + prior[i]);
                break;
            case 3:
                for (size_t i = 0; i < stride; ++i) {
                    const int left = i >= size_t(bpp) ? cur[i - bpp] : 0, up = prior ? prior[i] : 0;
                    cur[i] = uint8_t(cur[i] + ((left + up) >> 1));
                }
                break;
            case 4:
                for (size_t i = 0; i < stride; ++i) {
                    const int left = i >= size_t(bpp) ? cur[i - bpp] : 0, up = prior ? prior[i] : 0;
                    const int corner = prior && i >= size_t(bpp) ? prior[i - bpp] : 0;
                    cur[i] = uint8_t(cur[i] + Paeth(left, up, corner));
                }
                break;
            default:
                return false;
        }
        prior = cur;
    }
    return true;
}

// Ancillary chunks that change the colours GDI+ gives: left to it.
bool ChangesColours(const uint8_t* type) {
    static const char* const kTypes[] = {"tRNS", "gAMA", "cHRM", "iCCP", "sRGB", "sBIT"};
    for (const char* t : kTypes)
        if (std::memcmp(type, t, 4) == 0) return true;
    return false;
}

bool DecodePngInto(const uint8_t* data, size_t size, DecodedPicture& out) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 + 25 || std::memcmp(data, kSignature, 8) != 0) return false;
    uint32_t w = 0, h = 0;
    int channels = 0;
    bool sawHeader = false, sawEnd = false;
    std::vector<uint8_t> raw;
    size_t rawSize = 0;
    z_stream z{};
    bool inflating = false;
    bool streamEnded = false;
    bool ok = true;
    size_t at = 8;
    while (ok && !sawEnd) {
        if (size - at < 12) {
            ok = false;
            break;
        }
        const uint32_t length = ReadBe32(data + at);
        const uint8_t* type = data + at + 4;
        if (length > size - at - 12) {
            ok = false;
            break;
        }
        const uint8_t* body = type + 4;
        const uint32_t crc = ReadBe32(body + length);
        if (crc32(crc32(0L, Z_NULL, 0), type, length + 4) != crc) {
            ok = false;
            break;
        }
        at += size_t(length) + 12;
        if (!sawHeader) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) {
                ok = false;
                break;
            }
            w = ReadBe32(body);
            h = ReadBe32(body + 4);
            const uint8_t depth = body[8], colour = body[9];
            if (!SizeFits(w, h) || depth != 8 || (colour != 2 && colour != 6) || body[10] || body[11] || body[12]) {
                ok = false;
                break;
            }
            channels = colour == 6 ? 4 : 3;
            rawSize = size_t(h) * (size_t(w) * channels + 1);
            // Deflate expands at most about 1032 times: a header larger than the
            // file can fill is refused before anything is allocated.
            if (rawSize / 1032 > size) {
                ok = false;
                break;
            }
            try {
                raw.resize(rawSize);
            } catch (const std::bad_alloc&) {
                ok = false;
                break;
            }
            if (inflateInit(&z) != Z_OK) {
                ok = false;
                break;
            }
            inflating = true;
            z.next_out = raw.data();
            z.avail_out = static_cast<uInt>(rawSize);
            sawHeader = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            if (streamEnded || length == 0) continue;
            z.next_in = const_cast<Bytef*>(body);
            z.avail_in = length;
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                streamEnded = true;
            } else if (rc != Z_OK || (z.avail_out == 0 && z.avail_in != 0)) {
                ok = false;
            }
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            sawEnd = true;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            // A suggested palette of a true-colour picture: not used.
        } else if (!(type[0] & 0x20) || ChangesColours(type)) {
            ok = false;  // an unknown critical chunk, or one that changes the colours
        }
    }
    if (inflating) inflateEnd(&z);
    if (!ok || !sawHeader || !streamEnded || z.avail_out != 0) return false;
    const size_t stride = size_t(w) * channels;
    if (!Unfilter(raw.data(), h, stride, channels) || !Allocate(out, w, h)) return false;
    uint32_t* px = out.pixels.data();
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = raw.data() + y * (stride + 1) + 1;
        for (uint32_t x = 0; x < w; ++x, s += channels) {
            const uint32_t a = channels == 4 ? s[3] : 0xFF;
            *px++ = (a << 24) | (uint32_t(s[0]) << 16) | (uint32_t(s[1]) << 8) | s[2];
        }
    }
    out.alpha = channels == 4;
    return true;
}

bool DecodeBmpInto(const uint8_t* data, size_t size, DecodedPicture& out) {
    if (size < 14 + 40 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t offset = ReadLe32(data + 10);
    const uint8_t* info = data + 14;
    const uint32_t header = ReadLe32(info);
    const int32_t width = static_cast<int32_t>(ReadLe32(info + 4));
    const int32_t height = static_cast<int32_t>(ReadLe32(info + 8));
    if (header != 40 || ReadLe16(info + 12) != 1 || ReadLe16(info + 14) != 24 || ReadLe32(info + 16) != 0) return false;
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    const uint32_t w = static_cast<uint32_t>(width);
    const uint32_t h = static_cast<uint32_t>(height < 0 ? -height : height);
    if (!SizeFits(w, h)) return false;
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if (offset < 14 + 40 || offset > size || (size - offset) / stride < h) return false;
    if (!Allocate(out, w, h)) return false;
    const bool topDown = height < 0;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = data + offset + size_t(topDown ? y : h - 1 - y) * stride;
        uint32_t* px = out.pixels.data() + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x, s += 3)
            px[x] = 0xFF000000u | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
    }
    out.alpha = false;
    return true;
}

bool Keep(bool decoded, DecodedPicture& out) {
    if (!decoded) out = DecodedPicture();
    return decoded;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, DecodedPicture& out) {
    return Keep(data && DecodePngInto(data, size, out), out);
}

bool DecodeBmp(const uint8_t* data, size_t size, DecodedPicture& out) {
    return Keep(data && DecodeBmpInto(data, size, out), out);
}

bool DecodeSimplePicture(const uint8_t* data, size_t size, DecodedPicture& out) {
    if (data && size >= 2 && data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size, out);
    return DecodePng(data, size, out);
}

}  // namespace vantor

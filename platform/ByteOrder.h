// Integers read from bytes in a stated order: little-endian (zip, BMP) and
// big-endian (PNG). The caller has checked that the bytes are there.
#pragma once

#include <cstdint>

inline uint16_t ReadLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t ReadLe32(const unsigned char* p) { return ReadLe16(p) | static_cast<uint32_t>(ReadLe16(p + 2)) << 16; }
inline uint32_t ReadBe32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

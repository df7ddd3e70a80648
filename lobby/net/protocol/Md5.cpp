#include "lobby/net/protocol/Md5.h"

#include <cmath>
#include <cstring>

namespace {

struct Md5Tables {
    uint32_t sine[64];
    Md5Tables() {
        // floor(|sin(i + 1)| * 2^32), exact in double precision.
        for (int i = 0; i < 64; ++i)
            sine[i] = static_cast<uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
    }
};

const Md5Tables& Tables() {
    static const Md5Tables tables;
    return tables;
}

const int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rotate(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t state[4], const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 | uint32_t(block[i * 4 + 2]) << 16 |
               uint32_t(block[i * 4 + 3]) << 24;
    const uint32_t* t = Tables().sine;
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int g;
        switch (round) {
            case 0:
                f = (b & c) | (~b & d);
                g = i;
                break;
            case 1:
                f = (d & b) | (~d & c);
                g = (5 * i + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
                break;
        }
        const uint32_t next = b + Rotate(a + f + t[i] + x[g], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void CMD5::Digest(const void* data, size_t length, uint8_t out[16]) {
    uint32_t state[4] = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    size_t done = 0;
    for (; length - done >= 64; done += 64) Transform(state, bytes + done);

    // The tail, the 0x80 byte, zeros, and the bit length in the last 8 bytes:
    // one final block, or two when the tail leaves fewer than 9 bytes free.
    uint8_t last[128] = {0};
    const size_t tail = length - done;
    if (tail) std::memcpy(last, bytes + done, tail);
    last[tail] = 0x80;
    const size_t total = tail < 56 ? 64 : 128;
    const uint64_t bits = static_cast<uint64_t>(length) * 8;
    for (int i = 0; i < 8; ++i) last[total - 8 + i] = static_cast<uint8_t>(bits >> (8 * i));
    Transform(state, last);
    if (total == 128) Transform(state, last + 64);

    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i * 4 + j] = static_cast<uint8_t>(state[i] >> (8 * j));
}

std::string CMD5::GetDigestString(const void* data, unsigned length) {
    if (!data) data = "";
    if (length == 0) length = static_cast<unsigned>(std::strlen(static_cast<const char*>(data)));
    uint8_t digest[16];
    Digest(data, length, digest);
    static const char kHex[] = "0123456789abcdef";
    std::string text(32, '0');
    for (int i = 0; i < 16; ++i) {
        text[i * 2] = kHex[digest[i] >> 4];
        text[i * 2 + 1] = kHex[digest[i] & 15];
    }
    return text;
}

#include "lobby/net/base/Utf8.h"

namespace {

bool IsContinuation(const unsigned char* data, size_t available, size_t i) {
    return i < available && (data[i] & 0xC0) == 0x80;
}

Utf8Sequence Skip(size_t n) { return Utf8Sequence{false, 0, n}; }
Utf8Sequence Unit(unsigned unit, size_t n) { return Utf8Sequence{true, static_cast<char16_t>(unit), n}; }

}  // namespace

Utf8Sequence DecodeUtf8Sequence(const unsigned char* data, size_t available) {
    const unsigned b0 = data[0];
    if (b0 < 0x80) return Unit(b0, 1);
    if ((b0 & 0xC0) == 0x80) return Skip(1);
    if ((b0 & 0xE0) == 0xC0) {
        if (!IsContinuation(data, available, 1)) return Skip(1);
        if (b0 == 0xC0 || b0 == 0xC1) return Skip(2);
        return Unit((b0 & 0x1F) << 6 | (data[1] & 0x3F), 2);
    }
    if ((b0 & 0xF0) == 0xE0) {
        if (!IsContinuation(data, available, 1)) return Skip(1);
        if (!IsContinuation(data, available, 2)) return Skip(2);
        const unsigned b1 = data[1];
        if ((b0 == 0xED && b1 >= 0xA0) || (b0 == 0xE0 && b1 < 0xA0)) return Skip(3);
        return Unit((b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (data[2] & 0x3F), 3);
    }
    if (b0 == 0xFE || b0 == 0xFF) return Skip(1);
    // Leads of four to six bytes: the lead and its top-bit followers go.
    const size_t most = b0 <= 0xF7 ? 4 : b0 <= 0xFB ? 5 : 6;
    size_t n = 1;
    while (n < most && n < available && (data[n] & 0x80)) ++n;
    return Skip(n);
}

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        const unsigned u = c;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | u >> 6);
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | u >> 12);
            out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const unsigned char* data = reinterpret_cast<const unsigned char*>(text.data());
    size_t at = 0;
    while (at < text.size()) {
        const Utf8Sequence s = DecodeUtf8Sequence(data + at, text.size() - at);
        out += s.valid ? s.unit : u'_';
        at += s.length;
    }
    return out;
}

// Strings made from runs of bytes, for the element tree and the reader.
#pragma once

#include <cstddef>
#include <string>

namespace tessel {

// The n bytes at p, for n over 15: out of line, so that Bytes stays small.
[[gnu::noinline]] inline std::string LongBytes(const char* p, std::size_t n) { return std::string(p, n); }

// The n bytes at p. Most names and values are at most 15 bytes, which a string
// holds in place: such a run is copied by moves of its known size rather than
// through a call to memcpy.
[[gnu::always_inline]] inline std::string Bytes(const char* p, std::size_t n) {
    switch (n) {
        case 0:
            return std::string();
        case 1:
            return std::string(p, 1);
        case 2:
            return std::string(p, 2);
        case 3:
            return std::string(p, 3);
        case 4:
            return std::string(p, 4);
        case 5:
            return std::string(p, 5);
        case 6:
            return std::string(p, 6);
        case 7:
            return std::string(p, 7);
        case 8:
            return std::string(p, 8);
        case 9:
            return std::string(p, 9);
        case 10:
            return std::string(p, 10);
        case 11:
            return std::string(p, 11);
        case 12:
            return std::string(p, 12);
        case 13:
            return std::string(p, 13);
        case 14:
            return std::string(p, 14);
        case 15:
            return std::string(p, 15);
        default:
            return LongBytes(p, n);
    }
}

// A copy of s, made by Bytes.
[[gnu::always_inline]] inline std::string Copy(const std::string& s) { return Bytes(s.data(), s.size()); }

}  // namespace tessel

// MD5 message digest (RFC 1321), printed as 32 lower-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>

class CMD5 {
public:
    // The digest of length bytes at data; a length of 0 digests the bytes up to
    // the first NUL (so a pointer to a NUL byte digests the empty input).
    std::string GetDigestString(const void* data, unsigned length);
    std::string GetDigestString(const std::string& text) {
        return GetDigestString(text.empty() ? "" : text.data(), static_cast<unsigned>(text.size()));
    }

    // The 16 digest bytes of length bytes at data (no NUL rule).
    static void Digest(const void* data, size_t length, uint8_t out[16]);
};

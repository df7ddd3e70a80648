// UTF-8 <-> UTF-16 by the lobby's own rules: one 16-bit unit at a time (no
// surrogate pairing), invalid input turned into "_" characters, never a throw.
#pragma once

#include <cstddef>
#include <string>

struct Utf8Sequence {
    bool valid;  // true: unit holds the decoded character
    char16_t unit;
    size_t length;  // bytes used (valid) or to skip (invalid); at least 1
};

// Decodes the sequence at data[0..available); available must be at least 1.
// Bytes beyond the end count as non-continuation bytes.
Utf8Sequence DecodeUtf8Sequence(const unsigned char* data, size_t available);

std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);

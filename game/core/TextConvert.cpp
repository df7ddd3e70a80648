#include "game/core/TextConvert.h"

#include <cstdint>
#include <limits>
#include <sstream>

namespace {

// Stream extraction: on failure C++11 stores 0, on overflow the nearest limit.
template <class T>
T Extract(const std::string& text) {
    std::stringstream stream(text);
    T value = 0;
    stream >> value;
    return value;
}

}  // namespace

int StringToInt(const std::string& text) { return Extract<int>(text); }

long StringToLong(const std::string& text) {
    long long value = Extract<long long>(text);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<long>(value);
}

double StringToDouble(const std::string& text) { return Extract<double>(text); }

std::string IntToString(int value) {
    std::stringstream stream;
    stream << value;
    return stream.str();
}

void Base64Decode(const char* text, int length, unsigned* counter, std::string& out) {
    auto valueOf = [](unsigned char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return 0;
    };
    std::string result;
    long long read = 0;      // where the next group starts
    long long position = 0;  // grows by 4 a group, even when "=" ended it early
    const long long end = text ? length : 0;
    // Past the text a group ends as if padded.
    auto at = [&](long long i) -> unsigned char { return i < end ? static_cast<unsigned char>(text[i]) : '='; };
    unsigned produced = 0;
    while (position < end) {
        unsigned char first = at(read);
        if (first == '\r' || first == '\n') {
            ++read;
            ++position;
            continue;
        }
        int v1 = valueOf(first), v2 = valueOf(at(read + 1));
        result += static_cast<char>((v1 * 4 + v2 / 16) % 256);
        ++produced;
        long long used = 2;
        if (at(read + 2) != '=') {
            int v3 = valueOf(at(read + 2));
            result += static_cast<char>(((v2 % 16) * 16 + v3 / 4) % 256);
            ++produced;
            used = 3;
            if (at(read + 3) != '=') {
                int v4 = valueOf(at(read + 3));
                result += static_cast<char>(((v3 % 4) * 64 + v4) % 256);
                ++produced;
                used = 4;
            }
        }
        read += used;
        position += 4;
    }
    out = result;
    if (counter) *counter += produced;
}

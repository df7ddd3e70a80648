#include "game/ui/SkinListCompare.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>

namespace {

bool IsNumber(const char* s) {
    if (!*s) return false;
    int points = 0;
    for (; *s; ++s) {
        const unsigned char c = static_cast<unsigned char>(*s);
        if (c == '.') {
            if (++points > 1) return false;
        } else if (!std::isdigit(c) && c != ' ' && c != '-') {
            return false;
        }
    }
    return true;
}

bool IsDate(const char* s) {
    if (std::strlen(s) != 10) return false;
    for (int i = 0; i < 10; ++i) {
        const bool slash = i == 2 || i == 5;
        if (slash ? s[i] != '/' : !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

// The integer part (strtoll saturates what the wire may overflow).
long long Whole(const char* s) { return std::strtoll(s, nullptr, 10); }

// Characters [from, from + count) of s as an integer; what is missing counts as 0.
long long Field(const char* s, size_t from, size_t count) {
    const size_t length = std::strlen(s);
    if (from >= length) return 0;
    return std::strtoll(std::string(s + from, std::min(count, length - from)).c_str(), nullptr, 10);
}

int Sign(long long a, long long b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int SkinListCompare(const char* a, const char* b, int ascending) {
    if (!a) a = "";
    if (!b) b = "";
    int result;
    if (IsNumber(a)) {
        result = Sign(Whole(a), Whole(b));
    } else if (IsDate(a)) {
        result = Sign(Field(a, 6, 4), Field(b, 6, 4));
        if (!result) result = Sign(Field(a, 3, 2), Field(b, 3, 2));
        if (!result) result = Sign(Field(a, 0, 2), Field(b, 0, 2));
    } else {
        result = std::strcoll(a, b);
        result = result < 0 ? -1 : (result > 0 ? 1 : 0);
    }
    return ascending ? result : -result;
}

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

long StringToLong(const std::string& text) {
    long long value = Extract<long long>(text);
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<long>(value);
}

double StringToDouble(const std::string& text) { return Extract<double>(text); }

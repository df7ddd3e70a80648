#include "lobby/net/base/NumberText.h"

#include <climits>
#include <sstream>

std::string IntToString(int value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

int StringToInt(const std::string& text) {
    std::istringstream in(text);
    long long value = 0;
    if (!(in >> value)) {
        // Failed extraction: no number at all (value 0) or one out of range
        // (value clamped to the ends of long long).
        return value > 0 ? INT_MAX : value < 0 ? INT_MIN : 0;
    }
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

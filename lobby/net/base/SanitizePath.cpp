#include "lobby/net/base/SanitizePath.h"

#include <cstring>

namespace {

void ReplaceAll(std::string& s, const std::string& from, const std::string& to, size_t start) {
    for (size_t at = s.find(from, start); at != std::string::npos; at = s.find(from, start))
        s.replace(at, from.size(), to);
}

}  // namespace

std::string SanitizePath(const std::string& path) {
    std::string s = path;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c >= 0x01 && c <= 0x1F) || (c != 0 && std::strchr("<>/\"|?*", c)))
            s[i] = '_';
        else if (c == ':' && i != 1)
            s[i] = '_';
    }
    ReplaceAll(s, "\\.\\", "\\", 0);
    ReplaceAll(s, "\\\\", "\\", 1);  // a pair at the very start (a share name) stays
    for (size_t at = s.find("\\..\\"); at != std::string::npos; at = s.find("\\..\\", at + 4))
        s.replace(at + 1, 3, "___");
    return s;
}

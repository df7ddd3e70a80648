#include "browserhelper/LaunchLink.h"

const char kLaunchKeyword[] = "javascript:tarnelgame_run_client";

LaunchVerdict ReadLaunchLink(const std::string& url, std::string& tail) {
    const size_t at = url.find(kLaunchKeyword);
    if (at == std::string::npos) return LaunchVerdict::NotALaunch;
    tail = url.substr(at);
    // Any page can send this link and the tail becomes a command line.
    if (tail.size() > kMaxLaunchTail) return LaunchVerdict::Refused;
    for (unsigned char c : tail) {
        if (c < 0x20 || c == 0x7F) return LaunchVerdict::Refused;
    }
    return LaunchVerdict::Launch;
}

std::string WorkingFolderOf(const std::string& path) {
    // GBK text: the second byte of a double-byte character may be 0x5C.
    size_t end = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) ++i;
        else if (c == '\\') end = i + 1;
    }
    return path.substr(0, end);
}

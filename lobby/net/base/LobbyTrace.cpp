#include "lobby/net/base/LobbyTrace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "lobby/net/base/ProcessClock.h"

namespace {

// The trace file, or false when the variable is not set.
bool TracePath(char (&path)[MAX_PATH]) {
    DWORD n = ::GetEnvironmentVariableA("MIRABO_LOBBY_TRACE", path, MAX_PATH);
    return n != 0 && n < MAX_PATH;
}

void Append(const char* path, const std::string& prefix, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int len = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (len < 0) return;
    std::string line(static_cast<size_t>(len) + 1, '\0');
    std::vsnprintf(&line[0], line.size(), format, args);
    line.resize(static_cast<size_t>(len));
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';  // one line per event
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s%s\n", prefix.c_str(), line.c_str());
        std::fclose(f);
    }
}

}  // namespace

void LobbyTrace(const char* format, ...) {
    char path[MAX_PATH] = "";
    if (!TracePath(path)) return;
    va_list args;
    va_start(args, format);
    Append(path, "", format, args);
    va_end(args);
}

void LobbyStep(const char* format, ...) {
    char path[MAX_PATH] = "";
    if (!TracePath(path)) return;
    va_list args;
    va_start(args, format);
    Append(path, "at " + std::to_string(MsSinceProcessStart()) + " ", format, args);
    va_end(args);
}

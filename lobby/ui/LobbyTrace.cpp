#include "lobby/ui/LobbyTrace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

void LobbyTrace(const char* format, ...) {
    char path[MAX_PATH] = "";
    DWORD n = ::GetEnvironmentVariableA("MIRABO_LOBBY_TRACE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    va_list args;
    va_start(args, format);
    int len = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (len < 0) return;
    std::string line(static_cast<size_t>(len) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&line[0], line.size(), format, args);
    va_end(args);
    line.resize(static_cast<size_t>(len));
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';  // one line per event
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

#include "game/ui/TableTrace.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

void TableTrace(const char* format, ...) {
    static const std::string path = [] {
        char value[MAX_PATH] = "";
        DWORD n = ::GetEnvironmentVariableA("FENLO_TABLE_TRACE", value, MAX_PATH);
        return std::string(n > 0 && n < MAX_PATH ? value : "");
    }();
    if (path.empty()) return;
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line);
        std::fclose(f);
    }
}

#include "game/core/table/TableTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

void TableTrace(const char* format, ...) {
    static const std::string path = [] {
        const char* value = std::getenv("FENLO_TABLE_TRACE");
        return std::string(value ? value : "");
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

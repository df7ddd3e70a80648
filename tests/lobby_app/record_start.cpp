// Stand-in for a program the lobby starts: appends its parameters (the command
// line after the program name) as one line to the file named by
// MIRABO_RECORD_STARTS.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
    const char* path = std::getenv("MIRABO_RECORD_STARTS");
    if (!path) return 1;
    const char* line = GetCommandLineA();
    if (*line == '"') {
        line = std::strchr(line + 1, '"');
        line = line ? line + 1 : "";
    } else {
        while (*line && *line != ' ') ++line;
    }
    while (*line == ' ') ++line;
    std::FILE* f = std::fopen(path, "a");
    if (!f) return 1;
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
    return 0;
}

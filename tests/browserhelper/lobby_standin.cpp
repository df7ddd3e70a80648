// Stands in for the lobby program: appends its command-line arguments and its
// working folder, one line each, to the file named by MIRABO_STANDIN_RECORD.
#include <windows.h>

#include <cstdio>

int main() {
    const char* line = GetCommandLineA();
    // Skip the program name, quoted or not, and the blanks after it.
    if (*line == '"') {
        for (++line; *line && *line != '"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    char folder[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    char record[MAX_PATH * 2] = {};
    if (!GetEnvironmentVariableA("MIRABO_STANDIN_RECORD", record, sizeof record)) return 2;
    FILE* file = std::fopen(record, "ab");
    if (!file) return 3;
    std::fprintf(file, "%s\n%s\n", line, folder);
    std::fclose(file);
    return 0;
}

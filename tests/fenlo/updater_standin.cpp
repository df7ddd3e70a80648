// Stands in for Updater\Updater.exe: appends its command line to updater.log
// in the current directory.
#include <windows.h>

#include <cstdio>

int main() {
    if (FILE* f = std::fopen("updater.log", "ab")) {
        std::fprintf(f, "%s\n", GetCommandLineA());
        std::fclose(f);
    }
    return 0;
}

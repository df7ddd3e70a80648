// Stands in for Updater\Updater.exe: appends its command line to updater.log
// in the current directory, then whether the table, while it waits for this
// program, still answers a WM_COPYDATA sent to it.
#include <windows.h>

#include <cstdio>

int main() {
    FILE* f = std::fopen("updater.log", "ab");
    if (!f) return 1;
    std::fprintf(f, "%s\n", GetCommandLineA());
    if (HWND table = FindWindowA(nullptr, "Mirabo斗地主")) {
        char record[1032] = {};
        COPYDATASTRUCT data = {0, sizeof record, record};
        DWORD_PTR result = 0;
        const bool answered = SendMessageTimeoutA(table, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                                  SMTO_ABORTIFHUNG, 5000, &result) != 0;
        std::fprintf(f, "copydata %s\n", answered ? "answered" : "not answered");
    }
    std::fclose(f);
    return 0;
}

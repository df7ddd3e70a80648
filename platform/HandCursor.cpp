#include "platform/HandCursor.h"

HCURSOR AfxLoadHandCursor() {
    char path[MAX_PATH + 20] = "";
    UINT n = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\winhlp32.exe");
    HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return nullptr;
    HCURSOR cursor = nullptr;
    if (HCURSOR c = ::LoadCursorA(module, MAKEINTRESOURCEA(106)))
        cursor = reinterpret_cast<HCURSOR>(::CopyImage(c, IMAGE_CURSOR, 0, 0, 0));
    ::FreeLibrary(module);
    return cursor;
}

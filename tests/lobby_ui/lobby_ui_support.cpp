#include "LobbyUiTest.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "lobby/ui/SkinRes.h"
#include "tests/platform/WindowCapture.h"

namespace {

const bool g_gdiplus = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
}();

}  // namespace

std::string SkinIniPath() {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    return dir.substr(0, dir.find_last_of('\\')) + "\\Skin\\Style1\\Skin.ini";
}

CSkinRes* LoadedSkin() {
    static const int loaded = GetLobbySkin()->Load(SkinIniPath().c_str());
    (void)loaded;
    return GetLobbySkin();
}

COLORREF SkinPicturePixel(const char* file, int x, int y) {
    std::string path = SkinIniPath();
    path = path.substr(0, path.find_last_of('\\') + 1) + file;
    return PictureFile(path).At(x, y);
}

Capture CaptureWhole(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    HDC dc = ::GetWindowDC(hwnd);
    Capture c = CaptureDC(dc, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(hwnd, dc);
    return c;
}

unsigned long RegisterImageOle(bool on) {
    std::string exe = SkinIniPath();
    exe = exe.substr(0, exe.find("\\Skin\\"));
    std::string line = std::string("regsvr32.exe /s ") + (on ? "" : "/u ") + "\"" + exe + "\\ImageOle.dll\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 99;
    ::WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

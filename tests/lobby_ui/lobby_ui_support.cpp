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

Capture CaptureWhole(HWND hwnd) {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    HDC dc = ::GetWindowDC(hwnd);
    Capture c = CaptureDC(dc, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(hwnd, dc);
    return c;
}

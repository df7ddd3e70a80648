// bench_lobby_skin.exe [iterations]: run from the bin folder (it loads
// Skin\Style1\Skin.ini beside the program).
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "lobby/ui/SkinRes.h"
#include "lobby/ui/TextImage.h"

namespace {

double MsPerCall(int n, const std::function<void()>& fn) {
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    fn();  // warm
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < n; ++i) fn();
    ::QueryPerformanceCounter(&b);
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart) / n;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 50;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string ini(exe);
    ini = ini.substr(0, ini.find_last_of('\\')) + "\\Skin\\Style1\\Skin.ini";
    {
        CSkinRes skin;
        if (!skin.Load(ini.c_str())) {
            std::fprintf(stderr, "cannot load %s\n", ini.c_str());
            return 1;
        }
        HDC screen = ::GetDC(nullptr);
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, 930, 670);
        HGDIOBJ old = ::SelectObject(mem, bmp);
        CDC* dc = CDC::FromHandle(mem);
        for (int type = 1; type <= 6; ++type)
            std::printf("DrawFrame type %d, 930 x 670: %.3f ms\n", type,
                        MsPerCall(n, [&] { skin.DrawFrame(dc, 0, 0, 929, 669, type); }));
        std::printf("RenderGlowTextImage, 30 bytes: %.3f ms\n", MsPerCall(n, [] {
                        delete RenderGlowTextImage("0123456789abcdefghijABCDEFGHIJ", "宋体", 14, 0,
                                                   RGB(255, 236, 21), RGB(2, 69, 166), 0, 0);
                    }));
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}

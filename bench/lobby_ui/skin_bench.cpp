// bench_lobby_skin.exe [calls]: run from the bin folder (it loads
// Skin\Style1\Skin.ini beside the program). Each frame type over 930 x 670:
// the skin's DrawFrame as the windows call it (from its picture, once
// composed), the composing call and the drawing afresh, each as a ratio to a
// copy of 930 x 670 measured in the same run; then a glowing text line.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/CopyRatio.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/TextImage.h"

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 50;
    const int W = 930, H = 670;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string ini(exe);
    ini = ini.substr(0, ini.find_last_of('\\')) + "\\Skin\\Style1\\Skin.ini";
    bool met = true;
    {
        CSkinRes skin;
        if (!skin.Load(ini.c_str())) {
            std::fprintf(stderr, "cannot load %s\n", ini.c_str());
            return 1;
        }
        HDC screen = ::GetDC(nullptr);
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, W, H);
        HGDIOBJ old = ::SelectObject(mem, bmp);
        CDC* dc = CDC::FromHandle(mem);
        const double copy = bench::CopyMs(W, H);
        for (int type = 1; type <= 6; ++type) {
            char what[64];
            std::snprintf(what, sizeof what, "DrawFrame type %d, 930 x 670, composed", type);
            const double t0 = bench::NowMs();
            skin.DrawFrame(dc, 0, 0, W - 1, H - 1, type);
            bench::PrintRatio(what, bench::NowMs() - t0, copy, W, H, 0);
            std::snprintf(what, sizeof what, "DrawFrame type %d, 930 x 670, drawn afresh", type);
            bench::PrintRatio(what, bench::MedianMs(std::max(3, n / 10), [&] { skin.DrawFrameDirect(dc, 0, 0, W - 1, H - 1, type); }),
                              copy, W, H, 0);
            std::snprintf(what, sizeof what, "DrawFrame type %d, 930 x 670", type);
            met &= bench::PrintRatio(what, bench::MedianMs(n, [&] {
                                         skin.DrawFrame(dc, 0, 0, W - 1, H - 1, type);
                                         ::GdiFlush();
                                     }),
                                     copy, W, H, 5);
        }
        std::printf("RenderGlowTextImage, 30 bytes: %.3f ms\n", bench::MedianMs(n, [] {
                        delete RenderGlowTextImage("0123456789abcdefghijABCDEFGHIJ", "宋体", 14, 0,
                                                   RGB(255, 236, 21), RGB(2, 69, 166), 0, 0);
                    }));
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
    }
    std::printf("DrawFrame goal (every type <= 5 copies): %s\n", met ? "met" : "NOT MET");
    Gdiplus::GdiplusShutdown(token);
    return 0;
}

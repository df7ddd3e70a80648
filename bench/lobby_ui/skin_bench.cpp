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
#include "lobby/ui/DSkinWin.h"
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
        {
            // The skinned window frame of a 930 x 670 window: a repaint as a move or
            // an uncovering asks for it, and one after each change of activation.
            CWnd window;
            window.CreateEx(0, "STATIC", "大厅", WS_POPUP | WS_VISIBLE | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                            CRect(0, 0, W, H), nullptr, 0);
            CDSkinWin frame;
            frame.SetSkin(&skin);
            frame.InstallSkin(&window);
            ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, W, H, SWP_NOZORDER | SWP_FRAMECHANGED);
            met &= bench::PrintRatio("skinned window frame, 930 x 670, repainted",
                                     bench::MedianMs(n, [&] { window.SendMessage(WM_NCPAINT, 1, 0); }), copy, W, H, 5);
            BOOL active = FALSE;
            bench::PrintRatio("skinned window frame, 930 x 670, after each change of activation",
                              bench::MedianMs(std::max(3, n / 5), [&] {
                                  window.SendMessage(WM_NCACTIVATE, active, 0);
                                  active = !active;
                              }),
                              copy, W, H, 0);
            window.DestroyWindow();
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

#include "tests/platform/WindowCapture.h"
#include "tests/support/Patience.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

COLORREF Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    uint32_t px = pixels[static_cast<size_t>(y) * width + x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

Capture CaptureDC(HDC dc, int width, int height) {
    Capture c;
    if (width <= 0 || height <= 0) return c;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    c.width = width;
    c.height = height;
    c.pixels.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
    for (auto& px : c.pixels) px &= 0xFFFFFF;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return c;
}

Capture CaptureWindow(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    Capture c = CaptureDC(dc, r.right, r.bottom);
    ReleaseDC(hwnd, dc);
    return c;
}

std::string SavePng(const Capture& capture, const std::string& name) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));
    dir = dir.substr(0, dir.find_last_of('\\')) + "\\test-output";
    CreateDirectoryA(dir.c_str(), nullptr);
    return SavePngTo(capture, dir + "\\" + name + ".png");
}

std::string SavePngTo(const Capture& capture, const std::string& path) {
    using namespace Gdiplus;
    static ULONG_PTR token = 0;
    if (!token) {
        GdiplusStartupInput input;
        if (GdiplusStartup(&token, &input, nullptr) != Ok) return "";
    }
    std::vector<uint32_t> argb(capture.pixels);
    for (auto& px : argb) px |= 0xFF000000u;
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromScan0(capture.width, capture.height, capture.width * 4,
                                              PixelFormat32bppARGB, reinterpret_cast<BYTE*>(argb.data()),
                                              &bitmap) != Ok)
        return "";
    // The PNG encoder's class id.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    std::wstring wpath(path.begin(), path.end());
    Status st = DllExports::GdipSaveImageToFile(bitmap, wpath.c_str(), &png, nullptr);
    DllExports::GdipDisposeImage(bitmap);
    return st == Ok ? path : "";
}

void PumpMessages(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
}

bool MoveCursorTo(int x, int y, DWORD timeoutMs) {
    int steady = 0;
    return PumpUntil(
        [&] {
            POINT at;
            ::GetCursorPos(&at);
            if (at.x == x && at.y == y) return ++steady >= 10;
            steady = 0;
            ::SetCursorPos(x, y);
            return false;
        },
        timeoutMs);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD end = GetTickCount() + static_cast<DWORD>(testsupport::Patience(static_cast<int>(timeoutMs)));
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
        Sleep(5);
    }
}

#include "tests/platform/WindowCapture.h"
#include "tests/support/Patience.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
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

Capture CaptureIcon(HICON icon, int size) {
    if (!icon) return Capture();
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(mem, bitmap);
    RECT all = {0, 0, size, size};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(mem, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    Capture c = CaptureDC(mem, size, size);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return c;
}

Capture ProgramIcon(const std::string& program, int id, int size) {
    HMODULE file = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file) return Capture();
    HICON icon = static_cast<HICON>(LoadImageA(file, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    Capture c = CaptureIcon(icon, size);
    if (icon) DestroyIcon(icon);
    FreeLibrary(file);
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

namespace {

bool StartGdiplus() {
    static ULONG_PTR token = 0;
    if (!token) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) token = 0;
    }
    return token != 0;
}

}  // namespace

Capture PictureFile(const std::string& path) {
    using namespace Gdiplus;
    Capture c;
    if (!StartGdiplus()) return c;
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromFile(std::wstring(path.begin(), path.end()).c_str(), &bitmap) != Ok)
        return c;
    UINT w = 0, h = 0;
    DllExports::GdipGetImageWidth(bitmap, &w);
    DllExports::GdipGetImageHeight(bitmap, &h);
    GpRect all(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    BitmapData data{};
    if (DllExports::GdipBitmapLockBits(bitmap, &all, ImageLockModeRead, PixelFormat32bppARGB, &data) == Ok) {
        c.width = static_cast<int>(w);
        c.height = static_cast<int>(h);
        for (UINT y = 0; y < h; ++y) {
            const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
            for (UINT x = 0; x < w; ++x) c.pixels.push_back(row[x] & 0xFFFFFF);
        }
        DllExports::GdipBitmapUnlockBits(bitmap, &data);
    }
    DllExports::GdipDisposeImage(bitmap);
    return c;
}

std::string SavePngTo(const Capture& capture, const std::string& path) {
    using namespace Gdiplus;
    if (!StartGdiplus()) return "";
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

bool ClickScreenAt(int x, int y) {
    if (!MoveCursorTo(x, y)) return false;
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, press, sizeof(INPUT)) == 2;
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

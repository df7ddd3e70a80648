// The build's smoke program: proves that a toolchain-built DLL loads, that a
// window can be made and painted, and that the generated assets are in place.
// Prints "smoke: ok" and exits 0, or names what failed and exits 1.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "platform/CString.h"
#include "xml/XMLAttribute.h"

namespace {

struct AttributeFactory : XMLAttribute {
    static XMLAttribute* Make(const char* n, const char* v) { return CreateNewAttribute(n, v); }
};

int Fail(const char* what) {
    std::printf("smoke: FAILED: %s (error %lu)\n", what, GetLastError());
    return 1;
}

}  // namespace

int main() {
    std::unique_ptr<XMLAttribute> attr(AttributeFactory::Make("game", "FENLO"));
    if (attr->Value() != "FENLO") return Fail("Tessel.dll attribute");

    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CString dir(exe);
    dir = dir.Left(dir.ReverseFind('\\') + 1);
    HBITMAP logo = static_cast<HBITMAP>(
        LoadImageA(nullptr, dir + "smoke\\logo.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!logo) return Fail("smoke\\logo.bmp");

    HWND wnd = CreateWindowExA(0, "STATIC", "Mirabo smoke", WS_POPUP | WS_VISIBLE, 0, 0, 64, 32,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!wnd) return Fail("CreateWindowEx");
    HDC wdc = GetDC(wnd);
    HDC mem = CreateCompatibleDC(wdc);
    HGDIOBJ old = SelectObject(mem, logo);
    BitBlt(wdc, 0, 0, 64, 32, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    GdiFlush();
    COLORREF border = GetPixel(wdc, 0, 0) & 0xFFFFFF;
    COLORREF inside = GetPixel(wdc, 32, 16) & 0xFFFFFF;
    DeleteDC(mem);
    ReleaseDC(wnd, wdc);
    DestroyWindow(wnd);
    DeleteObject(logo);
    if (border != RGB(255, 0, 255)) return Fail("border pixel is not magenta");
    if (GetRValue(inside) != 255 || GetBValue(inside) == 255) return Fail("inner pixel is not orange");

    std::printf("smoke: ok (ANSI code page %u)\n", GetACP());
    return 0;
}

#include "platform/DefaultWndClass.h"

LPCSTR AfxDefaultWndClass() {
    static const char kName[] = "MiraboWnd";
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.lpszClassName = kName;
        return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    (void)registered;
    return kName;
}

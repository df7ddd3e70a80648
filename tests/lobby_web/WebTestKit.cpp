#include "tests/lobby_web/WebTestKit.h"

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/web/DlgOrderWeb.h"
#include "lobby/ui/web/WebHost.h"

namespace webtest {

Recorder::Recorder(int width, int height) {
    WNDCLASSA c = {};
    c.lpfnWndProc = Proc;
    c.lpszClassName = "WebRecorder";
    c.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassA(&c);
    hwnd_ = ::CreateWindowA("WebRecorder", "recorder", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                            nullptr, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetLobbyMainWindow(hwnd_);
}

Recorder::~Recorder() {
    SetLobbyMainWindow(nullptr);
    ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK Recorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Recorder*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (message == kMsgWebPage || message == kMsgMainCommand || message == kMsgClosePage)) {
        Posted p{message, wParam, lParam, ""};
        if (message == kMsgWebPage && wParam == 0) {
            p.text = TakeOwned(kWebPageText, lParam).get();
        }
        self->posted.push_back(p);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

std::vector<std::string>& Boxes() {
    static std::vector<std::string> boxes;
    static const bool hooked = [] {
        SetLobbyBoxSender([](LPCSTR text, LPCSTR caption, int) {
            Boxes().push_back(std::string(caption) + "|" + text);
            return IDOK;
        });
        return true;
    }();
    (void)hooked;
    return boxes;
}

void InitOle() {
    static const bool started = SUCCEEDED(::OleInitialize(nullptr));
    (void)started;
}

void Click(HWND window, int x, int y) {
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace webtest

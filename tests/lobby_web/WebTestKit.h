// What the web and download tests share: OLE on the test thread, a window
// that records what the lobby's windows post to their parent and to the main
// lobby window, and the boxes the download dialog asks for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace webtest {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // the heap text of WM_USER+5600 wParam 0, freed on receipt
};

// A visible top-level window; it is also the main lobby window while it lives.
class Recorder {
public:
    Recorder(int width = 640, int height = 480);
    ~Recorder();
    HWND Hwnd() const { return hwnd_; }
    std::vector<Posted> posted;

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
};

// The boxes shown through the lobby's box queue since the last Clear.
std::vector<std::string>& Boxes();

// Starts OLE once for the test program.
void InitOle();

// A left click at (x, y) of a window, as posted mouse input.
void Click(HWND window, int x = 4, int y = 4);

}  // namespace webtest

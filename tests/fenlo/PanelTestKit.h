// Generated art and a host window for the side panel's tests.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "platform/Framework.h"
#include "platform/vantor/CxImage.h"

namespace paneltest {

// A picture of one colour; the kit owns it.
class Art {
public:
    CxImage* Solid(int width, int height, COLORREF colour) {
        auto image = std::make_unique<CxImage>();
        image->Create(width, height);
        const RGBQUAD q = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 255};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image->SetPixelColor(x, y, q);
        images_.push_back(std::move(image));
        return images_.back().get();
    }

private:
    std::vector<std::unique_ptr<CxImage>> images_;
};

// The list's 13 pictures: header span/start/end 20 px high; vertical bar
// 14 px wide (top 4, arrows 12, bottom 4, thumb 20); horizontal bar 10 px high.
struct ListArt {
    enum : COLORREF {
        kSpan = RGB(10, 20, 30), kTop = RGB(200, 0, 0), kUp = RGB(0, 200, 0), kVSpan = RGB(0, 0, 200),
        kDown = RGB(200, 200, 0), kBottom = RGB(0, 200, 200), kThumb = RGB(200, 0, 200)
    };
    CxImage* pictures[13];
    explicit ListArt(Art& art) {
        pictures[0] = art.Solid(8, 20, kSpan);
        pictures[1] = art.Solid(2, 20, RGB(90, 90, 90));
        pictures[2] = art.Solid(2, 20, RGB(60, 60, 60));
        pictures[3] = art.Solid(14, 4, kTop);
        pictures[4] = art.Solid(14, 12, kUp);
        pictures[5] = art.Solid(14, 8, kVSpan);
        pictures[6] = art.Solid(14, 12, kDown);
        pictures[7] = art.Solid(13, 4, kBottom);
        pictures[8] = art.Solid(14, 20, kThumb);
        pictures[9] = art.Solid(12, 10, kUp);
        pictures[10] = art.Solid(8, 10, kVSpan);
        pictures[11] = art.Solid(12, 10, kDown);
        pictures[12] = art.Solid(20, 10, kThumb);
    }
};

// A visible top-level window of ours that reflects its children's notifications.
inline BOOL CreateHost(CWnd& host, int width = 420, int height = 360) {
    // The controls the tests host come from the common controls.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    return host.CreateEx(0, "STATIC", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, width, height),
                         nullptr, 0);
}

inline void Click(HWND wnd, int x, int y) {
    ::PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace paneltest

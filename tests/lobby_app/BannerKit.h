// The login banner as the tests of MiraboGame.exe read it: its three buttons
// and whether its own picture shows them drawn over its background picture.
#pragma once

#include <algorithm>

#include "tests/platform/WindowCapture.h"

namespace lobbyapp {

// Slide, partner-site login and close.
constexpr int kBannerButtons[3] = {1031, 1030, 1032};

// How many of the buttons the banner's own picture shows as the bare
// background (login_bk2) over half of their place or more: not drawn yet.
inline int BannerButtonsNotDrawn(HWND banner, const Capture& own, const Capture& ground) {
    if (own.width != ground.width || own.height != ground.height) return 3;
    int bare = 0;
    for (int id : kBannerButtons) {
        RECT r{};
        GetWindowRect(GetDlgItem(banner, id), &r);
        MapWindowPoints(nullptr, banner, reinterpret_cast<POINT*>(&r), 2);
        int same = 0;
        for (int y = std::max(0L, r.top); y < std::min<LONG>(r.bottom, own.height); ++y)
            for (int x = std::max(0L, r.left); x < std::min<LONG>(r.right, own.width); ++x)
                same += own.At(x, y) == ground.At(x, y) ? 1 : 0;
        bare += same * 2 > (r.right - r.left) * (r.bottom - r.top) ? 1 : 0;
    }
    return bare;
}

}  // namespace lobbyapp

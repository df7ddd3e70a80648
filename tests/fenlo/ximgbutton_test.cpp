// The table's picture button on a plain parent window, driven by mouse
// messages and read back by its pixels.
#include <gtest/gtest.h>

#include <memory>

#include "game/ui/XImgButton.h"
#include "tests/fenlo/PictureFiles.h"
#include "tests/platform/WindowCapture.h"

using namespace fenlo_test;

namespace {

const COLORREF kNormal = RGB(200, 30, 30), kHover = RGB(30, 200, 30), kPressed = RGB(30, 30, 200);

int g_clicks = 0;
WNDPROC g_staticProc = nullptr;
LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_clicks;
    return CallWindowProcA(g_staticProc, w, m, wp, lp);
}

struct Stage {
    HWND parent;
    CxImage normal, hover, pressed;
    std::unique_ptr<CXImgButton> buttons[2];
    Stage() {
        parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 300, 120, nullptr,
                                 nullptr, nullptr, nullptr);
        g_staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(parent, GWLP_WNDPROC,
                                                                   reinterpret_cast<LONG_PTR>(&ParentProc)));
        FillImage(normal, 64, 30, kNormal, true);
        FillImage(hover, 64, 30, kHover, true);
        FillImage(pressed, 64, 30, kPressed, true);
        for (int i = 0; i < 2; ++i) {
            HWND b = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 10 + 100 * i, 20, 5, 5, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), nullptr, nullptr);
            buttons[i].reset(new CXImgButton);
            buttons[i]->SubclassWindow(b);
        }
        g_clicks = 0;
    }
    ~Stage() {
        for (auto& b : buttons) b->DestroyWindow();
        DestroyWindow(parent);
    }
    COLORREF At(int i, int x = 30, int y = 15) {
        PumpMessages(50);
        return CaptureWindow(*buttons[i]).At(x, y);
    }
    // The real cursor goes to the point first on a move (a leave takes it
    // away), so that the system's own mouse messages agree with ours.
    void Post(int i, UINT message, WPARAM flags = 0, int x = 30, int y = 15) {
        RECT r;
        GetWindowRect(*buttons[i], &r);
        if (message == WM_MOUSEMOVE) SetCursorPos(r.left + x, r.top + y);
        if (message == WM_MOUSELEAVE) SetCursorPos(r.left + x, r.bottom + 40);
        PostMessageA(*buttons[i], message, flags, MAKELPARAM(x, y));
        PumpMessages(30);
    }
};

TEST(XImgButton, FacesFollowTheMouseAndTheClickReachesTheParent) {
    Stage s;
    CXImgButton& b = *s.buttons[0];
    b.SetImages(&s.normal, &s.hover, &s.pressed);
    RECT r;
    b.GetClientRect(&r);
    EXPECT_EQ(r.right, 64);
    EXPECT_EQ(r.bottom, 30);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(b.GetWindowRgn(shape), ERROR);
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "the magenta pixel is cut away";
    EXPECT_TRUE(PtInRegion(shape, 1, 0));
    DeleteObject(shape);

    EXPECT_EQ(s.At(0), kNormal);
    s.Post(0, WM_MOUSEMOVE);
    EXPECT_EQ(s.At(0), kHover);
    s.Post(0, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(s.At(0), kPressed);
    s.Post(0, WM_LBUTTONUP);
    EXPECT_EQ(s.At(0), kHover);
    EXPECT_EQ(g_clicks, 1);
    s.Post(0, WM_MOUSELEAVE);
    EXPECT_EQ(s.At(0), kNormal);

    b.EnableButton(FALSE);
    const COLORREF grey = s.At(0);
    EXPECT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey)) << std::hex << grey;
    EXPECT_NE(b.GetDisabledFace(), nullptr);
    EXPECT_EQ(PixelOf(&s.normal, 5, 5), kNormal) << "the grey face is a copy";

    // A plain EnableWindow, as the table hides and shows its buttons, turns the faces too.
    b.EnableButton(TRUE);
    EXPECT_EQ(s.At(0), kNormal);
    b.EnableWindow(FALSE);
    EXPECT_EQ(s.At(0), grey);
    s.Post(0, WM_MOUSEMOVE);
    EXPECT_EQ(s.At(0), grey) << "no hover face while disabled";
    b.EnableWindow(TRUE);
    EXPECT_EQ(s.At(0), kNormal);
}

TEST(XImgButton, RegionIsACopyOrNone) {
    Stage s;
    CXImgButton& b = *s.buttons[0];
    b.SetImagesWithRgn(&s.normal, &s.hover, &s.pressed, nullptr);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(b.GetWindowRgn(shape), ERROR) << "no region given, none set";
    HRGN given = CreateRectRgn(0, 0, 10, 10);
    b.SetImagesWithRgn(&s.normal, &s.hover, &s.pressed, given, &s.hover);
    ASSERT_NE(b.GetWindowRgn(shape), ERROR);
    EXPECT_TRUE(PtInRegion(shape, 5, 5));
    EXPECT_FALSE(PtInRegion(shape, 20, 5));
    b.EnableButton(FALSE);
    EXPECT_EQ(s.At(0, 5, 5), kHover) << "the given disabled face";
    b.DestroyWindow();
    RECT box;
    EXPECT_NE(GetRgnBox(given, &box), ERROR) << "the caller's region stays valid";
    DeleteObject(given);
    DeleteObject(shape);
}

TEST(XImgButton, GroupKeepsOneButtonChecked) {
    Stage s;
    for (auto& b : s.buttons) {
        b->SetImages(&s.normal, &s.hover, &s.pressed);
        b->SetGroupID(7);
    }
    s.Post(0, WM_LBUTTONDOWN, MK_LBUTTON);
    s.Post(0, WM_LBUTTONUP);
    EXPECT_TRUE(s.buttons[0]->IsChecked());
    s.Post(0, WM_MOUSELEAVE);
    EXPECT_EQ(s.At(0), kPressed) << "a checked grouped button keeps its pressed face";
    s.Post(1, WM_LBUTTONDOWN, MK_LBUTTON);
    s.Post(1, WM_LBUTTONUP);
    EXPECT_FALSE(s.buttons[0]->IsChecked());
    EXPECT_TRUE(s.buttons[1]->IsChecked());
    EXPECT_EQ(s.At(0), kNormal);
    EXPECT_EQ(s.At(1), kPressed);
}

TEST(XImgButton, CaptionIsCentredAndNeverBurntIntoTheFace) {
    Stage s;
    CXImgButton& b = *s.buttons[0];
    b.SetImages(&s.normal, &s.hover, &s.pressed);
    b.SetTextColor(RGB(255, 255, 255));
    b.SetCaption("排序");
    auto inked = [&](int* left, int* right) {
        PumpMessages(50);
        const Capture c = CaptureWindow(b);
        int n = 0;
        *left = 64, *right = -1;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 64; ++x)
                if (c.At(x, y) == RGB(255, 255, 255)) ++n, *left = std::min(*left, x), *right = std::max(*right, x);
        return n;
    };
    int left, right;
    ASSERT_GT(inked(&left, &right), 0);
    EXPECT_NEAR(left + right, 63, 3) << "centred: " << left << ".." << right;
    b.Invalidate();
    const int twice = inked(&left, &right);
    b.Invalidate();
    EXPECT_EQ(inked(&left, &right), twice) << "a second paint does not thicken the caption";
    for (int y = 0; y < 30; ++y)
        for (int x = 1; x < 64; ++x) ASSERT_EQ(PixelOf(&s.normal, x, y), kNormal) << "the shared face is untouched";
    b.SetCaption("");
    EXPECT_EQ(inked(&left, &right), 0) << "the old caption leaves nothing behind";
}

}  // namespace

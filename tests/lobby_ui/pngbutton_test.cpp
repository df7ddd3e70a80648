// Picture buttons on a real parent: size from the strip, one pixel per state,
// the press reported before the release, a disabled button never hovering.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SkinRes.h"
#include "tests/platform/WindowCapture.h"

namespace {

const COLORREF kFrames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90)};

// 200 x 30: four frames of 50 x 30.
std::unique_ptr<Gdiplus::Bitmap> Strip() {
    auto b = std::make_unique<Gdiplus::Bitmap>(200, 30, PixelFormat32bppARGB);
    Gdiplus::Graphics g(b.get());
    for (int i = 0; i < 4; ++i) {
        Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(kFrames[i]), GetGValue(kFrames[i]),
                                                 GetBValue(kFrames[i])));
        g.FillRectangle(&brush, i * 50, 0, 50, 30);
    }
    return b;
}

// Records what reaches the parent: the press message and the click.
class Parent : public CWnd {
public:
    LRESULT OnPressed(WPARAM id, LPARAM) {
        log.push_back(static_cast<int>(id) * 10 + 1);
        return 0;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(wParam) == BN_CLICKED) log.push_back(LOWORD(wParam) * 10 + 2);
        return CWnd::OnCommand(wParam, lParam);
    }
    std::vector<int> log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_MESSAGE(kMsgPngButtonPressed, OnPressed)
END_MESSAGE_MAP()

struct Buttons : ::testing::Test {
    void SetUp() override {
        LoadedSkin();
        strip = Strip();
        ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_NOTIFY, CRect(50, 50, 250, 120),
                                    nullptr, 0));
        ASSERT_TRUE(png.CreateEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 20, 20),
                                 &parent, 5));
        ASSERT_TRUE(one.CreateEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(100, 10, 110, 20),
                                 &parent, 6));
        png.SetImage(strip.get());
        one.SetImage(strip.get());
        PumpUntil([] { return false; }, 50);
    }
    void TearDown() override { parent.DestroyWindow(); }
    COLORREF Look(CWnd& b) { return CaptureWindow(b.m_hWnd).At(25, 15); }
    std::unique_ptr<Gdiplus::Bitmap> strip;
    Parent parent;
    PngButton png;
    CPngButton1 one;
};

}  // namespace

TEST_F(Buttons, SizeAndStateFrames) {
    CRect r;
    png.GetWindowRect(&r);
    EXPECT_EQ(r.Size(), CSize(50, 30));
    parent.ScreenToClient(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(10, 10));
    EXPECT_TRUE(PumpUntil([&] { return Look(png) == kFrames[0]; }));
    png.SendMessage(WM_MOUSEHOVER);
    EXPECT_TRUE(PumpUntil([&] { return Look(png) == kFrames[1]; }));
    png.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return Look(png) == kFrames[2]; }));
    png.SendMessage(BM_SETSTATE, FALSE);
    one.SendMessage(WM_MOUSEHOVER);
    EXPECT_TRUE(PumpUntil([&] { return Look(one) == kFrames[1]; }));
    one.SetDisabledLook(TRUE);
    one.Redraw();
    EXPECT_EQ(Look(one), kFrames[3]);
    SavePng(CaptureWindow(parent.m_hWnd), "lobby_png_buttons");
    // Disabled: the disabled frame, hover or not.
    png.EnableWindow(FALSE);
    png.SendMessage(WM_MOUSEHOVER);
    png.Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return Look(png) == kFrames[3]; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(Look(png), kFrames[3]);
}

TEST_F(Buttons, PressReportedBeforeRelease) {
    const LPARAM at = MAKELPARAM(20, 15);
    png.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    png.PostMessage(WM_LBUTTONUP, 0, at);
    one.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    one.PostMessage(WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(PumpUntil([&] { return parent.log.size() >= 3; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(parent.log, (std::vector<int>{51, 52, 62}));
}

TEST_F(Buttons, BackgroundModeShowsTheRowsOfTheParentsFrameBehindIt) {
    Gdiplus::Bitmap clear(200, 30, PixelFormat32bppARGB);
    Gdiplus::Graphics(&clear).Clear(Gdiplus::Color(0, 0, 0, 0));
    one.SetImage(&clear);
    one.SetBkMode(1);
    one.Redraw();
    // The frame as tall as the parent (70), drawn alone; the button covers its rows 10 to 40.
    HDC screen = GetDC(nullptr);
    CDC frame;
    frame.Attach(CreateCompatibleDC(screen));
    CBitmap bitmap;
    bitmap.Attach(CreateCompatibleBitmap(screen, 50, 70));
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(frame, bitmap);
    LoadedSkin()->DrawFrame(&frame, 0, 0, 50, 70, 1);
    const Capture look = CaptureWindow(one.m_hWnd);
    int differ = 0, shades = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) {
            differ += look.At(x, y) != (frame.GetPixel(x, y + 10) & 0xFFFFFF);
            shades += look.At(x, y) != look.At(0, 0);
        }
    SelectObject(frame, old);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(shades, 0) << "a frame of one colour tells nothing";
}

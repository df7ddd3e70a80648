// The waiting page: its current frame centred on white, Enter not closing it.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include "LobbyUiTest.h"
#include "lobby/ui/DlgCartoon.h"

TEST(DlgCartoon, DrawsTheCurrentFrameCentredOnWhite) {
    LoadedSkin();  // GDI+ started
    Gdiplus::Bitmap strip(40, 20, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&strip);
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0)), green(Gdiplus::Color(255, 0, 255, 0));
        g.FillRectangle(&red, 0, 0, 20, 20);
        g.FillRectangle(&green, 20, 0, 20, 20);
    }
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(60, 60, 260, 200), nullptr, 0));
    DlgCartoon page;
    page.SetFrames(2, 60000, &strip);  // no frame change during the test
    ASSERT_TRUE(page.Create(DlgCartoon::IDD, &host));
    page.MoveWindow(0, 0, 200, 140);
    page.ShowWindow(SW_SHOW);
    page.SendMessage(WM_COMMAND, IDOK);
    page.SendMessage(kMsgWaitingPage, 2);
    ASSERT_TRUE(IsWindow(page.GetSafeHwnd())) << "Enter does not close it";
    page.RedrawWindow();
    const Capture shot = CaptureWindow(page.GetSafeHwnd());
    EXPECT_EQ(shot.At(100, 70), RGB(255, 0, 0)) << "frame 0 in the middle";
    EXPECT_EQ(shot.At(85, 70), RGB(255, 255, 255)) << "outside the 20-pixel frame";
    EXPECT_EQ(shot.At(5, 5), RGB(255, 255, 255));
    page.DestroyWindow();
    host.DestroyWindow();
}

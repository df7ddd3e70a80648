// The skinned frame on a real dialog: hit codes, client insets, frame and
// caption button pixels, hover and pressed looks, closing.
#include <gtest/gtest.h>

#include <string>

#include "LobbyUiTest.h"
#include "lobby/ui/DSkinWin.h"
#include "lobby/ui/SkinRes.h"
#include "platform/Dialog.h"
#include "tests/platform/WindowCapture.h"

namespace {

class SkinnedDlg : public CDialog {
public:
    SkinnedDlg() : CDialog(9001) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_skin.SetSkin(LoadedSkin());
        m_skin.InstallSkin(this);
        return TRUE;
    }
    void OnCancel() override { DestroyWindow(); }
    CDSkinWin m_skin;
};

struct Frame : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(9001));
        ::SetWindowPos(dlg.m_hWnd, nullptr, 40, 40, 300, 200, SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
        PumpUntil([] { return false; }, 100);
        ::GetWindowRect(dlg.m_hWnd, &win);
    }
    void TearDown() override {
        if (::IsWindow(dlg.m_hWnd)) dlg.DestroyWindow();
    }
    LRESULT Hit(int x, int y) {
        return ::SendMessageA(dlg.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(win.left + x, win.top + y));
    }
    COLORREF At(int x, int y) { return CaptureWhole(dlg.m_hWnd).At(x, y); }
    SkinnedDlg dlg;
    RECT win{};
};

// Close button: 300 - (5 + 20) .. 300 - 5, rows 5 .. 23; maximise and minimise to its left.
// Each is read 3 pixels in from its top-left corner, beside its symbol, and
// compared with that pixel of the strip's frames (0 normal, 1 pressed, 2 hover).
const POINT kClose = {278, 8}, kMin = {238, 8};
COLORREF Strip(const char* file, int frame) {
    return SkinPicturePixel((std::string("dialog\\") + file).c_str(), frame * 20 + 3, 3);
}

}  // namespace

TEST_F(Frame, HitCodesAndInsets) {
    EXPECT_EQ(Hit(285, 12), HTCLOSE);
    EXPECT_EQ(Hit(265, 12), HTMAXBUTTON);
    EXPECT_EQ(Hit(245, 12), HTMINBUTTON);
    EXPECT_EQ(Hit(100, 15), HTCAPTION);
    EXPECT_EQ(Hit(2, 100), HTLEFT);
    EXPECT_EQ(Hit(298, 198), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(150, 100), HTCLIENT);
    RECT client;
    ::GetClientRect(dlg.m_hWnd, &client);
    EXPECT_EQ(client.right, 300 - 5 - 5);
    EXPECT_EQ(client.bottom, 200 - 28 - 6);
}

TEST_F(Frame, PaintsFrameAndButtonStates) {
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Capture c = CaptureWhole(dlg.m_hWnd);
    SavePng(c, "lobby_skinned_dialog");
    EXPECT_EQ(c.At(2, 100), RGB(70, 110, 170));   // left border
    EXPECT_EQ(c.At(297, 100), RGB(70, 111, 170)); // right border
    EXPECT_EQ(c.At(150, 197), RGB(60, 100, 160)); // bottom
    const COLORREF closeNormal = Strip("btn_close.bmp", 0), minNormal = Strip("btn_min.bmp", 0);
    ASSERT_NE(closeNormal, Strip("btn_close.bmp", 2));
    ASSERT_NE(minNormal, Strip("btn_min.bmp", 1));
    EXPECT_EQ(c.At(kClose.x, kClose.y), closeNormal);
    EXPECT_EQ(c.At(kMin.x, kMin.y), minNormal);

    ::PostMessageA(dlg.m_hWnd, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(win.left + 285, win.top + 12));
    EXPECT_TRUE(PumpUntil([&] { return At(kClose.x, kClose.y) == Strip("btn_close.bmp", 2); }));
    ::PostMessageA(dlg.m_hWnd, WM_NCLBUTTONDOWN, HTMINBUTTON, MAKELPARAM(win.left + 245, win.top + 12));
    EXPECT_TRUE(PumpUntil([&] { return At(kMin.x, kMin.y) == Strip("btn_min.bmp", 1); }));
    EXPECT_EQ(At(kClose.x, kClose.y), closeNormal);
    // A release over close closes, wherever the press began.
    ::PostMessageA(dlg.m_hWnd, WM_NCLBUTTONUP, HTCLOSE, MAKELPARAM(win.left + 285, win.top + 12));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(dlg.m_hWnd); }));
}

// The frame is laid from a kept picture; a change of activation (the title's
// colour) and a new size draw it again.
TEST_F(Frame, KeptPictureIsDrawnAgainAfterActivationAndSize) {
    const COLORREF activeText = RGB(255, 255, 255), inactiveText = RGB(160, 160, 160);
    auto titlePixels = [&](COLORREF colour) {
        Capture c = CaptureWhole(dlg.m_hWnd);
        int n = 0;
        for (int y = 0; y < 28; ++y)
            for (int x = 5; x < 150; ++x) n += c.At(x, y) == colour;
        return n;
    };
    dlg.SendMessage(WM_NCACTIVATE, TRUE, 0);
    const int whiteActive = titlePixels(activeText), greyActive = titlePixels(inactiveText);
    const Capture active = CaptureWhole(dlg.m_hWnd);
    dlg.SendMessage(WM_NCACTIVATE, FALSE, 0);
    EXPECT_LT(titlePixels(activeText), whiteActive);
    EXPECT_GT(titlePixels(inactiveText), greyActive);
    dlg.SendMessage(WM_NCACTIVATE, TRUE, 0);
    const Capture again = CaptureWhole(dlg.m_hWnd);
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 300; ++x) ASSERT_EQ(again.At(x, y), active.At(x, y)) << x << "," << y;

    ::SetWindowPos(dlg.m_hWnd, nullptr, 0, 0, 360, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Capture c = CaptureWhole(dlg.m_hWnd);
    EXPECT_EQ(c.At(357, 100), RGB(70, 111, 170));  // right border
    EXPECT_EQ(c.At(150, 237), RGB(60, 100, 160));  // bottom
    EXPECT_EQ(c.At(kClose.x + 60, kClose.y), Strip("btn_close.bmp", 0));
}

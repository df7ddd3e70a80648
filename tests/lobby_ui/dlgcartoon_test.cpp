// The waiting page: its current frame centred on white, Enter not closing it,
// its reminders and its single give-up.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
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
    ASSERT_TRUE(IsWindow(page.GetSafeHwnd())) << "Enter does not close it";
    page.RedrawWindow();
    const Capture shot = CaptureWindow(page.GetSafeHwnd());
    EXPECT_EQ(shot.At(100, 70), RGB(255, 0, 0)) << "frame 0 in the middle";
    EXPECT_EQ(shot.At(85, 70), RGB(255, 255, 255)) << "outside the 20-pixel frame";
    EXPECT_EQ(shot.At(5, 5), RGB(255, 255, 255));
    page.DestroyWindow();
    host.DestroyWindow();
}

namespace {

// The main window's part: the commands the page posts (WM_USER+5555).
class CommandRecorder : public CWnd {
public:
    LRESULT OnMainCommand(WPARAM code, LPARAM) {
        codes.push_back(static_cast<int>(code));
        return 0;
    }
    size_t Count(int code) const { return static_cast<size_t>(std::count(codes.begin(), codes.end(), code)); }
    std::vector<int> codes;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CommandRecorder, CWnd)
    ON_MESSAGE(WM_USER + 5555, OnMainCommand)
END_MESSAGE_MAP()

}  // namespace

// The reminder (code 2) repeats until the game is being started (WM_USER+5556
// code 2), which gives up (code 8) once after its time; code 3 brings the
// reminder back without stopping the give-up, code 0 stops it.
TEST(DlgCartoon, RemindsGivesUpOnceAndCodeThreeRestartsTheReminder) {
    LoadedSkin();
    CommandRecorder main;
    ASSERT_TRUE(main.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    DlgCartoon page;
    page.SetNotifyWindow(main.m_hWnd);
    page.SetWaitTimes(100, 400);
    ASSERT_TRUE(page.Create(DlgCartoon::IDD, &main));
    ASSERT_TRUE(PumpUntil([&] { return main.Count(2) >= 2; })) << "the reminder repeats";

    page.SendMessage(kMsgWaitingPage, 2);
    const size_t reminders = main.Count(2);
    ASSERT_TRUE(PumpUntil([&] { return main.Count(8) == 1; })) << "gives up";
    PumpMessages(900);
    EXPECT_EQ(main.Count(8), 1u) << "once";
    EXPECT_EQ(main.Count(2), reminders) << "no reminder while the game starts";

    page.SendMessage(kMsgWaitingPage, 2);
    page.SendMessage(kMsgWaitingPage, 3);
    ASSERT_TRUE(PumpUntil([&] { return main.Count(2) > reminders && main.Count(8) == 2; }))
        << "code 3: the reminder again, the give-up still running";
    page.SendMessage(kMsgWaitingPage, 0);
    const size_t stopped = main.Count(2);
    PumpMessages(400);
    EXPECT_EQ(main.Count(2), stopped) << "code 0 stops the reminder";
    EXPECT_EQ(main.Count(8), 2u);
    page.DestroyWindow();
    main.DestroyWindow();
}

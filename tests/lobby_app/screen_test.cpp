// The lobby's windows as the display shows them, read from the X screen: a
// window's own DC holds what the window drew, not what a person sees of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/LobbyAppKit.h"
#include "tests/platform/WindowCapture.h"
// clang-format on

using namespace lobbyapp;

namespace {

// The window's place on the screen.
RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Pixels of the screen inside the control's place that are the background
// picture's (the dialog's own, its top-left at the dialog's), in per cent.
int BackgroundShare(const Capture& screen, const Capture& background, HWND dialog, HWND control) {
    const RECT d = ScreenRect(dialog), c = ScreenRect(control);
    int same = 0, all = 0;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x, ++all) same += screen.At(x, y) == background.At(x - d.left, y - d.top);
    return all ? same * 100 / all : 0;
}

// How wide the status line's text is in the dialog's font (宋体, 9 points).
int StatusTextWidth(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// The member page's web view (child 10299), made last, and slowly.
BOOL CALLBACK FindView(HWND window, LPARAM found) {
    if (GetDlgCtrlID(window) == 10299) *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}
HWND MemberPageView(HWND main) {
    HWND found = nullptr;
    EnumChildWindows(main, FindView, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

// The status line's dots count up to six and start again at one while a step
// waits (here for a notice server that never answers): a shorter text leaves
// nothing of a longer one, and the dialog's background shows under the
// transparent statics (the remember box, the server lines, the status line).
TEST(LobbyScreen, LoginDialogDrawsItsStaticsOnItsBackgroundAndOneStatusText) {
    testsupport::LoopbackServer silent([](testsupport::Connection& c) { c.WaitClosed(60000); });
    ProgramFolder folder("screenlogin");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    PointNoticeAt(folder, silent.Port());
    folder.Write("MiraboDever.abc", "");
    const Capture background = PictureFile(folder.Path() + "Skin\\Style1\\login\\login_bk.bmp");
    ASSERT_GT(background.width, 0);
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND status = GetDlgItem(dialog, 1012);
    ASSERT_TRUE(WaitFor([&] { return WindowText(status).rfind("连接公告服务器中", 0) == 0; }, 15000))
        << WindowText(status);

    // A picture taken while the text stood still, with fewer dots than the most.
    size_t longest = 0;
    Capture screen;
    std::string shown;
    ASSERT_TRUE(PumpUntil([&] {
        const std::string before = WindowText(status);
        screen = CaptureScreen();
        shown = WindowText(status);
        longest = std::max(longest, shown.size());
        return screen.width > 0 && before == shown && shown.size() < longest;
    }, 20000)) << "no picture of a shorter status text (display readable: " << (screen.width > 0) << ")";
    SavePng(screen, "lobby_screen_login");

    for (int id : {1013, 1033, 1034, 1035, 1036, 1012})
        EXPECT_GE(BackgroundShare(screen, background, dialog, GetDlgItem(dialog, id)), 40)
            << "control " << id << ": the dialog's background does not show under it";
    const RECT s = ScreenRect(status), d = ScreenRect(dialog);
    int inkRight = s.left;
    for (int y = s.top; y < s.bottom; ++y)
        for (int x = s.left; x < s.right; ++x)
            if (screen.At(x, y) != background.At(x - d.left, y - d.top)) inkRight = std::max(inkRight, x);
    EXPECT_LE(inkRight - s.left, StatusTextWidth(shown) + 2) << "ink beyond \"" << shown << "\": an earlier text's";
}

// The command-line login's status line is drawn whole inside the window (its
// glow's lower rim below the text) and holds only its colours: the text, the
// glow, the glow at half over the background; nothing of the key colour.
TEST(LobbyScreen, CommandLineLoginStatusLineIsWholeAndKeysOutItsGround) {
    ProgramFolder folder("screenauto");
    PointAtLobby(folder, 1);
    folder.WriteAutoLoginSkin(kAutoLoginKeys);
    folder.Write("MiraboDever.abc", "");
    const Capture background = PictureFile(folder.Path() + "Skin\\Style1\\login\\auto_login_bk.bmp");
    ASSERT_GT(background.width, 0);
    ChildProcess lobby(folder.Exe(), std::string("('bob,") + kStoredDigest + "')", folder.Path());
    HWND window = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(window, nullptr);
    const RECT w = ScreenRect(window);
    EXPECT_EQ(w.bottom - w.top, background.height) << "the window is its picture, no frame";

    const COLORREF text = RGB(0x61, 0xFF, 0xF3), glow = RGB(0x09, 0x4A, 0x34);
    const int left = w.left + 34, right = w.left + 240;  // the line, left of the exit button
    Capture screen;
    int lastText = -1, lastGlow = -1;
    ASSERT_TRUE(PumpUntil([&] {
        screen = CaptureScreen();
        lastText = lastGlow = -1;
        for (int y = w.top + 121; y < w.bottom; ++y)
            for (int x = left; x < right; ++x) {
                if (screen.At(x, y) == text) lastText = y;
                if (screen.At(x, y) == glow) lastGlow = y;
            }
        return lastText >= 0;
    }, 15000)) << "no status text on the screen";
    SavePng(screen, "lobby_screen_auto_login");
    EXPECT_GT(lastGlow, lastText) << "the text runs out of the window before its glow";

    int strays = 0;
    for (int y = w.top + 121; y < w.bottom; ++y)
        for (int x = left; x < right; ++x) {
            const COLORREF px = screen.At(x, y), ground = background.At(x - w.left, y - w.top);
            const COLORREF half = RGB(GetRValue(ground) + (GetRValue(glow) - GetRValue(ground)) * 127 / 255,
                                      GetGValue(ground) + (GetGValue(glow) - GetGValue(ground)) * 127 / 255,
                                      GetBValue(ground) + (GetBValue(glow) - GetBValue(ground)) * 127 / 255);
            if (px != text && px != glow && !Near(px, ground, 2) && !Near(px, half, 3)) ++strays;
        }
    EXPECT_EQ(strays, 0) << "pixels of neither the text, its glow nor the background (the key's tint)";
}

// From the moment the lobby's window shows, the display never shows black in
// it: a desktop lies under the windows, as on a person's screen, so black can
// only be what the window left unpainted (its top bar and its member page
// were, until the page's web view had been made).
TEST(LobbyScreen, MainWindowIsNeverBlackAsItOpens) {
    HWND desktop = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(desktop, nullptr);
    SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PumpMessages(100);

    ScriptedLobby server;
    LobbyRun run("screenmain", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    int shown = 0, afterView = 0;
    std::string black;
    PumpUntil([&] {
        const std::vector<HWND> mains = lobby.Windows("#32770", "游戏大厅");
        const bool view = !mains.empty() && MemberPageView(mains[0]);
        const Capture screen = CaptureScreen();
        if (mains.empty() || screen.width == 0) return false;
        ++shown;
        const RECT r = ScreenRect(mains[0]);
        for (int ty = std::max(0L, r.top); ty + 16 <= std::min<LONG>(r.bottom, screen.height) && black.empty(); ty += 16)
            for (int tx = std::max(0L, r.left); tx + 16 <= std::min<LONG>(r.right, screen.width); tx += 16) {
                bool all = true;
                for (int y = ty; y < ty + 16 && all; ++y)
                    for (int x = tx; x < tx + 16 && all; ++x) all = screen.At(x, y) == RGB(0, 0, 0);
                if (all) {
                    black = "at (" + std::to_string(tx) + ", " + std::to_string(ty) + ") in picture " +
                            std::to_string(shown) + ": " + SavePng(screen, "lobby_screen_main_black");
                    break;
                }
            }
        return !black.empty() || (view && ++afterView >= 2);
    }, 30000);
    DestroyWindow(desktop);
    EXPECT_TRUE(black.empty()) << "black " << black;
    EXPECT_GE(afterView, 2) << shown << " pictures of the window, its web view never made";
}

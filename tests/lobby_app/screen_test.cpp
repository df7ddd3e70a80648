// The lobby's windows as the display shows them, read from the X screen: a
// window's own DC holds what the window drew, not what a person sees of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/LobbyAppKit.h"
#include "tests/platform/ScreenCapture.h"
#include "tests/platform/WindowCapture.h"
// clang-format on

using namespace lobbyapp;

namespace {

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// Counts the screen's pixels in the rectangle for which the test holds.
template <class Test>
int Count(const RECT& r, Test test) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += test(x, y) ? 1 : 0;
    return n;
}

BOOL CALLBACK FindWebView(HWND child, LPARAM found) {
    if (GetDlgCtrlID(child) == 10299) *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
}

}  // namespace

// While a step waits (a notice server that never answers) the status line's
// dots count up to six and start again at one: the shorter text leaves no ink
// of the longer, and the dialog's background shows under its transparent
// statics (the remember box, the server lines, the status line), not black.
TEST(LobbyScreen, LoginDialogDrawsItsStaticsOnItsBackgroundAndOneStatusText) {
    testsupport::LoopbackServer silent([](testsupport::Connection& c) { c.WaitClosed(60000); });
    ProgramFolder folder("screenlogin");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    PointNoticeAt(folder, silent.Port());
    folder.Write("MiraboDever.abc", "");
    const Capture background = PictureFile(folder.Path() + "Skin\\Style1\\login\\login_bk.bmp");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND status = GetDlgItem(dialog, 1012);
    // The dialog's thread is held while the screen is read, so that the picture is of
    // one status text however long the reading takes.
    HANDLE ui = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(dialog, nullptr));
    ASSERT_NE(ui, nullptr);
    Capture screen;
    std::string shown;
    size_t longest = 0;
    ASSERT_TRUE(PumpUntil([&] {
        const std::string before = WindowText(status);
        SuspendThread(ui);
        screen = CaptureScreen();
        ResumeThread(ui);
        shown = WindowText(status);
        longest = std::max(longest, shown.size());
        return screen.width > 0 && before == shown && shown.size() < longest && shown.find("连接公告服务器中") == 0;
    }, 20000)) << "no picture of a shorter status text: " << shown;
    CloseHandle(ui);
    const RECT d = ScreenRect(dialog);
    auto ground = [&](int x, int y) { return screen.At(x, y) == background.At(x - d.left, y - d.top); };
    for (int id : {1013, 1033, 1034, 1035, 1036, 1012}) {
        const RECT c = ScreenRect(GetDlgItem(dialog, id));
        EXPECT_GE(Count(c, ground) * 100 / ((c.right - c.left) * (c.bottom - c.top)), 40) << "control " << id;
    }
    HDC dc = GetDC(nullptr);  // the dialog's font: 宋体, 9 points
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &text);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(nullptr, dc);
    RECT beyond = ScreenRect(status);
    beyond.left += text.cx + 3;
    EXPECT_EQ(Count(beyond, [&](int x, int y) { return !ground(x, y); }), 0) << "an earlier text beside \"" << shown << "\"";
}

// The command-line login's status line lies whole in the window (the glow's
// lower rim under the text) and holds the text, the glow and the glow at half
// over the background only: nothing tinted by the key colour.
TEST(LobbyScreen, CommandLineLoginStatusLineIsWholeAndKeysOutItsGround) {
    ProgramFolder folder("screenauto");
    PointAtLobby(folder, 1);
    folder.WriteAutoLoginSkin(kAutoLoginKeys);
    folder.Write("MiraboDever.abc", "");
    const Capture background = PictureFile(folder.Path() + "Skin\\Style1\\login\\auto_login_bk.bmp");
    ChildProcess lobby(folder.Exe(), std::string("('bob,") + kStoredDigest + "')", folder.Path());
    HWND window = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(window, nullptr);
    const RECT w = ScreenRect(window), line = {w.left + 34, w.top + 121, w.left + 240, w.bottom};  // left of exit
    EXPECT_EQ(w.bottom - w.top, background.height) << "the window is its picture, with no frame";
    const COLORREF text = RGB(0x61, 0xFF, 0xF3), glow = RGB(0x09, 0x4A, 0x34);
    Capture screen;
    int lastText = -1, lastGlow = -1;
    ASSERT_TRUE(PumpUntil([&] {
        screen = CaptureScreen();
        Count(line, [&](int x, int y) {
            if (screen.At(x, y) == text) lastText = y;
            if (screen.At(x, y) == glow) lastGlow = y;
            return false;
        });
        return lastText >= 0;
    }, 15000)) << "no status text on the screen";
    EXPECT_GT(lastGlow, lastText) << "the window cuts the line";
    auto strange = [&](int x, int y) {
        const COLORREF px = screen.At(x, y), g = background.At(x - w.left, y - w.top);
        auto half = [&](int p, int ground, int rim) { return std::abs(p - (ground + (rim - ground) * 127 / 255)) <= 3; };
        return px != text && px != glow && px != g &&
               !(half(GetRValue(px), GetRValue(g), GetRValue(glow)) && half(GetGValue(px), GetGValue(g), GetGValue(glow)) &&
                 half(GetBValue(px), GetBValue(g), GetBValue(glow)));
    };
    EXPECT_EQ(Count(line, strange), 0) << "pixels of neither the text, its glow nor the background";
}

// From the moment the lobby window shows until its member page's web view
// (made last, and slowly) is there, the display shows no black in it. A
// desktop lies under the windows, as on a person's screen: black can only be
// what the window left unpainted (its top bar and page were, until then).
TEST(LobbyScreen, MainWindowIsNeverBlackAsItOpens) {
    HWND desktop = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                   nullptr, nullptr);
    SetWindowPos(desktop, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ScriptedLobby server;
    LobbyRun run("screenmain", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    int pictures = 0, withView = 0, black = 0;
    PumpUntil([&] {
        const std::vector<HWND> mains = lobby.Windows("#32770", "游戏大厅");
        HWND view = nullptr;  // the web view, child 10299 of the page
        if (!mains.empty()) EnumChildWindows(mains[0], FindWebView, reinterpret_cast<LPARAM>(&view));
        const Capture screen = CaptureScreen();
        if (mains.empty() || screen.width == 0) return false;
        ++pictures;
        const RECT whole = {0, 0, screen.width, screen.height}, shown = ScreenRect(mains[0]);
        RECT r;
        IntersectRect(&r, &shown, &whole);
        black = Count(r, [&](int x, int y) { return screen.At(x, y) == RGB(0, 0, 0); });
        if (black > 1024) SavePng(screen, "lobby_screen_main_black");
        return black > 1024 || (view && ++withView >= 2);
    }, 30000);
    DestroyWindow(desktop);
    EXPECT_LE(black, 1024) << "black pixels in picture " << pictures << " (test-output/lobby_screen_main_black.png)";
    EXPECT_GE(withView, 2) << pictures << " pictures of the window, its web view never made";
}

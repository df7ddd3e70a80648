// The lobby's windows as the display shows them, read from the X screen: a
// window's own DC holds what the window drew, not what a person sees of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/BannerKit.h"
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

bool Overlap(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
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

// With the plain login dialog open, the banner shows its title, its version
// and its slide, partner-site and close buttons, each whole, apart and inside
// its shape: the title reads, the red X is where the close button is, and a
// person's click there ends the login.
TEST(LobbyScreen, BannerShowsItsTitleVersionAndButtonsApartAndItsCloseButtonEndsTheLogin) {
    // The stand-in login_bk2's title ink and the version's box, in the banner's pixels.
    const RECT title = {18, 41, 159, 63}, version = {220, 45, 320, 65};
    ProgramFolder folder("screenbanner");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    folder.Write("MiraboDever.abc", "");
    const Capture ground = PictureFile(folder.Path() + "Skin\\Style1\\login\\login_bk2.bmp");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND banner = lobby.WaitWindow("#32770", "");
    ASSERT_NE(banner, nullptr);
    ASSERT_TRUE(MoveCursorTo(0, 0)) << "no button is to show its hover look";
    const int* ids = kBannerButtons;
    RECT b{}, button[3]{};
    Capture screen;
    int unseen = -1, unpainted = -1;  // button pixels the screen shows otherwise; buttons not drawn
    // Placed and painted, the banner shows each button on the screen as its own DC holds it.
    const bool seen = PumpUntil(
        [&] {
            b = ScreenRect(banner);
            screen = CaptureScreen();
            const Capture own = CaptureWindow(banner);  // its buttons drawn in
            if (screen.width == 0 || own.width != ground.width) return false;
            unseen = 0;
            unpainted = BannerButtonsNotDrawn(banner, own, ground);
            for (int i = 0; i < 3; ++i) {
                const RECT r = button[i] = ScreenRect(GetDlgItem(banner, ids[i]));
                unseen += Count(r, [&](int x, int y) { return screen.At(x, y) != own.At(x - b.left, y - b.top); });
            }
            return unseen == 0 && unpainted == 0 && ScreenRect(banner).top == b.top;
        },
        20000);
    SavePng(screen, "lobby_screen_banner");
    EXPECT_TRUE(seen) << unseen << " pixels of the buttons not seen as drawn, " << unpainted
                      << " buttons not drawn (test-output/lobby_screen_banner.png)";

    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(banner, shape), ERROR);
    HWND view = FindWindowExA(banner, nullptr, "#32770", nullptr);
    ASSERT_NE(view, nullptr) << "the banner's web view";
    const RECT web = ScreenRect(view);
    RECT shownTitle = title, shownVersion = version;
    OffsetRect(&shownTitle, b.left, b.top);
    OffsetRect(&shownVersion, b.left, b.top);
    for (int i = 0; i < 3; ++i) {
        const RECT& r = button[i];
        for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                        POINT{r.right - 1, r.bottom - 1}})
            EXPECT_TRUE(PtInRegion(shape, p.x - b.left, p.y - b.top))
                << "button " << ids[i] << " leaves the banner's shape";
        EXPECT_FALSE(Overlap(r, shownTitle)) << "button " << ids[i] << " over the title";
        EXPECT_FALSE(Overlap(r, shownVersion)) << "button " << ids[i] << " over the version";
        EXPECT_FALSE(Overlap(r, web)) << "button " << ids[i] << " under the web view";
        for (int j = i + 1; j < 3; ++j) EXPECT_FALSE(Overlap(r, button[j])) << ids[i] << " over " << ids[j];
    }
    DeleteObject(shape);
    const RECT& close = button[2];
    const int area = (close.right - close.left) * (close.bottom - close.top);
    const int red = Count(close, [&](int x, int y) {
        return screen.Red(x, y) > 150 && screen.Green(x, y) < 110 && screen.Blue(x, y) < 100;
    });
    const int white = Count(close, [&](int x, int y) {
        return screen.Red(x, y) > 220 && screen.Green(x, y) > 220 && screen.Blue(x, y) > 220;
    });
    EXPECT_GT(red, area / 3) << "the close button's red on the screen";
    EXPECT_GE(white, 12) << "the close button's X on the screen";
    EXPECT_GT(Count(shownVersion, [&](int x, int y) { return x < b.right && screen.At(x, y) == RGB(0, 0, 0); }), 10)
        << "the version's ink on the screen";

    if (TesseractPresent()) {
        // The banner's line between its web view and its buttons (the buttons' words
        // beside the title make tesseract lose it).
        const RECT line = {b.left, web.bottom, b.right, std::min(button[0].top, button[1].top)};
        const Capture picture = Crop(screen, line);
        std::string read, text;
        for (int factor : {2, 3, 4})
            if (ReadPictureText(Enlarge(picture, factor), text)) read += text + "\n";
        EXPECT_NE(read.find("Mirabo"), std::string::npos) << "the title is not read in the banner:\n" << read;
    }

    ASSERT_TRUE(ClickScreenAt((close.left + close.right) / 2, (close.top + close.bottom) / 2));
    EXPECT_TRUE(lobby.WaitExit(10000)) << "a click on the close button ends the login";
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

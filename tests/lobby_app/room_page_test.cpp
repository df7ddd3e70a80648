// The room page in the lobby's main window, as a player meets it: the
// panels and arrows around it, what shows while it is open, and a server's
// desk of thousands of players.
// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/LobbyAppKit.h"
#include "tests/platform/WindowCapture.h"
// clang-format on
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/support/ProgramWatch.h"
#include "tools/loop/WindowFind.h"

using namespace lobbyapp;
using loop::FindClass;
using loop::FindControl;
using loop::IsShown;

namespace {

// A room 7 whose entry answers with the start (unless told not to: the
// client's launch then holds the lobby for a while), the desk list and the
// players.
std::vector<std::string> EnterRoom7(const std::string& request, const std::string& desks, bool start = true) {
    if (request.find("RequestEnterRoom") == std::string::npos) return {};
    std::vector<std::string> replies;
    if (start) replies.push_back(testsupport::LobbyReply("ReadyToEnterRoom", "<p a=\"s\" b=\"tok\" c=\"7\"/>"));
    replies.push_back(testsupport::LobbyReply("DeskList", desks));
    replies.push_back(testsupport::LobbyReply(
        "RoomPlayerList", "<Room><player a=\"x\" b=\"nx\" c=\"50\" d=\"1\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" "
                          "j=\"\"/><player a=\"bob\" b=\"Bob\" c=\"100\" d=\"0\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" j=\"\"/>"
                          "</Room>"));
    return replies;
}

const char kDesks[] = "<Room a=\"False\"><desk a=\"D1\" b=\"7\" c=\"1\" d=\"-\" e=\"false\"/><player a=\"x\" "
                      "b=\"nx\" c=\"1\" d=\"True\" e=\"0\"/></Room>";

// The main window's panels: the tree's (left), the tab strip's (middle), the
// player list's (right).
struct Panels {
    explicit Panels(HWND main)
        : left(GetParent(FindClass(main, "SysTreeView32"))),
          middle(GetParent(FindControl(main, 0xE900, "MiraboWnd"))),
          right(GetParent(FindClass(main, "SysListView32"))) {}
    HWND Arrow(int id) const { return GetDlgItem(middle, id); }
    // In the room: the tree hidden, the players shown, the arrows that hide
    // them and show the tree.
    bool InRoom() const {
        return !IsShown(left) && IsShown(right) && IsShown(Arrow(1016)) && !IsShown(Arrow(1015)) &&
               IsShown(Arrow(1019)) && !IsShown(Arrow(1017));
    }
    HWND left, middle, right;
};

// Presses a tab of the strip: tabs are 95 pixels wide, each 78 after the other.
void PressTab(HWND strip, int index) {
    const LPARAM at = MAKELPARAM(40 + 78 * index, 15);
    PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(strip, WM_LBUTTONUP, 0, at);
}

// The pixels of part of the main window, as it shows them now.
std::vector<uint32_t> Pixels(HWND main, const RECT& part) {
    const Capture shot = CaptureWindow(main);
    std::vector<uint32_t> pixels;
    for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x) pixels.push_back(shot.At(x, y) & 0xFFFFFF);
    return pixels;
}

// The part once the windows have stopped painting it: unchanged for 300 ms.
// On a loaded machine a paint can still be queued when the layout is done.
std::vector<uint32_t> SettledPixels(HWND main, const RECT& part) {
    std::vector<uint32_t> seen = Pixels(main, part);
    unsigned long long since = testsupport::NowMs(), looked = since;
    WaitFor([&] {
        const unsigned long long now = testsupport::NowMs();
        if (now - looked < 50) return false;
        looked = now;
        std::vector<uint32_t> pixels = Pixels(main, part);
        if (pixels != seen) {
            seen.swap(pixels);
            since = now;
        }
        return now - since >= 300;
    }, 10000);
    return seen;
}

}  // namespace

TEST(LobbyRoomPage, ThePanelsAndArrowsFollowTheRoomAndItsTab) {
    MainRun m("roompanels", [](const std::string& request) { return EnterRoom7(request, kDesks); });
    HWND main = m.main;
    ASSERT_NE(main, nullptr);
    m.server.Send("GameList", kGames);
    const Panels panels(main);
    ASSERT_TRUE(panels.left && panels.middle && panels.right);
    EXPECT_FALSE(IsShown(panels.Arrow(1017)) || IsShown(panels.Arrow(1019))) << "no room arrows before a room";

    PostMessageA(main, WM_USER + 5555, 4, 7);
    HWND view = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (view = FindClass(main, "MiraboView")) != nullptr; }, 15000));
    ASSERT_TRUE(WaitFor(ClientRunning, 10000)) << "the room's own launch";
    ASSERT_TRUE(CloseClient());
    ASSERT_TRUE(WaitFor([&] { return IsShown(view) && panels.InRoom(); }, 5000));
    // The room fills the middle from the window's left edge; its players list
    // has the player's own row and the other's.
    RECT middle;
    EXPECT_TRUE(WaitFor([&] {
        GetWindowRect(panels.middle, &middle);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&middle), 2);
        return middle.left == 0;
    }, 5000)) << middle.left;
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(FindClass(main, "SysListView32"), LVM_GETITEMCOUNT, 0, 0) == 2; },
                        5000));
    // What shows is what the windows paint: drawn again, the tree's old place
    // and the top bar (where the players' panel was shown before it moved)
    // look the same.
    const RECT strip = {0, middle.top + 20, 16, middle.bottom - 20}, top = {0, 0, 250, middle.top};
    const std::vector<uint32_t> before = SettledPixels(main, strip), topBefore = SettledPixels(main, top);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(before == Pixels(main, strip)) << "the tree's old place";
    EXPECT_TRUE(topBefore == Pixels(main, top)) << "the top bar";
    SavePng(CaptureWindow(main), "lobby_room_main_window");

    // Another page: the players hide and the tree comes back, with the arrow
    // that shows the players again; the room's tab brings the room back.
    HWND tabs = FindControl(main, 0xE900, "MiraboWnd");
    PressTab(tabs, 0);
    EXPECT_TRUE(WaitFor([&] {
        return IsShown(panels.left) && !IsShown(panels.right) && IsShown(panels.Arrow(1015)) &&
               IsShown(panels.Arrow(1017)) && !IsShown(panels.Arrow(1019));
    }, 5000)) << "member page";
    PressTab(tabs, 1);
    EXPECT_TRUE(WaitFor([&] { return panels.InRoom(); }, 5000)) << "room page again";

    // Leaving the room: its arrows go with it.
    HWND leave = GetDlgItem(GetParent(view), 10202);
    ASSERT_TRUE(IsShown(leave));
    Click(leave);
    EXPECT_TRUE(WaitFor([&] {
        return !IsWindow(view) && IsShown(panels.left) && !IsShown(panels.right) && !IsShown(panels.Arrow(1017)) &&
               !IsShown(panels.Arrow(1019)) && IsShown(panels.Arrow(1015));
    }, 5000));
}

// One desk of 100 000 players and one of 10 000 nested ones: the desks keep
// three, one a seat, and the lobby keeps answering while it shows them. (The
// page's own making, 400 buttons, is left out of the watch: on a loaded
// machine it alone may take a second.)
TEST(LobbyRoomPage, ADeskOfThousandsKeepsTheLobbyAnswering) {
    std::string desks = "<Room a=\"False\"><desk a=\"D1\" b=\"7\" c=\"1\" d=\"-\" e=\"false\">";
    for (int i = 0; i < 100000; ++i)
        desks += "<player a=\"p" + std::to_string(i) + "\" b=\"" + std::string(20, 'n') + "\" c=\"" +
                 std::to_string(i % 3) + "\" d=\"True\" e=\"0\"/>";
    desks += "</desk><desk a=\"D2\" b=\"7\" c=\"2\" d=\"-\" e=\"false\">";
    for (int i = 0; i < 10000; ++i) desks += "<player a=\"q" + std::to_string(i) + "\" b=\"q\" c=\"1\" d=\"x\" e=\"0\">";
    for (int i = 0; i < 10000; ++i) desks += "</player>";
    desks += "</desk></Room>";
    MainRun m("crowd", [&](const std::string& request) { return EnterRoom7(request, desks, false); });
    HWND main = m.main;
    ASSERT_NE(main, nullptr);
    m.server.Send("GameList", kGames);
    PostMessageA(main, WM_USER + 5555, 4, 7);
    HWND view = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (view = FindClass(main, "MiraboView")) != nullptr; }, 30000));
    // Desk 1 full, desk 2 with its seat 1 taken.
    ASSERT_TRUE(WaitFor([&] {
        return IsShown(view) && !IsShown(GetDlgItem(view, 60000)) && !IsShown(GetDlgItem(view, 60002)) &&
               !IsShown(GetDlgItem(view, 60004)) && IsShown(GetDlgItem(view, 60003));
    }, 10000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(view, 10000))) << "a full desk of others";

    testsupport::ProgramWatch watch(*m.lobby, m.run.folder.Path(), "MiraboGame");
    watch.Watch(main);
    // Painted over and over, a watchdog's question between two paints.
    for (int i = 0; i < 10; ++i) {
        const int pings = watch.Pings();
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE);
        WaitFor([&] { return watch.Pings() > pings; }, 3000);
    }
    EXPECT_EQ(watch.Misses(), 0) << "longest answer " << watch.LongestAnswerMs() << " ms";
    EXPECT_EQ(watch.Crashes(), "");
}

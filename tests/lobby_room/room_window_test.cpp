// The room page as a player meets it, in one process: a recording stand-in
// for the main lobby window, the lobby's own connection to a loopback lobby
// server that records what it reads, the generated skin. Clicks are real
// button presses; what is drawn is read back from the window.
#include <gtest/gtest.h>

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "../lobby_ui/LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/room/ExScrollView.h"
#include "lobby/ui/room/RoomGrid.h"
#include "lobby/ui/room/RoomHost.h"
#include "lobby/ui/room/RoomWnd.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Patience.h"

using testsupport::Connection;
using testsupport::LoopbackServer;

namespace {

const COLORREF kBackground = 0x039E59;
const COLORREF kReady = RGB(250, 20, 20);
const COLORREF kSeated = RGB(40, 120, 200);
const int kWidth = 35 + 3 * (80 + 105);  // three columns of the stand-in desk

// The main lobby window's part: commands (WM_USER+5555), boxes, panels, launches.
class StandInMain : public CWnd, public CRoomHost {
public:
    HWND GetMainWindow() override { return m_hWnd; }
    int IsGameRunning() override { return gameRunning; }
    int PostMessageBox(LPCSTR text, LPCSTR caption, int, int, int, int) override {
        boxes.push_back(std::string(text) + "|" + caption);
        return 0;
    }
    void ShowRoomPanels(int inRoom) override { panels.push_back(inRoom); }
    void LaunchGame(HWND, const std::string& params) override { launches.push_back(params); }
    LRESULT OnCommand5555(WPARAM code, LPARAM) {
        commands.push_back(static_cast<int>(code));
        return 0;
    }
    int gameRunning = 0;
    std::vector<std::string> boxes, launches;
    std::vector<int> commands, panels;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(StandInMain, CWnd)
    ON_MESSAGE(kMsgMainCommand, OnCommand5555)
END_MESSAGE_MAP()

struct Player {
    const char *id, *seat;
    int state;
};
struct Desk {
    const char* id;
    std::vector<Player> players;
};

CDeskInfoMsg* DeskListMessage(bool autoGroup, const std::vector<Desk>& desks) {
    auto* m = new CDeskInfoMsg;
    m->roomFlag = autoGroup;
    m->deskList = new CRoomDeskList;
    for (const Desk& d : desks) {
        CRoomDeskInfo* desk = m->deskList->AddDesk(0, autoGroup, "D", "101", d.id);
        for (const Player& p : d.players) desk->AddPlayer(p.id, std::string("nick_") + p.id, p.seat, p.state, 0);
    }
    return m;
}

class RoomPage : public ::testing::Test {
protected:
    CLobbyData& hub = GetLobbyData();
    StandInMain main;
    std::unique_ptr<LoopbackServer> server;
    std::mutex mutex;
    std::vector<std::string> frames;
    std::atomic<bool> drop{false};
    std::unique_ptr<CRoomWnd> room;

    void SetUp() override {
        LoadedSkin();
        hub.Shutdown();
        hub.SetServerConfigLoader(nullptr);
        hub.translateFlag = false;
        hub.timeText[3] = "0";
        hub.timeText[4] = "3000";
        ASSERT_EQ(hub.Init(1), 1);
        hub.userName = "me";
        hub.loginRun = 1;
        auto* game = new LobbyGameRecord{"1", "FENLO", "game", "", {}};
        auto* r = new LobbyRoomRecord;
        r->id = "101";
        r->host = "127.0.0.1";
        r->port = "9000";
        r->host2 = "0";
        r->port2 = "0";
        r->owner = game;
        game->rooms.push_back(r);
        hub.gameList.push_back(game);
        server.reset(new LoopbackServer([this](Connection& c) {
            int kind = 0;
            std::string payload;
            while (!c.Stopping()) {
                if (drop) {
                    c.Reset();
                    return;
                }
                if (c.ReadFrame(kind, payload, 50)) {
                    std::lock_guard<std::mutex> lock(mutex);
                    frames.push_back(payload);
                }
            }
        }));
        hub.Connect("127.0.0.1", server->Port());
        ASSERT_TRUE(main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        SetRoomHost(&main);
    }

    void TearDown() override {
        room.reset();
        SetRoomHost(nullptr);
        main.DestroyWindow();
        hub.Shutdown();
        server.reset();
    }

    void Open(bool autoGroup, const std::vector<Desk>& desks, int height = 500) {
        room.reset(new CRoomWnd);
        room->SetGroupMode(autoGroup ? 1 : 0);
        ASSERT_EQ(room->SetRoomRes(nullptr), 0);
        ASSERT_EQ(room->SetRoomRes(LoadedSkin()), 1);
        ASSERT_TRUE(room->Create(nullptr, "room", WS_POPUP | WS_VISIBLE, CRect(20, 20, 20 + kWidth, 20 + height)));
        room->SetValidationToken("TOKEN");
        room->NotifyView(DeskListMessage(autoGroup, desks));
        room->SetRoomId("101");
        ASSERT_TRUE(PumpUntil([&] { return View()->GetRoomIdText() == "101" && View()->DeskButton(99); }));
        PumpMessages(50);
    }
    // A page just made, with seats: the desks in view have their buttons, its
    // room id is on its way, timer 2 has not made a desk yet.
    void MakeWithSeats(const std::vector<Desk>& desks) { MakeWithSeats(DeskListMessage(false, desks)); }
    void MakeWithSeats(CDeskInfoMsg* list) {
        room.reset(new CRoomWnd);
        room->SetGroupMode(0);
        room->SetRoomRes(LoadedSkin());
        ASSERT_TRUE(room->Create(nullptr, "room", WS_POPUP | WS_VISIBLE, CRect(20, 20, 20 + kWidth, 520)));
        room->NotifyView(list);
        room->SetRoomId("101");
    }
    // The same, its room id come.
    void OpenWhileMade(const std::vector<Desk>& desks) { OpenWhileMade(DeskListMessage(false, desks)); }
    void OpenWhileMade(CDeskInfoMsg* list) {
        MakeWithSeats(list);
        MSG msg;
        while (::PeekMessageA(&msg, View()->m_hWnd, kMsgRoomUpdate, kMsgRoomUpdate, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ASSERT_EQ(View()->GetRoomIdText(), "101");
    }
    int DesksMade() {
        int n = 0;
        while (View()->DeskButton(n)) ++n;
        return n;
    }
    // A press on a button a player can press, handled when it returns.
    void PressNow(HWND button) {
        ASSERT_TRUE(::IsWindowVisible(button) && ::IsWindowEnabled(button));
        ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    // The server has read a request with part in it while this thread took no
    // message: nothing was made meanwhile.
    bool FrameReadUnpumped(const std::string& part) {
        const DWORD end = ::GetTickCount() + static_cast<DWORD>(testsupport::Patience(5000));
        for (;;) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                for (const std::string& f : frames)
                    if (f.find(part) != std::string::npos) return true;
            }
            if (static_cast<LONG>(end - ::GetTickCount()) <= 0) return false;
            ::Sleep(5);
        }
    }

    CExScrollView* View() { return room->GetView(); }
    HWND Item(int id) { return ::GetDlgItem(View()->m_hWnd, id); }
    bool Shown(int id) { return (::GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Press(int id) {
        ::PostMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::PostMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    // The next request the lobby server reads on the lobby connection.
    bool WaitFrame(const std::string& part) {
        return PumpUntil([&] {
            std::lock_guard<std::mutex> lock(mutex);
            for (const std::string& f : frames)
                if (f.find(part) != std::string::npos) return true;
            return false;
        });
    }
    size_t FrameCount() {
        std::lock_guard<std::mutex> lock(mutex);
        return frames.size();
    }
    // Quick join pressed now: the desk and seat asked for.
    std::pair<int, int> QuickJoinNow() {
        PressNow(room->QuickJoinButton()->m_hWnd);
        return {View()->GetChosenDesk(), View()->GetChosenSeat()};
    }
    void Change(const char* deskId, const char* playerId, const char* seat, bool sitsDown) {
        auto* m = new CPlayerChangeMsg;
        m->deskId = deskId;
        m->playerId = playerId;
        m->seat = seat;
        m->roomId = "101";
        m->sitsDown = sitsDown;
        Update(3, m);
    }
    room::RoomGrid Grid() {
        CRect client;
        View()->GetClientRect(&client);
        CSkinRes* skin = LoadedSkin();
        return room::RoomGrid(skin->GetDeskImage()->GetWidth(), skin->GetDeskImage()->GetHeight(),
                              skin->GetEmptySeatImage()->GetWidth(), skin->GetEmptySeatImage()->GetHeight(),
                              client.Width());
    }
    // The middle of the ready mark of seat 1 of a desk (0-based), in client pixels.
    CPoint ReadyMark(int desk) {
        room::GridPoint d = Grid().Desk(desk);
        int left = d.x + (Grid().deskW - 24) / 2, top = d.y - 24;
        return CPoint(left + 6 + 6, top + 16 + 4 - View()->GetScrollPosition().y);
    }
    COLORREF PixelAt(CPoint p) { return CaptureWindow(View()->m_hWnd).At(p.x, p.y); }
    template <class M>
    void Update(int code, M* m) {
        LobbyLockGuard lock(hub.lobbyLock);
        room->SendMessage(kMsgRoomUpdate, code, reinterpret_cast<LPARAM>(m));
    }
};

// A room update that counts the copies alive.
struct CountedState : CPlayerStateMsg {
    CountedState() { ++alive; }
    ~CountedState() override { --alive; }
    static int alive;
};
int CountedState::alive = 0;

// Desk 1 full of others, desk 2 one ready player on seat 1, desk 4 two taken;
// hostile desk ids and seats that must change nothing.
const std::vector<Desk> kRoom = {
    {"1", {{"a", "0", 0}, {"b", "1", 0}, {"c", "2", 0}}},
    {"2", {{"d", "1", 1}}},
    {"4", {{"e", "0", 0}, {"f", "1", 0}}},
    {"3", {{"x", "-1", 1}, {"y", "7", 1}, {"z", "", 0}}},
    {"0", {{"g", "0", 1}}},
    {"101", {{"h", "0", 1}}},
    {"abc", {{"i", "2", 1}}},
};

}  // namespace

TEST_F(RoomPage, DesksSeatsAndWhatIsDrawn) {
    Open(false, kRoom);
    EXPECT_EQ(main.panels, std::vector<int>{1});
    EXPECT_FALSE(::IsWindowEnabled(Item(10000))) << "a full desk of others";
    EXPECT_TRUE(::IsWindowEnabled(Item(10001)));
    EXPECT_FALSE(Shown(60004)) << "desk 2 seat 1 is taken";
    EXPECT_TRUE(Shown(60003) && Shown(60005));
    EXPECT_TRUE(Shown(60005) && Shown(60006) && Shown(60007) && Shown(60008)) << "bad seats hide nothing";
    EXPECT_NE(Item(60299), nullptr);
    EXPECT_EQ(Item(60300), nullptr);

    CPoint mark = ReadyMark(1);
    ASSERT_TRUE(PumpUntil([&] { return PixelAt(mark) == kReady; })) << std::hex << PixelAt(mark);
    EXPECT_EQ(PixelAt(CPoint(3, 3)), kBackground);
    SavePng(CaptureWindow(room->m_hWnd), "room_page");

    // 2 game over: nobody ready any more; 1 game start: the desk shows playing.
    auto* over = new CGameOverMsg;
    over->deskId = "2";
    Update(2, over);
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(mark) == kSeated; }));
    auto* start = new CGameStartMsg;
    start->deskId = "2";
    Update(1, start);
    EXPECT_EQ(static_cast<PngButton*>(CWnd::FromHandlePermanent(Item(10001)))->GetDisplayState(), 1);
    // 4 player state: ready again.
    auto* state = new CPlayerStateMsg;
    state->playerId = "d";
    state->deskId = "2";
    state->state = true;
    Update(4, state);
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(mark) == kReady; }));
    // 3 player change: d stands up, the seat button comes back; an unknown
    // desk is added as "_" with its player.
    auto* leave = new CPlayerChangeMsg;
    leave->deskId = "2";
    leave->seat = "1";
    leave->roomId = "101";
    Update(3, leave);
    EXPECT_TRUE(Shown(60004));
    auto* sit = new CPlayerChangeMsg;
    sit->playerId = "n";
    sit->deskId = "9";
    sit->seat = "2";
    sit->roomId = "101";
    sit->sitsDown = true;
    Update(3, sit);
    CRoomDeskInfo* added = View()->GetDeskList()->FindDesk("9");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->name, "_");
    EXPECT_FALSE(Shown(60026));
    // Other codes are ignored, their message untouched.
    CountedState untouched;
    Update(7, &untouched);
    EXPECT_EQ(CountedState::alive, 1);
}

TEST_F(RoomPage, ClicksSendRequestsOnTheLobbyConnection) {
    Open(false, kRoom);
    Press(60006);  // desk 3, seat 0
    ASSERT_TRUE(WaitFrame("RequestEnterDesk"));
    {
        std::lock_guard<std::mutex> lock(mutex);
        const std::string& f = frames.back();
        EXPECT_NE(f.find("\"101\""), std::string::npos) << f;
        EXPECT_NE(f.find("deskid=\"3\""), std::string::npos) << f;
        EXPECT_NE(f.find("seat=\"0\""), std::string::npos) << f;
    }
    room->OnEnterDeskAck(TRUE);
    ASSERT_EQ(main.launches.size(), 1u);
    EXPECT_EQ(main.launches[0], " 127.0.0.1 me 9000 101 TOKEN 0 0 0 0 3 0");
    room->OnEnterDeskAck(FALSE);
    EXPECT_EQ(View()->GetChosenDesk(), -1);
    ASSERT_TRUE(PumpUntil([&] { return !main.boxes.empty(); }));
    EXPECT_EQ(main.boxes.back(), "该座位已经有人!|提示");

    // Quick join takes desk 4's last seat although desk 2 comes first.
    size_t before = FrameCount();
    room->QuickJoinButton()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    room->QuickJoinButton()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(PumpUntil([&] { return FrameCount() > before; }));
    EXPECT_EQ(View()->GetChosenDesk(), 4);
    EXPECT_EQ(View()->GetChosenSeat(), 2);

    main.gameRunning = 1;
    Press(60003);
    ASSERT_TRUE(PumpUntil([&] { return main.boxes.back() == "游戏客户端已经启动!|提示"; }));
    main.gameRunning = 0;

    room->LeaveButton()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    room->LeaveButton()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(PumpUntil([&] { return !main.commands.empty() && main.commands.back() == 0; }));
}

TEST_F(RoomPage, SeatedPlayerIsSentBackToHisSeat) {
    std::vector<Desk> desks = {{"1", {{"a", "0", 0}, {"b", "1", 0}, {"c", "2", 0}}},
                               {"6", {{"x", "0", 0}, {"me", "1", 0}, {"y", "2", 0}}}};
    Open(false, desks);
    EXPECT_FALSE(::IsWindowEnabled(Item(10000)));
    EXPECT_TRUE(::IsWindowEnabled(Item(10005))) << "full, but the player's own desk";
    Press(10005);
    ASSERT_TRUE(WaitFrame("deskid=\"6\""));
    EXPECT_EQ(View()->GetChosenSeat(), 1);
    ASSERT_FALSE(main.boxes.empty());
    EXPECT_EQ(main.boxes.back(), "检测到玩家已经在游戏中,正在为你重连...|提示");
}

TEST_F(RoomPage, AutomaticGroupingReentersTheRoom) {
    Open(true, kRoom);
    EXPECT_EQ(Item(60000), nullptr) << "no seat buttons";
    EXPECT_EQ(View()->GetGroupMode(), 1);
    CPoint mark = ReadyMark(1);
    ASSERT_TRUE(PumpUntil([&] { return PixelAt(mark) == kSeated; })) << "no ready marks";
    Press(10002);
    ASSERT_TRUE(WaitFrame("RequestEnterRoom"));
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_NE(frames.back().find("roomid=\"101\""), std::string::npos) << frames.back();
}

TEST_F(RoomPage, WheelAndScrollBarMoveTheGridAndItsButtons) {
    std::vector<Desk> ready;  // a ready player above each of the first 30 desks
    static const char* const kIds[30] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                         "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
                                         "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"};
    for (const char* id : kIds) ready.push_back({id, {{id, "1", 1}}});
    Open(false, ready);
    auto top = [&](int id) {
        CRect r;
        ::GetWindowRect(Item(id), &r);
        return static_cast<int>(r.top);
    };
    const int deskTop = top(10000), seatTop = top(60001);
    CRect screen;
    View()->GetWindowRect(&screen);
    View()->PostMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.left + 5, screen.top + 5));
    ASSERT_TRUE(PumpUntil([&] { return View()->GetScrollPosition().y > 0; }));
    int moved = View()->GetScrollPosition().y;
    EXPECT_EQ(top(10000), deskTop - moved);
    EXPECT_EQ(top(60001), seatTop - moved);

    View()->PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_TRUE(PumpUntil([&] { return View()->GetScrollPosition().y > moved; }));
    EXPECT_EQ(View()->GetScrollPosition().y, moved + View()->GetPageSize().cy);
    moved = View()->GetScrollPosition().y;
    EXPECT_EQ(top(10000), deskTop - moved);
    // The grid is drawn at the scrolled place too: a ready mark now in view.
    CRect client;
    View()->GetClientRect(&client);
    int inView = -1;
    for (int d = 0; d < 30 && inView < 0; ++d)
        if (ReadyMark(d).y >= 0 && ReadyMark(d).y < client.bottom) inView = d;
    ASSERT_GT(inView, 2) << "a desk of a lower row";
    EXPECT_TRUE(PumpUntil([&] { return PixelAt(ReadyMark(inView)) == kReady; }));
    View()->PostMessage(WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(PumpUntil([&] { return View()->GetScrollPosition().y > moved; }));
    EXPECT_EQ(View()->GetScrollPosition().y, View()->GetTotalSize().cy - client.Height());
    View()->PostMessage(WM_VSCROLL, SB_TOP, 0);
    ASSERT_TRUE(PumpUntil([&] { return View()->GetScrollPosition().y == 0; }));
    EXPECT_EQ(top(10000), deskTop);
}

TEST_F(RoomPage, DroppedConnectionAsksForTheRoomAgainOnce) {
    Open(false, kRoom);
    drop = true;
    ASSERT_TRUE(PumpUntil([&] { return !main.commands.empty(); }, 10000));
    EXPECT_EQ(main.commands, std::vector<int>{3});
    EXPECT_EQ(main.boxes.back(), "检测到已经和游戏服务器断开网络连接!正在为你重连...|错误");
    EXPECT_FALSE(::KillTimer(View()->m_hWnd, 1)) << "the watch has stopped";
    room.reset();
    EXPECT_EQ(main.panels, (std::vector<int>{1, 0}));
}

TEST_F(RoomPage, AnEngineReplacedBetweenTwoTicksIsALostConnection) {
    Open(false, kRoom);
    hub.ResetNetEngine();  // the main window's reconnect: the fresh engine reads alive
    ASSERT_TRUE(hub.GetNetEngine()->IsAlive());
    ASSERT_TRUE(PumpUntil([&] { return !main.commands.empty(); }, 10000));
    EXPECT_EQ(main.commands, std::vector<int>{3});
}

// The main window posts room updates; a page that closes before it reads
// them frees them.
TEST_F(RoomPage, UpdatesQueuedForAPageThatClosesAreFreed) {
    Open(false, kRoom);
    for (int i = 0; i < 3; ++i) room->PostMessage(kMsgRoomUpdate, 4, reinterpret_cast<LPARAM>(new CountedState));
    ASSERT_EQ(CountedState::alive, 3);
    room.reset();
    EXPECT_EQ(CountedState::alive, 0);
}

// The view lays its grid from kept bands: at any scroll position, and after a
// change to a desk in view, what it lays is what drawing the grid afresh draws.
TEST_F(RoomPage, GridLaidFromBandsIsTheGridDrawnAfresh) {
    std::vector<Desk> desks;
    static const char* const kIds[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    for (const char* id : kIds) desks.push_back({id, {{id, "0", 0}, {"a_rather_long_nickname", "1", 1}, {"z", "2", 0}}});
    Open(false, desks);
    CRect client;
    View()->GetClientRect(&client);
    HDC screen = ::GetDC(nullptr);
    auto pixels = [&](bool laid) {
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
        HGDIOBJ old = ::SelectObject(mem, bitmap);
        if (laid)
            View()->PaintUpdate(mem, client);
        else
            View()->DrawGrid(mem, client.Width(), client.Height(), View()->GetScrollPosition().y);
        Capture c = CaptureDC(mem, client.Width(), client.Height());
        ::SelectObject(mem, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(mem);
        return c.pixels;
    };
    for (int y : {0, 300, 700, 0}) {
        View()->ScrollToPosition(CPoint(0, y));
        EXPECT_TRUE(pixels(true) == pixels(false)) << "scrolled to " << View()->GetScrollPosition().y;
    }
    auto* state = new CPlayerStateMsg;  // desk 2's first player gets ready: a mark in view
    state->playerId = "2";
    state->deskId = "2";
    state->state = true;
    Update(4, state);
    EXPECT_TRUE(pixels(true) == pixels(false)) << "after a change";
    ::ReleaseDC(nullptr, screen);
}

// The page answers while its buttons are still being made: a seat in view
// pressed at once is asked for in this room, the rest made after it.
TEST_F(RoomPage, ASeatPressedWhileThePageIsMadeIsAskedForInItsRoom) {
    MakeWithSeats(kRoom);
    ASSERT_NE(Item(60006), nullptr) << "the desks in view come with the page";
    EXPECT_EQ(Item(60299), nullptr) << "the rest come between messages";
    Press(60006);  // desk 3, seat 0
    ASSERT_TRUE(WaitFrame("RequestEnterDesk"));
    {
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_NE(frames.back().find("\"101\""), std::string::npos) << frames.back();
    }
    EXPECT_TRUE(PumpUntil([&] { return Item(60299) != nullptr; }));
    EXPECT_FALSE(Shown(60004)) << "desk 2 seat 1 is taken";
}

// A desk pressed while the page is made is asked for at once, its lowest free
// seat, no button made first; a desk made later shows the game started at it
// meanwhile.
TEST_F(RoomPage, ADeskPressedWhileThePageIsMadeIsAskedForAtOnce) {
    OpenWhileMade({{"2", {{"d", "0", 0}}}, {"50", {{"e", "1", 0}}}});
    const int made = DesksMade();
    ASSERT_TRUE(made >= 2 && made < 50) << made;
    auto* start = new CGameStartMsg;
    start->deskId = "50";
    Update(1, start);
    PressNow(Item(10001));
    ASSERT_TRUE(FrameReadUnpumped("RequestEnterDesk"));
    EXPECT_EQ(DesksMade(), made);
    {
        std::lock_guard<std::mutex> lock(mutex);
        const std::string& f = frames.back();
        EXPECT_TRUE(f.find("\"101\"") != std::string::npos && f.find("deskid=\"2\"") != std::string::npos &&
                    f.find("seat=\"1\"") != std::string::npos)
            << f;
    }
    ASSERT_TRUE(PumpUntil([&] { return DesksMade() == 100; }));
    EXPECT_EQ(View()->DeskButton(49)->GetDisplayState(), 1);
}

// Quick join while the page is made takes the seat it takes once every desk
// has its buttons: the last seat of desk 40, not made yet, before the desk in
// view with one player, and not a seat of the full desk 31.
TEST_F(RoomPage, QuickJoinWhileThePageIsMadeTakesTheSeatOfTheWholePage) {
    OpenWhileMade({{"1", {{"a", "0", 0}}},
                   {"31", {{"b", "0", 0}, {"c", "1", 0}, {"g", "2", 0}}},
                   {"40", {{"e", "0", 0}, {"f", "1", 0}}}});
    const int made = DesksMade();
    ASSERT_LT(made, 31);
    PressNow(room->QuickJoinButton()->m_hWnd);
    ASSERT_TRUE(FrameReadUnpumped("RequestEnterDesk"));
    EXPECT_EQ(DesksMade(), made);
    EXPECT_EQ(View()->GetChosenDesk(), 40);
    EXPECT_EQ(View()->GetChosenSeat(), 2);

    ASSERT_TRUE(PumpUntil([&] { return DesksMade() == 100; }));
    EXPECT_FALSE(::IsWindowEnabled(Item(10030)));
    const size_t before = FrameCount();
    PressNow(room->QuickJoinButton()->m_hWnd);
    ASSERT_TRUE(PumpUntil([&] { return FrameCount() > before; }));
    EXPECT_EQ(View()->GetChosenDesk(), 40) << "the same once made";
    EXPECT_EQ(View()->GetChosenSeat(), 2);
}

// A desk not made yet is chosen by quick join as its buttons will show it:
// desk 35 counts a third player on no seat of the game, so it is full for
// others though its seat 2 shows free, and is passed over; a player leaving
// or sitting down at a desk not made yet changes the choice at once.
TEST_F(RoomPage, QuickJoinWhileThePageIsMadeFollowsTheDesksNotMadeYet) {
    CDeskInfoMsg* list = DeskListMessage(false, {{"1", {{"a", "0", 0}}},
                                                 {"35", {{"b", "0", 0}, {"c", "1", 0}}},
                                                 {"40", {{"e", "0", 0}, {"f", "1", 0}}},
                                                 {"50", {{"g", "0", 0}}}});
    list->deskList->FindDesk("35")->players.push_back(new RoomDeskPlayer{"x", "nick_x", "7", 0, 0});
    OpenWhileMade(list);
    const int made = DesksMade();
    ASSERT_LT(made, 35);
    EXPECT_EQ(QuickJoinNow(), std::make_pair(40, 2));
    ASSERT_TRUE(FrameReadUnpumped("deskid=\"40\""));
    Change("40", "f", "1", false);  // desk 40 keeps one player: the first free seat of the page
    EXPECT_EQ(QuickJoinNow(), std::make_pair(1, 1));
    Change("50", "h", "2", true);  // desk 50 now lacks one
    EXPECT_EQ(QuickJoinNow(), std::make_pair(50, 1));
    EXPECT_EQ(DesksMade(), made);

    ASSERT_TRUE(PumpUntil([&] { return DesksMade() == 100; }));
    EXPECT_FALSE(::IsWindowEnabled(Item(10034)));
    EXPECT_TRUE(Shown(60104) && !Shown(60103));
    EXPECT_TRUE(Shown(60118) && !Shown(60117) && Shown(60148) && !Shown(60149));
    const size_t before = FrameCount();
    EXPECT_EQ(QuickJoinNow(), std::make_pair(50, 1)) << "the same once made";
    EXPECT_TRUE(PumpUntil([&] { return FrameCount() > before; }));
}

// A second desk list that comes while the page is made is the one it shows:
// the desks made follow it (desk 3, full in the first, is not listed in the
// second), and so do quick join and the desks made after it.
TEST_F(RoomPage, ASecondDeskListWhileThePageIsMadeIsTheListItShows) {
    OpenWhileMade({{"2", {{"a", "0", 0}, {"b", "1", 0}, {"c", "2", 0}}},
                   {"3", {{"d", "0", 0}, {"e", "1", 0}, {"f", "2", 0}}},
                   {"40", {{"g", "0", 0}, {"h", "1", 0}}}});
    const int made = DesksMade();
    ASSERT_TRUE(made > 3 && made < 40) << made;
    ASSERT_FALSE(::IsWindowEnabled(Item(10001)) || ::IsWindowEnabled(Item(10002)) || Shown(60003));
    room->NotifyView(DeskListMessage(false, {{"2", {{"i", "1", 0}}}, {"45", {{"j", "0", 0}, {"k", "2", 0}}}}));
    EXPECT_TRUE(::IsWindowEnabled(Item(10001)) && Shown(60003) && !Shown(60004) && Shown(60005));
    EXPECT_TRUE(::IsWindowEnabled(Item(10002)) && Shown(60006) && Shown(60007) && Shown(60008));
    EXPECT_EQ(QuickJoinNow(), std::make_pair(45, 1));
    ASSERT_TRUE(FrameReadUnpumped("deskid=\"45\""));
    EXPECT_EQ(DesksMade(), made);

    ASSERT_TRUE(PumpUntil([&] { return DesksMade() == 100; }));
    EXPECT_TRUE(Shown(60117) && Shown(60118) && Shown(60119)) << "desk 40 is not listed";
    EXPECT_TRUE(!Shown(60132) && Shown(60133) && !Shown(60134));
}

namespace {

// Refuses the making of one child window of a parent (a thread's CBT hook).
struct RefuseChild {
    RefuseChild(HWND parent, int id) {
        parent_ = parent;
        id_ = id;
        refused_ = false;
        hook_ = ::SetWindowsHookExA(WH_CBT, &Filter, nullptr, ::GetCurrentThreadId());
    }
    ~RefuseChild() { ::UnhookWindowsHookEx(hook_); }
    static bool Refused() { return refused_; }

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if (cs->hwndParent == parent_ && reinterpret_cast<UINT_PTR>(cs->hMenu) == static_cast<UINT_PTR>(id_)) {
                refused_ = true;
                return 1;
            }
        }
        return ::CallNextHookEx(hook_, code, wParam, lParam);
    }
    static HWND parent_;
    static int id_;
    static bool refused_;
    static HHOOK hook_;
};
HWND RefuseChild::parent_ = nullptr;
int RefuseChild::id_ = 0;
bool RefuseChild::refused_ = false;
HHOOK RefuseChild::hook_ = nullptr;

}  // namespace

// Desk 35, or one of its seats, cannot be made: the page stops before it,
// leaving no part of it (seat 3i + k stays seat k of desk i), and quick join
// chooses among the desks it shows, not desk 40's last seat.
TEST_F(RoomPage, QuickJoinAfterADeskCouldNotBeMadeChoosesAmongTheDesksShown) {
    for (const int refused : {10034, 60103}) {
        SCOPED_TRACE(refused);
        {
            std::lock_guard<std::mutex> lock(mutex);
            frames.clear();
        }
        OpenWhileMade({{"40", {{"e", "0", 0}, {"f", "1", 0}}}});
        ASSERT_LT(DesksMade(), 34);
        {
            RefuseChild refuse(View()->m_hWnd, refused);
            ASSERT_TRUE(PumpUntil([] { return RefuseChild::Refused(); }));
        }
        EXPECT_EQ(DesksMade(), 34);
        EXPECT_FALSE(Item(10034) || Item(60102)) << "a part of desk 35 was left";
        EXPECT_EQ(QuickJoinNow(), std::make_pair(1, 0));
        EXPECT_TRUE(FrameReadUnpumped("deskid=\"1\""));
    }
}

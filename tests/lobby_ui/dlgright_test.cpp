// The right panel with a fake hub: the own row first after a full list, no
// enter line for a listed player, the flood limit against an injected clock,
// "/" sent as "@_5", a server chat line shown with its emote, a system line
// with its picture, a GIF control that cannot be made, and the emote picker
// made on first use.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/ui/DlgRight.h"
#include "lobby/ui/RoomChatSender.h"
#include "lobby/ui/SkinRes.h"
#include "tests/support/LoopbackServer.h"

namespace {

RoomPlayerRecord* Player(const char* nick, int money, const char* sex) {
    auto* p = new RoomPlayerRecord;
    p->nickname = nick;
    p->number = money;
    p->more[0] = sex;
    for (int i = 1; i < 7; ++i) p->more[i] = std::to_string(i);
    return p;
}

// The whole text, two-byte characters included.
std::string Text(CExRichEdit& box) {
    CString all;
    box.GetWindowText(all);
    return all.GetString();
}

struct RightPanel : ::testing::Test {
    void SetUp() override {
        ::OleInitialize(nullptr);
        LoadedSkin();
        {
            LobbyLockGuard guard(GetLobbyData().lobbyLock);
            GetLobbyData().nickname = "我";
        }
        ASSERT_TRUE(frame.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(20, 20, 420, 520), nullptr, 0));
        panel.SetChatSender([this](const CLobbyChatMsg& m) { sent.push_back(m.content + "|" + m.place + "|" + m.playerName); });
        panel.SetClock([this] { return now; });
        ASSERT_TRUE(panel.Create(CDlgRight::IDD, &frame));
        panel.MoveWindow(0, 0, 400, 500);
        panel.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        panel.DestroyWindow();
        frame.DestroyWindow();
    }
    void Post(int kind, CMessage* m) { panel.SendMessage(kMsgRoomMessage, kind, reinterpret_cast<LPARAM>(m)); }
    void Type(const char* text) {
        panel.Input().SetWindowText(text);
        panel.SendMessage(WM_COMMAND, MAKEWPARAM(1019, BN_CLICKED), 0);
    }
    CWnd frame;
    CDlgRight panel;
    std::vector<std::string> sent;
    DWORD now = 100000;
};

}  // namespace

TEST_F(RightPanel, PlayerListOwnRowFirstAndChanges) {
    ASSERT_EQ(RegisterImageOle(true), 0u);
    auto* list = new CRoomPlayerList;
    list->entries = {Player("甲", 50, "1"), Player("我", 70, "0"), Player("乙", 9, "0")};
    Post(kRoomPlayerList, list);
    ASSERT_EQ(panel.List().GetItemCount(), 3);
    EXPECT_EQ(std::string(panel.List().GetItemText(0, 0)), "我");
    EXPECT_EQ(std::string(panel.List().GetItemText(1, 2)), "女");
    EXPECT_EQ(std::string(panel.List().GetItemText(0, 1)), "70");

    auto* changed = new CRoomPlayerRef;
    changed->player = *std::unique_ptr<RoomPlayerRecord>(Player("甲", 99, "1"));
    Post(kRoomPlayerChanged, changed);
    EXPECT_EQ(std::string(panel.List().GetItemText(1, 1)), "99");
    EXPECT_EQ(Text(panel.Chat()).find("进入房间"), std::string::npos);  // a listed player: no enter line

    auto* entered = new CRoomPlayerRef;
    entered->player = *std::unique_ptr<RoomPlayerRecord>(Player("丙", 1, "0"));
    Post(kRoomPlayerChanged, entered);
    EXPECT_EQ(panel.List().GetItemCount(), 4);
    EXPECT_NE(Text(panel.Chat()).find("[丙]进入房间"), std::string::npos);

    auto* left = new CRoomPlayerLeave;
    left->player = "乙";
    Post(kRoomPlayerLeft, left);
    EXPECT_EQ(panel.List().GetItemCount(), 3);
    EXPECT_NE(Text(panel.Chat()).find("[乙]离开房间"), std::string::npos);

    // A click on the money column sorts numerically.
    CRect r;
    panel.List().Header().GetItemRect(1, &r);
    panel.List().Header().PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y));
    panel.List().Header().PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y));
    ASSERT_TRUE(PumpUntil([&] { return std::string(panel.List().GetItemText(0, 1)) == "1"; }));

    auto* chat = new CLobbyChatMsg;
    chat->playerName = "甲";
    chat->content = "hi/wx1@_5";
    chat->color = RGB(200, 0, 0);
    const int pictures = panel.Chat().GetObjectCount();
    Post(kRoomChat, chat);
    EXPECT_NE(Text(panel.Chat()).find("[甲]: hi"), std::string::npos);
    EXPECT_EQ(panel.Chat().GetObjectCount(), pictures + 1);
    PumpMessages(300);
    SavePng(CaptureWindow(panel.m_hWnd), "right_panel");
    RegisterImageOle(false);
}

// The emote picker is made on the first press of the face button, with the
// skin's emotes, and shown.
TEST_F(RightPanel, FacePickerIsMadeOnTheFirstPressOfTheFaceButton) {
    auto picker = [&] { return FindWindowExA(panel.m_hWnd, nullptr, "#32770", nullptr); };
    EXPECT_EQ(picker(), nullptr);
    HWND face = ::GetDlgItem(panel.m_hWnd, 1020);
    ASSERT_TRUE(::IsWindowVisible(face));
    CRect r;
    ::GetClientRect(face, &r);
    const LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
    ::PostMessageA(face, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(face, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return picker() && ::IsWindowVisible(picker()); }));
    EXPECT_EQ(picker(), panel.FacePicker().m_hWnd);
    EXPECT_FALSE(panel.FacePicker().GetCells().empty());
}

TEST_F(RightPanel, ChatFloodLimitAndEscapes) {
    Type("/");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "@_5|room|我");
    EXPECT_EQ(std::string([&] { CString t; panel.Input().GetWindowText(t); return t; }()), "");

    now += 1999;
    Type("again");
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_NE(Text(panel.Chat()).find("你说话的速度太快"), std::string::npos);
    now += 1;
    Type("again");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "again|room|我");

    // Enter in the input sends too; an empty line sends nothing.
    now += 5000;
    panel.Input().SetWindowText("");
    panel.SendMessage(kMsgChatEnter);
    EXPECT_EQ(sent.size(), 2u);

    // The picker reports an emote into the input.
    panel.SendMessage(kMsgFaceChosen, 0, reinterpret_cast<LPARAM>("/wx1"));
    CString typed;
    panel.Input().GetWindowText(typed);
    EXPECT_EQ(std::string(typed), "/wx1");

    // A server's endless line and names show cut: laying out a 40 000-byte
    // name held the window (and the lobby lock) for over ten seconds.
    panel.ClearChat();
    auto* chat = new CLobbyChatMsg();
    chat->playerName = std::string(40000, 'p');
    chat->content = std::string(40000, 'c');
    Post(kRoomChat, chat);
    auto* longLeft = new CRoomPlayerLeave;
    longLeft->player = std::string(40000, 'l');
    Post(kRoomPlayerLeft, longLeft);
    auto* longEntered = new CRoomPlayerRef;
    longEntered->player = *std::unique_ptr<RoomPlayerRecord>(Player(std::string(40000, 'e').c_str(), 1, "0"));
    Post(kRoomPlayerChanged, longEntered);
    const std::string shown = Text(panel.Chat());
    EXPECT_NE(shown.find(std::string(500, 'c')), std::string::npos);
    EXPECT_NE(shown.find(std::string(500, 'l') + "]"), std::string::npos);
    EXPECT_NE(shown.find(std::string(500, 'e') + "]"), std::string::npos);
    EXPECT_LT(shown.size(), 2400u);
}

namespace {

// This process's first visible dialog box among the top-level windows.
BOOL CALLBACK FindBox(HWND w, LPARAM found) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    char name[16] = "";
    ::GetClassNameA(w, name, sizeof name);
    if (pid != ::GetCurrentProcessId() || std::string(name) != "#32770" || !::IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

}  // namespace

// The system line's picture and every emote fail where the GIF control is
// not registered: the emotes show as their codes, the system picture is left
// out, and the failure is told once, by a box that opens with the lobby lock
// free (the socket thread queues under it).
TEST_F(RightPanel, AnUnregisteredGifControlIsToldOnceWithTheLobbyLockFree) {
    RegisterImageOle(false);
    std::atomic<bool> stop{false};
    std::atomic<int> boxes{0}, lockFree{0};
    std::thread answer([&] {
        while (!stop) {
            HWND box = nullptr;
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                ++boxes;
                std::atomic<bool> taken{false};
                std::thread other([&] {
                    LobbyLockGuard guard(GetLobbyData().lobbyLock);
                    taken = true;
                });
                for (int i = 0; i < 250 && !taken; ++i) ::Sleep(20);
                if (taken) ++lockFree;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                other.join();
                while (::IsWindow(box)) ::Sleep(20);
            }
            ::Sleep(20);
        }
    });
    auto* system = new CLobbyChatMsg;
    system->system = true;
    system->content = "welcome\r\n";
    Post(kRoomChat, system);
    for (const char* line : {"hi/wx1", "again/wx1"}) {
        auto* chat = new CLobbyChatMsg;
        chat->playerName = "甲";
        chat->content = line;
        Post(kRoomChat, chat);
    }
    stop = true;
    answer.join();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(lockFree, 1) << "the box waits with the lobby lock held";
    EXPECT_EQ(panel.Chat().GetObjectCount(), 0);
    const std::string text = Text(panel.Chat());
    EXPECT_NE(text.find("welcome"), std::string::npos);
    EXPECT_NE(text.find("[甲]: hi/wx1"), std::string::npos) << text;
    EXPECT_NE(text.find("again/wx1"), std::string::npos) << text;
}

// A system line: the skin's system picture, then the text.
TEST_F(RightPanel, ASystemLineShowsItsPicture) {
    ASSERT_EQ(RegisterImageOle(true), 0u);
    auto* system = new CLobbyChatMsg;
    system->system = true;
    system->content = "welcome\r\n";
    system->color = RGB(255, 0, 0);
    Post(kRoomChat, system);
    EXPECT_EQ(panel.Chat().GetObjectCount(), 1);
    EXPECT_NE(Text(panel.Chat()).find("welcome"), std::string::npos);
    EXPECT_EQ(Text(panel.Chat()).find("[]"), std::string::npos) << "no sender for a system line";
    RegisterImageOle(false);
}

// The room-chat sender puts the Chat request on the lobby connection.
TEST(RoomChatSender, ChatGoesOutOnTheLobbyConnection) {
    std::mutex lock;
    std::string received;
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        int kind = 0;
        std::string payload;
        if (c.ReadFrame(kind, payload, 10000)) {
            std::lock_guard<std::mutex> hold(lock);
            received = payload;
        }
    });
    CLobbyData data;
    data.SetServerConfigLoader([] { return true; });
    ASSERT_EQ(data.Init(1), 1);
    data.Connect("127.0.0.1", server.Port());
    CLobbyChatMsg message;
    message.color = RGB(200, 10, 0);
    message.content = "a b@_5";
    message.place = "room";
    message.playerName = "bob";
    message.target = "0";
    EXPECT_EQ(SendRoomChat(data, message), 1);
    ASSERT_TRUE(PumpUntil([&] {
        std::lock_guard<std::mutex> hold(lock);
        return !received.empty();
    }, 10000));
    EXPECT_NE(received.find("Chat"), std::string::npos) << received;
    EXPECT_NE(received.find("\"ab@_5\""), std::string::npos) << received;
    EXPECT_NE(received.find("\"200,10,0\""), std::string::npos) << received;
    data.Shutdown();
}

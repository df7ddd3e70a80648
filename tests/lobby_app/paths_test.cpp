// The main window's paths that only a server or a page's command reaches:
// the server's verdicts and kicks, the money notice, room switches while a
// game runs or not, the waiting page's and the web pages' commands, the
// pop-up of style 1, the about box and a missing room tree.
// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/LobbyAppKit.h"
// clang-format on
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "tools/loop/RemoteTree.h"
#include "tools/servers/LobbyLogic.h"
#include "tools/loop/WindowFind.h"

using namespace lobbyapp;
using loop::FindChild;
using loop::FindClass;
using loop::RemoteTree;

namespace {

// Entering any room starts its client and opens its page.
std::vector<std::string> EnterAnyRoom(const std::string& request) {
    if (request.find("RequestEnterRoom") == std::string::npos) return {};
    const size_t at = request.find("roomid=\"") + 8;
    const std::string room = request.substr(at, request.find('"', at) - at);
    return {testsupport::LobbyReply("ReadyToEnterRoom", "<p a=\"s\" b=\"tok\" c=\"" + room + "\"/>"),
            testsupport::LobbyReply("DeskList", "<Room a=\"False\"><desk a=\"D1\" b=\"" + room +
                                                    "\" c=\"1\" d=\"-\" e=\"false\"/></Room>")};
}

}  // namespace

// LoginFailed ends the lobby after its box; ValidateFailed ends it after the
// server's own text.
TEST(LobbyServerKinds, LoginFailedAndValidateFailedEndTheLobby) {
    {
        MainRun m("loginfailed");
        ASSERT_NE(m.main, nullptr);
        m.server.Send("LoginFailed", "<p a=\"elsewhere\"/>");
        EXPECT_TRUE(m.Answer("错误", "密码验证错误，可能该帐号已在别处登陆，请重新登陆大厅！"));
        EXPECT_TRUE(m.lobby->WaitExit(10000));
    }
    MainRun m("validatefailed");
    ASSERT_NE(m.main, nullptr);
    m.server.Send("ValidateFailed", "<p a=\"账号已冻结\"/>");
    EXPECT_TRUE(m.Answer("提示", "账号已冻结"));
    EXPECT_TRUE(m.lobby->WaitExit(10000));
}

// The money notice asks, with the lobby lock free meanwhile (a notice sent
// during the question still pops up), and opens its address only when confirmed.
TEST(LobbyServerKinds, MoneyIsNotEnoughAsksWithTheLobbyLockFree) {
    MainRun m("money");
    ASSERT_NE(m.main, nullptr);
    const std::string pay = m.run.folder.Path() + "pay.exe";
    CopyFileA((OwnFolder() + "record_start.exe").c_str(), pay.c_str(), FALSE);
    const std::string notice = "<p a=\"金额不足\" b=\"" + servers::Base64Encode(pay) + "\"/>";
    m.server.Send("MoneyIsNotEnough", notice);
    HWND box = m.Box("提示信息");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(m.Traced("box 提示信息|金额不足|1|0"));
    m.server.Send("Notice", "<p a=\"aGk=\" b=\"3\"/>");
    EXPECT_TRUE(m.Traced("popup Mirabo系统消息|hi|10000|0"));
    EXPECT_TRUE(IsWindow(box)) << "still asking";
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    EXPECT_FALSE(m.Traced("open ", 500)) << "not confirmed: nothing opens";

    m.server.Send("MoneyIsNotEnough", notice);
    EXPECT_TRUE(m.Answer("提示信息", "金额不足", 1));
    EXPECT_TRUE(m.Traced("open " + pay));
    EXPECT_TRUE(WaitFor([&] { return m.run.Lines("starts.txt").size() == 1; }, 10000)) << "the address opened";
}

// A kick that asks for a reconnection: its box, then a new login.
TEST(LobbyServerKinds, AKickThatAsksForAReconnectionLogsInAgain) {
    MainRun m("kickagain");
    ASSERT_NE(m.main, nullptr);
    m.server.Send("KickPlayer", "<p a=\"again\" b=\"False\" c=\"True\"/>");
    EXPECT_TRUE(m.Answer("提示", "again"));
    EXPECT_TRUE(m.Traced("box 错误|检测到和服务器断开连接，正在尝试重连!|0|1"));
    EXPECT_TRUE(m.server.WaitCount("RequestRoomList", 2, 25000)) << "logged in again";
    EXPECT_EQ(m.server.Logins(), 2);
    EXPECT_TRUE(m.Traced("box 提示|连接服务器成功|0|1"));
    EXPECT_TRUE(IsWindow(m.main));
}

// A start-game message with no room entered launches the first direct-start
// room of the card game with the whole line, its flag "1": a lone blank is a
// line the program refuses.
TEST(LobbyServerKinds, AStartGameWithNoRoomLaunchesTheFirstDirectStartRoomInFull) {
    MainRun m("directstart");
    ASSERT_NE(m.main, nullptr);
    std::string direct = Room("44", "直通房", 1, "0", 1, "1", "15");
    direct.replace(direct.find("e=\"False\""), 9, "e=\"True\"");
    std::string games = kGames;
    games.insert(games.find("<game a=\"2\""), direct);  // a room of the card game, last in its list
    m.server.Send("GameList", games);
    m.server.Send("ReadyToEnterRoom", "<p a=\"s\" b=\"tok\" c=\"44\"/>");
    EXPECT_TRUE(m.run.WaitLine("starts.txt", " 127.0.0.1 bob 9000 44 tok 1 h2 p2 1 0 0", 15000))
        << ::testing::PrintToString(m.run.Lines("starts.txt"));
    EXPECT_TRUE(CloseClient());
}

// Switching rooms: refused while a game runs, forced by the desk view's code 3
// even then, asked before otherwise and, confirmed, asked of the server once.
TEST(LobbyCommands, RoomSwitchesWithAndWithoutAGame) {
    MainRun m("switch", EnterAnyRoom);
    ASSERT_NE(m.main, nullptr);
    m.server.Send("GameList", kGames);
    PostMessageA(m.main, WM_USER + 5555, 4, 7);
    ASSERT_TRUE(WaitFor(ClientRunning, 15000));
    ASSERT_TRUE(WaitFor([&] { return FindChild(m.main, "游戏房间") != nullptr; }, 10000));
    HWND page = FindChild(m.main, "游戏房间");

    // Each box is answered before the next command: the boxes share a caption.
    PostMessageA(m.main, WM_USER + 5555, 0, 0);
    EXPECT_TRUE(m.Answer("提示", "请先退出游戏,再关闭大厅!")) << "a room's tab stays while its game runs";
    PostMessageA(m.main, WM_USER + 5555, 4, 3);
    EXPECT_TRUE(m.Answer("提示", "正在游戏中不能切换房间!"));
    EXPECT_TRUE(IsWindow(page));
    EXPECT_EQ(m.server.Count("roomid=\"3\""), 0);

    // Code 3: the page goes although the game runs, and the room is asked for again.
    PostMessageA(m.main, WM_USER + 5555, 3, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(page); }, 5000));
    EXPECT_TRUE(m.server.WaitCount("roomid=\"7\"", 2));
    ASSERT_TRUE(WaitFor([&] { return (page = FindChild(m.main, "游戏房间")) != nullptr; }, 10000));
    ASSERT_TRUE(CloseClient());

    // No game: asked first; Cancel keeps the room, OK enters the other once.
    PostMessageA(m.main, WM_USER + 5555, 4, 3);
    ASSERT_TRUE(m.Answer("提示", "检测到正在房间中,是否要进行房间切换?", 1, IDCANCEL));
    PostMessageA(m.main, WM_USER + 5555, 4, 3);
    ASSERT_TRUE(m.Answer("提示", "检测到正在房间中,是否要进行房间切换?", 1));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(page) && FindChild(m.main, "游戏房间") != nullptr; }, 10000));
    ASSERT_TRUE(WaitFor(ClientRunning, 10000));
    EXPECT_EQ(m.server.Count("roomid=\"3\""), 1) << "one request for the new room";
    ASSERT_TRUE(CloseClient());
}

// The waiting page's give-up (8), the member page's refresh (12), a tree
// selection's pages (7, 13), a pop-up of style 1 and the about box.
TEST(LobbyCommands, CommandsOfPagesAndTheTreeAPopUpAndTheAboutBox) {
    MainRun m("commands");
    ASSERT_NE(m.main, nullptr);
    m.run.folder.Write("FENLORoomTree.ini",
                       "[count]\r\nitem_count=2\r\n[item0]\r\nid=1\r\ntext=初级场\r\ncolor=255 0 0\r\nicon=3\r\n"
                       "parent=0\r\nexpand=1\r\nurl=0\r\n[item1]\r\nid=2\r\ntext=比赛场\r\ncolor=0 255 0\r\nicon=3\r\n"
                       "parent=0\r\nexpand=1\r\nurl=http://order.example/match\r\n");
    m.server.Send("GameList", kGames);

    PostMessageA(m.main, WM_USER + 5555, 8, 0);
    EXPECT_TRUE(m.Traced("box 错误|      开启游戏失败！|0|0"));
    PostMessageA(m.main, WM_USER + 5555, 12, 0);
    EXPECT_TRUE(m.Traced("member page navigate 2", 10000)) << "refreshed 3 s later";

    HWND treeWindow = FindClass(m.main, "SysTreeView32");
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree tree(treeWindow, m.lobby->Id());
    HTREEITEM room = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (room = tree.FindPrefix("高手房")) != nullptr; }, 10000));
    const RECT r = tree.ItemRect(room);
    loop::Click(treeWindow, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(m.Traced("member page navigate 1 javascript:instro(3,12)"));
    EXPECT_TRUE(m.Traced("order page http://order.example/match"));
    EXPECT_TRUE(WaitFor([&] { return FindChild(m.main, "说  明") != nullptr; }, 5000));

    m.server.Send("Notice", "<p a=\"aGk=\" b=\"4\"/>");
    EXPECT_TRUE(m.Traced("popup Mirabo系统消息|hi|0|1"));
    EXPECT_NE(m.Box("Mirabo系统消息"), nullptr);

    PostMessageA(m.main, WM_SYSCOMMAND, 0x10, 0);
    HWND about = m.Box("关于 MiraboGame");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 1002)), "MiraboGame 游戏大厅");
    EXPECT_EQ(WindowText(GetDlgItem(about, 1001)), "ver:2.0.1");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 5000));
}

// Without FENLORoomTree.ini the tree holds only the game, and the player is told.
TEST(LobbyCommands, AMissingRoomTreeIsTold) {
    MainRun m("notree", nullptr, false);
    ASSERT_NE(m.main, nullptr);
    m.server.Send("GameList", kGames);
    HWND box = m.Box("错误");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "找不到FENLORoomTree.ini,请重新下载客户端!");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    RemoteTree tree(FindClass(m.main, "SysTreeView32"), m.lobby->Id());
    EXPECT_TRUE(WaitFor([&] { return tree.Items() == std::vector<std::string>{"0:斗地主"}; }, 5000))
        << ::testing::PrintToString(tree.Items());

    // A corrupt count is cut to the file's sections: the tree is built at once.
    std::string corrupt = kRoomTree;
    corrupt.replace(corrupt.find("item_count=2"), 12, "item_count=2147483647");
    m.run.folder.Write("FENLORoomTree.ini", corrupt);
    m.server.Send("GameList", kGames);
    EXPECT_TRUE(WaitFor([&] { return tree.Find("高手房(4人,比赛中)") != nullptr; }, 10000))
        << ::testing::PrintToString(tree.Items());
}

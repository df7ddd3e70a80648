// The table in process: validation, verdicts, auto-play, money reports, the
// connection watch, reconnecting and the turn time-outs.
#include <gtest/gtest.h>

#include "game/core/NetEngineEx.h"
#include "lobby/net/base/CopyData.h"
#include "game/ui/SeatFields.h"
#include "game/ui/WebAddress.h"
#include "tests/fenlo/TableHarness.h"

using namespace fenlo_test;
using testsupport::WaitFor;

namespace {

std::string Turn(const char* name, const char* who, int seconds) {
    return Doc(name, std::string("<player id=\"") + who + "\" remainTime=\"" + std::to_string(seconds) + "\"/>");
}

TEST(TableLink, ValidationAsksForADeskByRoomKind) {
    struct Case {
        int vip, enter;
        const char* request;
        const char* room;
    } cases[] = {{0, 0, "RequestDesk", "test"}, {1, 0, "RequestCreateGame", "31"}, {1, 1, "RequestEnterGame", "31"}};
    for (const Case& c : cases) {
        TableHarness h;
        h.Session()->vipFlag = c.vip;
        h.Session()->vipEnterFlag = c.enter;
        h.Feed(Doc("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"));
        ASSERT_EQ(h.requests.size(), 2u) << c.request;
        EXPECT_EQ(h.requests[0], kPing) << "the keep-alive goes first, unchanged";
        EXPECT_EQ(h.Sent(c.request), 1);
        EXPECT_NE(h.requests[1].find(std::string("\"") + c.room + "\""), std::string::npos) << h.requests[1];
    }
    TableHarness h;
    h.Feed(Doc("ReRequestDesk"));
    EXPECT_NE(h.requests.at(0).find("\"31\""), std::string::npos);
}

TEST(TableLink, AnOldVersionStartsTheUpdaterWhenAskedAndQuitsEitherWay) {
    ScratchFolder& folder = TableHarness::Folder();
    CreateDirectoryA((folder / "Updater").c_str(), nullptr);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string dir = std::string(self).substr(0, std::string(self).rfind('\\'));
    ASSERT_TRUE(CopyFileA((dir + "\\fenlo_updater_standin.exe").c_str(), (folder / "Updater\\Updater.exe").c_str(),
                          FALSE));
    for (int answer : {IDNO, IDYES}) {
        TableHarness h;
        h.answers = {answer};
        h.Feed(Doc("InvalidClientVersion"));
        EXPECT_TRUE(h.table->Ended());
        EXPECT_EQ(h.boxes.at(0), "您目前的版本需要更新才能继续\n，现在下载更新吗？|斗地主|52|0");
    }
    EXPECT_EQ(folder.Read("updater.log"), "Updater\\Updater.exe FENLO\ncopydata answered\n")
        << "started once and waited for, the table still answering what is sent to it";
    DeleteFileA((folder / "Updater\\Updater.exe").c_str());
    DeleteFileA((folder / "updater.log").c_str());
    RemoveDirectoryA((folder / "Updater").c_str());
}

TEST(TableLink, NotEnoughMoneyQuitsAndOpensOnlyWebAddresses) {
    for (const char* url : {"http://a/b", "https://a"}) EXPECT_TRUE(IsWebAddress(url)) << url;
    for (const char* url : {"c:\\windows\\calc.exe", "file:///c:/x", "httpx://a", ""}) EXPECT_FALSE(IsWebAddress(url)) << url;
    {
        TableHarness h;
        h.answers = {IDNO};
        h.Feed(Doc("MoneyIsNotEnough", "<m text=\"钱不够\" url=\"aHR0cDovL2EvcGF5\"/>"));
        EXPECT_TRUE(h.table->Ended()) << "declining the page still ends the client";
        EXPECT_TRUE(h.opened.empty());
    }
    // Yes opens a web address with the shell, never a program or a file.
    const std::pair<const char*, const char*> urls[] = {
        {"http://a/pay", "aHR0cDovL2EvcGF5"},
        {"c:\\windows\\system32\\cmd.exe", "Yzpcd2luZG93c1xzeXN0ZW0zMlxjbWQuZXhl"},
        {"cmd", "Y21k"}};  // the address goes in Base64
    for (const auto& [url, wire] : urls) {
        TableHarness h;
        h.answers = {IDYES};
        h.Feed(Doc("MoneyIsNotEnough", std::string("<m text=\"钱不够\" url=\"") + wire + "\"/>"));
        EXPECT_TRUE(h.table->Ended()) << url;
        EXPECT_EQ(h.opened, IsWebAddress(url) ? std::vector<std::string>{url} : std::vector<std::string>{}) << url;
    }
}

BOOL CALLBACK AddVisibleBox(HWND h, LPARAM boxes) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && std::string(cls) == "#32770") reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(h);
    return TRUE;
}

std::vector<HWND> VisibleBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), &AddVisibleBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// The person at the table during the boxes below: once the network box
// stands alone, OK is pressed on it.
struct BoxWatch {
    static TableHarness* h;
    static bool pressed;
    static DWORD start;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        const std::vector<HWND> boxes = VisibleBoxes();
        if (GetTickCount() - start > 15000) {
            for (HWND box : boxes) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);  // fail, do not hang
            return;
        }
        if (pressed || boxes.size() != 1 || h->State().phase != 16) return;
        HWND ok = GetDlgItem(boxes[0], IDOK);
        PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 9));
        PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 9));
        pressed = true;
    }
};
TableHarness* BoxWatch::h = nullptr;
bool BoxWatch::pressed = false;
DWORD BoxWatch::start = 0;

// The connection is lost while the sign-up question waits: the network box
// hides the question, which answers No by itself a second later, and the
// table quits without asking for a desk.
TEST(TableLink, ALostConnectionUnderTheSignUpQuestionAnswersItNo) {
    TableHarness h;
    SetTableBoxHook(nullptr);  // Moxbell's own boxes
    h.Session()->GetConnection()->ClearAlive();
    h.table->SetTimer(CPavlenDlg::kTimerId, CPavlenDlg::kTimerMs);
    BoxWatch::h = &h;
    BoxWatch::pressed = false;
    BoxWatch::start = GetTickCount();
    const UINT_PTR watch = SetTimer(nullptr, 0, 20, &BoxWatch::Tick);
    h.Feed(Doc("AskPlayerSignUp", "<m text=\"报名参加下一场吗?\"/>"));
    const DWORD took = GetTickCount() - BoxWatch::start;
    KillTimer(nullptr, watch);
    h.table->KillTimer(CPavlenDlg::kTimerId);
    EXPECT_TRUE(BoxWatch::pressed) << "the network box came over the question";
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.table->Ended()) << "the question's own answer was No";
    EXPECT_EQ(h.Sent("RequestDesk"), 0);
    EXPECT_GE(took, 900u) << "the hidden question waited its second";
}

TEST(TableLink, KicksEndTheTableOrRebuildTheConnection) {
    {
        TableHarness h;
        h.Feed(Doc("KickPlayer", "<kick reason=\"走开\" close=\"True\" reconnect=\"True\"/>"));
        EXPECT_TRUE(h.table->Ended());
        EXPECT_TRUE(h.State().kicked);
        EXPECT_EQ(h.boxes, std::vector<std::string>({"走开|斗地主|48|0"}));
        EXPECT_EQ(h.boxOwners, std::vector<HWND>({h.table->m_hWnd})) << "the table owns the boxes of its messages";
    }
    TableHarness h;
    h.Deal();
    h.Feed(Turn("BeginAskForLandLord", "alice", 20));
    ASSERT_TRUE(h.table->Visible(IDC_CONTEST_YES));
    h.Feed(Doc("KickPlayer", "<kick reason=\"重连\" close=\"False\" reconnect=\"True\"/>"));
    EXPECT_FALSE(h.table->Ended());
    EXPECT_FALSE(h.Session()->GetConnection()->IsAlive());
    h.Tick();
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.Boxed("网络错误"));
    EXPECT_FALSE(h.table->Visible(IDC_CONTEST_YES) || h.table->Visible(IDC_CONTEST_NO))
        << "nothing is offered that would go into a dead connection";
}

TEST(TableLink, OwnAutoPlayHidesTheTurnButtonsAndItsCancelWarnsOnTheTurn) {
    TableHarness h;
    h.Deal();
    h.Feed(Turn("BeginChuPai", "alice", 20));
    EXPECT_TRUE(h.table->Visible(IDC_PLAY));
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    EXPECT_FALSE(h.table->Visible(IDC_PLAY));
    EXPECT_TRUE(h.table->Visible(IDC_CANCEL_AUTO));
    EXPECT_EQ(seat::AutoPlay(*h.State().Own()), 1);
    h.Feed(Doc("CancelAutoPlay", "<player id=\"alice\"/>"));
    EXPECT_EQ(h.State().ownTimeouts, -1);
    EXPECT_TRUE(h.table->Visible(IDC_AUTO_PLAY));
    EXPECT_TRUE(h.Boxed("本轮仍旧托管中\n，至下轮才可出牌|提示|0|5"));
    h.Feed(Doc("AutoPlay", "<player id=\"nobody\"/>"));
    EXPECT_EQ(h.boxes.size(), 1u) << h.boxes.back();
}


TEST(TableLink, BetsAndMoneyAreReportedToEveryLobbyWindow) {
    Lobby lobby;
    {
        TableHarness h;
        h.Feed(Doc("PlayerMoneyNew", "<money value=\"777.5\"/>"));
        EXPECT_EQ(lobby.Last(), 777.5) << "through a record made for the moment";
        EXPECT_EQ(h.State().Own(), nullptr);
        lobby.records.clear();
        h.SeatThree();
        ASSERT_EQ(lobby.records.size(), 2u) << "both lobby windows";
        EXPECT_STREQ(lobby.records[0].second.playerId, "alice");
        EXPECT_EQ(lobby.records[0].first, 0u);
        EXPECT_EQ(lobby.Last(), 1000);
        h.Feed(Doc("BetSuccess", "<bet first=\"x\" amount=\"100\"/>"));
        EXPECT_EQ(lobby.Last(), 900);
        EXPECT_TRUE(h.Boxed("成功下注100元|提示|0|5"));
        h.Feed(Doc("PlayerGoal", "<goal id=\"alice\" rank=\"1\" name=\"n\" ratio=\"1\" money=\"50\"/>"));
        EXPECT_EQ(lobby.Last(), 950);
        h.Feed(Doc("AnswerLeave", "<player Allow=\"True\"/>"));
        EXPECT_TRUE(h.table->Ended());
        EXPECT_EQ(lobby.Last(), -1.0) << "quitting reports no money";
    }
    TableHarness h;
    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"1\"/>" + Player("x", 0) + Player("y", 1) + Player("z", 2)));
    lobby.records.clear();
    h.Feed(Doc("PlayerMoneyNew", "<money value=\"5\"/>"));
    EXPECT_TRUE(lobby.records.empty()) << "no slot is free: the value is dropped";
}

TEST(TableLink, ASlowFirstReplyAsksOnceAndNoLeavesThroughTheCancel) {
    TableHarness h;
    h.Session()->firstReplyStamp = TableHarness::now;
    h.Run(8000);
    EXPECT_TRUE(h.boxes.empty());
    h.answers = {IDNO, IDYES};
    h.Run(100);
    EXPECT_EQ(h.boxes, std::vector<std::string>({"你网络速度过慢\n ,是否继续游戏！|提示|52|30",
                                                 "您确定退出本桌游戏吗？|斗地主|52|0"}));
    EXPECT_TRUE(h.table->Ended()) << "nothing has come from the server: no Leaving, just quit";
    EXPECT_EQ(h.Sent("Leaving"), 0);
}

TEST(TableLink, KeepAliveAndWatchdog) {
    TableHarness h;
    h.Feed(Doc("ValidateSuccess"));
    h.requests.clear();
    h.Run(6000);
    EXPECT_TRUE(h.requests.empty()) << "unanswered: no second keep-alive";
    h.Feed(Doc("GameNotice", "<n body=\"x\"/>"));
    h.Tick();
    EXPECT_EQ(h.requests, std::vector<std::string>({kPing}));
    h.Run(19975);
    EXPECT_TRUE(h.Session()->GetConnection()->IsAlive());
    h.Run(75);
    EXPECT_EQ(h.State().phase, 16) << "20 s without an answer: the connection is given up";
    EXPECT_GT(static_cast<int>(h.table->Watch().pingSent - TableHarness::now), 100000) << "quiet for 120 s";
}

TEST(TableLink, ALossInTheResultContinuesFirstAndReconnectsAtTheSecondAddress) {
    GameServer first, second;
    TableHarness h;
    h.Session()->serverPort = first.Port();
    h.Session()->reconnectHost = "127.0.0.1";
    h.Session()->reconnectPort = second.Port();
    h.Deal();
    h.Feed(Doc("GameResult", "<player id=\"alice\" money=\"5\"/><player id=\"bob\" money=\"5\"/>"));
    h.Run(2000);
    EXPECT_TRUE(h.State().holdMain);
    h.Session()->GetConnection()->ClearAlive();
    h.Tick();
    EXPECT_FALSE(h.State().holdMain) << "continue ran first";
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.Boxed("网络错误,\n正在为你重新连接\n    ,请稍候...|网络重连|48|5"));
    EXPECT_EQ(h.Sent("PlayerInfoValidate"), 1);
    ASSERT_TRUE(WaitFor(
        [&] {
            h.Tick();
            return h.State().online == 1;
        },
        10000));
    EXPECT_TRUE(second.loopback().WaitAccepted(1, 5000));
    EXPECT_EQ(first.loopback().Accepted(), 0);
    EXPECT_EQ(h.State().phase, 0);
    EXPECT_EQ(h.State().Own(), nullptr) << "the table was reset";
    EXPECT_EQ(h.boxes.back(), "重新连接服务器成功||48|3");
    EXPECT_EQ(h.boxes.size(), 2u);
}

TEST(TableLink, OwnTimeOutsBidDeclinePassAndThenAutoPlay) {
    TableHarness h;
    h.Deal();
    const char* notices[] = {"BeginJiaoFen", "BeginAskForLandLord", "BeginDouble"};
    const char* requests[] = {"JiaoFen", "AskForLandLord", "Double"};
    for (int i = 0; i < 3; ++i) {
        h.Feed(Turn(notices[i], "alice", 1));
        h.Run(1050);
        EXPECT_EQ(h.Sent(requests[i]), 1) << requests[i];
    }
    for (const std::string& r : h.requests) {
        if (r.find("\"JiaoFen\"") != std::string::npos || r.find("\"Double\"") != std::string::npos) {
            EXPECT_TRUE(r.find("\"0\"") != std::string::npos || r.find("\"False\"") != std::string::npos) << r;
        }
    }
    h.Feed(Doc("ChuPai", "<player id=\"carol\"/><card number=\"3\" suit=\"0\"/>"));
    h.Feed(Turn("BeginChuPai", "alice", 1));
    h.Run(1050);
    EXPECT_EQ(h.Sent("ChuPai"), 1) << "the first time-out passes";
    EXPECT_TRUE(h.Boxed("连续延时两次后将\n进入托管状态|提示|0|5"));
    h.Feed(Doc("ChuPai", "<player id=\"alice\"/>"));
    h.Feed(Turn("BeginChuPai", "alice", 1));
    h.Run(1050);
    EXPECT_EQ(h.Sent("AutoPlay"), 1) << "the second asks for auto-play";
}

TEST(TableLink, TheClockTicksAudiblyOnOwnTurnsOnly) {
    TableHarness h;
    h.Deal();
    h.Feed(Turn("BeginChuPai", "bob", 8));
    h.Run(9000);
    EXPECT_EQ(h.Played("clock.wav"), 0);
    h.Feed(Turn("BeginChuPai", "alice", 8));
    h.Run(7900);
    EXPECT_EQ(h.Played("clock.wav"), 6) << "at 5, 4, 3, 2, 1 and 0 seconds";
}

TEST(TableLink, TheSecondQueueIsServedWhileTheMainQueueIsHeld) {
    TableHarness h;
    h.SeatThree();
    h.Feed(Doc("GameStart"));
    const std::string ready = Doc("ReadyForPlaying", "<player id=\"bob\"/>"),
                      autoPlay = Doc("AutoPlay", "<player id=\"bob\"/>");
    h.Session()->OnReceive(ready.c_str(), static_cast<int>(ready.size()));
    h.Session()->OnReceive(autoPlay.c_str(), static_cast<int>(autoPlay.size()));
    h.Tick();
    CPlayerInfo* bob = h.State().FindPlayerByName("bob");
    EXPECT_EQ(seat::AutoPlay(*bob), 1);
    EXPECT_EQ(bob->ready, 0) << "held by the start pause";
    h.Run(1500);
    EXPECT_EQ(bob->ready, 1);
}

}  // namespace

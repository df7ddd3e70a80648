// The table's link to its server, handed to the game: validation, verdicts,
// kicks, auto-play, money, the connection watch, reconnecting, the turn
// time-outs and the two queues.
#include <gtest/gtest.h>

#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/WebAddress.h"
#include "tests/game_table/TableRig.h"

using namespace table_test;

namespace {

TEST(TableLink, ValidationAsksForADeskByRoomKind) {
    struct Case {
        int vip, enter;
        const char* request;
        const char* room;
    } cases[] = {{0, 0, "RequestDesk", "test"}, {1, 0, "RequestCreateGame", "31"}, {1, 1, "RequestEnterGame", "31"}};
    for (const Case& c : cases) {
        TableRig h;
        h.session.vipFlag = c.vip;
        h.session.vipEnterFlag = c.enter;
        h.Feed(Doc("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"));
        ASSERT_EQ(h.session.requests.size(), 2u) << c.request;
        EXPECT_EQ(h.session.requests[0], kPing) << "the keep-alive goes first, unchanged";
        EXPECT_EQ(h.Sent(c.request), 1);
        EXPECT_NE(h.session.requests[1].find(std::string("\"") + c.room + "\""), std::string::npos)
            << h.session.requests[1];
    }
    TableRig h;
    h.Feed(Doc("ReRequestDesk"));
    EXPECT_NE(h.session.requests.at(0).find("\"31\""), std::string::npos);
}

TEST(TableLink, NotEnoughMoneyQuitsAndOpensOnlyWebAddresses) {
    for (const char* url : {"http://a/b", "https://a"}) EXPECT_TRUE(IsWebAddress(url)) << url;
    for (const char* url : {"c:\\windows\\calc.exe", "file:///c:/x", "httpx://a", ""})
        EXPECT_FALSE(IsWebAddress(url)) << url;
    {
        TableRig h;
        h.view.answers = {V::kNo};
        h.Feed(Doc("MoneyIsNotEnough", "<m text=\"钱不够\" url=\"aHR0cDovL2EvcGF5\"/>"));
        EXPECT_TRUE(h.Ended()) << "declining the page still ends the client";
        EXPECT_TRUE(h.view.opened.empty());
    }
    // Yes opens a web address with the shell, never a program or a file.
    const std::pair<const char*, const char*> urls[] = {
        {"http://a/pay", "aHR0cDovL2EvcGF5"},
        {"c:\\windows\\system32\\cmd.exe", "Yzpcd2luZG93c1xzeXN0ZW0zMlxjbWQuZXhl"},
        {"cmd", "Y21k"}};  // the address goes in Base64
    for (const auto& [url, wire] : urls) {
        TableRig h;
        h.view.answers = {V::kYes};
        h.Feed(Doc("MoneyIsNotEnough", std::string("<m text=\"钱不够\" url=\"") + wire + "\"/>"));
        EXPECT_TRUE(h.Ended()) << url;
        EXPECT_EQ(h.view.opened, IsWebAddress(url) ? std::vector<std::string>{url} : std::vector<std::string>{}) << url;
    }
}

TEST(TableLink, KicksEndTheTableOrRebuildTheConnection) {
    {
        TableRig h;
        h.Feed(Doc("KickPlayer", "<kick reason=\"走开\" close=\"True\" reconnect=\"True\"/>"));
        EXPECT_TRUE(h.Ended());
        EXPECT_TRUE(h.State().kicked);
        EXPECT_EQ(h.view.boxes, std::vector<std::string>({"走开|斗地主|48|0"}));
    }
    TableRig h;
    h.Deal();
    h.Feed(Turn("BeginAskForLandLord", "alice", 20));
    ASSERT_TRUE(h.view.Shown(V::kContestYes));
    h.Feed(Doc("KickPlayer", "<kick reason=\"重连\" close=\"False\" reconnect=\"True\"/>"));
    EXPECT_FALSE(h.Ended());
    EXPECT_FALSE(h.session.connection->IsAlive());
    h.Tick();
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.Boxed("网络错误"));
    EXPECT_FALSE(h.view.Shown(V::kContestYes) || h.view.Shown(V::kContestNo))
        << "nothing is offered that would go into a dead connection";
}

// The verdicts and questions that end in a box: a refused validation or play
// keeps the table; an old version runs the updater only on Yes; the sign-up
// question asks for a desk on Yes; both end the table otherwise.
TEST(TableLink, VerdictsAndQuestionsAnswerAsTheirBoxesSay) {
    {
        TableRig h;
        h.Feed(Doc("ValidateFailed", "<failed reason=\"验证失败\"/>"));
        h.Feed(Doc("ChuPaiFailed", "<player id=\"alice\"/>"));
        EXPECT_EQ(h.view.boxes,
                  std::vector<std::string>({"验证失败|斗地主|48|0", "您出牌超时或者不符合规则！|斗地主|48|2"}));
        EXPECT_FALSE(h.Ended());
    }
    for (int answer : {V::kNo, V::kYes}) {
        TableRig h;
        h.view.answers = {answer};
        h.Feed(Doc("InvalidClientVersion"));
        EXPECT_TRUE(h.Boxed("您目前的版本需要更新才能继续\n，现在下载更新吗？|斗地主|52|0"));
        EXPECT_EQ(h.view.updaters, answer == V::kYes) << answer;
        EXPECT_TRUE(h.Ended()) << answer;
    }
    for (int answer : {V::kNo, V::kYes}) {
        TableRig h;
        h.view.answers = {answer};
        h.Feed(Doc("AskPlayerSignUp", "<m text=\"报名参加下一场吗?\"/>"));
        EXPECT_TRUE(h.Boxed("报名参加下一场吗?|提示|4|0"));
        EXPECT_EQ(h.Sent("RequestDesk"), answer == V::kYes) << answer;
        EXPECT_EQ(h.Ended(), answer == V::kNo) << answer;
    }
}

TEST(TableLink, AVipDeskItsBetAndTheGroupCount) {
    TableRig h;
    h.session.vipFlag = 1;
    h.session.vipPassword = "pw";
    h.session.vipMinMoney = "500";
    h.Feed(Doc("CreateGameSuccess", "<player id=\"1\" roomid=\"2\" gameid=\"77\"/>"));
    EXPECT_EQ(h.view.boxes,
              std::vector<std::string>({"您已经成功创建了VIP桌\n房号：77\n密码：pw\n要求帐户最低金额：500|提示|0|0"}));
    EXPECT_EQ(h.session.vipGameId, "77");
    h.Feed(Doc("BeginBet", "<bet money=\"300\"/>"));
    h.game.OnBet();
    ASSERT_EQ(h.Sent("Bet"), 1);
    EXPECT_NE(h.session.requests.back().find("\"300\""), std::string::npos) << "the amount the server offered";
    h.Feed(Doc("waittingArrange", "<arrange playerCount=\"27\"/>"));
    EXPECT_EQ(h.view.movieCount, 27);
}

TEST(TableLink, OwnAutoPlayHidesTheTurnButtonsAndItsCancelWarnsOnTheTurn) {
    TableRig h;
    h.Deal();
    h.Feed(Turn("BeginChuPai", "alice", 20));
    EXPECT_TRUE(h.view.Shown(V::kPlay));
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    EXPECT_FALSE(h.view.Shown(V::kPlay));
    EXPECT_TRUE(h.view.Shown(V::kCancelAuto));
    EXPECT_EQ(seat::AutoPlay(*h.State().Own()), 1);
    h.Feed(Doc("CancelAutoPlay", "<player id=\"alice\"/>"));
    EXPECT_EQ(h.State().ownTimeouts, -1);
    EXPECT_TRUE(h.view.Shown(V::kAutoPlay));
    EXPECT_TRUE(h.Boxed("本轮仍旧托管中\n，至下轮才可出牌|提示|0|5"));
    h.Feed(Doc("AutoPlay", "<player id=\"nobody\"/>"));
    EXPECT_EQ(h.view.boxes.size(), 1u) << h.view.boxes.back();
}

// The lobby is told the own money (the window's records to the lobby are
// the lobby link test's).
TEST(TableLink, BetsAndMoneyAreReportedToTheLobby) {
    {
        TableRig h;
        std::vector<double>& lobby = h.view.lobby;
        h.Feed(Doc("PlayerMoneyNew", "<money value=\"777.5\"/>"));
        EXPECT_EQ(lobby, std::vector<double>({777.5})) << "through a record made for the moment";
        EXPECT_EQ(h.State().Own(), nullptr);
        h.SeatThree();
        EXPECT_EQ(lobby.back(), 1000);
        h.Feed(Doc("BetSuccess", "<bet first=\"x\" amount=\"100\"/>"));
        EXPECT_EQ(lobby.back(), 900);
        EXPECT_TRUE(h.Boxed("成功下注100元|提示|0|5"));
        h.Feed(Doc("PlayerGoal", "<goal id=\"alice\" rank=\"1\" name=\"n\" ratio=\"1\" money=\"50\"/>"));
        EXPECT_EQ(lobby.back(), 950);
        h.Feed(Doc("AnswerLeave", "<player Allow=\"True\"/>"));
        EXPECT_TRUE(h.Ended());
    }
    TableRig h;
    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"1\"/>" + Player("x", 0) + Player("y", 1) + Player("z", 2)));
    h.view.lobby.clear();
    h.Feed(Doc("PlayerMoneyNew", "<money value=\"5\"/>"));
    EXPECT_TRUE(h.view.lobby.empty()) << "no slot is free: the value is dropped";
}

TEST(TableLink, ASlowFirstReplyAsksOnceAndNoLeavesThroughTheCancel) {
    TableRig h;
    h.session.firstReplyStamp = TableRig::now;
    h.Run(8000);
    EXPECT_TRUE(h.view.boxes.empty());
    h.view.answers = {V::kNo, V::kYes};
    h.Run(100);
    EXPECT_EQ(h.view.boxes, std::vector<std::string>(
                                {"你网络速度过慢\n ,是否继续游戏！|提示|52|30", "您确定退出本桌游戏吗？|斗地主|52|0"}));
    EXPECT_TRUE(h.Ended()) << "nothing has come from the server: no Leaving, just quit";
    EXPECT_EQ(h.Sent("Leaving"), 0);
    EXPECT_EQ(h.view.owners, std::vector<V::BoxOwner>({V::kTableOwns, V::kNoOwner})) << "the exit box has no owner";
}

// Esc, the close button and the leave button ask in the same box, which has
// no owner; No keeps the table.
TEST(TableLink, TheExitBoxHasNoOwner) {
    TableRig h;
    h.SeatThree();
    h.view.answers = {V::kNo, V::kNo};
    h.game.OnCancel();
    h.game.OnLeave();
    EXPECT_EQ(h.view.boxes, std::vector<std::string>(2, "您确定退出本桌游戏吗？|斗地主|52|0"));
    EXPECT_EQ(h.view.owners, std::vector<V::BoxOwner>(2, V::kNoOwner));
    EXPECT_FALSE(h.Ended());
}

TEST(TableLink, KeepAliveAndWatchdog) {
    TableRig h;
    h.Feed(Doc("ValidateSuccess"));
    h.session.requests.clear();
    h.Run(6000);
    EXPECT_TRUE(h.session.requests.empty()) << "unanswered: no second keep-alive";
    h.Feed(Doc("GameNotice", "<n body=\"x\"/>"));
    h.Tick();
    EXPECT_EQ(h.session.requests, std::vector<std::string>({kPing}));
    h.Run(19975);
    EXPECT_TRUE(h.session.connection->IsAlive());
    h.Run(75);
    EXPECT_EQ(h.State().phase, 16) << "20 s without an answer: the connection is given up";
    EXPECT_GT(static_cast<int>(h.game.Watch().pingSent - TableRig::now), 100000) << "quiet for 120 s";
}

// A keep-alive left unanswered by the lost connection: the rebuilt one, up
// more than time2 after it, is kept, and keeps alive once it is answered.
TEST(TableLink, ARebuiltConnectionIsNotDroppedForTheLostOnesKeepAlive) {
    TableRig h;
    h.Feed(Doc("ValidateSuccess"));
    h.session.connection->ClearAlive();
    h.Tick();
    ASSERT_EQ(h.State().phase, 16);
    h.Run(25000);
    h.session.connection->connected = true;
    h.Tick();
    ASSERT_EQ(h.State().online, 1);
    h.Run(1000);
    EXPECT_EQ(h.State().phase, 0) << "the new connection was given up";
    EXPECT_TRUE(h.session.connection->IsAlive());
    h.session.requests.clear();
    h.Feed(Doc("GameNotice", "<n body=\"x\"/>"));
    h.Tick();
    EXPECT_EQ(h.session.requests, std::vector<std::string>({kPing}));
}

TEST(TableLink, ALossInTheResultContinuesFirstAndReconnectsAtTheSecondAddress) {
    TableRig h;
    h.session.reconnectHost = "127.0.0.2";
    h.session.reconnectPort = 2;
    h.Deal();
    h.Feed(Doc("GameResult", "<player id=\"alice\" money=\"5\"/><player id=\"bob\" money=\"5\"/>"));
    h.Run(2000);
    EXPECT_TRUE(h.State().holdMain);
    h.session.connection->ClearAlive();
    h.Tick();
    EXPECT_FALSE(h.State().holdMain) << "continue ran first";
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.Boxed("网络错误,\n正在为你重新连接\n    ,请稍候...|网络重连|48|5"));
    EXPECT_EQ(h.Sent("PlayerInfoValidate"), 1);
    EXPECT_EQ(h.session.connects, std::vector<std::string>({"127.0.0.2:2"}));
    EXPECT_EQ(h.view.resultsClosed, 1);
    h.Run(500);
    EXPECT_EQ(h.State().phase, 16) << "not connected yet";
    h.session.connection->connected = true;
    h.Tick();
    EXPECT_EQ(h.State().online, 1);
    EXPECT_EQ(h.State().phase, 0);
    EXPECT_EQ(h.State().Own(), nullptr) << "the table was reset";
    EXPECT_EQ(h.view.boxes.back(), "重新连接服务器成功||48|3");
    EXPECT_EQ(h.view.boxes.size(), 2u);
}

TEST(TableLink, OwnTimeOutsBidDeclinePassAndThenAutoPlay) {
    TableRig h;
    h.Deal();
    // Each declines: no bid, no claim to the landlord's seat, no double.
    const char* notices[] = {"BeginJiaoFen", "BeginAskForLandLord", "BeginDouble"};
    const char* requests[] = {"JiaoFen", "AskForLandLord", "Double"};
    const char* declines[] = {"score=\"0\"", "askforlandlord=\"False\"", "double=\"False\""};
    for (int i = 0; i < 3; ++i) {
        h.Feed(Turn(notices[i], "alice", 1));
        h.session.requests.clear();
        h.Run(1050);
        EXPECT_EQ(h.Sent(requests[i]), 1) << requests[i];
        EXPECT_NE(h.session.requests.back().find(declines[i]), std::string::npos) << h.session.requests.back();
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

// Every tick of a phase where the player is to act calls for attention
// (the window flashes now and then while in the background), not in
// auto-play and not on another seat's turn.
TEST(TableLink, TheTableCallsForAttentionWhileThePlayerIsToAct) {
    TableRig h;
    h.Deal();
    EXPECT_EQ(h.view.attention, 60) << "the start pause (phase 2), not the deal";
    h.view.attention = 0;
    h.Feed(Turn("BeginJiaoFen", "bob", 20));
    h.Run(500);
    EXPECT_EQ(h.view.attention, 0);
    h.Feed(Turn("BeginJiaoFen", "alice", 20));
    h.Run(500);
    EXPECT_EQ(h.view.attention, 20);
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    h.Run(500);
    EXPECT_EQ(h.view.attention, 20);
}

TEST(TableLink, TheClockTicksAudiblyOnOwnTurnsOnly) {
    TableRig h;
    h.Deal();
    h.Feed(Turn("BeginChuPai", "bob", 8));
    h.Run(9000);
    EXPECT_EQ(h.Played("clock.wav"), 0);
    h.Feed(Turn("BeginChuPai", "alice", 8));
    h.Run(7900);
    EXPECT_EQ(h.Played("clock.wav"), 6) << "at 5, 4, 3, 2, 1 and 0 seconds";
}

TEST(TableLink, TheSecondQueueIsServedWhileTheMainQueueIsHeld) {
    TableRig h;
    h.SeatThree();
    h.Feed(Doc("GameStart"));
    const std::string ready = Doc("ReadyForPlaying", "<player id=\"bob\"/>"),
                      autoPlay = Doc("AutoPlay", "<player id=\"bob\"/>");
    h.session.mainQueue.push_back(GetMsgFactory()->ParseMessage(ready.c_str(), static_cast<int>(ready.size())));
    h.session.secondQueue.push_back(GetMsgFactory()->ParseMessage(autoPlay.c_str(), static_cast<int>(autoPlay.size())));
    h.Tick();
    CPlayerInfo* bob = h.State().FindPlayerByName("bob");
    EXPECT_EQ(seat::AutoPlay(*bob), 1);
    EXPECT_EQ(bob->ready, 0) << "held by the start pause";
    h.Run(1500);
    EXPECT_EQ(bob->ready, 1);
}

}  // namespace

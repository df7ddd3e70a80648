// Our game server against the card-game client's session over a real loopback
// socket: validation, whole hands with the seat of ours played through the
// client's builders, and a scripted drop followed by reconnect and restore.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "tests/fenlo/FenloTestKit.h"
#include "tests/servers/HumanSeat.h"
#include "tools/servers/GameServer.h"

using testsupport::WaitFor;

namespace {

class GameServerTest : public ::testing::TestWithParam<int> {
protected:
    fenlo_test::ScratchFolder folder{"servers"};
    std::unique_ptr<servers::GameServer> server;
    std::unique_ptr<CGameSession> session;
    HumanSeat human{"p1"};
    std::vector<int> seen;  // type ids in arrival order

    void Start(const std::string& script = std::string(), const std::string& token = std::string()) {
        servers::HostOptions options;
        options.codes = servers::DefaultGameCodes();
        ASSERT_TRUE(options.script.Parse(script));
        servers::GameConfig config;
        config.seed = 7;
        server.reset(new servers::GameServer(config, options));
        folder.WriteConfig(GetParam());
        folder.Write("fenlo\\FENLOMsg.ini", servers::CodeFileText(servers::DefaultGameCodes()));
        session.reset(new CGameSession(CString(folder.Path().c_str())));
        session->serverHost = "127.0.0.1";
        session->serverPort = server->Port();
        session->playerId = "p1";
        session->validation = token.empty() ? servers::RoomToken("loopback", "p1", "1") : token;
        ASSERT_EQ(session->ConnectAndValidate(), 1);
    }
    void TearDown() override {
        session.reset();
        server.reset();
    }
    // Takes what arrives, lets the seat answer, until the condition holds.
    bool Pump(const std::function<bool()>& until, int timeoutMs = 15000) {
        return WaitFor(
            [&] {
                for (CMessage* m; (m = session->PopMessage()) || (m = session->PopSecondaryMessage());) {
                    std::unique_ptr<CMessage> owned(m);
                    seen.push_back(m->typeId);
                    const std::string answer = human.Take(*m);
                    if (!answer.empty()) session->SendMsg(answer.c_str(), static_cast<int>(answer.size()));
                }
                return until();
            },
            timeoutMs);
    }
    void Ready() {
        unsigned int n = 0;
        unsigned char* text = GetMsgFactory()->BuildReadyForPlaying("p1", &n);
        session->SendMsg(reinterpret_cast<char*>(text), static_cast<int>(n));
        delete[] text;
    }
    std::string Illegal() {
        std::string why;
        server->WithDesk([&](servers::GameDesk& desk) { why = IllegalPlay(desk.Plays()); });
        return why;
    }
};

TEST_P(GameServerTest, ValidatedPlayerPlaysWholeHandsAgainstTheRobots) {
    Start();
    ASSERT_TRUE(Pump([&] { return seen.size() >= 2; }));
    EXPECT_EQ(seen[0], CValidateSuccessMsg::kType);
    EXPECT_EQ(seen[1], CDeskInfoMsg::kType);
    for (int hand = 1; hand <= 2; ++hand) {
        Ready();
        ASSERT_TRUE(Pump([&] { return human.Results() == hand; })) << "hand " << hand;
        EXPECT_EQ(Illegal(), "");
    }
    EXPECT_GT(human.OwnPlays(), 0);
    EXPECT_EQ(human.Refusals(), 0);
}

TEST_P(GameServerTest, WrongTokenIsRefused) {
    Start(std::string(), "forged");
    ASSERT_TRUE(Pump([&] { return !seen.empty(); }));
    EXPECT_EQ(seen[0], CValidateFaileMsg::kType);
}

TEST_P(GameServerTest, DroppedConnectionIsRestoredAfterReconnectAndTheHandEnds) {
    Start("@1 drop 24\n");
    Ready();
    ASSERT_TRUE(Pump([&] { return seen.size() >= 24; }));
    ASSERT_FALSE(Pump([&] { return seen.size() > 24; }, 300)) << "the connection was dropped";
    ASSERT_EQ(human.Results(), 0) << "dropped in the middle of the hand";

    session->ResetConnection();
    seen.clear();
    ASSERT_EQ(session->ConnectAndValidate(), 1);
    ASSERT_TRUE(Pump([&] { return seen.size() >= 2; }));
    EXPECT_EQ(seen[1], CReconnectMsg::kType);
    std::vector<std::pair<int, int>> hand;
    server->WithDesk([&](servers::GameDesk& desk) { hand = desk.Hand(0); });
    std::vector<std::pair<int, int>> restored = human.Hand();
    std::sort(hand.begin(), hand.end());
    std::sort(restored.begin(), restored.end());
    EXPECT_EQ(restored, hand) << "the restored hand is the server's";
    ASSERT_TRUE(Pump([&] { return human.Results() == 1; }));
    EXPECT_EQ(Illegal(), "");
    EXPECT_EQ(server->Connections(), 2);
}

INSTANTIATE_TEST_SUITE_P(Forms, GameServerTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param ? "Binary" : "Text"; });

}  // namespace

// The lobby server's answers and the scripts, without sockets.
#include <gtest/gtest.h>

#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "tools/servers/CodeTables.h"
#include "tools/servers/LobbyLogic.h"
#include "tools/servers/Script.h"

using namespace servers;

namespace {

Request Built(unsigned char* text, const int& length) {  // length read after the build
    const Request r = ReadTextRequest(std::string(reinterpret_cast<char*>(text), static_cast<size_t>(length)));
    delete[] text;
    return r;
}

std::vector<std::string> Names(const std::vector<Reply>& replies) {
    std::vector<std::string> names;
    for (const Reply& r : replies) names.push_back(r.Name());
    return names;
}

TEST(LobbyLogic, LoginVersionAndSeatRules) {
    LobbyConfig config = DefaultLobbyConfig();
    config.minVersion = "2.0.1";
    config.newVersion = "2.1";
    LobbyLogic lobby(config);
    LobbyLogic::Conversation a(lobby, 1), b(lobby, 2);
    CLobbyProtocol p;
    int n = 0;
    EXPECT_EQ(Names(a.Answer(Built(p.MakeLoginMsg("player", "2.0.0", "FENLO", &n), n))),
              std::vector<std::string>{"LowClientVersion"});
    EXPECT_TRUE(a.Answer(Built(p.MakeRoomListMsg("player", &n), n)).empty()) << "not logged in";

    // The key of the LoginKey reply makes the ticket; a wrong one is refused.
    const std::vector<Reply> key = a.Answer(Built(p.MakeLoginMsg("player", "2.0.1", "FENLO", &n), n));
    ASSERT_EQ(Names(key), std::vector<std::string>{"LoginKey"});
    const std::string k = ReadTextRequest(key[0].Xml()).Value(1);
    EXPECT_EQ(Names(a.Answer(Built(p.MakeValidateMsg("player", "0123", &n), n))), std::vector<std::string>{"LoginFailed"});
    const std::string ticket = MakeLoginTicket(MakeStoredDigest("secret", false), k);
    EXPECT_EQ(Names(a.Answer(Built(p.MakeValidateMsg("player", ticket, &n), n))),
              std::vector<std::string>{"LoginSuccess"});
    EXPECT_TRUE(a.LoggedIn());

    // The version answer names the newer version, or nothing for the latest.
    const Reply older = a.Answer(ReadTextRequest("<Version name=\"FENLO\" value=\"2.0.9\"/>")).at(0);
    EXPECT_NE(older.Xml().find("<Url>2.1</Url>"), std::string::npos) << older.Xml();
    const Reply latest = a.Answer(ReadTextRequest("<Version name=\"FENLO\" value=\"2.1.0\"/>")).at(0);
    EXPECT_NE(latest.Xml().find("<Url></Url>"), std::string::npos) << latest.Xml();

    // A seat taken by one player is refused to another.
    b.Answer(Built(p.MakeLoginMsg("player", "2.0.1", "FENLO", &n), n));
    EXPECT_EQ(Names(a.Answer(Built(p.MakeEnterDeskMsg("1", "2", "0", &n), n))),
              (std::vector<std::string>{"EnterDeskAK", "PlayerChangeDesk"}));
    EXPECT_NE(lobby.DeskList("1").Xml().find("PlayerId=\"player\""), std::string::npos);
    EXPECT_EQ(a.Answer(Built(p.MakeEnterDeskMsg("1", "9", "0", &n), n)).at(0).Xml().find("Success=\"True\""),
              std::string::npos)
        << "no such desk";
}

TEST(LobbyLogic, RoomsCarryTheirTreeNodeInTheTextFormOnly) {
    LobbyConfig config = DefaultLobbyConfig();
    const std::string xml = LobbyLogic(config).GameList().Xml();
    EXPECT_NE(xml.find("description=\"1\" GameId=\"1\" closedtext=\"\" game=\"1\" node=\"11\""), std::string::npos) << xml;
    // The binary form keeps its nine fields a room, whatever the node.
    std::string withNodes, withoutNodes;
    ASSERT_TRUE(LobbyLogic(config).GameList().Binary(DefaultLobbyCodes(), withNodes));
    for (LobbyRoom& room : config.rooms) room.node.clear();
    ASSERT_TRUE(LobbyLogic(config).GameList().Binary(DefaultLobbyCodes(), withoutNodes));
    EXPECT_EQ(withNodes, withoutNodes);
}

TEST(Script, DirectivesApplyToTheirConnectionAndBadLinesAreRefused) {
    Script s;
    std::string error;
    ASSERT_TRUE(s.Parse("# faults\n@2 drop 3\r\ndelay 1 50\n\nafter Login <x a=\"1\"/>\n", &error)) << error;
    EXPECT_TRUE(s.FaultsFor(1, 3).empty());
    ASSERT_EQ(s.FaultsFor(2, 3).size(), 1u);
    EXPECT_EQ(s.FaultsFor(2, 3)[0].kind, FaultKind::kDrop);
    EXPECT_EQ(s.FaultsFor(7, 1).at(0).ms, 50);
    EXPECT_EQ(s.ExtrasAfter(5, "Login"), std::vector<std::string>{"<x a=\"1\"/>"});
    ASSERT_TRUE(s.Parse("@1 reset after ChuPai 4000\ndrop after Chat\n", &error)) << error;
    EXPECT_TRUE(s.FaultsAfter(2, "ChuPai").empty());
    ASSERT_EQ(s.FaultsAfter(1, "ChuPai").size(), 1u);
    EXPECT_EQ(s.FaultsAfter(1, "ChuPai")[0].kind, FaultKind::kReset);
    EXPECT_EQ(s.FaultsAfter(1, "ChuPai")[0].ms, 4000);
    EXPECT_EQ(s.FaultsAfter(3, "Chat").at(0).ms, 0);
    EXPECT_TRUE(s.FaultsFor(1, 0).empty() && s.FaultsAfter(1, "Login").empty());
    for (const char* bad : {"drop", "drop -1", "drop 0", "explode 3", "@0 drop 1", "delay 2", "after Login",
                            "drop after", "reset after Chat soon", "drop after Chat 5 6", "drop before Chat"}) {
        Script t;
        EXPECT_FALSE(t.Parse(std::string("reset 1\n") + bad, &error)) << bad;
        EXPECT_EQ(error.find("line 2"), 0u) << error;
        EXPECT_TRUE(t.Empty()) << "a refused script leaves nothing";
    }
}

}  // namespace

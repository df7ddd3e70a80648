// Our lobby server against the lobby's own login step and data hub over a
// real loopback socket, in the text and the binary form.
#include <gtest/gtest.h>

#include <memory>

#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/net/startup/NLogin.h"
#include "tests/lobby_login/LoginTestSupport.h"
#include "tools/servers/LobbyServer.h"
#include "tools/servers/ProgramOptions.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

class LobbyServerTest : public ::testing::TestWithParam<bool> {
protected:
    Scratch scratch;
    CLobbyData& hub = GetLobbyData();
    std::unique_ptr<servers::LobbyServer> server;

    void SetUp() override {
        PrepareHub(scratch, -1, 300, 3000, 0);
        servers::HostOptions options;
        options.codes = servers::DefaultLobbyCodes();
        servers::LobbyConfig config = servers::DefaultLobbyConfig();
        config.gamePort = 4321;
        server.reset(new servers::LobbyServer(config, options));
        ASSERT_NE(server->Port(), 0);
        scratch.Write("serveraddr.ini", ServerAddrIni(1, {ServerSection(1, "127.0.0.1", server->Port(), 1)}));
        scratch.Write("updater.ini", UpdaterIni("127.0.0.1", 1, server->Port()));
        hub.SetServerConfigLoader([] { return GetServerConfig().Load(); });
        ASSERT_EQ(hub.Init(1), 1);
        hub.translateFlag = GetParam();
        hub.msgTable = servers::DefaultLobbyCodes();
    }
    void TearDown() override {
        hub.Shutdown();
        server.reset();
    }

    int Login(const std::string& password) {
        hub.storedDigest = MakeStoredDigest(password, false);
        CNLogin login;
        EXPECT_EQ(login.Start(0), 1);
        EXPECT_TRUE(WaitFor([&] { return !login.IsRunning(); }, 10000));
        return login.GetState();
    }
    // Sends a built request through the hub's engine.
    void Send(unsigned char* text, const int& length) {
        hub.GetNetEngine()->Send(reinterpret_cast<char*>(text), length);
        delete[] text;
    }
    // The next queued message of that kind (others are dropped), or null.
    std::unique_ptr<CMessage> Next(int kind) {
        std::unique_ptr<CMessage> found;
        WaitFor(
            [&] {
                while (!found && hub.QueuedCount() > 0) {
                    std::unique_ptr<CMessage> m(hub.PopMessage());
                    if (m && m->kind == kind) found = std::move(m);
                }
                return found != nullptr;
            },
            5000);
        return found;
    }
};

TEST_P(LobbyServerTest, WrongPasswordIsRefusedAndTheRightOneLogsIn) {
    EXPECT_EQ(Login("wrong"), CNLogin::kStateFailed);
    hub.ResetNetEngine();
    EXPECT_EQ(Login("secret"), CNLogin::kStateLoggedIn);
    EXPECT_EQ(hub.moneyText, "1000.00");
    const std::vector<std::string> requests = server->Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "PlayerValidate"), 2);
}

TEST_P(LobbyServerTest, RoomListRoomEntryDeskAndScriptedMessagesAreAnswered) {
    server->SetScript([] {
        servers::Script s;
        s.Add(servers::Extra{0, "RequestEnterDesk", servers::LobbyNotice("欢迎", 2).Xml()});
        s.Add(servers::Extra{0, "RequestEnterDesk", servers::LobbyKick("再见", true, false).Xml()});
        return s;
    }());
    ASSERT_EQ(Login("secret"), CNLogin::kStateLoggedIn);
    CLobbyProtocol protocol;
    int n = 0;
    Send(protocol.MakeRoomListMsg("player", &n), n);
    ASSERT_TRUE(Next(kMsgGameInfo));
    {
        LobbyLockGuard guard(hub.lobbyLock);
        ASSERT_EQ(hub.gameList.size(), 1u);
        ASSERT_EQ(hub.gameList[0]->rooms.size(), 2u);
        EXPECT_EQ(hub.gameList[0]->rooms[0]->host, "127.0.0.1");
        EXPECT_EQ(hub.gameList[0]->rooms[0]->port, "4321");
        EXPECT_EQ(hub.gameList[0]->rooms[0]->playerCount, 12);
        // The tree's entry in both forms; the room's own node only in the text form.
        EXPECT_EQ(hub.gameList[0]->rooms[0]->group, 1);
        EXPECT_EQ(hub.gameList[0]->rooms[0]->text12, GetParam() ? "" : "11");
    }
    Send(protocol.MakeEnterRoomMsg("player", "2", &n), n);
    std::unique_ptr<CMessage> start = Next(kMsgStartGame);
    ASSERT_TRUE(start);
    EXPECT_EQ(static_cast<CStartGameMsg&>(*start).token, servers::RoomToken("loopback", "player", "2"));
    EXPECT_EQ(static_cast<CStartGameMsg&>(*start).roomId, "2");
    std::unique_ptr<CMessage> desks = Next(kMsgDeskInfo);
    ASSERT_TRUE(desks);
    CRoomDeskList* list = static_cast<CDeskInfoMsg&>(*desks).deskList;
    ASSERT_TRUE(list);
    EXPECT_EQ(list->desks.size(), 6u);
    std::unique_ptr<CMessage> players = Next(kMsgRoomPlayerList);
    ASSERT_TRUE(players) << "the room's players after its desks";
    const auto& entries = static_cast<CRoomPlayerList&>(*players).entries;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0]->nickname, "player");
    EXPECT_EQ(entries[0]->number, 1000);

    Send(protocol.MakeEnterDeskMsg("2", "3", "1", &n), n);
    std::unique_ptr<CMessage> seat = Next(kMsgEnterDeskAK);
    ASSERT_TRUE(seat);
    EXPECT_TRUE(static_cast<CEnterDeskAKMsg&>(*seat).granted);
    std::unique_ptr<CMessage> notice = Next(kMsgNotice);
    ASSERT_TRUE(notice);
    EXPECT_EQ(static_cast<CNoticeMsg&>(*notice).text, "欢迎");
    std::unique_ptr<CMessage> kick = Next(kMsgPlayerKick);
    ASSERT_TRUE(kick);
    EXPECT_EQ(static_cast<CPlayerKickMsg&>(*kick).closeFlag, "True");

    Send(protocol.MakeEnterRoomMsg("player", "99", &n), n);
    EXPECT_TRUE(Next(kMsgRejectStartGame)) << "no such room";
}

// Everything the server sends on a fresh connection after a Login, until it
// closes the connection or is silent for 1 s.
std::string AfterLogin(unsigned short port) {
    StartWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    const DWORD silence = 1000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&silence), sizeof silence);
    std::string got;
    if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        int n = 0;
        unsigned char* login = CLobbyProtocol().MakeLoginMsg("player", "1.0", "FENLO", &n);
        const std::string frame = Frame(1, std::string(reinterpret_cast<char*>(login), static_cast<size_t>(n)));
        delete[] login;
        send(s, frame.data(), static_cast<int>(frame.size()), 0);
        char buffer[4096];
        for (int r; (r = recv(s, buffer, sizeof buffer, 0)) > 0;) got.append(buffer, static_cast<size_t>(r));
    }
    closesocket(s);
    return got;
}

TEST(LobbyServerScript, FaultsCutTheConnectionWhereTheScriptSays) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    servers::HostOptions options;
    options.transcript = std::string(temp) + "servers_transcript.txt";
    DeleteFileA(options.transcript.c_str());
    servers::LobbyServer server(servers::DefaultLobbyConfig(), options);
    const std::string whole = AfterLogin(server.Port());
    ASSERT_GT(whole.size(), 5u);
    const std::string payload = whole.substr(5);
    EXPECT_NE(payload.find("LoginKey"), std::string::npos);

    servers::Script script;
    ASSERT_TRUE(script.Parse("@2 truncate 1\n@3 malformed 1\n@3 drop 1\n@4 drop after Login 300\n"));
    server.SetScript(script);
    const std::string cut = AfterLogin(server.Port());
    EXPECT_EQ(cut.substr(0, 5), whole.substr(0, 5)) << "the header announces the whole payload";
    EXPECT_EQ(cut.size(), 5 + payload.size() / 2);
    EXPECT_EQ(AfterLogin(server.Port()), Frame(1, servers::Script::kMalformedText));
    // Closed 300 ms after the answer, well before the reader's 1 s of silence.
    const unsigned long long start = NowMs();
    EXPECT_EQ(AfterLogin(server.Port()).size(), whole.size()) << "the whole answer, then the end";
    EXPECT_GE(NowMs() - start, 300u);
    EXPECT_LT(NowMs() - start, static_cast<unsigned>(testsupport::Patience(950)));
    EXPECT_EQ(server.Connections(), 4);
    std::string transcript;
    ASSERT_TRUE(servers::ReadWholeFile(options.transcript, transcript));
    EXPECT_EQ(transcript.find("< Login\n> <GameMessage game=\"LoginKey\""), 0u) << transcript;
}

INSTANTIATE_TEST_SUITE_P(Forms, LobbyServerTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Binary" : "Text"; });

}  // namespace

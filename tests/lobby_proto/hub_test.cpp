// The data hub end to end: a loopback server of ours sends the replies, the
// lobby engine receives them, the hub parses and queues them, the test pops.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <vector>

#include "lobby/net/protocol/LobbyData.h"
// after windows.h
#include <mmsystem.h>

#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

std::string Reply(const std::string& name, const std::string& body) {
    std::string head = "<GameMessage game=\"Lobby\"><Message name=\"" + name + "\"";
    if (body.empty()) return head + "/></GameMessage>";
    return head + ">" + body + "</Message></GameMessage>";
}

template <class Pred>
bool WaitUntil(Pred pred, int timeoutMs) {
    timeoutMs = testsupport::Patience(timeoutMs);
    for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(timeoutMs); Sleep(5))
        if (pred()) return true;
    return pred();
}

// A deadlock would hang the test program: report it and end the process.
template <class Fn>
void WithinOrDie(int timeoutMs, Fn fn) {
    std::packaged_task<void()> task(fn);
    std::future<void> done = task.get_future();
    std::thread(std::move(task)).detach();
    if (done.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
        fprintf(stderr, "deadlock: not done within %d ms\n", timeoutMs);
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    done.get();
}

// A desk list and a message that count their destruction: what the hub
// discards it frees.
std::atomic<int> g_freed{0};
struct CountedDeskList : CRoomDeskList {
    ~CountedDeskList() override { ++g_freed; }
};
struct CountedMessage : CGameStartMsg {
    ~CountedMessage() override { ++g_freed; }
};
CDeskInfoMsg* CountedDesks() {
    auto* m = new CDeskInfoMsg;
    m->deskList = new CountedDeskList;
    return m;
}

class HubTest : public ::testing::Test {
protected:
    CLobbyData& hub = GetLobbyData();

    void SetUp() override {
        hub.Shutdown();
        hub.SetServerConfigLoader(nullptr);
        hub.translateFlag = false;
        hub.timeText[3] = "0";
        hub.timeText[4] = "3000";
        hub.ResetRoomListSendTime();
        ASSERT_EQ(hub.Init(1), 1);
    }
    void TearDown() override { hub.Shutdown(); }

    std::vector<std::unique_ptr<CMessage>> PopAll() {
        std::vector<std::unique_ptr<CMessage>> popped;
        for (size_t n = hub.QueuedCount(); n > 0; --n) popped.emplace_back(hub.PopMessage());
        return popped;
    }
    void Push(const std::string& text) { hub.PushPacket(text.c_str(), static_cast<int>(text.size())); }
    // Parses one text and pops what it queued.
    std::unique_ptr<CMessage> Parse(const std::string& text) {
        Push(text);
        EXPECT_EQ(hub.QueuedCount(), 1u);
        return std::unique_ptr<CMessage>(hub.PopMessage());
    }
};

template <class M>
M& As(const std::unique_ptr<CMessage>& m, int kind) {
    EXPECT_NE(m, nullptr);
    EXPECT_EQ(m->kind, kind);
    return static_cast<M&>(*m);
}

const char* const kGameList =
    "<game id=\"1\" code=\"FENLO\" name=\"斗地主\" t=\"x\"/>"
    "<room a=\"101\" b=\"新手房\" c=\"10.0.0.1,10.0.0.2\" d=\"9000,9001\" e=\"FALSE\" f=\"35\" g=\"g7\" h=\"4\" "
    "i=\"1\" j=\"closed\" k=\"1\" l=\"l12\"/>"
    "<room a=\"102\" b=\"r2\" c=\"h\" d=\"9\" e=\"yes\" f=\"0\" g=\"\" h=\"5\" i=\"0\" j=\"\" k=\"1\" l=\"\"/>"
    "<game id=\"2\" code=\"QOLT\" name=\"n\" t=\"\"/>";

}  // namespace

// ---- every reply kind over the wire ---------------------------------------------

TEST_F(HubTest, EveryReplyKindArrivesParsedAndInOrder) {
    const std::vector<std::string> replies = {
        Reply("LoginKey", "<player x=\"skipped\" y=\"KEY123\"/>"),
        Reply("LoginSuccess",
              "<p a=\"u\" b=\"100.50\" c=\"True\" d=\"true\" e=\"s5\" f=\"昵称\" g=\"42\" h=\"t8\" "
              "i=\"t9\" j=\"7.25\"/>"),
        Reply("LoginFailed", "<p a=\"bad password\"/>"),
        Reply("LowClientVersion", ""),
        Reply("playerinfo", "<p a=\"u\" b=\"88.00\" c=\"info\"/>"),
        Reply("GameList", kGameList),
        Reply("DeskList",
              "<Room a=\"False\"><desk a=\"D1\" b=\"101\" c=\"1\" d=\"-\" e=\"true\"/>"
              "<player a=\"p1\" b=\"n1\" c=\"0\" d=\"FALSE\" e=\"3\"/><player a=\"p2\" b=\"n2\" c=\"2\" "
              "d=\"x\" e=\"4\"/><desk a=\"D2\" b=\"101\" c=\"2\" d=\"-\" e=\"false\"/></Room>"),
        Reply("ReadyToEnterRoom", "<p a=\"s1\" b=\"TOKEN\" c=\"101\"/>"),
        Reply("EnterRoomFailed", "<p a=\"s1\" b=\"s2\" c=\"SGVsbG8=\"/>"),
        Reply("KickPlayer", "<p a=\"bye\" b=\"True\" c=\"False\"/>"),
        Reply("PlayerChangeDesk", "<p a=\"pid\" b=\"nick\" c=\"101\" d=\"7\" e=\"2\" f=\"false\" g=\"12\"/>"),
        Reply("ValidateFailed", "<p a=\"why\"/>"),
        Reply("Notice", "<p a=\"SGVsbG8=\" b=\"3\"/>"),
        Reply("EnterDeskAK", "<p a=\"FALSE\"/>"),
        Reply("PlayerState", "<p a=\"pid\" b=\"7\" c=\"s3\" d=\"\"/>"),
        Reply("GameStart", "<p a=\"s1\" b=\"7\"/>"),
        Reply("GameOver", "<p a=\"s1\" b=\"8\"/>"),
        Reply("Chat", "<chat a=\"1\" b=\"10,20,30,40\" c=\"玩家\" d=\"2\" e=\"all\" f=\"你好\"/>"),
        Reply("RoomPlayerList",
              "<Room/><player a=\"p1\" b=\"n1\" c=\"5\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\" "
              "i=\"9\" j=\"10\"/><other/>"),
        Reply("RefreshPlayerInfo",
              "<p a=\"p1\" b=\"n1\" c=\"6\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\" i=\"9\" "
              "j=\"10\"/>"),
        Reply("PlayerLeave", "<p a=\"p9\"/>"),
        Reply("AddGame", "<addgame a=\"3\" b=\"C\" c=\"N\" d=\"T\"/>"),
        Reply("RemoveGame", "<removegame a=\"2\"/><removegame a=\"3\"/>"),
        Reply("AddRoom",
              "<addroom a=\"103\" b=\"r3\" c=\",x\" d=\"80,\" e=\"False\" f=\"9\" g=\"g\" h=\"6\" "
              "i=\"1\" j=\"c\" k=\"3\" l=\"z\"/>"),
        Reply("RemoveRoom", "<removeroom a=\"101\"/>"),
        Reply("PlayerCount", "<room a=\"101\" b=\"17\"/><room a=\"x\" b=\"2\"/>"),
        Reply("MoneyIsNotEnough", "<p a=\"poor\" b=\"aHR0cDovL3g=\"/>"),
        Reply("NoSuchMessage", "<p a=\"1\"/>"),
        "<not xml",  // clears the alive flag; the connection goes on
        Reply("PlayerLeave", "<p a=\"last\"/>"),
    };
    LoopbackServer server([&](Connection& c) {
        for (const std::string& r : replies) c.SendFrame(1, r);
        c.WaitClosed(10000);
    });
    hub.Connect("127.0.0.1", server.Port());
    EXPECT_EQ(hub.serverHost, "127.0.0.1");
    EXPECT_EQ(hub.serverPort, server.Port());
    ASSERT_TRUE(WaitUntil([&] { return hub.QueuedCount() == replies.size() - 1; }, 10000)) << hub.QueuedCount();
    EXPECT_EQ(hub.GetNetEngine()->IsAlive(), 0);

    auto m = PopAll();
    std::vector<int> kinds;
    for (auto& x : m) kinds.push_back(x ? x->kind : -1);
    EXPECT_EQ(kinds, (std::vector<int>{0,  1,  2,  3,  -1, 6,  8,  4,  5,  7,  9,  10, 11, 12, 13,
                                       14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, -1, 19}));
    ASSERT_EQ(m.size(), 29u);

    EXPECT_EQ(As<CLoginAckMsg>(m[0], 0).loginKey, "KEY123");
    auto& ok = As<CLoginSuccessMsg>(m[1], 1);
    EXPECT_EQ(ok.money, "100.50");
    EXPECT_TRUE(ok.flag3);
    EXPECT_FALSE(ok.locked) << "only exactly \"True\" is true";
    EXPECT_EQ(ok.text5, "s5");
    EXPECT_EQ(ok.nickname, "昵称");
    EXPECT_EQ(ok.loginNumber, 42);
    EXPECT_EQ(ok.text8 + ok.text9 + ok.secondAmount, "t8t97.25");
    EXPECT_EQ(As<CLoginFailedMsg>(m[2], 2).reason, "bad password");
    EXPECT_EQ(hub.moneyText, "88.00");
    EXPECT_EQ(hub.playerInfoText, "info");

    auto& desks = As<CDeskInfoMsg>(m[6], 8);
    EXPECT_FALSE(desks.roomFlag);
    CRoomDeskList* list = desks.deskList;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->desks.size(), 2u);
    const CRoomDeskInfo& d1 = *list->desks[0];
    EXPECT_EQ(d1.name + d1.roomId + d1.deskId, "D11011");
    EXPECT_EQ(d1.playing, 1);
    EXPECT_EQ(d1.groupFlag, 0);
    ASSERT_EQ(d1.players.size(), 2u);
    EXPECT_EQ(d1.players[0]->playerId + d1.players[0]->nickname + d1.players[0]->seat, "p1n10");
    EXPECT_EQ(d1.players[0]->state, 0);
    EXPECT_EQ(d1.players[1]->state, 1);
    EXPECT_EQ(d1.players[1]->type, 4);
    EXPECT_EQ(list->desks[1]->playing, 0);
    EXPECT_TRUE(list->desks[1]->players.empty());

    auto& start = As<CStartGameMsg>(m[7], 4);
    EXPECT_EQ(start.text1 + "|" + start.token + "|" + start.roomId, "s1|TOKEN|101");
    auto& reject = As<CRejectStartGame>(m[8], 5);
    EXPECT_EQ(reject.text1 + reject.text2 + reject.reason, "s1s2Hello");
    auto& kick = As<CPlayerKickMsg>(m[9], 7);
    EXPECT_EQ(kick.text + kick.closeFlag + kick.reconnect, "byeTrueFalse");
    auto& change = As<CPlayerChangeMsg>(m[10], 9);
    EXPECT_EQ(change.playerId + change.nickname + change.roomId + change.deskId + change.seat, "pidnick10172");
    EXPECT_FALSE(change.sitsDown);
    EXPECT_EQ(change.number, 12);
    EXPECT_EQ(As<CValidateFailMsg>(m[11], 10).reason, "why");
    auto& notice = As<CNoticeMsg>(m[12], 11);
    EXPECT_EQ(notice.text, "Hello");
    EXPECT_EQ(notice.type, 3);
    EXPECT_EQ(notice.roomSelector, "0");
    EXPECT_FALSE(As<CEnterDeskAKMsg>(m[13], 12).granted);
    auto& state = As<CPlayerStateMsg>(m[14], 13);
    EXPECT_EQ(state.playerId + state.deskId + state.text3, "pid7s3");
    EXPECT_TRUE(state.state) << "an empty value is not \"false\"";
    EXPECT_EQ(As<CGameStartMsg>(m[15], 14).deskId, "7");
    EXPECT_EQ(As<CGameOverMsg>(m[16], 15).deskId, "8");
    auto& chat = As<CLobbyChatMsg>(m[17], 16);
    EXPECT_TRUE(chat.system);
    EXPECT_EQ(chat.color, 0x1E140Au);
    EXPECT_EQ(chat.playerName + chat.place + chat.target + chat.content, "玩家2all你好");

    auto& players = As<CRoomPlayerList>(m[18], 17);
    ASSERT_EQ(players.entries.size(), 1u);
    EXPECT_EQ(players.entries[0]->nickname, "n1");
    EXPECT_EQ(players.entries[0]->number, 5);
    EXPECT_EQ(players.entries[0]->more[6], "10");
    auto& ref = As<CRoomPlayerRef>(m[19], 18);
    EXPECT_EQ(ref.player.playerId + ref.player.more[0] + ref.player.more[6], "p1410");
    EXPECT_EQ(ref.player.number, 6);
    EXPECT_EQ(As<CRoomPlayerLeave>(m[20], 19).player, "p9");
    auto& games = As<CAddGameList>(m[21], 20);
    ASSERT_EQ(games.entries.size(), 1u);
    EXPECT_EQ(games.entries[0]->id + games.entries[0]->code + games.entries[0]->name + games.entries[0]->text4, "3CNT");
    auto& gone = As<CRemoveGameList>(m[22], 21);
    ASSERT_EQ(gone.entries.size(), 2u);
    EXPECT_EQ(*gone.entries[1], "3");
    auto& rooms = As<CAddRoomList>(m[23], 22);
    ASSERT_EQ(rooms.entries.size(), 1u);
    const AddRoomRecord& r = *rooms.entries[0];
    EXPECT_EQ(r.host + "|" + r.host2 + "|" + r.port + "|" + r.port2, "|0|80|");
    EXPECT_FALSE(r.flag);
    EXPECT_EQ(r.playerCount, 9);
    EXPECT_EQ(r.group, 6);
    EXPECT_EQ(r.text7 + r.openFlag + r.closedText + r.gameId + r.text12, "g1c3z");
    EXPECT_EQ(*As<CRemoveRoomList>(m[24], 23).entries.at(0), "101");
    auto& counts = As<CPlayerCountList>(m[25], 24);
    ASSERT_EQ(counts.entries.size(), 2u);
    EXPECT_EQ(counts.entries[0]->roomId, 101);
    EXPECT_EQ(counts.entries[0]->count, 17);
    EXPECT_EQ(counts.entries[1]->roomId, 0) << "a text that is not a number reads as 0";
    auto& poor = As<CMoneyIsNotEnoughMsg>(m[26], 25);
    EXPECT_EQ(poor.text + " " + poor.target, "poor http://x");
    EXPECT_EQ(As<CRoomPlayerLeave>(m[28], 19).player, "last");
}

TEST_F(HubTest, GameListReplacesTheGamesAndRooms) {
    Push(Reply("GameList", "<game a=\"9\" b=\"\" c=\"\" d=\"\"/>"));
    As<CGameInfoMsg>(std::unique_ptr<CMessage>(hub.PopMessage()), 6);
    As<CGameInfoMsg>(Parse(Reply("GameList", kGameList)), 6);
    ASSERT_EQ(hub.gameList.size(), 2u);
    const LobbyGameRecord& g = *hub.gameList[0];
    EXPECT_EQ(g.id + g.code + g.name + g.text4, "1FENLO斗地主x");
    ASSERT_EQ(g.rooms.size(), 2u);
    const LobbyRoomRecord& r = *g.rooms[0];
    EXPECT_EQ(r.id + "|" + r.name + "|" + r.host + "|" + r.host2 + "|" + r.port + "|" + r.port2,
              "101|新手房|10.0.0.1|10.0.0.2|9000|9001");
    EXPECT_FALSE(r.flag);
    EXPECT_EQ(r.playerCount, 35);
    EXPECT_EQ(r.group, 4);
    EXPECT_EQ(r.text7 + r.openFlag + r.closedText + r.gameId + r.text12, "g71closed1l12");
    EXPECT_EQ(r.owner, &g);
    EXPECT_EQ(g.rooms[1]->host2, "0") << "no comma";
    EXPECT_TRUE(g.rooms[1]->flag);
    EXPECT_TRUE(hub.gameList[1]->rooms.empty());

    As<CGameInfoMsg>(Parse(Reply("GameList", "<other/>")), 6);
    EXPECT_TRUE(hub.gameList.empty());
}

TEST_F(HubTest, FindRoomTakesTheFirstInGameThenRoomOrder) {
    Push(Reply("GameList",
               "<game a=\"1\" b=\"\" c=\"\" d=\"\"/><room a=\"5\" b=\"first\" c=\"\" d=\"\" e=\"\" f=\"\" "
               "g=\"\" h=\"\" i=\"\" j=\"\" k=\"\" l=\"\"/><game a=\"2\" b=\"\" c=\"\" d=\"\"/>"
               "<room a=\"5\" b=\"second\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" j=\"\" k=\"\" "
               "l=\"\"/><room a=\"abc\" b=\"text\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" "
               "j=\"\" k=\"\" l=\"\"/>"));
    delete hub.PopMessage();
    ASSERT_NE(hub.FindRoom(5), nullptr);
    EXPECT_EQ(hub.FindRoom(5)->name, "first");
    ASSERT_NE(hub.FindRoom(0), nullptr);
    EXPECT_EQ(hub.FindRoom(0)->name, "text") << "an id that is not a number reads as 0";
    EXPECT_EQ(hub.FindRoom(6), nullptr);
}

// ---- replies that are short or broken ----------------------------------------------

TEST_F(HubTest, ShortRepliesAreDroppedAndTheHubKeepsWhatItHad) {
    EXPECT_EQ(Parse(Reply("LoginKey", "<p a=\"only one\"/>")), nullptr);
    EXPECT_EQ(Parse(Reply("LoginFailed", "")), nullptr) << "no data element";
    EXPECT_EQ(Parse(Reply("Chat", "<chat a=\"1\" b=\"\" c=\"\" d=\"\" e=\"\"/>")), nullptr);

    hub.moneyText = "1.00";
    EXPECT_EQ(Parse(Reply("playerinfo", "<p a=\"u\" b=\"9.99\"/>")), nullptr);
    EXPECT_EQ(hub.moneyText, "1.00");

    delete Parse(Reply("GameList", kGameList)).release();
    EXPECT_EQ(Parse(Reply("GameList", "<game a=\"7\" b=\"\" c=\"\" d=\"\"/><room a=\"1\" b=\"2\"/>")), nullptr);
    ASSERT_EQ(hub.gameList.size(), 2u) << "a broken list does not replace the good one";
    EXPECT_EQ(hub.gameList[0]->id, "1");

    EXPECT_EQ(Parse(Reply("DeskList",
                          "<Room a=\"true\"><desk a=\"D1\" b=\"1\" c=\"1\" d=\"\" e=\"\"/>"
                          "<player a=\"p\" b=\"n\"/></Room>")),
              nullptr);
    EXPECT_EQ(Parse(Reply("AddRoom", "<addroom a=\"1\"/>")), nullptr);

    // Optional values may be missing.
    auto ok = Parse(Reply("LoginSuccess", "<p a=\"\" b=\"\" c=\"\" d=\"\" e=\"\" f=\"\" g=\"x\" h=\"\" i=\"\"/>"));
    EXPECT_EQ(As<CLoginSuccessMsg>(ok, 1).secondAmount, "");
    EXPECT_EQ(As<CLoginSuccessMsg>(ok, 1).loginNumber, 0);
    EXPECT_EQ(As<CNoticeMsg>(Parse(Reply("Notice", "<p a=\"\" b=\"2\" c=\"room 5\"/>")), 11).roomSelector, "room 5");
    auto desks = Parse(Reply("DeskList", "<other/>"));
    EXPECT_TRUE(As<CDeskInfoMsg>(desks, 8).roomFlag);
    EXPECT_EQ(As<CDeskInfoMsg>(desks, 8).deskList, nullptr);
}

TEST_F(HubTest, TextThatIsNotAMessageDocumentThrowsAndQueuesNothing) {
    EXPECT_THROW(Push("<GameMessage><Message name=\"LoginKey\">"), ReplyFormatError);
    EXPECT_THROW(Push(std::string("<a/>\r\n")), ReplyFormatError);
    EXPECT_EQ(hub.QueuedCount(), 0u);
    EXPECT_FALSE(hub.lobbyLock.HeldByCurrentThread());
}

// ---- the room-list lateness rule -----------------------------------------------------

TEST(RoomListLateness, LateOnlyBeyondTheLimit) {
    EXPECT_FALSE(RoomListIsLate(1000, 4000, 3000));
    EXPECT_TRUE(RoomListIsLate(1000, 4001, 3000));
    EXPECT_FALSE(RoomListIsLate(0, 4001, 3000)) << "no request outstanding";
    EXPECT_FALSE(RoomListIsLate(0xFFFFFF00u, 0x100u, 3000)) << "the tick counter wrapped";
}

TEST_F(HubTest, ALateGameListAsksForAnotherServerNextTime) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string config = std::string(folder) + "lobby_proto_config.ini";
    DeleteFileA(config.c_str());
    hub.SetConfigFile(config);
    char value[16];

    delete Parse(Reply("GameList", "")).release();  // nothing stamped
    EXPECT_EQ(hub.timeText[3], "0");
    hub.StampRoomListSendTime(timeGetTime());
    delete Parse(Reply("GameList", "")).release();  // in time
    EXPECT_EQ(hub.timeText[3], "0");
    EXPECT_EQ(GetPrivateProfileStringA("SYSTEM", "time4", "none", value, sizeof value, config.c_str()), 4u);
    EXPECT_EQ(hub.GetRoomListSendTime(), 0u);

    hub.StampRoomListSendTime(timeGetTime() - 3001);
    delete Parse(Reply("GameList", "")).release();
    EXPECT_EQ(hub.timeText[3], "1");
    EXPECT_EQ(hub.timeValue[3], 0) << "only the text changes";
    GetPrivateProfileStringA("SYSTEM", "time4", "none", value, sizeof value, config.c_str());
    EXPECT_STREQ(value, "1");
    EXPECT_EQ(hub.GetRoomListSendTime(), 0u);
    DeleteFileA(config.c_str());
}

// ---- queue, start-up and reset --------------------------------------------------------

TEST_F(HubTest, QueueIsFirstInFirstOutWithNullEntries) {
    EXPECT_EQ(hub.PopMessage(), nullptr);
    Push(Reply("Unknown", ""));
    hub.PushMessage(new CGameStartMsg());
    EXPECT_EQ(hub.QueuedCount(), 2u);
    EXPECT_EQ(hub.PopMessage(), nullptr) << "the queued null";
    std::unique_ptr<CMessage> next(hub.PopMessage());
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->kind, kMsgGameStart);
    EXPECT_EQ(hub.QueuedCount(), 0u);
}

// The main window's pump is kicked when the queue goes from empty to not (a
// null entry too), and at once when it is set while messages wait.
TEST_F(HubTest, ArrivalNoticeOnlyWhenTheQueueStopsBeingEmpty) {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT kKick = WM_APP + 7;
    auto notices = [&] {
        int n = 0;
        MSG m;
        while (PeekMessageA(&m, window, kKick, kKick, PM_REMOVE)) ++n;
        return n;
    };
    hub.PushMessage(new CGameStartMsg());
    hub.SetArrivalNotice(window, kKick);
    EXPECT_EQ(notices(), 1) << "a message was waiting";
    hub.PushMessage(new CGameStartMsg());
    EXPECT_EQ(notices(), 0) << "the queue was not empty";
    PopAll();
    Push(Reply("Unknown", ""));
    hub.PushMessage(new CGameStartMsg());
    EXPECT_EQ(notices(), 1);
    PopAll();
    hub.Shutdown();
    hub.PushMessage(new CGameStartMsg());
    EXPECT_EQ(notices(), 0) << "a shut-down hub tells nobody";
    DestroyWindow(window);
}

TEST_F(HubTest, InitFailsWhenTheServerConfigurationDoesNot) {
    hub.Shutdown();
    hub.timeText[2] = "15000";
    hub.SetServerConfigLoader([] { return false; });
    EXPECT_EQ(hub.Init(1), 0);
    EXPECT_EQ(hub.GetNetEngine(), nullptr);
    EXPECT_EQ(hub.GetLobbyProtocol(), nullptr);
    hub.SetServerConfigLoader([] { return true; });
    EXPECT_EQ(hub.Init(0), 1);
    EXPECT_EQ(hub.GetNetEngine(), nullptr);
    EXPECT_NE(hub.GetLobbyProtocol(), nullptr);
    EXPECT_EQ(hub.timeValue[2], 15000);
    EXPECT_EQ(hub.Connect("127.0.0.1", 1), 0) << "no engine to connect";
    EXPECT_EQ(hub.CreateNetEngine(), 1);
    EXPECT_NE(hub.GetNetEngine(), nullptr);
}

TEST_F(HubTest, ResetReplacesTheEngineClosesTheOldAndDiscardsTheQueue) {
    std::atomic<bool> closed{false};
    LoopbackServer server([&](Connection& c) { closed = c.WaitClosed(10000); });
    hub.Connect("127.0.0.1", server.Port());
    ASSERT_TRUE(server.WaitAccepted(1, 5000));
    CNetEngineEx* old = hub.GetNetEngine();
    g_freed = 0;
    hub.PushMessage(new CountedMessage());
    hub.PushMessage(CountedDesks());
    WithinOrDie(10000, [&] { hub.ResetNetEngine(); });
    EXPECT_NE(hub.GetNetEngine(), old);
    EXPECT_EQ(hub.GetNetEngine()->GetConnState(), CThreadEngine::kStateCreated);
    EXPECT_EQ(hub.QueuedCount(), 0u);
    EXPECT_EQ(g_freed, 2) << "the discarded message and desk list are freed";
    ASSERT_TRUE(server.WaitHandlersDone(5000));
    EXPECT_TRUE(closed);

    hub.Shutdown();
    ASSERT_EQ(hub.Init(0), 1);
    hub.PushMessage(CountedDesks());
    hub.ResetNetEngine();
    EXPECT_EQ(hub.QueuedCount(), 1u) << "without an engine nothing happens";
    g_freed = 0;
    hub.Shutdown();
    EXPECT_EQ(g_freed, 1) << "shut down: the queued desk list is freed";
}

// The socket thread waits in its receive for the lobby lock; a reset made while
// holding that lock must not wait for the receive.
TEST_F(HubTest, ResetUnderTheLobbyLockDoesNotDeadlockWithAReceive) {
    std::atomic<bool> sent{false}, closed{false};
    LoopbackServer server([&](Connection& c) {
        sent = c.SendFrame(1, Reply("PlayerLeave", "<p a=\"stale\"/>"));
        closed = c.WaitClosed(10000);
    });
    CNetEngineEx* old = nullptr;
    WithinOrDie(5000, [&] {
        hub.lobbyLock.Lock();  // as a window's handler would hold it
        hub.Connect("127.0.0.1", server.Port());
        old = hub.GetNetEngine();
        if (WaitUntil([&] { return sent.load(); }, 3000)) Sleep(200);  // the receive now waits for the lock
        hub.ResetNetEngine();
        hub.lobbyLock.Unlock();
    });
    EXPECT_TRUE(sent);
    EXPECT_NE(hub.GetNetEngine(), old);
    ASSERT_TRUE(server.WaitHandlersDone(5000)) << "the old connection is closed once the lock is free";
    EXPECT_TRUE(closed);
}

TEST_F(HubTest, RequestsGoOutThroughTheEngineAsTheBuilderWroteThem) {
    std::string payload;
    int kind = -1;
    LoopbackServer server([&](Connection& c) { c.ReadFrame(kind, payload, 5000); });
    hub.Connect("127.0.0.1", server.Port());
    int n = 0;
    std::unique_ptr<unsigned char[]> text(hub.GetLobbyProtocol()->MakeRoomListMsg("abc", &n));
    hub.GetNetEngine()->Send(reinterpret_cast<char*>(text.get()), n);
    ASSERT_TRUE(server.WaitAccepted(1, 5000));
    ASSERT_TRUE(server.WaitHandlersDone(5000));
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(payload, std::string(reinterpret_cast<char*>(text.get()), n));
}

namespace {

// One binary message: 0x01, the code, 0x01, then each field as a 16-bit
// little-endian length and its bytes.
std::string Binary(int code, const std::vector<std::string>& fields) {
    std::string out = {'\x01', static_cast<char>(code), '\x01'};
    for (const std::string& f : fields)
        out += std::string{static_cast<char>(f.size() & 0xFF), static_cast<char>(f.size() >> 8)} + f;
    return out;
}

}  // namespace

TEST_F(HubTest, BinaryRepliesArriveAsTheirDocumentsAndRequestsGoOutBinary) {
    hub.msgTable = {{5, "LoginKey"}, {6, "Notice"},          {7, "GameList"},
                    {8, "DeskList"}, {9, "RequestRoomList"}, {10, "NoDecoding"}};
    hub.translateFlag = true;
    std::string request;
    int kind = -1;
    LoopbackServer server([&](Connection& c) {
        c.SendFrame(0, Binary(5, {"me", "KEY"}));
        c.SendFrame(0, Binary(99, {"x"}));  // no row: dropped
        c.SendFrame(0, Binary(10, {"x"}));  // no decoding: dropped
        c.SendFrame(0, Binary(6, {"SGVsbG8=", "2"}));
        c.SendFrame(0, Binary(7, {"1", "1", "FENLO", "斗地主", "v", "1", "101", "r", "h1,h2", "9000", "false", "5", "s",
                                  "8", "1"}));
        c.SendFrame(0, Binary(8, {"true", "1", "D1", "101", "3", "1", "0", "p1", "n1", "2", "1", "m"}));
        c.ReadFrame(kind, request, 5000);
    });
    hub.Connect("127.0.0.1", server.Port());
    ASSERT_TRUE(WaitUntil([&] { return hub.QueuedCount() == 4; }, 5000)) << hub.QueuedCount();
    auto m = PopAll();
    EXPECT_EQ(As<CLoginAckMsg>(m[0], 0).loginKey, "KEY");
    EXPECT_EQ(As<CNoticeMsg>(m[1], 11).text, "Hello");
    As<CGameInfoMsg>(m[2], 6);
    ASSERT_EQ(hub.gameList.size(), 1u);
    ASSERT_EQ(hub.gameList[0]->rooms.size(), 1u) << "a room of nine values is whole";
    const LobbyRoomRecord& room = *hub.gameList[0]->rooms[0];
    EXPECT_EQ(room.id + room.host + room.host2 + room.port, "101h1h29000");
    EXPECT_FALSE(room.flag);
    EXPECT_EQ(room.group, 8);
    auto& desks = As<CDeskInfoMsg>(m[3], 8);
    CRoomDeskList* list = desks.deskList;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->desks.size(), 1u);
    ASSERT_EQ(list->desks[0]->players.size(), 1u);
    EXPECT_EQ(list->desks[0]->players[0]->nickname, "n1");
    EXPECT_EQ(hub.GetNetEngine()->IsAlive(), 1);

    int n = 0;
    std::unique_ptr<unsigned char[]> text(hub.GetLobbyProtocol()->MakeRoomListMsg("abc", &n));
    hub.GetNetEngine()->Send(reinterpret_cast<char*>(text.get()), n);
    ASSERT_TRUE(server.WaitHandlersDone(5000));
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(request, Binary(9, {"abc"}));
}

// The main window's dispatch of server messages (DispatchServerMessage), with a
// stand-in window that records which handler got what.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "lobby/ui/app/MessageGuard.h"

namespace {

int freed = 0;

// A message of a kind that counts its deletion.
template <class M>
struct Counted : M {
    using M::M;
    ~Counted() override { ++freed; }
};

struct StandIn {
    std::vector<std::string> calls;
    std::vector<std::unique_ptr<CMessage>> taken;
    bool throwOnNotice = false;

    void OnLoginRefused() { calls.push_back("refused"); }
    void OnStartGame(CStartGameMsg*) { calls.push_back("start"); }
    void OnRoomRefused(CRejectStartGame*) { calls.push_back("room refused"); }
    void OnGameList() { calls.push_back("games"); }
    void OnKick(CPlayerKickMsg*) { calls.push_back("kick"); }
    void OnDeskList(CDeskInfoMsg* m) { Take("desks", m); }
    void PassToRoomPage(int code, CMessage* m) { Take("room " + std::to_string(code), m); }
    void OnValidateFail(CValidateFailMsg*) { calls.push_back("validate"); }
    void OnNotice(CNoticeMsg*) {
        calls.push_back("notice");
        if (throwOnNotice) throw std::runtime_error("a handler's failure");
    }
    void SetDeskGranted(bool granted) { calls.push_back(granted ? "granted" : "refused seat"); }
    void PassToRightPanel(int code, CMessage* m) { Take("panel " + std::to_string(code), m); }
    void OnAddGames(CAddGameList*) { calls.push_back("add games"); }
    void OnRemoveGames(CRemoveGameList*) { calls.push_back("remove games"); }
    void OnAddRooms(CAddRoomList*) { calls.push_back("add rooms"); }
    void OnRemoveRooms(CRemoveRoomList*) { calls.push_back("remove rooms"); }
    void OnPlayerCounts(CPlayerCountList*) { calls.push_back("counts"); }
    void RepaintTree() { calls.push_back("repaint"); }
    void OnMoneyNotEnough(CMoneyIsNotEnoughMsg*) { calls.push_back("money"); }

    void Take(const std::string& call, CMessage* m) {
        calls.push_back(call);
        taken.emplace_back(m);
    }
};

std::string ReadTrace(const std::string& path) {
    std::ifstream f(path);
    std::stringstream lines;
    lines << f.rdbuf();
    return lines.str();
}

}  // namespace

template <class M>
std::unique_ptr<CMessage> Make() {
    return std::make_unique<Counted<M>>();
}

std::unique_ptr<CMessage> SeatAnswer(bool granted) {
    auto m = std::make_unique<Counted<CEnterDeskAKMsg>>();
    m->granted = granted;
    return m;
}

// Every kind reaches its handler, and only it; what a handler takes is the
// handler's, the rest is freed by the dispatch.
TEST(ServerDispatch, EachKindReachesItsHandlerAndIsFreedOrHandedOn) {
    struct Row {
        std::unique_ptr<CMessage> message;
        std::vector<std::string> calls;
        bool handedOn;
    };
    Row rows[] = {
        {Make<CLoginFailedMsg>(), {"refused"}, false},
        {Make<CStartGameMsg>(), {"start"}, false},
        {Make<CRejectStartGame>(), {"room refused"}, false},
        {Make<CGameInfoMsg>(), {"games"}, false},
        {Make<CPlayerKickMsg>(), {"kick"}, false},
        {std::make_unique<Counted<CMessage>>(kMsgDeskInfo), {"desks"}, true},  // its list is the protocol's
        {Make<CPlayerChangeMsg>(), {"room 3"}, true},
        {Make<CValidateFailMsg>(), {"validate"}, false},
        {Make<CNoticeMsg>(), {"notice"}, false},
        {SeatAnswer(true), {"granted"}, false},
        {SeatAnswer(false), {"refused seat"}, false},
        {Make<CPlayerStateMsg>(), {"room 4"}, true},
        {Make<CGameStartMsg>(), {"room 1"}, true},
        {Make<CGameOverMsg>(), {"room 2"}, true},
        {Make<CLobbyChatMsg>(), {"panel 0"}, true},
        {Make<CRoomPlayerList>(), {"panel 2"}, true},
        {Make<CRoomPlayerRef>(), {"panel 3"}, true},
        {Make<CRoomPlayerLeave>(), {"panel 1"}, true},
        {Make<CAddGameList>(), {"add games", "repaint"}, false},
        {Make<CRemoveGameList>(), {"remove games"}, false},
        {Make<CAddRoomList>(), {"add rooms"}, false},
        {Make<CRemoveRoomList>(), {"remove rooms"}, false},
        {Make<CPlayerCountList>(), {"counts", "repaint"}, false},
        {Make<CMoneyIsNotEnoughMsg>(), {"money"}, false},
        // The login step's own kinds, and one nobody knows: freed unhandled.
        {Make<CLoginAckMsg>(), {}, false},
        {Make<CLoginSuccessMsg>(), {}, false},
        {Make<CNeedUpdateMsg>(), {}, false},
        {std::make_unique<Counted<CMessage>>(9999), {}, false},
    };
    for (Row& row : rows) {
        StandIn w;
        freed = 0;
        const CMessage* sent = row.message.get();
        const int kind = sent->kind;
        DispatchServerMessage(w, std::move(row.message));
        EXPECT_EQ(w.calls, row.calls) << "kind " << kind;
        EXPECT_EQ(freed, row.handedOn ? 0 : 1) << "kind " << kind;
        if (row.handedOn) {
            ASSERT_EQ(w.taken.size(), 1u) << "kind " << kind;
            EXPECT_EQ(w.taken[0].get(), sent) << "kind " << kind;
            w.taken.clear();
            EXPECT_EQ(freed, 1) << "kind " << kind;
        }
    }
    StandIn w;
    DispatchServerMessage(w, nullptr);
    EXPECT_TRUE(w.calls.empty());
}

// A handler that throws is traced with its message's kind, its message is
// freed, and the next message is dispatched as usual.
TEST(ServerDispatch, AThrowingHandlerIsTracedAndGoesNoFurther) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string trace = std::string(temp) + "guard_trace_" + std::to_string(GetCurrentProcessId()) + ".txt";
    std::remove(trace.c_str());
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", trace.c_str());
    StandIn w;
    w.throwOnNotice = true;
    freed = 0;
    DispatchServerMessage(w, std::make_unique<Counted<CNoticeMsg>>());
    EXPECT_EQ(freed, 1);
    DispatchServerMessage(w, std::make_unique<Counted<CMessage>>(kMsgGameInfo));
    GuardMessageHandler(4, [] { throw 1; });
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
    EXPECT_EQ(w.calls, (std::vector<std::string>{"notice", "games"}));
    EXPECT_EQ(ReadTrace(trace), "handler of kind " + std::to_string(kMsgNotice) + " failed\nhandler of kind 4 failed\n");
    std::remove(trace.c_str());
}

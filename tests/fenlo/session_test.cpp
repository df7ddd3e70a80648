// The game session against a game server of ours: what it sends, how it
// queues what it receives, and how it survives failures and resets.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/core/NetEngineEx.h"
#include "game/core/TableSide.h"
#include "game/ui/GameTableSide.h"
#include "tests/fenlo/FenloTestKit.h"
#include "tests/support/Patience.h"

using namespace fenlo_test;
using testsupport::WaitFor;

namespace {

// Each reading of the clock is one tick later.
std::atomic<DWORD> g_now{0};
DWORD CountingClock() { return ++g_now; }
DWORD ThrowingClock() { throw std::bad_alloc(); }

// The text a builder makes, called as build(&length).
template <class Build>
std::string Built(Build build) {
    unsigned int length = 0;
    std::unique_ptr<unsigned char[]> text(build(&length));
    return std::string(reinterpret_cast<char*>(text.get()), length);
}

std::string ValidationText() {
    return Built([](unsigned int* n) { return GetMsgFactory()->BuildPlayerInfoValidate("p7", "tok", "2.3.4.5", n); });
}

class SessionTest : public ::testing::Test {
protected:
    ScratchFolder folder{"session"};
    void SetUp() override {
        SetGameClockSource(CountingClock);
        InstallGameTableSide();
    }
    void TearDown() override { SetGameClockSource(nullptr); }

    std::unique_ptr<CGameSession> MakeSession(int sendType, unsigned short port) {
        folder.WriteConfig(sendType);
        std::unique_ptr<CGameSession> s(new CGameSession(CString(folder.Path().c_str())));
        s->serverHost = "127.0.0.1";
        s->serverPort = port;
        s->playerId = "p7";
        s->validation = "tok";
        return s;
    }
    // Pops a queue until n messages came (or 5 s passed).
    std::vector<std::unique_ptr<CMessage>> Take(CGameSession& s, size_t n, bool second = false) {
        std::vector<std::unique_ptr<CMessage>> got;
        WaitFor(
            [&] {
                while (CMessage* m = second ? s.PopSecondaryMessage() : s.PopMessage()) got.emplace_back(m);
                return got.size() >= n;
            },
            5000);
        return got;
    }
};

void Send(CGameSession& s, const std::string& text) { s.SendMsg(text.c_str(), static_cast<int>(text.size())); }
void Receive(CGameSession& s, const std::string& text) { s.OnReceive(text.c_str(), static_cast<int>(text.size())); }

TEST_F(SessionTest, RequestsGoAsTheSendTypeSays) {
    const std::string bet = Built([](unsigned int* n) { return GetMsgFactory()->BuildBet("p7", "100", n); });
    const std::string bid = Built([](unsigned int* n) { return GetMsgFactory()->BuildJiaoFen("p7", 3, n); });
    const Frames expected[] = {{{1, ValidationText()}, {1, bet}, {1, bid}},
                               // The bet has no binary form and is not sent at all.
                               {{0, Packet(kValidate, {"p7", "tok", "2.3.4.5"})}, {0, Packet(kJiaoFen, {"p7", "3"})}},
                               {}};
    for (int type = 0; type < 3; ++type) {
        GameServer server;
        auto s = MakeSession(type, server.Port());
        ASSERT_EQ(s->ConnectAndValidate(), 1);
        EXPECT_EQ(s->firstReplyStamp.load(), g_now.load());
        Send(*s, bet);
        Send(*s, bid);
        server.WaitSent(expected[type].size());
        if (type == 2) Sleep(300);  // nothing may come
        EXPECT_EQ(server.Sent(), expected[type]) << "send type " << type;
    }
}

TEST_F(SessionTest, ReceivedMessagesAreQueuedByTypeWithTheirTime) {
    GameServer server({Xml("ChuPai", "<player id=\"42\"/><card number=\"5\" suit=\"2\"/>"),
                       Xml("AutoPlay", "<player id=\"42\"/>"), Xml("ValidateSuccess"),
                       Xml("RemainTime", "<time remain=\"600\" stage=\"3\" type=\"2\"/>")});
    auto s = MakeSession(0, server.Port());
    ASSERT_EQ(s->ConnectAndValidate(), 1);
    const DWORD validated = s->firstReplyStamp;
    auto main = Take(*s, 2);
    auto second = Take(*s, 2, true);
    ASSERT_EQ(main.size() + second.size(), 4u);
    EXPECT_EQ(main[0]->typeId * 100 + main[1]->typeId, 13 * 100 + 1);
    EXPECT_EQ(second[0]->typeId * 100 + second[1]->typeId, 16 * 100 + 43);
    EXPECT_GT(main[0]->receiveTime, validated);
    EXPECT_LT(main[0]->receiveTime, second[0]->receiveTime);
    EXPECT_LT(main[1]->receiveTime, second[1]->receiveTime);
    // Only the first text stamps the first reply, just before it is parsed.
    EXPECT_EQ(s->firstReplyStamp.load(), main[0]->receiveTime - 1);
    EXPECT_EQ(s->GetConnection()->IsWaitingFirstText(), 0);
}

BOOL CALLBACK PressOkOn(HWND h, LPARAM) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && std::string(cls) == "#32770") PostMessageA(h, WM_COMMAND, IDOK, 0);
    return TRUE;
}
void CALLBACK PressOk(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), PressOkOn, 0); }

TEST_F(SessionTest, AParseFailureStopsBothQueuesAndOnlyTheCallerShowsTheBox) {
    CGameSession s(CString(folder.Path().c_str()));
    Receive(s, Doc("ChuPai", "<player id=\"1\"/>"));
    Receive(s, Doc("AutoPlay", "<player id=\"1\"/>"));
    EXPECT_FALSE(s.ShowNetworkErrorBox());
    // The receiving thread only records the failure: it waits on no box.
    SetGameClockSource(ThrowingClock);
    const DWORD start = GetTickCount();
    Receive(s, Doc("ChuPai", "<player id=\"2\"/>"));
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(testsupport::Patience(1000)));
    SetGameClockSource(CountingClock);
    Receive(s, Doc("ReadyForPlaying", "<player id=\"9\"/>"));
    EXPECT_EQ(s.HasNetworkError(), 1);
    EXPECT_EQ(s.PopMessage(), nullptr);
    EXPECT_EQ(s.PopSecondaryMessage(), nullptr);

    UINT_PTR timer = SetTimer(nullptr, 0, 100, PressOk);
    EXPECT_TRUE(s.ShowNetworkErrorBox());
    KillTimer(nullptr, timer);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "OK ends the program";
    EXPECT_FALSE(s.ShowNetworkErrorBox()) << "once per failure";
}

TEST_F(SessionTest, WithoutATableSideThereAreNoPicturesAndNoBox) {
    CGameSession s(CString(folder.Path().c_str()));
    SetTableSide(nullptr);
    EXPECT_EQ(s.CreateImages(), 0);
    EXPECT_EQ(s.GetImages(), nullptr);
    SetGameClockSource(ThrowingClock);
    Receive(s, Doc("ChuPai", "<player id=\"2\"/>"));
    EXPECT_EQ(s.HasNetworkError(), 1);
    EXPECT_FALSE(s.ShowNetworkErrorBox());
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The socket thread's first-reply stamp waits here, inside the receive
// callback, until released.
HANDLE g_release = nullptr;
std::atomic<bool> g_held{false};
DWORD g_mainThread = 0;
DWORD HoldingClock() {
    if (GetCurrentThreadId() != g_mainThread && !g_held.exchange(true)) WaitForSingleObject(g_release, 10000);
    return 0;
}

TEST_F(SessionTest, ResetDuringAReceiveEmptiesOnlyTheMainQueue) {
    GameServer server({Xml("ChuPai", "<player id=\"1\"/>")});
    auto s = MakeSession(0, server.Port());
    Receive(*s, Doc("AutoPlay", "<player id=\"1\"/>"));
    Receive(*s, Doc("ChuPai", "<player id=\"1\"/>"));
    g_mainThread = GetCurrentThreadId();
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetGameClockSource(HoldingClock);
    ASSERT_EQ(s->ConnectAndValidate(), 1);
    ASSERT_TRUE(WaitFor([] { return g_held.load(); }, 5000));
    // The reset starts while the callback holds the connection; the callback
    // then needs the session lock. A deadlock ends the test program.
    std::thread release([] {
        Sleep(300);
        SetEvent(g_release);
    });
    std::packaged_task<void()> reset([&] { s->ResetConnection(); });
    std::future<void> done = reset.get_future();
    std::thread(std::move(reset)).detach();
    if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        fprintf(stderr, "deadlock in ResetConnection\n");
        TerminateProcess(GetCurrentProcess(), 3);
    }
    release.join();
    CloseHandle(g_release);
    EXPECT_EQ(s->PopMessage(), nullptr);
    std::unique_ptr<CMessage> kept(s->PopSecondaryMessage());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->typeId, 16);
    EXPECT_EQ(s->GetConnection()->GetConnState(), CThreadEngine::kStateCreated);
}

TEST_F(SessionTest, ASocketErrorEndsTheConnectionsAliveness) {
    testsupport::RefusingPort refusing;
    CNetEngineEx engine(nullptr);
    engine.Connect("127.0.0.1", static_cast<short>(refusing.Port()));
    EXPECT_TRUE(WaitFor([&] { return engine.IsAlive() == 0; }, 10000));
}

TEST_F(SessionTest, AnUnusableVersionConnectsNothing) {
    for (const char* version : {(const char*)nullptr, "", "<Version", "<Version name=\"FENLO\"/>", "1.0.0.1"}) {
        auto s = MakeSession(0, 1);
        folder.WriteConfig(0, version);
        std::string v = "unset";
        EXPECT_FALSE(s->ReadClientVersion(v)) << (version ? version : "(none)");
        EXPECT_EQ(s->ConnectAndValidate() + (s->GetConnection() != nullptr) + (v != "unset"), 0);
    }
}

}  // namespace

TEST_F(SessionTest, APopDoesNotWaitForAReceiveInProgress) {
    CGameSession s(CString(folder.Path().c_str()));
    Receive(s, Doc("ChuPai", "<player id=\"1\"/>"));
    g_mainThread = GetCurrentThreadId();
    g_held = false;
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetGameClockSource(HoldingClock);
    // The receive stops between its parse and its queueing, as a long parse
    // of a heavy frame would.
    std::thread receiver([&] { Receive(s, Doc("AutoPlay", "<player id=\"2\"/>")); });
    ASSERT_TRUE(WaitFor([] { return g_held.load(); }, 5000));
    const DWORD start = GetTickCount();
    std::unique_ptr<CMessage> first(s.PopMessage());
    EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(testsupport::Patience(1000)));
    SetEvent(g_release);
    receiver.join();
    CloseHandle(g_release);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->typeId, 13);
    std::unique_ptr<CMessage> second(s.PopSecondaryMessage());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->typeId, 16);
}

// The game session end to end: a loopback server of ours plays the game
// server, the session's connection receives, the session queues, the test pops.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/core/NetEngineEx.h"
#include "tests/fenlo/FenloTestKit.h"
#include "tests/support/LoopbackServer.h"

using namespace fenlo_test;
using namespace testsupport;

namespace {

std::atomic<DWORD> g_now{0};
DWORD FixedClock() { return g_now; }
DWORD ThrowingClock() { throw std::bad_alloc(); }

struct ClockGuard {
    ClockGuard() { SetGameClockSource(FixedClock); }
    ~ClockGuard() { SetGameClockSource(nullptr); }
};

struct Frame {
    int kind;
    std::string payload;
};

// Records the frames each connection sends until it closes or the test ends.
class RecordingServer {
public:
    // reply runs once the first frame (the validation request) has arrived.
    explicit RecordingServer(std::function<void(Connection&)> reply = nullptr)
        : server_([this, reply](Connection& c) {
              bool first = true;
              while (!c.Stopping()) {
                  Frame f;
                  if (!c.ReadFrame(f.kind, f.payload, 100)) continue;
                  {
                      std::lock_guard<std::mutex> lock(mutex_);
                      frames_.push_back(f);
                  }
                  if (first && reply) reply(c);
                  first = false;
              }
          }) {}

    unsigned short Port() const { return server_.Port(); }
    LoopbackServer& Server() { return server_; }
    bool WaitFrames(size_t n, int timeoutMs = 5000) {
        return WaitFor([&] { return Frames().size() >= n; }, timeoutMs);
    }
    std::vector<Frame> Frames() {
        std::lock_guard<std::mutex> lock(mutex_);
        return frames_;
    }

private:
    std::mutex mutex_;
    std::vector<Frame> frames_;
    LoopbackServer server_;
};

// The text a builder makes, called as build(&length).
template <class Build>
std::string Built(Build build) {
    unsigned int length = 0;
    std::unique_ptr<unsigned char[]> text(build(&length));
    return std::string(reinterpret_cast<char*>(text.get()), length);
}

class SessionTest : public ::testing::Test {
protected:
    ScratchFolder folder{"session"};
    ClockGuard clock;

    std::unique_ptr<CGameSession> MakeSession(int sendType, unsigned short port) {
        folder.WriteConfig(sendType);
        std::unique_ptr<CGameSession> s(new CGameSession(CString(folder.Path().c_str())));
        s->serverHost = "127.0.0.1";
        s->serverPort = port;
        s->playerId = "p7";
        s->validation = "tok";
        return s;
    }
    void Send(CGameSession& s, const std::string& text) { s.SendMsg(text.c_str(), static_cast<int>(text.size())); }
    // Pops from a queue until n messages came or the time ran out.
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

TEST_F(SessionTest, RequestsGoAsTheSendTypeSays) {
    CMsgFactory* f = GetMsgFactory();
    const std::string validation =
        Built([&](unsigned int* n) { return f->BuildPlayerInfoValidate("p7", "tok", "2.3.4.5", n); });
    const std::string bet = Built([&](unsigned int* n) { return f->BuildBet("p7", "100", n); });
    const std::string bid = Built([&](unsigned int* n) { return f->BuildJiaoFen("p7", 3, n); });
    {
        RecordingServer server;
        auto s = MakeSession(0, server.Port());
        g_now = 500;
        ASSERT_EQ(s->ConnectAndValidate(), 1);
        EXPECT_EQ(s->firstReplyStamp.load(), 500u);
        Send(*s, bet);
        Send(*s, bid);
        ASSERT_TRUE(server.WaitFrames(3));
        auto frames = server.Frames();
        EXPECT_EQ(frames[0].kind, 1);
        EXPECT_EQ(frames[0].payload, validation);
        EXPECT_EQ(frames[1].payload, bet);
        EXPECT_EQ(frames[2].payload, bid);
    }
    {
        // Binary: the bet has no binary form and is not sent at all.
        RecordingServer server;
        auto s = MakeSession(1, server.Port());
        ASSERT_EQ(s->ConnectAndValidate(), 1);
        Send(*s, bet);
        Send(*s, bid);
        ASSERT_TRUE(server.WaitFrames(2));
        auto frames = server.Frames();
        EXPECT_EQ(frames[0].kind, 0);
        EXPECT_EQ(frames[0].payload, Packet(kValidate, {"p7", "tok", "2.3.4.5"}));
        EXPECT_EQ(frames[1].kind, 0);
        EXPECT_EQ(frames[1].payload, Packet(kJiaoFen, {"p7", "3"}));
    }
    {
        RecordingServer server;
        auto s = MakeSession(2, server.Port());
        ASSERT_EQ(s->ConnectAndValidate(), 1);
        ASSERT_TRUE(server.Server().WaitAccepted(1, 5000));
        Sleep(300);  // nothing may arrive
        EXPECT_TRUE(server.Frames().empty());
    }
}

TEST_F(SessionTest, ReceivedMessagesAreQueuedByTypeWithTheirTime) {
    std::atomic<bool> sendMore{false};
    RecordingServer server([&](Connection& c) {
        c.SendFrame(1, Doc("ChuPai", "<player id=\"42\"/><card number=\"5\" suit=\"2\"/>"));
        c.SendFrame(1, Doc("AutoPlay", "<player id=\"42\"/>"));
        c.SendFrame(1, Doc("RemainTime", "<time remain=\"600\" stage=\"3\" type=\"2\"/>"));
        c.SendFrame(1, Doc("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"));
        WaitFor([&] { return sendMore.load(); }, 5000);
        c.SendFrame(1, Doc("ReadyForPlaying", "<player id=\"9\"/>"));
    });
    auto s = MakeSession(0, server.Port());
    g_now = 500;
    ASSERT_EQ(s->ConnectAndValidate(), 1);
    g_now = 1000;
    auto main = Take(*s, 2);
    auto second = Take(*s, 2, true);
    ASSERT_EQ(main.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(main[0]->typeId, 13);
    EXPECT_EQ(main[1]->typeId, 1);
    EXPECT_EQ(second[0]->typeId, 16);
    EXPECT_EQ(second[1]->typeId, 43);
    for (auto* q : {&main, &second})
        for (auto& m : *q) EXPECT_EQ(m->receiveTime, 1000u);
    // The first text stamped the first reply; later ones leave the stamp alone.
    EXPECT_EQ(s->firstReplyStamp.load(), 1000u);
    EXPECT_EQ(s->GetConnection()->IsWaitingFirstText(), 0);
    s->firstReplyStamp = 0;
    g_now = 2000;
    sendMore = true;
    auto later = Take(*s, 1);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0]->receiveTime, 2000u);
    EXPECT_EQ(s->firstReplyStamp.load(), 0u);
}

TEST_F(SessionTest, BinaryFramesAreDecodedAndUndecodableOnesDropped) {
    RecordingServer server([](Connection& c) {
        c.SendFrame(0, Packet(99, {"x"}));    // a code not in the table
        c.SendFrame(0, std::string("\x01"));  // too short to be a packet
        c.SendFrame(0, Packet(kValidateSuccess, {"normal"}));
        c.SendFrame(0, Packet(kChuPai, {"42", "1", "5", "2"}));
    });
    auto s = MakeSession(1, server.Port());
    ASSERT_EQ(s->ConnectAndValidate(), 1);
    auto main = Take(*s, 2);
    ASSERT_EQ(main.size(), 2u);
    ASSERT_EQ(main[0]->typeId, 1);
    EXPECT_EQ(static_cast<CValidateSuccessMsg*>(main[0].get())->gameType, "normal");
    ASSERT_EQ(main[1]->typeId, 13);
    EXPECT_EQ(static_cast<CCardOutResultMsg*>(main[1].get())->numbers, std::vector<int>({5}));
    EXPECT_EQ(s->HasNetworkError(), 0);
    EXPECT_EQ(s->PopSecondaryMessage(), nullptr);
}

void Receive(CGameSession& s, const std::string& text) { s.OnReceive(text.c_str(), static_cast<int>(text.size())); }

BOOL CALLBACK PressOkOn(HWND h, LPARAM) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && std::string(cls) == "#32770") PostMessageA(h, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Presses OK on the message box this thread shows.
void CALLBACK PressOk(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), PressOkOn, 0); }

TEST_F(SessionTest, AParseFailureStopsBothQueuesAndOnlyTheCallerShowsTheBox) {
    CGameSession s(CString(folder.Path().c_str()));
    Receive(s, Doc("ChuPai", "<player id=\"1\"/>"));
    Receive(s, Doc("AutoPlay", "<player id=\"1\"/>"));
    EXPECT_FALSE(s.ShowNetworkErrorBox());

    // The receiving thread only records the failure: it does not wait on a box.
    SetGameClockSource(ThrowingClock);
    const DWORD start = GetTickCount();
    Receive(s, Doc("ChuPai", "<player id=\"2\"/>"));
    EXPECT_LT(GetTickCount() - start, 1000u);
    SetGameClockSource(FixedClock);
    EXPECT_EQ(s.HasNetworkError(), 1);
    EXPECT_EQ(s.PopMessage(), nullptr);
    EXPECT_EQ(s.PopSecondaryMessage(), nullptr);
    Receive(s, Doc("ReadyForPlaying", "<player id=\"9\"/>"));
    EXPECT_EQ(s.PopMessage(), nullptr);

    UINT_PTR timer = SetTimer(nullptr, 0, 100, PressOk);
    EXPECT_TRUE(s.ShowNetworkErrorBox());
    KillTimer(nullptr, timer);
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "OK ends the program";
    EXPECT_FALSE(s.ShowNetworkErrorBox()) << "once per failure";
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

// The socket thread's first-reply stamp waits here, inside the receive
// callback, until released.
HANDLE g_release = nullptr;
std::atomic<bool> g_held{false};
DWORD g_mainThread = 0;
DWORD HoldingClock() {
    if (GetCurrentThreadId() != g_mainThread && !g_held.exchange(true)) WaitForSingleObject(g_release, 10000);
    return g_now;
}

TEST_F(SessionTest, ResetDuringAReceiveEmptiesOnlyTheMainQueue) {
    RecordingServer server([](Connection& c) { c.SendFrame(1, Doc("ChuPai", "<player id=\"1\"/>")); });
    auto s = MakeSession(0, server.Port());
    Receive(*s, Doc("AutoPlay", "<player id=\"1\"/>"));
    Receive(*s, Doc("ChuPai", "<player id=\"1\"/>"));
    g_mainThread = GetCurrentThreadId();
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetGameClockSource(HoldingClock);
    ASSERT_EQ(s->ConnectAndValidate(), 1);
    ASSERT_TRUE(WaitFor([] { return g_held.load(); }, 5000));
    // The reset starts while the callback holds the connection; the callback
    // then needs the session lock to queue its message.
    std::thread release([] {
        Sleep(300);
        SetEvent(g_release);
    });
    WithinOrDie(10000, [&] { s->ResetConnection(); });
    release.join();
    CloseHandle(g_release);
    EXPECT_EQ(s->PopMessage(), nullptr);
    std::unique_ptr<CMessage> kept(s->PopSecondaryMessage());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->typeId, 16);
    ASSERT_NE(s->GetConnection(), nullptr);
    EXPECT_EQ(s->GetConnection()->GetConnState(), CThreadEngine::kStateCreated);
}

TEST_F(SessionTest, AClosedOrFailedConnectionIsNoLongerAlive) {
    LoopbackServer closing([](Connection& c) { c.Close(); });
    RefusingPort refusing;
    for (unsigned short port : {closing.Port(), refusing.Port()}) {
        CNetEngineEx engine(nullptr);
        EXPECT_EQ(engine.IsAlive(), 1);
        engine.Connect("127.0.0.1", static_cast<short>(port));
        EXPECT_TRUE(WaitFor([&] { return engine.IsAlive() == 0; }, 10000)) << port;
    }
}

TEST_F(SessionTest, AnUnusableVersionConnectsNothing) {
    for (const char* version :
         {static_cast<const char*>(nullptr), "", "<Version", "<Version name=\"FENLO\"/>", "1.0.0.1"}) {
        auto s = MakeSession(0, 1);
        folder.WriteConfig(0, version);
        std::string v = "unset";
        EXPECT_FALSE(s->ReadClientVersion(v)) << (version ? version : "(none)");
        EXPECT_EQ(v, "unset");
        EXPECT_EQ(s->ConnectAndValidate(), 0);
        EXPECT_EQ(s->GetConnection(), nullptr);
    }
    auto s = MakeSession(0, 1);
    std::string v;
    EXPECT_TRUE(s->ReadClientVersion(v));
    EXPECT_EQ(v, "2.3.4.5");
}

}  // namespace

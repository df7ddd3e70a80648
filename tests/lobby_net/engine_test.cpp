// The network engine over real Winsock against loopback servers: framing,
// ordering, cutting, connect outcomes, losses, shut-down and the lobby engine.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "lobby/net/base/Exception.h"
#include "lobby/net/engine/LobbyLink.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "tests/lobby_net/RecordingEngine.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

const char* const kHost = "127.0.0.1";

short Port(unsigned short port) { return static_cast<short>(port); }

// The connection is gone: an error (Windows reports a reset so) or a close
// (Wine reports a reset as the end of the stream).
bool Lost(Record& r) { return !r.errors.empty() || r.closes > 0; }

void SendText(CThreadEngine& e, const std::string& s) { e.SendText(s.data(), static_cast<unsigned>(s.size())); }

// A server that records the frames it reads until the client goes.
struct FrameSink {
    std::mutex mutex;
    std::vector<Received> frames;
    size_t Count() {
        std::lock_guard<std::mutex> g(mutex);
        return frames.size();
    }
    std::vector<Received> Frames() {
        std::lock_guard<std::mutex> g(mutex);
        return frames;
    }
    LoopbackServer::Handler Handler() {
        return [this](Connection& c) {
            int kind;
            std::string payload;
            while (c.ReadFrame(kind, payload, 20000)) {
                std::lock_guard<std::mutex> g(mutex);
                frames.push_back({kind, payload});
            }
        };
    }
};

// ---- sending --------------------------------------------------------------

TEST(EngineSend, FramesGoOutAsTheLobbyFrame) {
    std::string bytes;
    LoopbackServer server([&](Connection& c) { c.ReadExact(8 + 5 + 3, bytes, 5000); });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitConnects(1, 5000));
    SendText(engine, "abc");
    engine.SendBinary("\x01\x02\x01", 3);
    ASSERT_TRUE(server.WaitHandlersDone(5000));
    EXPECT_EQ(bytes, std::string("\x03\x00\x00\x00\x01"
                                 "abc"
                                 "\x03\x00\x00\x00\x00\x01\x02\x01",
                                 16));
    EXPECT_EQ(engine.record->With([](Record& r) { return r.sends; }), 2) << "OnSend before each write";
}

TEST(EngineSend, FramesSentBeforeTheConnectionGoOutInOrder) {
    FrameSink sink;
    LoopbackServer server(sink.Handler());
    RecordingEngine engine;
    SendText(engine, "0 before connect");
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateCreated);
    engine.onConnect = [](RecordingEngine& e) { SendText(e, "2 in OnConnect"); };
    engine.Connect(kHost, Port(server.Port()));
    SendText(engine, "1 while connecting");
    ASSERT_TRUE(engine.record->WaitConnects(1, 5000));
    SendText(engine, "3 connected");
    ASSERT_TRUE(WaitFor([&] { return sink.Count() == 4; }, 5000));
    auto frames = sink.Frames();
    EXPECT_EQ(frames[0].payload, "0 before connect");
    EXPECT_EQ(frames[1].payload, "1 while connecting");
    EXPECT_EQ(frames[2].payload, "2 in OnConnect");
    EXPECT_EQ(frames[3].payload, "3 connected");
    EXPECT_EQ(engine.record->connectStates[0], CThreadEngine::kStateConnected);
}

TEST(EngineSend, FramesHandedOverWhileTheLinkWasDownGoOutOnTheNextConnect) {
    LoopbackServer dropping([](Connection& c) { c.Reset(); });
    FrameSink sink;
    LoopbackServer second(sink.Handler());
    RecordingEngine engine;
    engine.Connect(kHost, Port(dropping.Port()));
    ASSERT_TRUE(engine.record->WaitUntil(5000, Lost));
    ASSERT_EQ(engine.GetConnState(), CThreadEngine::kStateConnected);
    SendText(engine, "a");
    SendText(engine, "b");
    Sleep(50);
    engine.Connect(kHost, Port(second.Port()));
    ASSERT_TRUE(engine.record->WaitConnects(2, 5000));
    ASSERT_TRUE(WaitFor([&] { return sink.Count() == 2; }, 3000)) << "not left behind in the send queue";
    SendText(engine, "c");
    ASSERT_TRUE(WaitFor([&] { return sink.Count() == 3; }, 3000));
    auto frames = sink.Frames();
    EXPECT_EQ(frames[0].payload + frames[1].payload + frames[2].payload, "abc");
}

TEST(EngineSend, FramesAfterCloseAreDroppedAndConnectDoesNothing) {
    LoopbackServer server([](Connection& c) { c.WaitClosed(2000); });
    RecordingEngine engine;
    engine.Close();
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateClosed);
    engine.Connect(kHost, Port(server.Port()));
    SendText(engine, "dropped");
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateClosed);
    EXPECT_FALSE(server.WaitAccepted(1, 300));
    EXPECT_EQ(engine.record->Callbacks(), 0);
}

// ---- receiving ------------------------------------------------------------

TEST(EngineReceive, FramesArriveWholeFromAnyPieces) {
    const std::string body(3000, 'z');
    LoopbackServer server([&](Connection& c) {
        c.SendInPieces(Frame(1, "split header"), 2, 20);                // 2 bytes, pause, 2, ...
        c.SendInPieces(Frame(0, body), 700, 10);                        // body over several reads
        c.Send(Frame(1, "one") + Frame(0, "two") + Frame(1, "three"));  // several in one write
        c.WaitClosed(10000);
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitFrames(5, 10000));
    auto& f = engine.record->frames;
    EXPECT_EQ(f[0].kind, 1);
    EXPECT_EQ(f[0].payload, "split header");
    EXPECT_EQ(f[1].kind, 0);
    EXPECT_EQ(f[1].payload, body);
    EXPECT_EQ(f[2].payload, "one");
    EXPECT_EQ(f[3].kind, 0);
    EXPECT_EQ(f[3].payload, "two");
    EXPECT_EQ(f[4].payload, "three");
    EXPECT_TRUE(engine.record->errors.empty());
}

TEST(EngineReceive, AnEmptyFrameIsDeliveredWithoutWaitingForMore) {
    LoopbackServer server([](Connection& c) {
        c.Send(Frame(1, ""));
        c.WaitClosed(10000);  // nothing more follows
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitFrames(1, 2000));
    EXPECT_EQ(engine.record->frames[0].kind, 1);
    EXPECT_EQ(engine.record->frames[0].payload, "");
}

TEST(EngineReceive, UnknownKindsAreSkipped) {
    LoopbackServer server([](Connection& c) {
        c.Send(Frame(2, "ignored") + Frame(7, "") + Frame(1, "after"));
        c.WaitClosed(10000);
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitFrames(1, 3000));
    Sleep(50);
    ASSERT_EQ(engine.record->frames.size(), 1u);
    EXPECT_EQ(engine.record->frames[0].payload, "after");
}

TEST(EngineReceive, AnAbsurdLengthClosesTheConnectionWithAnError) {
    bool closed = false;
    LoopbackServer server([&](Connection& c) {
        c.Send(Frame(1, std::string(1 << 20, 'm')));  // 1 MB: a real, if large, frame
        c.Send(std::string("\xff\xff\xff\x7f\x01", 5) + "and some bytes");
        closed = c.WaitClosed(5000);
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitErrors(1, 10000));
    ASSERT_TRUE(server.WaitHandlersDone(6000));
    EXPECT_TRUE(closed) << "the client closed the connection";
    EXPECT_EQ(engine.record->errors[0], WSAEMSGSIZE);
    ASSERT_EQ(engine.record->frames.size(), 1u);
    EXPECT_EQ(engine.record->frames[0].payload.size(), 1u << 20);
}

TEST(EngineReceive, AResetMidFrameIsReportedOnce) {
    LoopbackServer server([](Connection& c) {
        c.Send(Frame(1, "whole"));
        c.Send(Frame(1, "never finished").substr(0, 9));
        c.Pause(100);
        c.Reset();
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitUntil(5000, Lost));
    Sleep(100);
    Record& r = *engine.record;
    // Windows reports the reset as WSAECONNRESET; Wine as the end of the stream.
    EXPECT_EQ(r.errors.size() + r.closes, 1u);
    if (!r.errors.empty()) {
        EXPECT_EQ(r.errors[0], WSAECONNRESET);
    }
    ASSERT_EQ(r.frames.size(), 1u) << "the cut frame is not delivered";
    EXPECT_EQ(r.frames[0].payload, "whole");
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateConnected) << "owners learn of the loss from the callback";
}

TEST(EngineReceive, AnOrderlyCloseByThePeerIsReportedOnce) {
    LoopbackServer server([](Connection& c) {
        c.Send(Frame(1, "bye"));
        c.Close();
    });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitCloses(1, 5000));
    Sleep(100);
    Record& r = *engine.record;  // quiet now: the connection is gone
    EXPECT_EQ(r.closes, 1) << "the socket thread stops polling";
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0].payload, "bye");
}

// ---- connecting -----------------------------------------------------------

TEST(EngineConnect, ARefusedConnectIsAnErrorNotAConnect) {
    RefusingPort refusing;
    RecordingEngine engine;
    engine.Connect(kHost, Port(refusing.Port()));
    ASSERT_TRUE(engine.record->WaitErrors(1, 5000));
    EXPECT_EQ(engine.record->errors[0], WSAECONNREFUSED);
    EXPECT_FALSE(engine.record->WaitConnects(1, 200));
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateConnecting);
}

TEST(EngineConnect, AHostNameIsLookedUp) {
    LoopbackServer server([](Connection& c) {
        c.SendFrame(1, "hi");
        c.WaitClosed(5000);
    });
    RecordingEngine engine;
    engine.Connect("localhost", Port(server.Port()));
    ASSERT_TRUE(engine.record->WaitFrames(1, 5000));
    EXPECT_EQ(engine.record->frames[0].payload, "hi");
}

// A name no resolver knows (a blank is no character of a host name) is an
// error, never a connect.
TEST(EngineConnect, AnUnresolvableHostIsAnError) {
    RecordingEngine engine;
    engine.Connect("no such host", 80);
    ASSERT_TRUE(engine.record->WaitErrors(1, 10000));
    EXPECT_NE(engine.record->errors[0], 0);
    EXPECT_FALSE(engine.record->WaitConnects(1, 200));
}

TEST(EngineConnect, AnAddressThatNeverAnswersTimesOutAfter7000Ms) {
    SilentPort silent;
    RecordingEngine engine;
    const unsigned long long start = NowMs();
    engine.Connect(kHost, Port(silent.Port()));
    ASSERT_TRUE(engine.record->WaitConnects(1, 12000));
    const unsigned long long took = NowMs() - start;
    EXPECT_GE(took, 6900u);
    EXPECT_LE(took, static_cast<unsigned>(Patience(9000)));
    EXPECT_EQ(engine.record->connectStates[0], CThreadEngine::kStateNotConnected);
    EXPECT_TRUE(engine.record->errors.empty());
}

TEST(EngineConnect, CloseWhileConnectingEndsTheAttemptAtOnce) {
    SilentPort silent;
    RecordingEngine engine;
    engine.Connect(kHost, Port(silent.Port()));
    Sleep(100);
    const unsigned long long start = NowMs();
    engine.Close();
    EXPECT_LT(NowMs() - start, static_cast<unsigned>(Patience(200)));
    Sleep(300);
    EXPECT_EQ(engine.record->Callbacks(), 0);
    EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateClosed);
}

// ---- closing and deleting -------------------------------------------------

// An engine without Close in its destructor: deleting it takes the shut-down path.
class BareEngine : public CThreadEngine {
public:
    void OnReceiveText(char* data, int) override { delete[] data; }
    void OnReceiveBinary(unsigned char* data, int) override { delete[] data; }
};

// With no room left for a thread's stack, making an engine fails with a socket
// error of "not enough memory" that its maker catches; the process goes on and
// the next engine, once there is room, works.
TEST(EngineLifetime, AnEngineWhoseThreadCannotStartFailsAlone) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "only a 32-bit address space can be filled";
    std::vector<void*> held;
    for (SIZE_T size : {SIZE_T(64) << 20, SIZE_T(1) << 20})
        while (void* p = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) held.push_back(p);
    int error = -1;
    try {
        BareEngine engine;
        error = 0;
    } catch (const SocketException& e) {
        error = e.GetError();
    }
    for (void* p : held) VirtualFree(p, 0, MEM_RELEASE);
    EXPECT_EQ(error, ERROR_NOT_ENOUGH_MEMORY);
    LoopbackServer server([](Connection& c) { c.WaitClosed(5000); });
    RecordingEngine engine;
    engine.Connect(kHost, Port(server.Port()));
    EXPECT_TRUE(engine.record->WaitConnects(1, 5000));
}

TEST(EngineLifetime, DeletingANewEngineReturnsWithinTheHandshake) {
    for (int i = 0; i < 3; ++i) {
        const unsigned long long start = NowMs();
        delete new BareEngine;
        EXPECT_LT(NowMs() - start, static_cast<unsigned>(Patience(2500)));
    }
}

TEST(EngineLifetime, ShutdownWithTrafficInFlight) {
    LoopbackServer server([](Connection& c) {
        std::thread reader([&] { c.WaitClosed(20000); });
        while (!c.Stopping() && c.SendFrame(1, std::string(4000, 'f'))) {
        }
        reader.join();
    });
    for (int round = 0; round < 2; ++round) {
        auto record = std::make_shared<Record>();
        CThreadEngine* engine = round == 0 ? static_cast<CThreadEngine*>(new RecordingEngine(record)) : new BareEngine;
        engine->Connect(kHost, Port(server.Port()));
        Sleep(200);
        for (int i = 0; i < 50; ++i) engine->SendText(std::string(60000, 's').data(), 60000);
        const unsigned long long start = NowMs();
        delete engine;
        EXPECT_LT(NowMs() - start, static_cast<unsigned>(Patience(2500)));
        const int seen = record->Callbacks();
        Sleep(200);
        EXPECT_EQ(record->Callbacks(), seen) << "no callback after delete";
    }
}

TEST(EngineLifetime, CloseWaitsForACallbackHoldingTheHubLock) {
    CriticalSection hub;
    std::atomic<bool> inside{false}, finished{false};
    LoopbackServer server([](Connection& c) {
        c.SendFrame(1, "slow");
        c.SendFrame(1, "more");
        c.WaitClosed(5000);
    });
    RecordingEngine engine;
    engine.onFrame = [&](RecordingEngine&, const Received&) {
        LockBase<CriticalSection> guard(hub);  // as the data hub's parse does
        inside = true;
        Sleep(300);
        finished = true;
    };
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(WaitFor([&] { return inside.load(); }, 5000));
    engine.Close();
    EXPECT_TRUE(finished) << "Close returned while a callback ran";
    const int seen = engine.record->Callbacks();
    Sleep(400);
    EXPECT_EQ(engine.record->Callbacks(), seen);
    LockBase<CriticalSection> free(hub);
}

TEST(EngineLifetime, ACallbackMayCloseOrDeleteItsEngine) {
    LoopbackServer server([](Connection& c) {
        c.SendFrame(1, "first");
        c.SendFrame(1, "second");
        c.WaitClosed(5000);
    });
    {
        RecordingEngine engine;
        engine.onFrame = [](RecordingEngine& e, const Received&) { e.Close(); };
        engine.Connect(kHost, Port(server.Port()));
        ASSERT_TRUE(engine.record->WaitFrames(1, 5000));
        Sleep(100);
        EXPECT_EQ(engine.record->frames.size(), 1u);
        EXPECT_EQ(engine.GetConnState(), CThreadEngine::kStateClosed);
    }
    auto record = std::make_shared<Record>();
    auto* engine = new RecordingEngine(record);
    engine->onFrame = [](RecordingEngine& e, const Received&) { delete &e; };
    const unsigned long long start = NowMs();
    engine->Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(record->WaitFrames(1, 5000));
    EXPECT_LT(NowMs() - start, static_cast<unsigned>(Patience(1500))) << "the socket thread does not wait for itself";
    Sleep(100);
    EXPECT_EQ(record->frames.size(), 1u);
}

// ---- the lobby engine -----------------------------------------------------

class FakeLink : public LobbyLink {
public:
    bool translate = false;
    std::mutex mutex;
    std::vector<std::string> pushed;
    std::vector<std::string> decoded;

    bool TranslateFlag() override { return translate; }
    std::string XmlToBinary(const char* xml) override {
        std::string text(xml);
        if (text.find('<') == std::string::npos) throw 0;  // not a message document
        if (text == "<unknown/>") throw 0;                 // no encoding
        return "\x01\x07\x01" + text;
    }
    char* BinaryToXml(const unsigned char* data, int length) override {
        std::string in(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
        {
            std::lock_guard<std::mutex> g(mutex);
            decoded.push_back(in);
        }
        if (in == "unknown") return nullptr;
        if (in == "throws") throw std::runtime_error("broken");
        std::string xml = "<decoded>" + in + "</decoded>";
        char* out = new char[xml.size() + 1];
        std::copy(xml.c_str(), xml.c_str() + xml.size() + 1, out);
        return out;
    }
    void PushPacket(const char* text, int length) override {
        std::string t(text, static_cast<size_t>(length));
        if (t.compare(0, 4, "<bad") == 0) throw new int(-1);  // as the XML reader throws
        std::lock_guard<std::mutex> g(mutex);
        pushed.push_back(t);
    }
    size_t Pushed() {
        std::lock_guard<std::mutex> g(mutex);
        return pushed.size();
    }
};

class LobbyEngineTest : public ::testing::Test {
protected:
    void SetUp() override { CLobbyEngine::SetLink(&link); }
    void TearDown() override { CLobbyEngine::SetLink(nullptr); }
    FakeLink link;
};

TEST_F(LobbyEngineTest, TextsAndDecodedBinariesReachTheHub) {
    LoopbackServer server([](Connection& c) {
        c.SendFrame(1, "<a>1</a>");
        c.SendFrame(0, "bin");
        c.SendFrame(0, "unknown");  // no decoding: dropped without a report
        c.SendFrame(0, "throws");
        c.SendFrame(1, "<z/>");
        c.WaitClosed(5000);
    });
    CNetEngineEx engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(WaitFor([&] { return link.Pushed() == 3; }, 5000));
    EXPECT_EQ(link.pushed, (std::vector<std::string>{"<a>1</a>", "<decoded>bin</decoded>", "<z/>"}));
    EXPECT_EQ(link.decoded.size(), 3u);
    EXPECT_EQ(engine.IsAlive(), 1);
}

TEST_F(LobbyEngineTest, AReplyThatFailsToParseClearsAliveButKeepsTheConnection) {
    LoopbackServer server([](Connection& c) {
        c.SendFrame(1, "<bad");
        c.Pause(100);
        c.SendFrame(1, "<good/>");
        c.WaitClosed(5000);
    });
    CNetEngineEx engine;
    engine.Connect(kHost, Port(server.Port()));
    ASSERT_TRUE(WaitFor([&] { return link.Pushed() == 1; }, 5000));
    EXPECT_EQ(engine.IsAlive(), 0);
    EXPECT_EQ(link.pushed[0], "<good/>");
    engine.SetAlive();
    EXPECT_EQ(engine.IsAlive(), 1);
}

TEST_F(LobbyEngineTest, LossesClearAlive) {
    RefusingPort refusing;
    {
        CNetEngineEx refused;
        refused.Connect(kHost, Port(refusing.Port()));
        EXPECT_TRUE(WaitFor([&] { return refused.IsAlive() == 0; }, 5000));
    }
    LoopbackServer server([](Connection& c) { c.Close(); });
    CNetEngineEx closed;
    closed.Connect(kHost, Port(server.Port()));
    EXPECT_TRUE(WaitFor([&] { return closed.IsAlive() == 0; }, 5000)) << "a close by the server is a loss";
    for (int code : {0, 10054, -1}) {
        CNetEngineEx e;
        e.OnError(code);
        EXPECT_EQ(e.IsAlive(), 0) << code;
    }
}

TEST_F(LobbyEngineTest, ConnectRecordsHostAndPort) {
    RefusingPort refusing;
    CNetEngineEx engine;
    engine.Connect(kHost, Port(refusing.Port()));
    EXPECT_EQ(engine.GetHost(), kHost);
    EXPECT_EQ(engine.GetPortText(), std::to_string(refusing.Port()));
}

TEST_F(LobbyEngineTest, SendFollowsTheTranslateFlag) {
    FrameSink sink;
    LoopbackServer server(sink.Handler());
    CNetEngineEx engine;
    engine.Connect(kHost, Port(server.Port()));
    const char* doc = "<GameMessage/>";
    engine.Send(doc, static_cast<int>(strlen(doc)));  // text
    link.translate = true;
    engine.Send(doc, 3);              // binary; the length is not used
    engine.Send("MAC=00-11-22", 12);  // not a document: not sent at all
    engine.Send("<unknown/>", 10);    // no encoding: not sent either
    engine.Send(nullptr, 5);
    engine.SendTranslated(doc, 0);
    link.translate = false;
    engine.SendTranslated(doc, static_cast<int>(strlen(doc)));  // flag clear: as Send
    engine.Send(nullptr, 5);
    engine.Send(doc, -1);
    ASSERT_TRUE(WaitFor([&] { return sink.Count() == 4; }, 5000));
    Sleep(100);
    auto f = sink.Frames();
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0].kind, 1);
    EXPECT_EQ(f[0].payload, doc);
    EXPECT_EQ(f[1].kind, 0);
    EXPECT_EQ(f[1].payload, std::string("\x01\x07\x01") + doc);
    EXPECT_EQ(f[2].kind, 0);
    EXPECT_EQ(f[2].payload, std::string("\x01\x07\x01") + doc);
    EXPECT_EQ(f[3].kind, 1);
    EXPECT_EQ(f[3].payload, doc);
}

TEST_F(LobbyEngineTest, WithoutALinkTextsGoOutAsTextAndArrivalsAreDropped) {
    CLobbyEngine::SetLink(nullptr);
    FrameSink sink;
    LoopbackServer server([&](Connection& c) {
        c.SendFrame(1, "<x/>");
        sink.Handler()(c);
    });
    CNetEngineEx engine;
    engine.Connect(kHost, Port(server.Port()));
    engine.Send("<y/>", 4);
    ASSERT_TRUE(WaitFor([&] { return sink.Count() == 1; }, 5000));
    EXPECT_EQ(sink.Frames()[0].kind, 1);
    EXPECT_EQ(engine.IsAlive(), 1);
}

}  // namespace

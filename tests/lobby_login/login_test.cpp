// The login step against a fake lobby server of ours on 127.0.0.1: Login,
// LoginKey, the ticket, the verdict; failures, a too-old client, a silent
// server with its time-outs, probing first, and replies that are not the
// login's staying queued in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/startup/NLogin.h"
#include "tests/lobby_login/LoginTestSupport.h"

using namespace testsupport;

namespace {

// The digest of "secret" as the login dialog stores it, the server's key and
// the ticket they make (worked out apart from the code under test).
const char kStoredDigest[] = "DBAB93EC051ED01C20B7797AFD19CC7B";
const char kKey[] = "KEY42";
const char kTicket[] = "fa9193b62f9b192df01be030f73490f3";

const std::string kSuccess =
    LobbyReply("LoginSuccess",
               "<p a=\"player\" b=\"250.00\" c=\"True\" d=\"False\" e=\"s5\" f=\"小明\" g=\"17\" h=\"t8\" i=\"t9\"/>");

using Script = LoginScript;

std::unique_ptr<LoopbackServer> LobbyServer(Script script) { return StartFakeLobby(std::move(script)); }

Script Verdict(const std::string& reply) { return testsupport::LoginVerdict(kKey, kTicket, reply); }

class LoginTest : public ::testing::Test {
protected:
    Scratch scratch;
    MessageSink sink;
    CLobbyData& hub = GetLobbyData();

    void SetUp() override { PrepareHub(scratch, -1, 300, 3000, 0); }
    void TearDown() override { hub.Shutdown(); }

    // serveraddr.ini with the ports (as comports) and the chosen entry on
    // chosenPort; the hub initialised as the engine step does.
    void Configure(unsigned short chosenPort, const std::vector<unsigned short>& listed) {
        std::vector<std::string> sections;
        for (size_t i = 0; i < listed.size(); ++i)
            sections.push_back(ServerSection(static_cast<int>(i) + 1, "127.0.0.1", listed[i], 1));
        scratch.Write("serveraddr.ini", ServerAddrIni(static_cast<int>(listed.size()), sections));
        scratch.Write("updater.ini", UpdaterIni("127.0.0.1", 1, chosenPort));
        hub.storedDigest = kStoredDigest;
        hub.SetServerConfigLoader([] { return GetServerConfig().Load(); });
        ASSERT_EQ(hub.Init(1), 1);  // the time values from their texts
    }
    void SetTime(int index, int value) { hub.timeText[index] = std::to_string(value); }
    // A server that refuses the first login and accepts every later one,
    // configured as the chosen one; logins counts them.
    std::unique_ptr<LoopbackServer> RefusingTheFirstLogin(std::atomic<int>& logins) {
        auto server = LobbyServer([&logins](Connection& c, const std::string& login) {
            Verdict(++logins == 1 ? LobbyReply("LoginFailed", "<p a=\"密码错误\"/>") : kSuccess)(c, login);
        });
        Configure(server->Port(), {server->Port()});
        return server;
    }

    // Runs a login to its end; the final state.
    int RunLogin(CNLogin& login, int mode, int timeoutMs = 10000) {
        EXPECT_EQ(login.Start(mode), 1);
        EXPECT_TRUE(WaitFor([&] { return !login.IsRunning(); }, timeoutMs)) << "still running";
        return login.GetState();
    }
};

TEST_F(LoginTest, FullLoginSendsTicketAndMacAndCopiesTheReply) {
    std::atomic<bool> sawLogin{false};
    auto server = LobbyServer([&](Connection& c, const std::string& login) {
        sawLogin = login.find("name=\"Login\"") != std::string::npos &&
                   login.find("id=\"player\" version=\"2.0.1\" gamename=\"FENLO\"") != std::string::npos;
        Verdict(kSuccess)(c, login);
    });
    Configure(server->Port(), {server->Port()});
    CNLogin login;
    EXPECT_EQ(login.GetState(), CNLogin::kStateCreated);
    EXPECT_STREQ(login.GetStatusText(), "请登录");
    login.SetNotifyWindow(sink.Handle());
    EXPECT_EQ(RunLogin(login, 1), CNLogin::kStateLoggedIn);

    EXPECT_TRUE(sawLogin);
    EXPECT_EQ(hub.ticket, kTicket);
    EXPECT_EQ(hub.moneyText, "250.00");
    EXPECT_EQ(hub.nickname, "小明");
    EXPECT_EQ(hub.loginNumber, 17);
    EXPECT_EQ(hub.loginText8, "t8");
    EXPECT_EQ(hub.locked, 0);
    EXPECT_EQ(hub.loginRun, 1);
    ASSERT_TRUE(WaitFor([&] { return server->Received(0).find("MAC=") != std::string::npos; }, 2000));
    const std::string received = server->Received(0);
    const std::string mac = received.substr(received.find("MAC="));
    EXPECT_EQ(std::count(mac.begin(), mac.end(), '-'), 5) << mac;
    EXPECT_EQ(received[received.find("MAC=") - 1], 1) << "sent as a text frame";
    ASSERT_TRUE(sink.WaitFor(kMsgLoginStatus, 2, 2000));
    EXPECT_EQ(sink.StatusLines(), (std::vector<std::string>{"通信中。。。", "正在验证身份。。。"}));
    EXPECT_NE(hub.GetNetEngine(), nullptr);
    EXPECT_EQ(hub.GetNetEngine()->GetConnState(), CThreadEngine::kStateConnected) << "left connected";
}

TEST_F(LoginTest, RefusalsEndTheRunWithTheirTexts) {
    struct Case {
        std::string verdict;
        std::string posted;
    };
    const Case cases[] = {
        {LobbyReply("LoginFailed", "<p a=\"密码错误\"/>"), "密码错误，请重新登录！"},
        {LobbyReply("LoginSuccess", "<p a=\"u\" b=\"1\" c=\"x\" d=\"True\" e=\"\" f=\"n\" g=\"1\" h=\"\" i=\"\"/>"),
         "登录失败，用户帐户已经被锁定。"},
    };
    for (const Case& c : cases) {
        auto server = LobbyServer(Verdict(c.verdict));
        Configure(server->Port(), {server->Port()});
        MessageSink window;
        CNLogin login;
        login.SetNotifyWindow(window.Handle());
        EXPECT_EQ(RunLogin(login, 0), CNLogin::kStateFailed) << c.posted;
        ASSERT_TRUE(window.WaitFor(kMsgLoginStatus, 3, 2000));
        EXPECT_EQ(window.StatusLines().back(), c.posted);
    }
}

// The login dialog keeps one step: a login typed again right after a refusal
// runs afresh, never showing the refusal it follows.
TEST_F(LoginTest, ALoginStartedAgainAfterARefusalBeginsAfresh) {
    std::atomic<int> logins{0};
    auto server = RefusingTheFirstLogin(logins);
    CNLogin login;
    ASSERT_EQ(login.Start(0), 1);
    ASSERT_TRUE(WaitFor([&] { return LoginVerdictOf(login.GetState()) == LoginVerdict::kFailed; }, 10000));
    ASSERT_EQ(login.Start(0), 1) << "the refused run is ending: a new one starts";
    std::string seen;
    EXPECT_TRUE(WaitFor([&] {
        const int state = login.GetState();
        const std::string status = login.GetStatusText();
        if (LoginVerdictOf(state) == LoginVerdict::kFailed || status.find("密码错误") != std::string::npos)
            seen = status;
        return state == CNLogin::kStateLoggedIn;
    }, 10000)) << login.GetState();
    EXPECT_EQ(seen, "") << "the refusal showed again";
    EXPECT_EQ(logins, 2);
}

// Holds runs on the step's seam, each hold once, where its condition first
// holds, until released (or a deadline passes, so that a fault fails, not
// hangs), and logs what each run's thread passed. The state lives as long as
// the seam, which the step keeps; the holds are released when this goes.
class RunHolds {
public:
    struct Hold {
        std::function<bool(int)> where;
        std::atomic<bool> reached{false}, released{false};
        std::atomic<DWORD> thread{0};
        bool Reached() { return WaitFor([&] { return reached.load(); }, 10000); }
        void Release() { released = true; }
    };
    explicit RunHolds(CNLogin& login) {
        login.SetWriteSeam([state = state_](int what) { state->Pass(what); });
    }
    ~RunHolds() { state_->ReleaseAll(); }
    // Added before the runs it is for start.
    Hold& Add(std::function<bool(int)> where) {
        std::lock_guard<std::mutex> g(state_->mutex);
        state_->holds.push_back(std::make_unique<Hold>());
        state_->holds.back()->where = std::move(where);
        return *state_->holds.back();
    }
    // What the thread passed the seam with, in order.
    std::vector<int> PassedBy(DWORD thread) {
        std::lock_guard<std::mutex> g(state_->mutex);
        std::vector<int> passed;
        for (const auto& p : state_->log)
            if (p.first == thread) passed.push_back(p.second);
        return passed;
    }
    // The thread that passed with what first; 0 when none.
    DWORD FirstWith(int what) {
        std::lock_guard<std::mutex> g(state_->mutex);
        for (const auto& p : state_->log)
            if (p.second == what) return p.first;
        return 0;
    }

private:
    struct State {
        std::mutex mutex;
        std::vector<std::unique_ptr<Hold>> holds;
        std::vector<std::pair<DWORD, int>> log;
        void Pass(int what) {
            Hold* held = nullptr;
            {
                std::lock_guard<std::mutex> g(mutex);
                log.emplace_back(GetCurrentThreadId(), what);
                for (auto& h : holds)
                    if (!h->reached && h->where(what)) {
                        held = h.get();
                        held->thread = GetCurrentThreadId();
                        held->reached = true;
                        break;
                    }
            }
            if (held) WaitFor([&] { return held->released.load(); }, 10000);
        }
        void ReleaseAll() {
            std::lock_guard<std::mutex> g(mutex);
            for (auto& h : holds) h->released = true;
        }
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// A login started again while the run before it has told its end but not yet
// returned starts at once: the new run's thread waits for the old one, what
// the old one still does is dropped, and its engine goes with it, so that its
// login's late refusal, already queued, is never read as the new one's.
TEST_F(LoginTest, ARetryNeverWaitsForTheRunBeforeIt) {
    std::atomic<int> logins{0};
    std::atomic<bool> refuseTheFirst{false};
    auto server = LobbyServer([&](Connection& c, const std::string& login) {
        if (++logins > 1) return Verdict(kSuccess)(c, login);
        if (WaitFor([&] { return refuseTheFirst.load(); }, 10000))
            c.SendFrame(1, LobbyReply("LoginFailed", "<p a=\"too late\"/>"));
    });
    Configure(server->Port(), {server->Port()});
    CNLogin login;
    login.SetNotifyWindow(sink.Handle());
    RunHolds holds(login);
    // Held as it tells its end, before its status text and its post.
    RunHolds::Hold& ending = holds.Add([&](int) { return login.GetState() == CNLogin::kStateNewerClient; });
    ASSERT_EQ(login.Start(0), 1);
    ASSERT_TRUE(WaitFor([&] { return login.GetState() == CNLogin::kStateWaiting; }, 5000));
    login.SetState(CNLogin::kStateNewerClient);  // the verdict; the run acts on it on its next turn
    ASSERT_TRUE(ending.Reached());
    const int generation = hub.EngineGeneration();
    refuseTheFirst = true;
    ASSERT_TRUE(WaitFor([&] {
        LobbyLockGuard guard(hub.lobbyLock);
        return hub.QueuedCount() > 0;
    }, 5000)) << "the first login's refusal arrived";
    std::atomic<int> started{-1};
    std::thread retry([&] { started = login.Start(0); });
    EXPECT_TRUE(WaitFor([&] { return started >= 0; }, 3000)) << "the retry waited for the ending run";
    ending.Release();
    retry.join();
    EXPECT_EQ(started, 1);
    EXPECT_TRUE(WaitFor([&] {
        const auto verdict = LoginVerdictOf(login.GetState());
        return verdict == ::LoginVerdict::kLoggedIn || verdict == ::LoginVerdict::kFailed;
    }, 10000));
    EXPECT_EQ(login.GetState(), CNLogin::kStateLoggedIn) << login.GetStatusText();
    EXPECT_EQ(logins, 2);
    EXPECT_GT(hub.EngineGeneration(), generation) << "the retry connected on the ended run's engine";
    for (const MessageSink::Posted& p : sink.Messages()) EXPECT_NE(p.message, kMsgNewerClient) << "the old run's";
}

// The refused run's last write (the failed state) held until the retry has
// started lands nowhere: the retry is never read as failed and logs in.
TEST_F(LoginTest, TheRefusedRunsLastStateNeverLandsOnTheRetry) {
    std::atomic<int> logins{0};
    auto server = RefusingTheFirstLogin(logins);
    CNLogin login;
    RunHolds holds(login);
    RunHolds::Hold& refused = holds.Add([](int what) { return what == CNLogin::kStateFailed; });
    ASSERT_EQ(login.Start(0), 1);
    ASSERT_TRUE(refused.Reached());
    ASSERT_EQ(login.Start(0), 1);
    refused.Release();
    bool failed = false;
    EXPECT_TRUE(WaitFor([&] {
        const int state = login.GetState();
        failed = failed || LoginVerdictOf(state) == LoginVerdict::kFailed;
        return state == CNLogin::kStateLoggedIn;
    }, 10000)) << login.GetState();
    EXPECT_FALSE(failed);
}

// Three runs in a row, the third started while the second is held in its
// opening wait for the first: each run has its own stop event, the second,
// superseded, sends nothing, and the newest logs in.
TEST_F(LoginTest, AThirdStartWhileTheSecondWaitsForTheFirstHangsNothing) {
    std::atomic<int> logins{0};
    auto server = RefusingTheFirstLogin(logins);
    auto login = std::make_unique<CNLogin>();
    RunHolds holds(*login);
    RunHolds::Hold& refused = holds.Add([](int what) { return what == CNLogin::kStateFailed; });
    RunHolds::Hold& waiting =
        holds.Add([&](int what) { return what == CNLogin::kSeamOpeningWait && refused.reached; });
    ASSERT_EQ(login->Start(0), 1);
    ASSERT_TRUE(refused.Reached());
    ASSERT_EQ(login->Start(0), 1);
    ASSERT_TRUE(waiting.Reached());
    login->SetState(CNLogin::kStateFailed);  // the second run read as ended
    ASSERT_EQ(login->Start(0), 1);
    waiting.Release();
    refused.Release();
    if (!WaitFor([&] { return !login->IsRunning(); }, 10000)) {
        (void)login.release();  // its destructor would wait for ever
        FAIL() << "the runs wait for each other";
    }
    EXPECT_EQ(login->GetState(), CNLogin::kStateLoggedIn);
    EXPECT_EQ(logins, 2);
    EXPECT_EQ(holds.PassedBy(waiting.thread), std::vector<int>{CNLogin::kSeamOpeningWait})
        << "the second run, started again while it waited, wrote or sent something";
    const DWORD loggedIn = holds.FirstWith(CNLogin::kStateLoggedIn);
    EXPECT_NE(loggedIn, 0u);
    EXPECT_NE(loggedIn, waiting.thread) << "the second run logged in, not the newest";
    EXPECT_NE(loggedIn, refused.thread);
}

TEST_F(LoginTest, TooOldClientAsksForTheUpdaterAndStaysSo) {
    auto server = LobbyServer([](Connection& c, const std::string&) {
        c.SendFrame(1, LobbyReply("LowClientVersion", ""));
        c.SendFrame(1, LobbyReply("LoginFailed", "<p a=\"later\"/>"));
    });
    Configure(server->Port(), {server->Port()});
    CNLogin login;
    login.SetNotifyWindow(sink.Handle());
    EXPECT_EQ(RunLogin(login, 1), CNLogin::kStateNewerClient) << "a later refusal does not hide it";
    ASSERT_TRUE(sink.WaitFor(kMsgNewerClient, 1, 2000));
    for (const MessageSink::Posted& p : sink.Messages()) {
        if (p.message == kMsgNewerClient) {
            EXPECT_EQ(p.wParam, 1u);
        }
    }
    EXPECT_STREQ(login.GetStatusText(), "发现最新版本");

    login.SetState(CNLogin::kStateFailed);
    EXPECT_EQ(login.GetState(), CNLogin::kStateNewerClient);
    login.SetState(13);
    EXPECT_EQ(login.GetState(), CNLogin::kStateNewerClient) << "above 12: ignored";
    login.SetState(CNLogin::kStateStopped);
    EXPECT_EQ(login.GetState(), CNLogin::kStateStopped);
}

TEST_F(LoginTest, SilentServerTimesOutProbesOnceAndFails) {
    SetTime(2, 400);  // time3: the wait for the verdict
    std::atomic<int> logins{0};
    auto server = LobbyServer([&](Connection&, const std::string&) { ++logins; });  // never answers
    Configure(server->Port(), {server->Port()});
    CNLogin login;
    login.SetNotifyWindow(sink.Handle());
    const unsigned long long start = NowMs();
    EXPECT_EQ(RunLogin(login, 1), CNLogin::kStateFailed);
    EXPECT_GE(NowMs() - start, 800u) << "time3 twice";
    EXPECT_EQ(logins, 2) << "one more attempt after the probing";
    EXPECT_TRUE(WaitFor([&] { return server->Accepted() == 3; }, 5000)) << "login, probe, login";
    EXPECT_EQ(sink.StatusLines().back(), "连接服务器失败！");
}

TEST_F(LoginTest, Time4ProbesFirstThenLogsInToTheFastestAndClearsTime4) {
    SetTime(3, 1);
    auto fast = LobbyServer(Verdict(kSuccess));
    RefusingPort dead;
    Configure(dead.Port(), {fast->Port()});
    CNLogin login;
    login.SetNotifyWindow(sink.Handle());
    EXPECT_EQ(RunLogin(login, 1), CNLogin::kStateLoggedIn);
    EXPECT_TRUE(WaitFor([&] { return fast->Accepted() == 2; }, 5000)) << "probe, then login";
    EXPECT_EQ(hub.timeValue[3], 0);
    EXPECT_EQ(hub.timeText[3], "0");
    EXPECT_EQ(scratch.ReadIni("config.ini", "SYSTEM", "time4"), "0");
    EXPECT_NE(scratch.ReadIni("updater.ini", "system", "system").find(std::to_string(fast->Port())), std::string::npos);
    EXPECT_EQ(sink.StatusLines().front(), "正在选择服务器。。。");
}

TEST_F(LoginTest, OtherRepliesStayQueuedInTheirOrder) {
    const std::string notices[3] = {
        LobbyReply("Notice", "<p a=\"MQ==\" b=\"1\"/>"),  // texts "1", "2", "3"
        LobbyReply("Notice", "<p a=\"Mg==\" b=\"1\"/>"),
        LobbyReply("Notice", "<p a=\"Mw==\" b=\"1\"/>"),
    };
    auto server = LobbyServer([&](Connection& c, const std::string&) {
        c.Send(Frame(1, LobbyReply("LoginKey", std::string("<p a=\"x\" b=\"") + kKey + "\"/>")) + Frame(1, notices[0]) +
               Frame(1, LobbyReply("PlayerCount", "<r a=\"101\" b=\"3\"/>")) + Frame(1, notices[1]) +
               Frame(1, notices[2]));
        int kind;
        std::string validate;
        if (!c.ReadFrame(kind, validate, 5000)) return;
        c.Pause(40);  // many passes of the login loop meanwhile
        c.SendFrame(1, kSuccess);
    });
    Configure(server->Port(), {server->Port()});
    CNLogin login;  // no notify window: nothing is posted
    EXPECT_EQ(RunLogin(login, 0), CNLogin::kStateLoggedIn);
    std::vector<std::string> order;
    for (size_t n = hub.QueuedCount(); n > 0; --n) {
        std::unique_ptr<CMessage> m(hub.PopMessage());
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->kind, kMsgNotice) << "login replies are taken, PlayerCount dropped";
        order.push_back(static_cast<CNoticeMsg&>(*m).text);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(LoginTest, StopEndsARunningLoginAndStatusLineAnimates) {
    auto server = LobbyServer([](Connection&, const std::string&) {});
    Configure(server->Port(), {server->Port()});
    {
        CNLogin login;
        ASSERT_EQ(login.Start(0), 1);
        ASSERT_TRUE(WaitFor([&] { return login.GetState() == CNLogin::kStateWaiting; }, 5000));
        EXPECT_EQ(login.Start(0), 1) << "a second Start while running does nothing";
        // Draw adds a dot at most every 50 ms while waiting.
        login.SetStatusText("通信中");
        Sleep(60);
        login.Draw(nullptr, 0, 0);
        login.Draw(nullptr, 0, 0);
        EXPECT_STREQ(login.GetStatusText(), "通信中.");
        for (int i = 0; i < 20; ++i) {
            Sleep(55);
            login.Draw(nullptr, 0, 0);
        }
        EXPECT_LE(strlen(login.GetStatusText()), 24u);
        login.SetState(CNLogin::kStateStopped);
        EXPECT_TRUE(WaitFor([&] { return !login.IsRunning(); }, 1000));
        ASSERT_EQ(login.Start(0), 1) << "a new run after the last ended";
        ASSERT_TRUE(WaitFor([&] { return login.GetState() == CNLogin::kStateWaiting; }, 5000));
    }  // deleted while running: stopped and waited for
    // The server may accept after the client's connect completed.
    EXPECT_TRUE(WaitFor([&] { return server->Accepted() == 2; }, 5000)) << server->Accepted();
}

TEST(MacAddress, LowerCaseHexWithoutPaddingOrSeparatorsAlone) {
    const unsigned char node[6] = {0x00, 0x0a, 0xab, 0x01, 0x20, 0xff};
    EXPECT_EQ(FormatMacText(node, true), "0-a-ab-1-20-ff");
    EXPECT_EQ(FormatMacText(node, false), "-----");
}

}  // namespace

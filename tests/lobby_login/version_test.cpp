// The version-check step against an update server of ours on 127.0.0.1, with
// the lobby servers probed when it asks for that or cannot reach the server.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "lobby/net/startup/LoaderUpter.h"
#include "tests/lobby_login/LoginTestSupport.h"

using namespace testsupport;

namespace {

const char kNewer[] = "<FileDataSet><Files/><File>2.0.2</File></FileDataSet>";
const char kLatest[] = "<FileDataSet><Files/><File/></FileDataSet>";

class Results : public CLoadingBase {
public:
    int OnStepDone(CLoaderBase*, int result) override {
        std::lock_guard<std::mutex> g(mutex);
        results.push_back(result);
        return result;
    }
    void OnAllDone() override {}
    std::vector<int> Get() {
        std::lock_guard<std::mutex> g(mutex);
        return results;
    }
    std::mutex mutex;
    std::vector<int> results;
};

std::unique_ptr<LoopbackServer> UpdateServer(const std::string& answer) {
    return std::make_unique<LoopbackServer>([answer](Connection& c) {
        int kind;
        std::string request;
        if (c.ReadFrame(kind, request, 5000) && request.find("FENLO") != std::string::npos) c.SendFrame(1, answer);
        c.WaitClosed(10000);
    });
}

class VersionTest : public ::testing::Test {
protected:
    Scratch scratch;
    Results results;
    CLobbyData& hub = GetLobbyData();

    void SetUp() override { PrepareHub(scratch, -1, 500, 3000, 0); }

    // One lobby server to probe (answering at probeComport) whose update
    // server listens on updatePort; the chosen entry names chosenPort.
    void Configure(const std::string& time4, unsigned short probeComport, unsigned short updatePort,
                   unsigned short chosenPort) {
        hub.timeText[3] = time4;
        scratch.Write("serveraddr.ini", ServerAddrIni(1, {ServerSection(1, "127.0.0.1", probeComport, 1, updatePort)}));
        scratch.Write("updater.ini", UpdaterIni("127.0.0.1", chosenPort, 9));
        ASSERT_TRUE(GetServerConfig().Load());
    }

    // The step's one report, or -1.
    int RunStep(CLoaderUpter& step) {
        step.SetObserver(&results);
        EXPECT_EQ(step.Start(), 1);
        EXPECT_TRUE(WaitFor([&] { return !results.Get().empty(); }, 8000));
        EXPECT_TRUE(WaitFor([&] { return !step.IsRunning(); }, 2000));
        EXPECT_EQ(step.GetState(), 1) << "finished";
        const std::vector<int> got = results.Get();
        EXPECT_EQ(got.size(), 1u);
        return got.empty() ? -1 : got[0];
    }
};

TEST_F(VersionTest, UpdateServerAnswersNewerOrLatest) {
    struct Case {
        const char* time4;
        const char* answer;
        int flag;
        const char* status;
    };
    const Case cases[] = {
        {"0", kNewer, 1, "发现最新版本"},
        {"0", kLatest, 0, "已经是最新版本"},
        {"2", kLatest, 0, "已经是最新版本"},  // neither 0 nor 1: as 0
    };
    for (const Case& c : cases) {
        auto update = UpdateServer(c.answer);
        auto probe = StartProbeServer(0);
        Configure(c.time4, probe->Port(), 1, update->Port());
        results.results.clear();
        CLoaderUpter step;
        EXPECT_EQ(RunStep(step), 1) << c.answer;
        EXPECT_EQ(step.GetNewVersionFlag(), c.flag);
        EXPECT_STREQ(step.GetStatusText(), c.status);
        EXPECT_EQ(probe->Accepted(), 0) << "no probing";
    }
}

TEST_F(VersionTest, Time4ProbesFirstThenAsksTheChosenServer) {
    auto update = UpdateServer(kLatest);
    auto probe = StartProbeServer(0);
    RefusingPort dead;
    Configure("1", probe->Port(), update->Port(), dead.Port());
    CLoaderUpter step;
    EXPECT_EQ(RunStep(step), 1);
    EXPECT_TRUE(WaitFor([&] { return probe->Accepted() == 1; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return update->Accepted() == 1; }, 5000));
    EXPECT_EQ(hub.timeText[3], "0");
    EXPECT_EQ(scratch.ReadIni("config.ini", "SYSTEM", "time4"), "0");
}

TEST_F(VersionTest, UnreachableServerProbesOnceAndTriesTheNewChoice) {
    auto update = UpdateServer(kNewer);
    auto probe = StartProbeServer(0);
    RefusingPort dead;
    Configure("0", probe->Port(), update->Port(), dead.Port());
    CLoaderUpter reached;
    EXPECT_EQ(RunStep(reached), 1);
    EXPECT_EQ(reached.GetNewVersionFlag(), 1);
    EXPECT_TRUE(WaitFor([&] { return probe->Accepted() == 1; }, 5000));

    // The probing chooses a server whose update server is dead too.
    Configure("0", probe->Port(), dead.Port(), dead.Port());
    results.results.clear();
    CLoaderUpter failed;
    EXPECT_EQ(RunStep(failed), 0);
    EXPECT_STREQ(failed.GetStatusText(), "通信失败");
    // The probe server may count its accept after the step has already failed.
    EXPECT_TRUE(WaitFor([&] { return probe->Accepted() == 2; }, 5000)) << probe->Accepted();
}

TEST_F(VersionTest, SilentUpdateServerTimesOutAfterTime2) {
    LoopbackServer silent([](Connection& c) { c.WaitClosed(10000); });
    auto probe = StartProbeServer(0);
    Configure("0", probe->Port(), silent.Port(), silent.Port());
    CLoaderUpter step;
    const unsigned long long start = NowMs();
    EXPECT_EQ(RunStep(step), 0);
    EXPECT_GE(NowMs() - start, 900u) << "time2 before the probing and again after it";
    EXPECT_EQ(silent.Accepted(), 2);
}

// Past its time the owner's tick ends the step: one failure is reported, and
// the run, which sees the step finished, reports nothing more.
TEST_F(VersionTest, TheTicksTimeLimitEndsTheStepWithOneReport) {
    LoopbackServer silent([](Connection& c) { c.WaitClosed(10000); });
    auto probe = StartProbeServer(0);
    Configure("0", probe->Port(), silent.Port(), silent.Port());
    hub.timeText[1] = "60000";  // the step's own wait for an answer (time2) outlasts the test
    CLoaderUpter step(300);
    step.SetObserver(&results);
    ASSERT_EQ(step.Start(), 1);
    ASSERT_TRUE(WaitFor([&] {
        step.Tick(kLoadingTimerId, nullptr);
        return !results.Get().empty();
    }, 5000));
    for (int i = 0; i < 5; ++i) step.Tick(kLoadingTimerId, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !step.IsRunning(); }, 5000));
    EXPECT_EQ(results.Get(), std::vector<int>{0});
    EXPECT_EQ(step.GetState(), 1) << "finished";
}

}  // namespace

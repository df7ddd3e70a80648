// Worker threads, the step base and the lobby's start-up sequence: a real
// engine step against real ini files and a notice page served over HTTP on
// 127.0.0.1, with the outcome posted to a real window.
#include <gtest/gtest.h>

#include <atomic>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/startup/Loading.h"
#include "platform/Dialog.h"
#include "tests/lobby_login/LoginTestSupport.h"
#include "tests/support/HttpResponder.h"

using namespace testsupport;

namespace {

class SleepyThread : public CJetThread {
public:
    explicit SleepyThread(std::atomic<int>& ended) : ended_(ended) {}
    ~SleepyThread() override { Join(); }
    int Run() override {
        Sleep(150);
        // The first run to get here waits for the other one, not for itself.
        if (joinFromRun.exchange(false)) Join();
        ++ended_;
        return 0;
    }
    std::atomic<bool> joinFromRun{false};

private:
    std::atomic<int>& ended_;
};

TEST(JetThread, EveryStartRunsAndTheOwnerWaitsForAllOfThem) {
    std::atomic<int> ended{0};
    {
        SleepyThread thread(ended);
        thread.joinFromRun = true;
        ASSERT_TRUE(thread.Start());
        ASSERT_TRUE(thread.Start());
        EXPECT_TRUE(thread.IsRunning());
    }  // the destructor joins: both runs ended before the object went
    EXPECT_EQ(ended, 2);
}

// Counts the reports it gets.
class CountingSequence : public CLoadingBase {
public:
    std::atomic<int> reports{0};
    int OnStepDone(CLoaderBase*, int result) override {
        ++reports;
        return result;
    }
    void OnAllDone() override {}
};

class SlowStep : public CLoaderBase {
public:
    ~SlowStep() override { Join(); }
    int Run() override {
        Sleep(400);
        return 0;
    }
    void Tick(unsigned, void*) override { TimedTick(100); }
};

TEST(LoaderBase, LateStepIsReportedOnceAndStatusDotsWrap) {
    CountingSequence sequence;
    SlowStep step;
    step.SetObserver(&sequence);
    step.Tick(kLoadingTimerId, nullptr);
    EXPECT_EQ(sequence.reports, 0) << "not started";
    ASSERT_EQ(step.Start(), 1);
    for (int i = 0; i < 30; ++i) {
        step.Tick(kLoadingTimerId, nullptr);
        Sleep(10);
    }
    EXPECT_EQ(sequence.reports, 1) << "the time-out is reported once, not on every tick";
    EXPECT_GE(step.GetProgress(), 3);

    EXPECT_EQ(AddStatusDot("abc"), "abc.");
    const std::string status24(24, 'x');
    EXPECT_EQ(AddStatusDot(status24), status24) << "25 characters: the dots go";
    std::string line = "加载引擎中...";
    while (line.size() < 24) line = AddStatusDot(line);
    EXPECT_EQ(AddStatusDot(line), "加载引擎中") << "the message's own dots go too";
}

// ---- the start-up sequence ---------------------------------------------------------

std::string Utf16Body(const std::wstring& text) {
    std::string body = "\xFF\xFE";
    body.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return body;
}

class SequenceTest : public ::testing::Test {
protected:
    Scratch scratch;
    MessageSink sink;
    CDialog dialog;
    CLobbyData& hub = GetLobbyData();

    void SetUp() override {
        PrepareHub(scratch, -1, 1000, 3000, 0);
        scratch.Write("serveraddr.ini", ServerAddrIni(1, {ServerSection(1, "127.0.0.1", 9, 1)}));
        scratch.Write("updater.ini", UpdaterIni("127.0.0.1", 1, 9));
        dialog.AttachTemporary(sink.Handle());
    }
    void TearDown() override {
        dialog.AttachTemporary(nullptr);
        hub.Shutdown();
    }

    // A notice server answering every request with this response.
    std::unique_ptr<LoopbackServer> NoticeServer(const std::string& response) {
        auto server = std::make_unique<LoopbackServer>([response](Connection& c) {
            std::string head;
            if (ReadHttpRequest(c, head, 5000)) c.Send(response);
            c.WaitClosed(2000);
        });
        hub.notice_url = "http://127.0.0.1:" + std::to_string(server->Port()) + "/notice/today.txt";
        return server;
    }
};

TEST_F(SequenceTest, BothStepsSucceedAndTheNoticeTextArrivesOnce) {
    auto web = NoticeServer(HttpResponse(200, Utf16Body(L"今日公告")));
    const unsigned long long start = NowMs();
    CLoading loading;
    ASSERT_EQ(loading.Attach(&dialog), 1);
    EXPECT_EQ(loading.GetProgressStep(), 50u);
    ASSERT_TRUE(sink.WaitFor(kMsgLoadingDone, 1, 10000));
    EXPECT_GE(NowMs() - start, 1000u) << "300 + 300 + 500 ms of pauses";
    Sleep(200);
    auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, 1u);
    EXPECT_TRUE(messages[0].hasText);
    EXPECT_EQ(messages[0].text, "今日公告");
    EXPECT_STREQ(loading.GetNoticeStep().GetNoticeText(), "今日公告");
    EXPECT_STREQ(loading.GetCurrentStatus(), "客户端初始化完成");
    EXPECT_NE(hub.GetNetEngine(), nullptr);
    EXPECT_EQ(web->Received(0).rfind("GET /notice/today.txt HTTP/1.1\r\n", 0), 0u);
}

// A notice whose body arrives in small pieces, some cutting a character in
// two, is read to its end.
TEST_F(SequenceTest, ANoticeSentInPiecesArrivesWhole) {
    const std::wstring text = L"今日公告：维护时间为凌晨两点至四点，请各位玩家提前下线。";
    const std::string body = Utf16Body(text);
    LoopbackServer web([&](Connection& c) {
        std::string head;
        if (!ReadHttpRequest(c, head, 5000)) return;
        const std::string response = HttpResponse(200, body);
        c.Send(response.substr(0, response.size() - body.size()));
        c.SendInPieces(body, 7, 40);
        c.WaitClosed(2000);
    });
    hub.notice_url = "http://127.0.0.1:" + std::to_string(web.Port()) + "/n";
    CLoading loading;
    loading.Attach(&dialog);
    ASSERT_TRUE(sink.WaitFor(kMsgLoadingDone, 1, 15000));
    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, 1u);
    EXPECT_EQ(messages[0].text, "今日公告：维护时间为凌晨两点至四点，请各位玩家提前下线。");
}

TEST_F(SequenceTest, EngineStepFailureIsPostedAndTheNoticeNeverFetched) {
    auto web = NoticeServer(HttpResponse(200, Utf16Body(L"x")));
    scratch.Write("serveraddr.ini", "[servercount]\r\ncount=0\r\n");
    CLoading loading;
    EXPECT_EQ(loading.Attach(&dialog), 1);
    ASSERT_TRUE(sink.WaitFor(kMsgLoadingDone, 1, 10000));
    Sleep(100);
    auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, 0u);
    EXPECT_EQ(messages[0].text.rfind("加载配置文件出错", 0), 0u);
    EXPECT_EQ(web->Accepted(), 0);
    EXPECT_EQ(hub.GetNetEngine(), nullptr) << "a failed Init deletes the engine";
}

TEST_F(SequenceTest, NoticeThatCannotBeReadStillEndsTheStartUp) {
    struct Case {
        std::string response;
        bool refuse;
        const char* status;
        bool hasText;
    };
    const Case cases[] = {
        {HttpResponse(404, "gone"), false, "读取公告失败,请登陆!", false},
        {"", true, "连接公告服务器失败,请登陆!", false},
        {HttpResponse(200, "\xFF\xFE"), false, "客户端初始化完成", true},  // byte-order mark only
        {HttpResponse(200, "\xFF"), false, "客户端初始化完成", true},
    };
    for (const Case& c : cases) {
        auto web = NoticeServer(c.response);
        RefusingPort refusing;
        if (c.refuse) hub.notice_url = "http://127.0.0.1:" + std::to_string(refusing.Port()) + "/n";
        MessageSink local;
        dialog.AttachTemporary(local.Handle());
        CLoading loading;
        loading.Attach(&dialog);
        ASSERT_TRUE(local.WaitFor(kMsgLoadingDone, 1, 15000)) << c.status;
        Sleep(100);
        auto messages = local.Messages();
        ASSERT_EQ(messages.size(), 1u) << c.status;
        EXPECT_EQ(messages[0].wParam, 1u) << "a notice failure never stops the start-up";
        EXPECT_EQ(messages[0].hasText, c.hasText) << c.status;
        EXPECT_EQ(messages[0].text, "");
        EXPECT_STREQ(loading.GetNoticeStep().GetStatusText(), c.status);
    }
}

// A step's time-out is reported from the owner's timer, on the owner's
// thread: the report's pauses go on elsewhere. The test holds the sequence
// meanwhile, so the report can only have gone on if it left this thread.
TEST_F(SequenceTest, ATimeOutReportedOnTheOwnersThreadLeavesItFree) {
    std::atomic<bool> release{false};
    LoopbackServer silent([&](Connection& c) {
        WaitFor([&] { return release.load(); }, 20000);
        c.Reset();  // the fetch then fails and its own report finds the outcome posted
    });
    hub.notice_url = "http://127.0.0.1:" + std::to_string(silent.Port()) + "/n";
    struct Held : CLoading {
        using CLoadingBase::Lock;
        using CLoadingBase::Unlock;
    };
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    CDialog ownerDialog;
    ownerDialog.AttachTemporary(owner);
    {
        Held loading;
        loading.Attach(&ownerDialog);
        ASSERT_TRUE(WaitFor([&] { return loading.GetCurrentStep() == &loading.GetNoticeStep(); }, 10000));
        ASSERT_TRUE(silent.WaitAccepted(1, 5000));
        MSG msg;
        loading.Lock();
        loading.OnStepDone(&loading.GetNoticeStep(), 0);  // as the notice step's time-out does
        EXPECT_FALSE(PeekMessageA(&msg, owner, kMsgLoadingDone, kMsgLoadingDone, PM_NOREMOVE))
            << "the report waits for the sequence on another thread";
        loading.Unlock();
        ASSERT_TRUE(WaitFor([&] { return PeekMessageA(&msg, owner, kMsgLoadingDone, kMsgLoadingDone, PM_REMOVE) != 0; },
                            10000));
        EXPECT_EQ(msg.wParam, 1u) << "a notice that never came does not stop the start-up";
        release = true;
    }
    ownerDialog.AttachTemporary(nullptr);
    DestroyWindow(owner);
}

TEST_F(SequenceTest, DestroyingTheSequenceWaitsForTheNoticeFetchAndPostsNothing) {
    LoopbackServer web([](Connection& c) {
        std::string head;
        if (!ReadHttpRequest(c, head, 5000)) return;
        c.Pause(800);
        c.Send(HttpResponse(200, Utf16Body(L"late")));
        c.WaitClosed(2000);
    });
    hub.notice_url = "http://127.0.0.1:" + std::to_string(web.Port()) + "/n";
    auto loading = std::make_unique<CLoading>();
    loading->Attach(&dialog);
    ASSERT_TRUE(web.WaitAccepted(1, 5000));
    loading.reset();  // the fetch still runs: its thread is waited for
    Sleep(300);
    EXPECT_EQ(sink.Count(kMsgLoadingDone), 0u) << "nothing is posted once the sequence is gone";
}

}  // namespace

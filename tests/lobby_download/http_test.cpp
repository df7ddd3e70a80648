// CClientSocket (and so CDThread) and HttpDownloader against loopback servers.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "lobby/net/download/ClientSocket.h"
#include "lobby/net/download/HttpDownloader.h"
#include "tests/support/HttpResponder.h"
#include "tests/support/Patience.h"

using namespace testsupport;

namespace {

using Events = std::vector<std::pair<char, int>>;  // L length, P progress, E error, C complete

class Recorder : public HttpDownloader {
public:
    ~Recorder() override { StopWorker(); }
    void OnProgress(int received) override { Add('P', received); }
    void OnError(int code) override { Add('E', code); }
    void OnComplete(void* body) override {
        body_.assign(static_cast<char*>(body), static_cast<size_t>(ContentLength()));
        Add('C', ContentLength());
    }
    void OnContentLength(int length) override { Add('L', length); }
    // Runs one download to its last report.
    Events Get(const std::string& url) {
        Start(url.c_str());
        EXPECT_TRUE(WaitFor([&] { return Ended(); }, 10000)) << url;
        return Reports();
    }
    Events Reports() {
        std::lock_guard<std::mutex> guard(mutex_);
        return events_;
    }
    bool Ended() {
        const Events e = Reports();
        return !e.empty() && (e.back().first == 'C' || e.back().first == 'E');
    }
    std::string body_;

private:
    void Add(char what, int value) {
        std::lock_guard<std::mutex> guard(mutex_);
        events_.push_back({what, value});
    }
    std::mutex mutex_;
    Events events_;
};

std::string HttpUrl(unsigned short port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

// A response head announcing length bytes (none when negative), for bodies that do not match.
std::string HttpHead(int status, int length) {
    return "HTTP/1.1 " + std::to_string(status) + " Status\r\n" +
           (length < 0 ? "" : "Content-Length: " + std::to_string(length) + "\r\n") + "Connection: close\r\n\r\n";
}

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + i * 7 % 26);
    return s;
}

// Answers one request with the head and then the body, in pieces with pauses.
LoopbackServer::Handler Serve(const std::string& head, const std::string& body, size_t piece = 1 << 20, int pauseMs = 0,
                              int stallMs = 0) {
    return [=](Connection& c) {
        std::string request;
        if (!ReadHttpRequest(c, request, 5000)) return;
        c.Send(head);
        c.SendInPieces(body, piece, pauseMs);
        c.Pause(stallMs);
        c.Close();
    };
}

TEST(HttpDownload, ReportsTheLengthEveryReadAndThenTheWholeBody) {
    LoopbackServer server(Serve(HttpHead(200, 20000), Pattern(20000), 5000, 30));
    Recorder d;
    const Events e = d.Get(HttpUrl(server.Port(), "/f.bin"));
    ASSERT_GE(e.size(), 5u);  // the length, at least three reads, the body
    EXPECT_EQ(e.front(), std::make_pair('L', 20000));
    EXPECT_EQ(e.back(), std::make_pair('C', 20000));
    EXPECT_EQ(e[e.size() - 2], std::make_pair('P', 20000));
    for (size_t i = 1, last = 0; i + 1 < e.size(); last = e[i++].second) {
        EXPECT_EQ(e[i].first, 'P');
        EXPECT_GT(e[i].second, static_cast<int>(last));
        EXPECT_LE(e[i].second - static_cast<int>(last), HttpDownloader::kChunkSize);
    }
    EXPECT_EQ(d.body_, Pattern(20000));
    EXPECT_EQ(server.Received(0).rfind("GET /f.bin HTTP/1.1\r\n", 0), 0u);
}

TEST(HttpDownload, AnythingButStatus200WithTheAnnouncedBodyFails) {
    RefusingPort refusing;
    const struct {
        std::string head, body, url;
        Events events;
    } cases[] = {
        {HttpHead(404, 5), "hello", "", {{'E', 1}}},
        {HttpHead(201, 5), "hello", "", {{'E', 1}}},
        {HttpHead(200, -1), "hello", "", {{'E', 1}}},                                  // no Content-Length
        {HttpHead(200, 9000), Pattern(100), "", {{'L', 9000}, {'P', 100}, {'E', 1}}},  // closed early
        {"HTTP/1.1 200 OK\r\nContent-Length: 2147483647\r\n\r\n", "x", "", {{'E', 1}}},  // past the cap: not even told
        {"", "", HttpUrl(refusing.Port(), "/x"), {{'E', 0}}},                          // a failed asynchronous open
        {"", "", "no url at all", {{'E', 1}}},
        {"", "", "ftp://127.0.0.1/x", {{'E', 1}}},
    };
    for (const auto& c : cases) {
        LoopbackServer server(Serve(c.head, c.body));
        Recorder d;
        EXPECT_EQ(d.Get(c.url.empty() ? HttpUrl(server.Port(), "/x") : c.url), c.events) << c.head << c.url;
    }
}

TEST(HttpDownload, ALongerBodyIsCutAtTheAnnouncedLength) {
    LoopbackServer server(Serve(HttpHead(200, 1000), Pattern(30000)));
    Recorder d;
    EXPECT_EQ(d.Get(HttpUrl(server.Port(), "/long")).back(), std::make_pair('C', 1000));
    EXPECT_EQ(d.body_, Pattern(1000));
}

TEST(HttpDownload, CancelWhileTheServerStallsAborts) {
    LoopbackServer server(Serve(HttpHead(200, 50000), Pattern(9000), 9000, 0, 20000));
    Recorder d;
    d.Start(HttpUrl(server.Port(), "/stall").c_str());
    ASSERT_TRUE(WaitFor([&] { return d.Reports().size() >= 2; }, 10000));
    const unsigned long long start = NowMs();
    d.Cancel();
    ASSERT_TRUE(WaitFor([&] { return d.Ended(); }, 5000));
    EXPECT_EQ(d.Reports().back(), std::make_pair('E', 0));
    server.Stop();
    EXPECT_LT(NowMs() - start, static_cast<unsigned>(Patience(5000)));
}

class Probe : public CClientSocket {
public:
    ~Probe() override {
        Stop();
        WaitStopped();
    }
    void OnReceive(const char* data, int length) override { received.append(data, static_cast<size_t>(length)); }
    void OnClose(int reason) override { closed = reason; }
    std::string received;
    std::atomic<int> closed{-1};
};

TEST(ClientSocket, PollsOnItsThreadUntilThePeerCloses) {
    LoopbackServer server([](Connection& c) {
        std::string got;
        if (c.ReadExact(4, got, 5000)) c.SendInPieces("hello world", 4, 30);
        c.Close();
    });
    Probe s;
    EXPECT_EQ(s.Send("x", 1), -1);
    ASSERT_EQ(s.Create(), 1);
    EXPECT_EQ(s.Connect("localhost", server.Port()), 0) << "dotted addresses only";
    ASSERT_EQ(s.Connect("127.0.0.1", server.Port()), 1);
    ASSERT_EQ(s.Start(10), 1);
    EXPECT_EQ(s.Start(10), 0) << "running already";
    EXPECT_EQ(s.Send("ping", 4), 4);
    ASSERT_TRUE(WaitFor([&] { return s.closed != -1; }, 5000));
    EXPECT_EQ(s.closed, CClientSocket::kPeerClosed);
    EXPECT_EQ(s.received, "hello world");
    EXPECT_EQ(s.IsConnected(), 0);
    EXPECT_EQ(s.Send("x", 1), -1);
    EXPECT_TRUE(WaitFor([&] { return s.Start(10) == 1; }, 5000)) << "a stopped thread may start anew";
}

}  // namespace

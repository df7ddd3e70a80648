// Round trips per second and throughput over loopback: through the network
// engine, and through a plain blocking Winsock client doing the same exchange
// against the same server in the same run.
//   bench_lobby_net.exe [round-trips] [megabytes]
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "lobby/net/engine/ThreadEngine.h"
#include "tests/support/LoopbackServer.h"

using namespace testsupport;

namespace {

const size_t kChunk = 64 * 1024;

// The server: "echo" frames come back; "up N" is followed by N bytes of frames
// and answered with "done"; "down N" is answered with N bytes of frames.
void Serve(Connection& c) {
    int kind;
    std::string payload;
    while (c.ReadFrame(kind, payload, 60000)) {
        if (payload.compare(0, 3, "up ") == 0) {
            size_t left = std::strtoul(payload.c_str() + 3, nullptr, 10);
            while (left > 0 && c.ReadFrame(kind, payload, 60000)) left -= payload.size();
            c.SendFrame(1, "done");
        } else if (payload.compare(0, 5, "down ") == 0) {
            size_t left = std::strtoul(payload.c_str() + 5, nullptr, 10);
            const std::string chunk(kChunk, 'd');
            for (; left > 0; left -= kChunk) c.SendFrame(0, chunk);
        } else {
            c.SendFrame(kind, payload);
        }
    }
}

class BenchEngine : public CThreadEngine {
public:
    ~BenchEngine() override { Close(); }
    void OnConnect() override {
        CThreadEngine::OnConnect();
        Note(0);
    }
    void OnReceiveText(char* data, int length) override {
        delete[] data;
        Note(length);
    }
    void OnReceiveBinary(unsigned char* data, int length) override {
        delete[] data;
        Note(length);
    }
    // Waits until `frames` more frames have come, or `bytes` more bytes.
    void Await(long long frames, long long bytes) {
        std::unique_lock<std::mutex> lock(mutex_);
        const long long f = frames_ + frames, b = bytes_ + bytes;
        changed_.wait(lock, [&] { return frames_ >= f && bytes_ >= b; });
    }

private:
    void Note(int length) {
        std::lock_guard<std::mutex> guard(mutex_);
        ++frames_;
        bytes_ += length;
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    long long frames_ = 0, bytes_ = 0;
};

struct Figures {
    double roundTrips, upMBs, downMBs;
};

double Seconds(unsigned long long start) { return (NowMs() - start) / 1000.0; }

Figures ThroughEngine(unsigned short port, int trips, size_t bytes) {
    BenchEngine engine;
    engine.Connect("127.0.0.1", static_cast<short>(port));
    engine.Await(1, 0);
    const std::string ping = "<GameMessage game=\"Lobby\"><Message name=\"PingData\"/></GameMessage>";
    unsigned long long start = NowMs();
    for (int i = 0; i < trips; ++i) {
        engine.SendText(ping.data(), static_cast<unsigned>(ping.size()));
        engine.Await(1, 0);
    }
    Figures f;
    f.roundTrips = trips / Seconds(start);

    const std::string chunk(kChunk, 'u'), up = "up " + std::to_string(bytes);
    start = NowMs();
    engine.SendText(up.data(), static_cast<unsigned>(up.size()));
    for (size_t sent = 0; sent < bytes; sent += kChunk) engine.SendBinary(chunk.data(), kChunk);
    engine.Await(1, 0);
    f.upMBs = bytes / 1048576.0 / Seconds(start);

    const std::string down = "down " + std::to_string(bytes);
    start = NowMs();
    engine.SendText(down.data(), static_cast<unsigned>(down.size()));
    engine.Await(static_cast<long long>(bytes / kChunk), 0);
    f.downMBs = bytes / 1048576.0 / Seconds(start);
    return f;
}

// The same exchange with blocking calls on the caller's thread.
class PlainClient {
public:
    explicit PlainClient(unsigned short port) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        ::connect(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    ~PlainClient() { closesocket(socket_); }
    void SendFrame(int kind, const std::string& payload) {
        const std::string frame = Frame(kind, payload);
        for (size_t at = 0; at < frame.size();) at += ::send(socket_, frame.data() + at, frame.size() - at, 0);
    }
    size_t ReadFrame() {
        unsigned char h[5];
        ReadExact(reinterpret_cast<char*>(h), 5);
        const size_t n = h[0] | h[1] << 8 | h[2] << 16 | static_cast<size_t>(h[3]) << 24;
        body_.resize(n);
        ReadExact(&body_[0], n);
        return n;
    }

private:
    void ReadExact(char* into, size_t n) {
        for (size_t at = 0; at < n;) {
            int got = ::recv(socket_, into + at, static_cast<int>(n - at), 0);
            if (got <= 0) std::exit(1);
            at += static_cast<size_t>(got);
        }
    }
    SOCKET socket_;
    std::string body_;
};

Figures ThroughPlainSocket(unsigned short port, int trips, size_t bytes) {
    PlainClient client(port);
    const std::string ping = "<GameMessage game=\"Lobby\"><Message name=\"PingData\"/></GameMessage>";
    unsigned long long start = NowMs();
    for (int i = 0; i < trips; ++i) {
        client.SendFrame(1, ping);
        client.ReadFrame();
    }
    Figures f;
    f.roundTrips = trips / Seconds(start);

    const std::string chunk(kChunk, 'u');
    start = NowMs();
    client.SendFrame(1, "up " + std::to_string(bytes));
    for (size_t sent = 0; sent < bytes; sent += kChunk) client.SendFrame(0, chunk);
    client.ReadFrame();
    f.upMBs = bytes / 1048576.0 / Seconds(start);

    start = NowMs();
    client.SendFrame(1, "down " + std::to_string(bytes));
    for (size_t got = 0; got < bytes;) got += client.ReadFrame();
    f.downMBs = bytes / 1048576.0 / Seconds(start);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    const int engineTrips = argc > 1 ? std::atoi(argv[1]) : 1000;
    const size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 32;
    const size_t bytes = megabytes * 1048576;
    LoopbackServer server(Serve);
    const Figures plain = ThroughPlainSocket(server.Port(), engineTrips * 20, bytes);
    const Figures engine = ThroughEngine(server.Port(), engineTrips, bytes);
    std::printf("loopback, %d round trips through the engine (%d plain), %zu MB each way\n", engineTrips,
                engineTrips * 20, megabytes);
    std::printf("%-22s %14s %14s %14s\n", "", "round trips/s", "upload MB/s", "download MB/s");
    std::printf("%-22s %14.0f %14.1f %14.1f\n", "engine", engine.roundTrips, engine.upMBs, engine.downMBs);
    std::printf("%-22s %14.0f %14.1f %14.1f\n", "plain blocking socket", plain.roundTrips, plain.upMBs, plain.downMBs);
    std::printf("%-22s %14.3f %14.3f %14.3f\n", "engine / plain", engine.roundTrips / plain.roundTrips,
                engine.upMBs / plain.upMBs, engine.downMBs / plain.downMBs);
    return 0;
}

// Small TCP servers of our own on 127.0.0.1 for the Windows tests: a test
// starts one on an ephemeral port, scripts what each accepted connection does
// (send bytes or lobby frames, split writes, pause, read, reset, close) and
// looks afterwards at what arrived. Nothing here touches any other address.
//
//   LoopbackServer server([](Connection& c) {
//       std::string request;
//       if (c.ReadFrame(kind, request, 2000)) c.SendFrame(1, "<reply/>");
//   });
//   engine.Connect("127.0.0.1", server.Port());
//
// Each accepted connection runs the handler on a thread of its own. Reads take
// a time-out and give up early when the server stops; the destructor stops the
// server, joins every handler and closes what is left. Handlers must not throw.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// The bytes of one lobby frame: 4-byte little-endian payload length, kind byte,
// payload. Written here on its own, apart from the code under test.
std::string Frame(int kind, const std::string& payload);

class Connection {
public:
    Connection(SOCKET socket, const std::atomic<bool>& stopping);
    ~Connection();

    // Writes every byte; false when the connection fails.
    bool Send(const std::string& bytes);
    // Writes in pieces of the given size with a pause after each.
    bool SendInPieces(const std::string& bytes, size_t piece, int pauseMs);
    bool SendFrame(int kind, const std::string& payload) { return Send(Frame(kind, payload)); }

    // Reads exactly n bytes; false on time-out, close, error or server stop.
    bool ReadExact(size_t n, std::string& out, int timeoutMs);
    bool ReadFrame(int& kind, std::string& payload, int timeoutMs);
    // True when the peer closes (orderly or reset) within the time; bytes that
    // come first are kept in Received().
    bool WaitClosed(int timeoutMs);

    // Pauses; returns early when the server stops.
    void Pause(int ms);
    // Abortive close: the peer sees a reset.
    void Reset();
    // Orderly close: the peer reads the end of the stream.
    void Close();

    // Everything read from this connection so far.
    std::string Received() const;
    bool Stopping() const { return stopping_; }
    SOCKET Handle() const { return socket_; }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

private:
    // >0 bytes read, 0 closed, -1 error, -2 time-out or stop.
    int ReadSome(char* buffer, int size, int timeoutMs);

    SOCKET socket_;
    const std::atomic<bool>& stopping_;
    mutable std::mutex mutex_;
    std::string received_;
};

class LoopbackServer {
public:
    using Handler = std::function<void(Connection&)>;

    // port 0: an ephemeral port. Port() is 0 when the port could not be had.
    explicit LoopbackServer(Handler handler, unsigned short port = 0);
    ~LoopbackServer();

    unsigned short Port() const { return port_; }
    // Connections accepted so far, and a wait for a count of them.
    int Accepted() const;
    bool WaitAccepted(int count, int timeoutMs) const;
    // Waits until a connection was accepted and every handler started so far
    // has returned. (A client's connect completes before the server's accept,
    // so a wait that asked only for the handlers could end before the first.)
    bool WaitHandlersDone(int timeoutMs) const;
    // What arrived on the i-th accepted connection (in accept order).
    std::string Received(int index) const;
    void Stop();

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

private:
    void AcceptLoop();

    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::vector<std::thread> handlers_;
    int running_ = 0;
};

// A port on 127.0.0.1 that answers no further connect: its listener's queue is
// full and never accepted from, so a connect stays pending until it times out.
class SilentPort {
public:
    SilentPort();
    ~SilentPort();
    unsigned short Port() const { return port_; }

private:
    SOCKET listener_ = INVALID_SOCKET;
    std::vector<SOCKET> fillers_;
    unsigned short port_ = 0;
};

// A port on 127.0.0.1 that is bound but not listening: a connect is refused.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    unsigned short Port() const { return port_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    unsigned short port_ = 0;
};

// Winsock for the test's own sockets, started once per process.
void StartWinsock();

// Milliseconds from a monotonic clock.
unsigned long long NowMs();

// Polls the condition every millisecond until it holds or the time runs out.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

}  // namespace testsupport

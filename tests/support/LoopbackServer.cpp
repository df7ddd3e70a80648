#include "tests/support/LoopbackServer.h"
#include "tests/support/Patience.h"

#include <chrono>

namespace testsupport {

namespace {

sockaddr_in Loopback(unsigned short port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

unsigned short BoundPort(SOCKET s) {
    sockaddr_in a = {};
    int length = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

SOCKET BindLoopback(unsigned short port = 0) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = Loopback(port);
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

bool Readable(SOCKET s, int timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval t = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &t) > 0;
}

}  // namespace

void StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

unsigned long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const unsigned long long end = NowMs() + Patience(timeoutMs);
    for (;;) {
        if (condition()) return true;
        if (NowMs() >= end) return false;
        Sleep(1);
    }
}

std::string Frame(int kind, const std::string& payload) {
    const unsigned n = static_cast<unsigned>(payload.size());
    std::string frame;
    frame += static_cast<char>(n & 0xFF);
    frame += static_cast<char>(n >> 8 & 0xFF);
    frame += static_cast<char>(n >> 16 & 0xFF);
    frame += static_cast<char>(n >> 24 & 0xFF);
    frame += static_cast<char>(kind);
    return frame + payload;
}

Connection::Connection(SOCKET socket, const std::atomic<bool>& stopping) : socket_(socket), stopping_(stopping) {}

Connection::~Connection() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

bool Connection::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool Connection::SendInPieces(const std::string& bytes, size_t piece, int pauseMs) {
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (!Send(bytes.substr(at, piece))) return false;
        Pause(pauseMs);
    }
    return true;
}

int Connection::ReadSome(char* buffer, int size, int timeoutMs) {
    const unsigned long long end = NowMs() + timeoutMs;
    while (!stopping_) {
        const long long left = static_cast<long long>(end) - static_cast<long long>(NowMs());
        if (left <= 0) return -2;
        if (!Readable(socket_, left < 20 ? static_cast<int>(left) : 20)) continue;
        int n = recv(socket_, buffer, size, 0);
        if (n > 0) {
            std::lock_guard<std::mutex> guard(mutex_);
            received_.append(buffer, static_cast<size_t>(n));
        }
        return n < 0 ? -1 : n;
    }
    return -2;
}

bool Connection::ReadExact(size_t n, std::string& out, int timeoutMs) {
    out.clear();
    const unsigned long long end = NowMs() + timeoutMs;
    std::vector<char> buffer(65536);
    while (out.size() < n) {
        const long long left = static_cast<long long>(end) - static_cast<long long>(NowMs());
        if (left <= 0) return false;
        const size_t want = n - out.size() < buffer.size() ? n - out.size() : buffer.size();
        int got = ReadSome(buffer.data(), static_cast<int>(want), static_cast<int>(left));
        if (got <= 0) return false;
        out.append(buffer.data(), static_cast<size_t>(got));
    }
    return true;
}

bool Connection::ReadFrame(int& kind, std::string& payload, int timeoutMs) {
    std::string header;
    if (!ReadExact(5, header, timeoutMs)) return false;
    const unsigned char* h = reinterpret_cast<const unsigned char*>(header.data());
    const size_t n = h[0] | h[1] << 8 | h[2] << 16 | static_cast<size_t>(h[3]) << 24;
    kind = h[4];
    return ReadExact(n, payload, timeoutMs);
}

bool Connection::WaitClosed(int timeoutMs) {
    const unsigned long long end = NowMs() + Patience(timeoutMs);
    char buffer[4096];
    for (;;) {
        const long long left = static_cast<long long>(end) - static_cast<long long>(NowMs());
        if (left <= 0) return false;
        int n = ReadSome(buffer, sizeof buffer, static_cast<int>(left));
        if (n == 0 || n == -1) return true;
        if (n == -2) return false;
    }
}

void Connection::Pause(int ms) {
    const unsigned long long end = NowMs() + ms;
    while (!stopping_ && NowMs() < end) Sleep(1);
}

void Connection::Reset() {
    if (socket_ == INVALID_SOCKET) return;
    linger off = {1, 0};
    setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof off);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

void Connection::Close() {
    if (socket_ == INVALID_SOCKET) return;
    shutdown(socket_, SD_SEND);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

std::string Connection::Received() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return received_;
}

LoopbackServer::LoopbackServer(Handler handler, unsigned short port) : handler_(std::move(handler)) {
    StartWinsock();
    listener_ = BindLoopback(port);
    if (listener_ != INVALID_SOCKET && listen(listener_, SOMAXCONN) == 0) port_ = BoundPort(listener_);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() { Stop(); }

void LoopbackServer::AcceptLoop() {
    while (!stopping_) {
        if (!Readable(listener_, 20)) continue;
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) continue;
        std::lock_guard<std::mutex> guard(mutex_);
        connections_.push_back(std::make_unique<Connection>(s, stopping_));
        Connection* c = connections_.back().get();
        ++running_;
        handlers_.emplace_back([this, c] {
            handler_(*c);
            std::lock_guard<std::mutex> done(mutex_);
            --running_;
            changed_.notify_all();
        });
        changed_.notify_all();
    }
}

int LoopbackServer::Accepted() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return static_cast<int>(connections_.size());
}

bool LoopbackServer::WaitAccepted(int count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(Patience(timeoutMs)),
                             [&] { return static_cast<int>(connections_.size()) >= count; });
}

bool LoopbackServer::WaitHandlersDone(int timeoutMs) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(Patience(timeoutMs)),
                             [&] { return !connections_.empty() && running_ == 0; });
}

std::string LoopbackServer::Received(int index) const {
    std::lock_guard<std::mutex> guard(mutex_);
    if (index < 0 || index >= static_cast<int>(connections_.size())) return std::string();
    return connections_[static_cast<size_t>(index)]->Received();
}

void LoopbackServer::Stop() {
    if (stopping_.exchange(true)) return;
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& t : handlers_) t.join();  // the acceptor has ended: the list is final
    handlers_.clear();
    connections_.clear();
    closesocket(listener_);
}

SilentPort::SilentPort() {
    StartWinsock();
    listener_ = BindLoopback();
    listen(listener_, 0);
    port_ = BoundPort(listener_);
    // Fill the accept queue until a connect no longer completes.
    for (int i = 0; i < 8; ++i) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        sockaddr_in a = Loopback(port_);
        connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        fd_set w;
        FD_ZERO(&w);
        FD_SET(s, &w);
        timeval t = {0, 200000};
        const bool completed = select(0, nullptr, &w, nullptr, &t) > 0;
        fillers_.push_back(s);
        if (!completed) break;
    }
}

SilentPort::~SilentPort() {
    for (SOCKET s : fillers_) closesocket(s);
    closesocket(listener_);
}

RefusingPort::RefusingPort() {
    StartWinsock();
    socket_ = BindLoopback();
    port_ = BoundPort(socket_);
}

RefusingPort::~RefusingPort() { closesocket(socket_); }

}  // namespace testsupport

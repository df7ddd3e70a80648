#include "lobby/net/engine/ThreadEngine.h"

#include <new>

#include "lobby/net/base/Exception.h"
#include "lobby/net/engine/ThreadSocket.h"

CThreadEngine::CThreadEngine() : socket_(nullptr) { socket_ = new CThreadSocket(this); }

CThreadEngine::~CThreadEngine() {
    if (CThreadSocket* socket = TakeSocket()) socket->DetachAndShutdown();
}

CThreadSocket* CThreadEngine::TakeSocket() {
    LockBase<CriticalSection> guard(lock_);
    state_ = kStateClosed;
    return socket_.exchange(nullptr);
}

void CThreadEngine::Close() {
    // The engine lock is released before the callback lock is taken.
    if (CThreadSocket* socket = TakeSocket()) socket->DetachAndClose();
}

int CThreadEngine::GetConnState() {
    LockBase<CriticalSection> guard(lock_);
    return state_;
}

void CThreadEngine::Connect(std::string host, short port) {
    LockBase<CriticalSection> guard(lock_);
    CThreadSocket* socket = socket_;
    if (!socket) return;
    state_ = kStateConnecting;
    socket->Connect(host, static_cast<unsigned short>(port));
}

void CThreadEngine::OnConnect() {
    LockBase<CriticalSection> guard(lock_);
    CThreadSocket* socket = socket_;
    if (!socket) return;
    if (!socket->IsConnected()) {
        state_ = kStateNotConnected;
        return;
    }
    state_ = kStateConnected;
    while (!pending_.empty()) {
        const std::vector<char>& frame = pending_.front();
        socket->Send(frame.data(), static_cast<unsigned>(frame.size()));
        pending_.pop_front();
    }
}

void CThreadEngine::OnError(int) {}
void CThreadEngine::OnSend() {}
void CThreadEngine::OnClose() {}

void CThreadEngine::SendText(const void* data, unsigned length) { SendFrame(kFrameText, data, length); }

void CThreadEngine::SendBinary(const void* data, unsigned length) { SendFrame(kFrameBinary, data, length); }

void CThreadEngine::SendFrame(int kind, const void* data, unsigned length) {
    if (!data && length) return;
    try {
        std::vector<char> frame = EncodeFrame(kind, data, length);
        LockBase<CriticalSection> guard(lock_);
        CThreadSocket* socket = socket_;
        if (!socket) return;
        if (state_ == kStateConnected)
            socket->Send(frame.data(), static_cast<unsigned>(frame.size()));
        else
            pending_.push_back(std::move(frame));
    } catch (const std::bad_alloc&) {
        // A frame that cannot be held is dropped; nothing leaves this call.
    }
}

int CThreadEngine::Read(char* buffer, int size) {
    CThreadSocket* socket = socket_;
    if (!socket) return -1;
    return socket->Recv(buffer, size);
}

void CThreadEngine::OnReceive() {
    const int got = Read(reader_.Space(), static_cast<int>(reader_.Wanted()));
    if (got <= 0) return;
    switch (reader_.Commit(static_cast<uint32_t>(got))) {
        case FrameReader::kNeedMore:
            return;
        case FrameReader::kTooLong:
            throw SocketException("frame too long", WSAEMSGSIZE);
        case FrameReader::kNoMemory:
            throw SocketException("x", WSAENOBUFS);
        case FrameReader::kFrame:
            break;
    }
    const int kind = reader_.Kind();
    const int length = static_cast<int>(reader_.Length());
    char* body = reader_.TakeBody();
    // Dispatch is the last use of this object: the callee may close or delete it.
    if (kind == kFrameText)
        OnReceiveText(body, length);
    else if (kind == kFrameBinary)
        OnReceiveBinary(reinterpret_cast<unsigned char*>(body), length);
    else
        delete[] body;
}

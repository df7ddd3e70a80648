#include "lobby/net/engine/BufferedSocket.h"

#include "lobby/net/base/Exception.h"

BufferedSocketAdaptor::BufferedSocketAdaptor() { semaphore_.Create(0, 0x7fffffff); }

BufferedSocketAdaptor::~BufferedSocketAdaptor() {}

void BufferedSocketAdaptor::Post(int command) {
    LockBase<CriticalSection> guard(commandLock_);
    commands_.push_back(command);
}

bool BufferedSocketAdaptor::TakeCommand(int& command) {
    LockBase<CriticalSection> guard(commandLock_);
    if (commands_.empty()) return false;
    command = commands_.front();
    commands_.pop_front();
    return true;
}

bool BufferedSocketAdaptor::HasCommand() {
    LockBase<CriticalSection> guard(commandLock_);
    return !commands_.empty();
}

void BufferedSocketAdaptor::ReplaceCommands(int command) {
    Socket::Close();
    LockBase<CriticalSection> guard(commandLock_);
    commands_.clear();
    commands_.push_back(command);
}

size_t BufferedSocketAdaptor::QueuedCommands() {
    LockBase<CriticalSection> guard(commandLock_);
    return commands_.size();
}

size_t BufferedSocketAdaptor::QueuedSends() {
    LockBase<CriticalSection> guard(commandLock_);
    return sendQueue_.size();
}

void BufferedSocketAdaptor::Connect(const std::string& host, unsigned short port) {
    {
        LockBase<CriticalSection> guard(commandLock_);
        host_ = host;
        port_ = port;
        commands_.push_back(kCommandConnect);
    }
    Sleep(1);
}

void BufferedSocketAdaptor::Send(const void* bytes, unsigned length) {
    {
        const char* data = static_cast<const char*>(bytes);
        LockBase<CriticalSection> guard(commandLock_);
        sendQueue_.emplace_back(data, data + length);
        commands_.push_back(kCommandSend);
    }
    Sleep(1);
}

void BufferedSocketAdaptor::Close() { Post(kCommandClose); }

void BufferedSocketAdaptor::Accept(Socket& listening) {
    Socket::Accept(listening);
    Post(kCommandAccept);
}

void BufferedSocketAdaptor::Accept(Socket* listening) { Accept(*listening); }

void BufferedSocketTcpAdaptor::Shutdown() {
    // The thread may delete this object as soon as the command is queued, so the
    // semaphore is waited on through a handle of our own.
    HANDLE acknowledged = nullptr;
    DuplicateHandle(GetCurrentProcess(), semaphore_.GetHandle(), GetCurrentProcess(), &acknowledged, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    const bool onSocketThread = GetCurrentThreadId() == GetThreadId();
    ReplaceCommands(kCommandShutdown);
    Sleep(1);
    Sleep(1);
    if (acknowledged) {
        if (!onSocketThread) WaitForSingleObject(acknowledged, 2000);
        CloseHandle(acknowledged);
    }
    for (int i = 0; i < 4; ++i) Sleep(1);
}

void BufferedSocketTcpAdaptor::CloseAndRelease() {
    ReplaceCommands(kCommandCloseAndRelease);
    for (int i = 0; i < 3; ++i) Sleep(1);
}

void BufferedSocketTcpAdaptor::DoConnect() {
    std::string host;
    unsigned short port;
    {
        LockBase<CriticalSection> guard(commandLock_);
        host = host_;
        port = port_;
    }
    Create(kTcp);
    SetBlocking(false);
    const DWORD start = GetTickCount();
    Socket::Connect(host, port);
    for (;;) {
        if (Wait(1, kWaitConnect)) {
            SetConnected(true);
            return;
        }
        Sleep(1);
        if (HasCommand() || GetTickCount() - start > static_cast<DWORD>(GetConnectTimeout())) {
            Socket::Close();  // abandoned for a newer command, or timed out
            return;
        }
    }
}

// Writes every queued buffer, oldest first, so that none is left behind a
// send command that was dropped while the socket was not connected.
void BufferedSocketTcpAdaptor::SendNext() {
    for (;;) {
        std::vector<char> buffer;
        {
            LockBase<CriticalSection> guard(commandLock_);
            if (sendQueue_.empty()) return;
            buffer.swap(sendQueue_.front());
            sendQueue_.pop_front();
        }
        OnSending();
        Socket::Send(buffer.data(), static_cast<unsigned>(buffer.size()));
    }
}

void BufferedSocketTcpAdaptor::Execute(int command) {
    switch (command) {
        case kCommandConnect:
            DoConnect();
            OnConnected();
            if (IsConnected() && QueuedSends() != 0) Post(kCommandSend);
            break;
        case kCommandSend:
            if (IsConnected()) SendNext();
            break;
        default:  // close, stream and accept need nothing here
            break;
    }
}

int BufferedSocketTcpAdaptor::Run() {
    SetConnected(false);
    for (;;) {
        try {
            int command;
            if (TakeCommand(command)) {
                if (command == kCommandShutdown || command == kCommandCloseAndRelease) {
                    try {
                        if (command == kCommandShutdown)
                            ReleaseSemaphoreOnce();
                        else
                            OnClosedEvent();
                    } catch (...) {
                        return 0;
                    }
                    delete this;
                    return 0;
                }
                Execute(command);
                Sleep(1);
                continue;
            }
            if (IsConnected()) {
                const int ready = Wait(1, kWaitRead);
                if (IsConnected() && (ready & kWaitRead)) {
                    OnReadableEvent();
                    // A readable socket that gives no bytes has been closed by the peer.
                    if (EndOfStream() && IsConnected()) {
                        Socket::Close();
                        OnClosedEvent();
                    }
                }
            }
            Sleep(1);
        } catch (const SocketException& e) {
            OnError(e.GetError());
            Socket::Close();
        }
    }
}

// The buffered socket: a TCP socket with a thread of its own. Other threads
// never touch its data path: they post commands (connect, send, close, shut
// down) and the socket thread carries them out one by one, polls the socket for
// incoming data in between, and reports events through its virtual callbacks.
// The thread ends by deleting the object.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "lobby/net/base/Locks.h"
#include "lobby/net/base/Thread.h"
#include "lobby/net/engine/Socket.h"

class BufferedSocketAdaptor : public Socket, public Thread {
public:
    // Command codes.
    enum {
        kCommandConnect = 0,
        kCommandClose = 1,
        kCommandSend = 2,
        kCommandStream = 3,
        kCommandShutdown = 4,
        kCommandCloseAndRelease = 5,
        kCommandAccept = 6,
    };

    BufferedSocketAdaptor();
    ~BufferedSocketAdaptor() override;

    // Closes the socket at once, drops the queued commands and has the thread
    // delete the object; waits at most 2000 ms for it to acknowledge (not at all
    // when called on the socket thread itself, from a callback). The caller must
    // not touch the object afterwards.
    virtual void Shutdown() = 0;
    virtual void DoConnect() = 0;
    virtual void OnReadableEvent() { OnReadable(); }
    virtual void SendNext() = 0;
    virtual void OnClosedEvent() { OnClosed(); }
    virtual void ReleaseSemaphoreOnce() { semaphore_.Release(); }

    // Events, on the socket thread.
    virtual void OnConnected() = 0;
    virtual void OnReadable() = 0;
    virtual void OnError(int error) = 0;
    virtual void OnClosed() = 0;
    virtual void OnSending() = 0;

    // The socket interface as commands.
    void Connect(const std::string& host, unsigned short port) override;
    void Send(const void* bytes, unsigned length) override;  // copies the bytes
    void Close() override;
    void Accept(Socket& listening) override;
    void Accept(Socket* listening) override;
    void Bind(unsigned short) override {}

    // Counts for tests and diagnostics, read under the command lock.
    size_t QueuedCommands();
    size_t QueuedSends();

protected:
    void Post(int command);
    // Takes the oldest command; false when there is none.
    bool TakeCommand(int& command);
    bool HasCommand();
    // Closes the socket, replaces every queued command by the given one.
    void ReplaceCommands(int command);

    CriticalSection commandLock_;
    std::deque<std::vector<char>> sendQueue_;
    Semaphore semaphore_;
    std::deque<int> commands_;
    std::string host_;
    unsigned short port_ = 0;
};

class BufferedSocketTcpAdaptor : public BufferedSocketAdaptor {
public:
    BufferedSocketTcpAdaptor() {}

    void Shutdown() override;
    void DoConnect() override;
    void SendNext() override;
    // Closes the socket at once, drops the queued commands and has the thread
    // report the closed event and delete the object; does not wait.
    void CloseAndRelease();

    void OnConnected() override {}
    void OnReadable() override {}
    void OnError(int) override {}
    void OnClosed() override {}
    void OnSending() override {}

    int Run() override;

private:
    void Execute(int command);
};

// CClientSocket: a blocking IPv4 TCP client whose thread polls the socket once
// per interval (select() with no wait) and hands what arrives to OnReceive.
// Every end of the connection stops the thread and is reported once through
// OnClose after the stop was asked for: 0 receive error, 1 closed by the peer,
// 2 socket error, 3 select() failed. OnStop closes the socket.
#pragma once

#include <string>

#include "lobby/net/download/DThread.h"

class CClientSocket : public CDThread {
public:
    enum { kBufferSize = 8192 };
    enum CloseReason { kReceiveError = 0, kPeerClosed = 1, kSocketError = 2, kSelectFailed = 3 };

    CClientSocket();
    ~CClientSocket() override;
    void Run() override;
    void OnStop() override;
    void OnStart() override;
    // On the socket thread.
    virtual void OnReceive(const char* data, int length);
    virtual void OnClose(int reason) { (void)reason; }

    int Create();
    // A dotted IPv4 address, no name resolution; 1 when connected.
    int Connect(const char* address, int port);
    // One send() of every byte when connected, else -1.
    int Send(const char* data, int length);
    void Stop() { CDThread::Stop(); }

    int IsConnected() const { return connected_; }

private:
    void Lost(const char* text, int reason);

    std::string host_;
    int port_ = 0;
    volatile LONG connected_ = 0;
    char* buffer_;
    fd_set readSet_;
    fd_set errorSet_;
    timeval timeout_ = {0, 0};
    SOCKET socket_ = INVALID_SOCKET;
    bool winsock_ = false;
};

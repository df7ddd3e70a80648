// A thin class over one Winsock 2.2 IPv4 socket. Every failure throws
// SocketException with the Winsock error number.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <atomic>
#include <string>

class Socket {
public:
    enum Kind { kTcp = 0, kUdp = 1 };
    // Readiness bits of Wait: a connect has completed (asked alone), readable, writable.
    enum { kWaitConnect = 1, kWaitRead = 2, kWaitWrite = 4 };

    Socket() {}
    virtual ~Socket();

    // Creates a TCP socket (starting Winsock for it) or a UDP socket (Winsock
    // must already be started); a held socket is closed first.
    virtual void Create(int kind);
    // Binds to every local address on the port; sets the connected flag.
    virtual void Bind(unsigned short port);
    // Starts a connect to a dotted address or a host name; on a non-blocking
    // socket it returns at once and Wait(kWaitConnect) tells the outcome.
    virtual void Connect(const std::string& host, unsigned short port);
    virtual void Accept(Socket& listening);
    virtual void Accept(Socket* listening);
    // Writes every byte.
    virtual void Send(const void* bytes, unsigned length);
    virtual int SendTo(const std::string& host, unsigned short port, const void* bytes, int length);
    virtual int SendTo(unsigned long address, unsigned short port, const void* bytes, int length);
    // Resets the connection (no lingering) and ends this socket's Winsock use.
    // Safe against a second Close on another thread.
    virtual void Close();

    // One receive. TCP: 0 when the peer has closed (EndOfStream() then turns
    // true) or nothing was asked; UDP: -1 when nothing came in time.
    int Recv(void* buffer, int size);
    // Waits at most the given time; returns the bits that are ready.
    int Wait(int milliseconds, int bits);

    void SetBlocking(bool blocking);
    bool IsConnected() const { return connected_; }
    void SetConnected(bool connected) { connected_ = connected; }
    // True once a TCP receive found the stream ended by the peer.
    bool EndOfStream() const { return endOfStream_; }
    SOCKET GetHandle() const { return handle_; }
    int GetKind() const { return kind_; }
    const std::string& GetPeerAddress() const { return peerAddress_; }
    int GetConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int milliseconds) { connectTimeout_ = milliseconds; }

    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

private:
    void StartWinsock();

    std::string peerAddress_;
    std::atomic<SOCKET> handle_{INVALID_SOCKET};
    int kind_ = kTcp;
    std::atomic<bool> connected_{false};
    int connectTimeout_ = 0;
    std::atomic<bool> ownsWinsock_{false};  // this socket's Create started Winsock
    std::atomic<bool> endOfStream_{false};
};

#include "lobby/net/engine/Socket.h"

#include "lobby/net/base/Exception.h"
#include "lobby/net/base/LogManager.h"
#include "lobby/net/base/TextHelpers.h"

namespace {

int LastError() { return WSAGetLastError(); }

sockaddr_in Address(unsigned long address, unsigned short port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = address;
    a.sin_port = htons(port);
    return a;
}

}  // namespace

Socket::~Socket() { Socket::Close(); }

void Socket::StartWinsock() {
    WSADATA data;
    int r = WSAStartup(MAKEWORD(2, 2), &data);
    if (r != 0) throw SocketException(r);
    if (data.wVersion != MAKEWORD(2, 2)) {
        WSACleanup();
        throw SocketException(LastError());
    }
}

// Create and Accept close a held socket through Socket::Close itself: a subclass
// may turn Close into a request (the buffered socket does).
void Socket::Create(int kind) {
    if (handle_ != INVALID_SOCKET) Socket::Close();
    endOfStream_ = false;
    if (kind == kTcp) {
        StartWinsock();
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) {
            int e = LastError();
            WSACleanup();
            throw SocketException(e);
        }
        ownsWinsock_ = true;
        handle_ = s;
    } else if (kind == kUdp) {
        SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        if (s == INVALID_SOCKET) throw SocketException(LastError());
        DWORD timeout = 1000;
        int buffer = 72500;
        if (setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout) != 0 ||
            setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer) != 0) {
            int e = LastError();
            closesocket(s);
            throw SocketException(e);
        }
        handle_ = s;
    } else {
        return;
    }
    kind_ = kind;
}

void Socket::Bind(unsigned short port) {
    sockaddr_in a = Address(htonl(INADDR_ANY), port);
    if (::bind(handle_.load(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) throw SocketException(LastError());
    connected_ = true;
}

void Socket::Connect(const std::string& host, unsigned short port) {
    try {
        if (handle_ == INVALID_SOCKET) Create(kTcp);
        unsigned long address = inet_addr(host.c_str());
        if (address == INADDR_NONE && host != "255.255.255.255") {
            hostent* entry = gethostbyname(host.c_str());
            if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
                int e = LastError();
                throw SocketException("x", e ? e : WSAHOST_NOT_FOUND);
            }
            address = *reinterpret_cast<const unsigned long*>(entry->h_addr_list[0]);
        }
        sockaddr_in a = Address(address, port);
        if (::connect(handle_.load(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            int e = LastError();
            if (e != WSAEWOULDBLOCK) throw SocketException(e);
        }
    } catch (const SocketException& e) {
        throw SocketException(e.GetError());
    }
}

void Socket::Accept(Socket& listening) {
    if (handle_ != INVALID_SOCKET) Socket::Close();
    kind_ = kTcp;
    endOfStream_ = false;
    sockaddr_in peer = {};
    int length = sizeof peer;
    SOCKET s = accept(listening.GetHandle(), reinterpret_cast<sockaddr*>(&peer), &length);
    if (s == INVALID_SOCKET) {
        int e = LastError();
        Socket::Close();
        throw SocketException(e);
    }
    handle_ = s;
    SetBlocking(true);
    connected_ = true;
    peerAddress_ = inet_ntoa(peer.sin_addr);
    LogManager::Instance().Write("Socket", "Incoming ip " + peerAddress_ + NumberToText(static_cast<unsigned>(s)));
}

void Socket::Accept(Socket* listening) { Accept(*listening); }

void Socket::Send(const void* bytes, unsigned length) {
    try {
        if (length == 0) return;
        const char* data = static_cast<const char*>(bytes);
        unsigned sent = 0, pace = length;
        int blockedInARow = 0;
        while (sent < length) {
            int n = send(handle_, data + sent, static_cast<int>(length - sent), 0);
            if (n >= 0) {
                sent += static_cast<unsigned>(n);
                blockedInARow = 0;
                continue;
            }
            int e = LastError();
            if (e == WSAEWOULDBLOCK) {
                if (++blockedInARow == 2) {
                    if (pace < 256)
                        Sleep(1);
                    else
                        pace /= 2;
                    blockedInARow = 0;
                }
                Wait(1, kWaitWrite);
            } else if (e == WSAENOBUFS) {
                if (pace <= 32) throw SocketException("x", e);
                pace /= 2;
            } else {
                throw SocketException("x", e);
            }
        }
    } catch (const SocketException& e) {
        throw SocketException(e.GetError());
    }
}

int Socket::SendTo(const std::string& host, unsigned short port, const void* bytes, int length) {
    return SendTo(inet_addr(host.c_str()), port, bytes, length);
}

int Socket::SendTo(unsigned long address, unsigned short port, const void* bytes, int length) {
    if (handle_ == INVALID_SOCKET) Create(kUdp);
    sockaddr_in a = Address(address, port);
    int n = sendto(handle_, static_cast<const char*>(bytes), length, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    if (n == SOCKET_ERROR) throw SocketException(LastError());
    return n;
}

void Socket::Close() {
    connected_ = false;
    SOCKET s = handle_.exchange(INVALID_SOCKET);
    if (s == INVALID_SOCKET) return;
    linger off = {1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof off);
    closesocket(s);
    if (ownsWinsock_.exchange(false)) WSACleanup();
}

int Socket::Recv(void* buffer, int size) {
    try {
        if (kind_ == kTcp) {
            int n = recv(handle_, static_cast<char*>(buffer), size, 0);
            if (n < 0) throw SocketException(LastError());
            if (n == 0 && size > 0) endOfStream_ = true;
            return n;
        }
        if (kind_ == kUdp) {
            int n = recvfrom(handle_, static_cast<char*>(buffer), size, 0, nullptr, nullptr);
            if (n < 0) {
                int e = LastError();
                if (e == WSAEWOULDBLOCK || e == WSAETIMEDOUT) return -1;
                throw SocketException(e);
            }
            return n;
        }
        return 0;
    } catch (const SocketException& e) {
        throw SocketException(e.GetError());
    }
}

int Socket::Wait(int milliseconds, int bits) {
    try {
        SOCKET s = handle_;
        timeval time = {milliseconds / 1000, (milliseconds % 1000) * 1000};
        fd_set readable, writable, failed;
        FD_ZERO(&readable);
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        if (bits & kWaitConnect) {
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            if (select(0, nullptr, &writable, &failed, &time) == SOCKET_ERROR) throw SocketException(LastError());
            if (!FD_ISSET(s, &writable) && !FD_ISSET(s, &failed)) return 0;
            int pending = 0, length = sizeof pending;
            if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &length) != 0)
                throw SocketException(LastError());
            if (pending != 0) throw SocketException(pending);
            return kWaitConnect;
        }
        if (bits & kWaitRead) FD_SET(s, &readable);
        if (bits & kWaitWrite) FD_SET(s, &writable);
        if (select(0, &readable, &writable, nullptr, &time) == SOCKET_ERROR) throw SocketException(LastError());
        int ready = 0;
        if ((bits & kWaitRead) && FD_ISSET(s, &readable)) ready |= kWaitRead;
        if ((bits & kWaitWrite) && FD_ISSET(s, &writable)) ready |= kWaitWrite;
        return ready;
    } catch (const SocketException& e) {
        throw SocketException(e.GetError());
    }
}

void Socket::SetBlocking(bool blocking) {
    u_long mode = blocking ? 0 : 1;
    if (ioctlsocket(handle_, FIONBIO, &mode) != 0) throw SocketException(LastError());
}

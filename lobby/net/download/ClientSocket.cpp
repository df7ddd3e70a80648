#include "lobby/net/download/ClientSocket.h"

#include <cstdio>

CClientSocket::CClientSocket() : buffer_(new char[kBufferSize]) {
    FD_ZERO(&readSet_);
    FD_ZERO(&errorSet_);
}

CClientSocket::~CClientSocket() {
    Stop();
    WaitStopped();
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    if (winsock_) WSACleanup();
    delete[] buffer_;
}

int CClientSocket::Create() {
    if (!winsock_) {
        WSADATA data;
        winsock_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (!winsock_) return 0;
    }
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return socket_ != INVALID_SOCKET ? 1 : 0;
}

int CClientSocket::Connect(const char* address, int port) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr(address ? address : "");
    a.sin_port = htons(static_cast<u_short>(port));
    if (socket_ == INVALID_SOCKET || a.sin_addr.s_addr == INADDR_NONE ||
        connect(socket_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        connected_ = 0;
        return 0;
    }
    host_ = address;
    port_ = port;
    connected_ = 1;
    return 1;
}

int CClientSocket::Send(const char* data, int length) {
    if (!connected_) return -1;
    return send(socket_, data, length, 0);
}

void CClientSocket::OnStart() { timeout_ = {0, 0}; }

void CClientSocket::OnStop() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
    connected_ = 0;
}

void CClientSocket::OnReceive(const char* data, int length) {
    char line[1024 + 16];
    std::snprintf(line, sizeof line, "Recv:%.*s\r\n", length < 1023 ? length : 1023, data);
    OutputDebugStringA(line);
}

void CClientSocket::Lost(const char* text, int reason) {
    OutputDebugStringA(text);
    connected_ = 0;
    Stop();
    OnClose(reason);
}

void CClientSocket::Run() {
    FD_ZERO(&readSet_);
    FD_ZERO(&errorSet_);
    FD_SET(socket_, &readSet_);
    FD_SET(socket_, &errorSet_);
    const int ready = select(0, &readSet_, nullptr, &errorSet_, &timeout_);
    if (ready < 0) {
        OutputDebugStringA("接收错误");
        Stop();
        OnClose(kSelectFailed);
        return;
    }
    if (ready == 0) return;
    if (FD_ISSET(socket_, &errorSet_)) return Lost("连接被终止", kSocketError);
    if (!FD_ISSET(socket_, &readSet_)) return;
    const int n = recv(socket_, buffer_, kBufferSize, 0);
    if (n == 0) return Lost("连接被终止2", kPeerClosed);
    if (n < 0) return Lost("接收错误2,对端用户关闭", kReceiveError);
    OnReceive(buffer_, n);
}

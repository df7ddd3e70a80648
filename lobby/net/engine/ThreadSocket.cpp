#include "lobby/net/engine/ThreadSocket.h"

#include "lobby/net/base/Exception.h"
#include "lobby/net/engine/ThreadEngine.h"

CThreadSocket::CThreadSocket(CThreadEngine* engine) : engine_(engine) {
    try {
        Start();
    } catch (const ThreadException& e) {
        throw SocketException(e.Message(), ERROR_NOT_ENOUGH_MEMORY);
    }
    SetConnectTimeout(kConnectTimeout);
}

void CThreadSocket::Detach() {
    LockBase<CriticalSection> guard(callbackLock_);
    engine_ = nullptr;
}

void CThreadSocket::DetachAndClose() {
    Detach();
    CloseAndRelease();
}

void CThreadSocket::DetachAndShutdown() {
    Detach();
    Shutdown();
}

void CThreadSocket::OnConnected() {
    LockBase<CriticalSection> guard(callbackLock_);
    if (engine_) engine_->OnConnect();
}

void CThreadSocket::OnReadable() {
    LockBase<CriticalSection> guard(callbackLock_);
    if (engine_) engine_->OnReceive();
}

void CThreadSocket::OnError(int error) {
    LockBase<CriticalSection> guard(callbackLock_);
    if (engine_) engine_->OnError(error);
}

void CThreadSocket::OnClosed() {
    LockBase<CriticalSection> guard(callbackLock_);
    if (engine_) engine_->OnClose();
}

void CThreadSocket::OnSending() {
    LockBase<CriticalSection> guard(callbackLock_);
    if (engine_) engine_->OnSend();
}

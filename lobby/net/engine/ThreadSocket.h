// The socket object of one network engine: a buffered socket whose events are
// forwarded to the engine under the callback lock. Lock order: the callback
// lock, then the engine's lock, then the command lock.
#pragma once

#include "lobby/net/engine/BufferedSocket.h"

class CThreadEngine;

class CThreadSocket : public BufferedSocketTcpAdaptor {
public:
    // Starts the socket thread at once; throws SocketException when it cannot.
    explicit CThreadSocket(CThreadEngine* engine);

    // Both detach the engine first (waiting for a callback in progress to end),
    // so that no callback reaches it afterwards; then the object deletes itself
    // on its own thread and must not be touched again.
    void DetachAndClose();
    void DetachAndShutdown();

    void OnConnected() override;
    void OnReadable() override;
    void OnError(int error) override;
    void OnClosed() override;
    void OnSending() override;

    static const int kConnectTimeout = 7000;

private:
    void Detach();

    CThreadEngine* engine_;
    CriticalSection callbackLock_;
};

// CThreadEngine: one TCP client connection speaking the lobby frame. It frames
// outgoing messages, keeps the frames sent before the connection is up and
// sends them in order once it is, cuts the incoming stream back into frames and
// hands each to its subclass. All network work happens on the socket thread of
// its CThreadSocket; the public operations may be called from any thread.
//
// Callbacks (slots 1 to 6) run on the socket thread under the socket object's
// callback lock; Close and the destructor take that lock, so no callback runs
// after they return, and they must not be called while holding a lock that a
// callback waits for. A callback may itself call Close or delete the engine.
// A subclass whose callbacks use its own members calls Close() first in its
// destructor, so that no callback meets it half destroyed. Callbacks must not
// let exceptions out (they would end the socket thread).
//
// Exported by Corvet.dll; the card-game client derives its connection from it.
#pragma once

#include <atomic>
#include <deque>
#include <string>
#include <vector>

#include "lobby/net/base/CorvetApi.h"
#include "lobby/net/base/Locks.h"
#include "lobby/net/engine/LobbyFrame.h"

class CThreadSocket;

class CORVET_API CThreadEngine {
public:
    enum State {
        kStateCreated = 0,       // no connect asked yet
        kStateNotConnected = 1,  // the last attempt timed out or was abandoned
        kStateConnecting = 2,    // also after a failed attempt (reported by OnError)
        kStateConnected = 3,     // also after a loss while connected (OnError, OnClose)
        kStateClosed = 4,
    };

    CThreadEngine();
    virtual ~CThreadEngine();

    // A connect attempt has ended; the base settles the state and, when
    // connected, sends the pending frames in order.
    virtual void OnConnect();
    // A kind-1 (text) or kind-0 (binary) frame: length bytes and a NUL, owned by
    // the callee, which frees them with delete[].
    virtual void OnReceiveText(char* data, int length) = 0;
    virtual void OnReceiveBinary(unsigned char* data, int length) = 0;
    // The socket failed: connect refused or failed, a receive or send error, a
    // frame that announces more than kMaxFramePayload bytes (WSAEMSGSIZE).
    virtual void OnError(int code);
    // Just before a buffer is written to the connected socket.
    virtual void OnSend();
    // The peer closed the connection in order; the socket is closed.
    virtual void OnClose();
    // Starts a connect to a dotted address or host name; the outcome arrives
    // through OnConnect or OnError (time-out 7000 ms). Does nothing after Close.
    virtual void Connect(std::string host, short port);

    // Ends the connection for good; the object stays valid until deleted.
    void Close();
    int GetConnState();
    // Send one frame of kind 1 (text) or 0 (binary); the caller keeps its data.
    // Frames sent before the connection is up wait; after Close they are dropped.
    void SendText(const void* data, unsigned length);
    void SendBinary(const void* data, unsigned length);

    // Called by the socket thread when the socket is readable.
    void OnReceive();
    // One receive on the socket; -1 without a socket object.
    int Read(char* buffer, int size);

    CThreadEngine(const CThreadEngine&) = delete;
    CThreadEngine& operator=(const CThreadEngine&) = delete;

private:
    void SendFrame(int kind, const void* data, unsigned length);
    CThreadSocket* TakeSocket();

    std::atomic<CThreadSocket*> socket_;
    std::deque<std::vector<char>> pending_;
    int state_ = kStateCreated;
    FrameReader reader_;
    CriticalSection lock_;
};

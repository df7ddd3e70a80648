// CNetEngineEx: the card-game client's connection to the game server, on the
// network engine of Corvet.dll. Every received text, and every binary frame
// once decoded to text, goes to the session that owns the connection.
#pragma once

#include <atomic>

#include "game/core/table/TableSession.h"
#include "lobby/net/engine/ThreadEngine.h"

class CGameSession;

class CNetEngineEx : public CThreadEngine, public CTableConnection {
public:
    explicit CNetEngineEx(CGameSession* session);
    ~CNetEngineEx() override;

    // The first text clears the first-text flag and stamps the session's
    // first-reply time; every text then goes to the session and is freed.
    void OnReceiveText(char* text, int length) override;
    // Decoded into text and passed to OnReceiveText; a frame the translator
    // cannot decode is dropped. The packet is freed.
    void OnReceiveBinary(unsigned char* packet, int length) override;
    // Both end the connection's usefulness: the alive flag drops.
    void OnError(int code) override;
    void OnClose() override;

    // 1 until a socket error, a close by the server or ClearAlive.
    int IsAlive() const override { return alive_; }
    void ClearAlive() override { alive_ = 0; }
    // 1 until the first text has arrived.
    int IsWaitingFirstText() const override { return firstTextPending_; }
    bool IsConnected() override { return GetConnState() == kStateConnected; }

private:
    CGameSession* session_;
    std::atomic<int> firstTextPending_{1};
    std::atomic<int> alive_{1};
};

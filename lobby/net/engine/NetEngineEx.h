// CNetEngineEx: the lobby's connection to the lobby server. Every frame it
// receives becomes XML text for the data hub (through the LobbyLink); its alive
// flag tells the rest of the lobby that the connection has failed.
#pragma once

#include <atomic>
#include <string>

#include "lobby/net/engine/LobbyEngine.h"

class CNetEngineEx : public CLobbyEngine {
public:
    CNetEngineEx();
    ~CNetEngineEx() override;

    void OnReceiveText(char* text, int length) override;
    void OnReceiveBinary(unsigned char* data, int length) override;
    void OnError(int code) override;
    void OnClose() override;
    void Connect(std::string host, short port) override;

    // 1 while the connection is believed good; 0 after a failure, a parse
    // failure or a close by the server, or when the lobby asks for a reconnect.
    int IsAlive() const { return alive_; }
    void ClearAlive() { alive_ = 0; }
    void SetAlive() { alive_ = 1; }

    // The host and the port (decimal) of the last Connect.
    const std::string& GetHost() const { return host_; }
    const std::string& GetPortText() const { return port_; }

private:
    std::atomic<int> alive_{1};
    std::string host_;
    std::string port_;
};

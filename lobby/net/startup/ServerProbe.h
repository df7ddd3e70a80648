// Server probing: up to nine CChoiceServer connections at once send the probe
// text to listed lobby servers and time the answers; ServerCol keeps the
// fastest and writes it back as the chosen server. Start and Poll run on the
// thread that probes; each probe's callbacks run on its own socket thread.
#pragma once

#include <string>
#include <vector>

#include "lobby/net/engine/LobbyEngine.h"
#include "lobby/net/startup/ServerConfig.h"

class CChoiceServer : public CLobbyEngine {
public:
    enum State {
        kIdle = 0,       // not started, or the connection failed
        kConnected = 1,  // passes at once to kWaiting
        kConnecting = 2,
        kFailed = 4,    // final
        kAnswered = 5,  // the time is the answer time
        kWrongAnswer = 6,
        kWaiting = 7,  // probe text sent
    };

    CChoiceServer();
    ~CChoiceServer() override;

    void OnConnect() override;
    void OnReceiveText(char* text, int length) override;
    void OnReceiveBinary(unsigned char* data, int length) override;
    void OnError(int code) override;
    void OnSend() override {}
    void OnClose() override {}

    // Connects to the record's ip:comport.
    void Probe(const ServerRecord& record);
    void SendProbe();

    // Nothing changes once failed; kAnswered turns the time into the answer time.
    void SetState(int state);
    int GetState();
    // The state and the time (start, or answer time once answered) together.
    void Read(int& state, DWORD& time);
    ServerRecord GetRecord();

private:
    CriticalSection probeLock_;
    ServerRecord record_;
    DWORD time_ = 0;
    int state_ = kIdle;
};

class ServerCol {
public:
    enum { kSlots = 9 };

    ServerCol();
    virtual ~ServerCol();

    // Starts probing the configuration's list (the hub's server choice, when
    // not 0, keeps to servers of that net type).
    void Start();
    // 1 when the probing has ended (the fastest answer, if any, written as the
    // chosen server), else 0.
    int Poll();

private:
    // A new probe in the slot on the front record that remains.
    void StartProbe(int slot);
    void DeleteProbes();
    void EndProbing();

    int slotCount_ = kSlots;
    CChoiceServer* slots_[kSlots] = {};
    int finished_ = 0;
    int total_ = 0;
    ServerRecord chosen_;
    int bestTime_ = -1;
    std::vector<ServerRecord> remaining_;
    bool nothingToProbe_ = false;
};

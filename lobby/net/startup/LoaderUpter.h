// The version-check step: asks the update server (at ip:port of the chosen
// server entry) whether a newer client exists, through a small engine of its
// own; when the server cannot be reached or stays silent it probes the lobby
// servers once and tries again. With the hub's time4 set it probes first.
// Its state word is the finished flag (1 once the step has ended).
#pragma once

#include "lobby/net/engine/LobbyEngine.h"
#include "lobby/net/loaders/LoaderBase.h"
#include "lobby/net/startup/ServerProbe.h"

class CVersion : public CLobbyEngine {
public:
    enum State {
        kFailed = 1,
        kRequestSent = 2,
        kNewer = 3,
        kLatest = 4,
        kConnecting = 6,
        kProbing = 7,  // set by the step on a fresh engine before probing
        kReset = 10,
    };

    CVersion();
    ~CVersion() override;

    void OnReceiveText(char* text, int length) override;
    void OnReceiveBinary(unsigned char* data, int length) override;
    void OnError(int code) override;

    // Connects to the update server of the chosen-server entry; false (and
    // state kFailed) when the entry cannot be read.
    bool ConnectServer();
    // Sends the hub's versionxml setting (at most 511 characters).
    void SendRequest();
    void SetState(int state);
    int GetState();

private:
    CriticalSection versionLock_;
    int state_ = kReset;
};

class CLoaderUpter : public CLoaderBase {
public:
    // limitMs: from its start, the owner's tick ends the step past this time.
    explicit CLoaderUpter(DWORD limitMs = 120000);
    ~CLoaderUpter() override;

    int Run() override;
    int Start() override;
    void Tick(unsigned timerId, void* param) override;
    void Draw(CDC* dc, int x, int y) override;

    void Finish();
    // 1 when the update server told of a newer version, 0 when this is the latest.
    int GetNewVersionFlag();

private:
    bool Finished() { return GetState() != 0; }
    bool Probing();
    void SetProbing(int probing);
    // Drops the engine and probes the lobby servers on a fresh one.
    void ProbeAgain();
    void Fail();
    // Marks the step finished and reports the result, unless it has ended
    // already; true when this call ended it.
    bool End(int result);
    void ReplaceEngine(CVersion* engine);

    const DWORD limitMs_;
    int newVersion_ = 0;
    ServerCol prober_;
    int probing_ = 0;
    CVersion* engine_ = nullptr;  // touched by the step's thread only
};

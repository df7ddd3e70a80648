// CLobbyData: the lobby's one shared data object. It holds the settings from
// config.ini, the signed-in user with what the login reply told, the games and
// rooms, the connection to the lobby server and the queue of the messages
// received on it. The socket thread parses every received text under the lobby
// lock and queues the result; the login worker and the main window's timer
// pop the queue.
//
// Lock order: the engine's callback lock, then the lobby lock, then the
// send-time lock. A receive waits for the lobby lock while it holds its
// engine's callback lock, so an engine is never closed or deleted here while
// the lobby lock is held.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "lobby/net/binary/MsgCodeEntry.h"
#include "lobby/net/protocol/LobbyRecords.h"

class CMessage;
class CNetEngineEx;
class CThreadEngine;
class CLobbyProtocol;

// A re-entrant critical section that knows whether the calling thread holds it.
class LobbyLock {
public:
    LobbyLock();
    ~LobbyLock();
    void Lock();
    void Unlock();
    bool HeldByCurrentThread() const;

    LobbyLock(const LobbyLock&) = delete;
    LobbyLock& operator=(const LobbyLock&) = delete;

private:
    CRITICAL_SECTION section_;
    std::atomic<DWORD> owner_{0};
    int depth_ = 0;  // touched only by the owner
};

class LobbyLockGuard {
public:
    explicit LobbyLockGuard(LobbyLock& lock) : lock_(lock) { lock_.Lock(); }
    ~LobbyLockGuard() { lock_.Unlock(); }
    LobbyLockGuard(const LobbyLockGuard&) = delete;
    LobbyLockGuard& operator=(const LobbyLockGuard&) = delete;

private:
    LobbyLock& lock_;
};

class CLobbyData {
public:
    // ---- settings: config.ini [SYSTEM], copied by the start-up
    std::string ping;
    std::string action;
    std::string versionxml;
    // time1: fast-answer threshold of the server probing (ms); time2: time-out
    // of one probe and of the version check (ms); time3: login time-out (ms);
    // time4: non-zero = probe the servers before logging in; time5: the
    // room-list lateness limit (ms).
    std::string timeText[5];
    std::string notice_url;

    // ---- the signed-in user
    std::string userName;      // lower case; sent as the player id
    std::string storedDigest;  // upper-case hex
    std::string moneyText;
    int locked = 0;
    std::string loginText8;
    std::string nickname;
    std::string loginText9;
    std::string secondAmountText;
    int loginNumber = 0;
    std::string playerInfoText;
    std::string serverHost;  // of the last Connect
    std::string ticket;
    int serverPort = -1;  // of the last Connect
    int loginRun = 0;     // 1 once a login run starts or a reconnect succeeds

    // Owned; rebuilt by the GameList reply. Read and changed under the lobby lock.
    std::vector<LobbyGameRecord*> gameList;
    // The most rooms the lobby keeps: each room update searches them all.
    static constexpr size_t kMaxRooms = 2000;
    // From Msg.ini, filled at start-up; read by the binary translator.
    MsgCodeTable msgTable;
    int timeValue[5] = {0, 0, 0, 0, 0};  // the time settings as numbers, set by Init
    int serverChoice = 0;                // net type the server probing keeps to; 0 = any
    // Owned; set by the windows for room chat, deleted under the lobby lock.
    CThreadEngine* roomEngine = nullptr;
    // config.ini [MsgType] Type is not "0": requests go out in the binary form.
    std::atomic<bool> translateFlag{false};

    LobbyLock lobbyLock;

    CLobbyData();
    ~CLobbyData();

    CNetEngineEx* GetNetEngine();
    CLobbyProtocol* GetLobbyProtocol();

    // 1 when an engine exists or was made, 0 when it could not be made.
    int CreateNetEngine();
    // Makes the engine (createEngine == 1) and the protocol object, loads the
    // server configuration and converts the time settings; 1 or 0.
    int Init(int createEngine);
    // Starts the engine's connect and records host and port; 0 without an engine.
    int Connect(const std::string& host, int port);
    // Replaces the engine with a fresh one and discards the queued messages.
    // The old engine is closed and deleted outside the lobby lock; when the
    // caller holds that lock, a closer thread does it once the lock is free.
    void ResetNetEngine();
    // Counts the engines replaced: a watcher that saw another count knows its
    // connection is gone even when the fresh engine already reads alive.
    int EngineGeneration() const { return engineGeneration_; }

    // The first room, in game then room order, whose id text reads as id. The
    // record lives until the game list is rebuilt: hold the lobby lock while
    // using it.
    LobbyRoomRecord* FindRoom(int id);
    // How many rooms the games hold.
    size_t RoomCount();
    void ClearGameList();

    // Parses one received text and queues the result, null included. The
    // caller keeps the text. Throws what the parser throws.
    void PushPacket(const char* text, int length);
    void PushMessage(CMessage* message);
    // The window told (PostMessage of `message`, no parameters) each time the
    // queue goes from empty to not, at once when it is not empty already; null
    // tells nobody. Its pump may then handle the front message before its next
    // tick.
    void SetArrivalNotice(HWND window, UINT message);
    // The front message, which the caller then owns; null when the queue is
    // empty or its front entry is null.
    CMessage* PopMessage();
    size_t QueuedCount();

    // The room-list send time: timeGetTime() of the last RequestRoomList, 0
    // when none is outstanding.
    DWORD GetRoomListSendTime();
    void ResetRoomListSendTime();
    void StampRoomListSendTime(DWORD now);
    // Run on every GameList reply: when a request is outstanding and was sent
    // more than time5 ms ago, time4 becomes "1" here and in config.ini; the
    // send time is reset in every case.
    void ApplyRoomListLateness();

    std::string GetWorkDir() const { return workDir_; }

    // The server configuration's load step; Init fails when it does. Until one
    // is installed the step succeeds.
    void SetServerConfigLoader(std::function<bool()> loader);
    // The config.ini that the lateness rule rewrites (UTF-8 path); by default
    // the one in the program's folder.
    void SetConfigFile(const std::string& path);
    std::string GetConfigFile() const { return configFile_; }

    // Deletes the engines and the protocol object, the game list and the queue;
    // tells no window of arrivals any more.
    void Shutdown();

    CLobbyData(const CLobbyData&) = delete;
    CLobbyData& operator=(const CLobbyData&) = delete;

private:
    std::deque<CMessage*> TakeQueue();
    // Appends under the lobby lock and tells the arrival window.
    void QueueLocked(CMessage* message);
    void JoinClosers();
    // Takes both out under the lobby lock and deletes them outside it.
    void DeleteEngineAndProtocol();

    CNetEngineEx* engine_ = nullptr;
    std::atomic<int> engineGeneration_{0};
    CLobbyProtocol* protocol_ = nullptr;
    std::deque<CMessage*> queue_;
    HWND noticeWindow_ = nullptr;  // under the lobby lock, as the queue
    UINT noticeMessage_ = 0;
    CRITICAL_SECTION sendTimeLock_;
    std::string workDir_;
    DWORD roomListSendTime_ = 0;
    std::function<bool()> serverConfigLoader_;
    std::string configFile_;

    std::mutex closersMutex_;
    std::vector<std::thread> closers_;
};

// The one hub, made on first use (first from the start-up, before any other
// thread exists) and never replaced.
CLobbyData& GetLobbyData();

// True when more than limit ms have passed from sent to now (a signed 32-bit
// difference, so the tick counter may wrap); false when sent is 0.
bool RoomListIsLate(DWORD sent, DWORD now, int limit);

#include "lobby/net/protocol/LobbyData.h"

#include <mmsystem.h>

#include <memory>
#include <new>

#include "lobby/net/base/Exception.h"
#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/LogManager.h"
#include "lobby/net/base/TextHelpers.h"
#include "lobby/net/binary/TranslateMsg.h"
#include "lobby/net/engine/LobbyLink.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LobbyStrings.h"

// ---- LobbyLock ------------------------------------------------------------------

LobbyLock::LobbyLock() { InitializeCriticalSection(&section_); }
LobbyLock::~LobbyLock() { DeleteCriticalSection(&section_); }

void LobbyLock::Lock() {
    EnterCriticalSection(&section_);
    if (depth_++ == 0) owner_ = GetCurrentThreadId();
}

void LobbyLock::Unlock() {
    if (--depth_ == 0) owner_ = 0;
    LeaveCriticalSection(&section_);
}

bool LobbyLock::HeldByCurrentThread() const { return owner_ == GetCurrentThreadId(); }

// ---- the engine's link to the hub ---------------------------------------------

namespace {

class HubLink : public LobbyLink {
public:
    explicit HubLink(CLobbyData& hub) : hub_(hub) {}

    bool TranslateFlag() override { return hub_.translateFlag; }

    std::string XmlToBinary(const char* xml) override {
        CTranslateMsg translator(hub_.msgTable);
        const unsigned char* binary;
        try {
            binary = translator.XmlToBinary(xml);
        } catch (int* code) {  // the XML reader's: not a message document
            delete code;
            throw Exception("not a message document");
        }
        if (!binary) {
            // A request the server could not read is not sent at all.
            const std::string why = FailureText(translator.LastFailure());
            LogManager::Instance().Write("LobbyProtocol", "request not sent: " + why);
            throw Exception(why);
        }
        return std::string(reinterpret_cast<const char*>(binary), translator.GetEncodedLength());
    }

    char* BinaryToXml(const unsigned char* data, int length) override {
        CTranslateMsg translator(hub_.msgTable);
        char* xml = translator.BinaryToXml(data, length);
        if (!xml)
            LogManager::Instance().Write(
                "LobbyProtocol", std::string("binary message dropped: ") + FailureText(translator.LastFailure()));
        return xml;
    }

    void PushPacket(const char* text, int length) override { hub_.PushPacket(text, length); }

private:
    CLobbyData& hub_;
};

void DeleteAll(std::deque<CMessage*>& messages) {
    for (CMessage* m : messages) delete m;
    messages.clear();
}

}  // namespace

CLobbyData& GetLobbyData() {
    // Never destroyed: threads of the engines may outlive static destruction.
    static CLobbyData* const hub = [] {
        CLobbyData* made = new CLobbyData();
        static HubLink link(*made);
        CLobbyEngine::SetLink(&link);
        return made;
    }();
    return *hub;
}

bool RoomListIsLate(DWORD sent, DWORD now, int limit) {
    if (sent == 0) return false;
    return static_cast<int>(now - sent) > limit;
}

// ---- CLobbyData -----------------------------------------------------------------

CLobbyData::CLobbyData() {
    InitializeCriticalSection(&sendTimeLock_);
    std::vector<char> buffer(255);
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n > buffer.size()) {
        buffer.resize(n + 1);
        n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (n < buffer.size()) workDir_.assign(buffer.data(), n);
    configFile_ = GetProgramFolder() + "config.ini";
}

CLobbyData::~CLobbyData() {
    Shutdown();
    DeleteCriticalSection(&sendTimeLock_);
}

CNetEngineEx* CLobbyData::GetNetEngine() {
    LobbyLockGuard guard(lobbyLock);
    return engine_;
}

CLobbyProtocol* CLobbyData::GetLobbyProtocol() {
    LobbyLockGuard guard(lobbyLock);
    return protocol_;
}

int CLobbyData::CreateNetEngine() {
    if (GetNetEngine()) return 1;
    CNetEngineEx* made = nullptr;
    try {
        made = new CNetEngineEx();
    } catch (...) {
        return 0;
    }
    {
        LobbyLockGuard guard(lobbyLock);
        if (!engine_) {
            engine_ = made;
            made = nullptr;
        }
    }
    delete made;  // another thread was first
    return 1;
}

int CLobbyData::Init(int createEngine) {
    if (createEngine == 1 && !CreateNetEngine()) return 0;
    bool ok = true;
    {
        LobbyLockGuard guard(lobbyLock);
        if (!protocol_) protocol_ = new (std::nothrow) CLobbyProtocol();
        ok = protocol_ != nullptr;
    }
    if (ok) {
        try {
            ok = !serverConfigLoader_ || serverConfigLoader_();
        } catch (...) {
            ok = false;
        }
    }
    if (!ok) {
        DeleteEngineAndProtocol();
        return 0;
    }
    for (int i = 0; i < 5; ++i) timeValue[i] = StringToInt(timeText[i]);
    return 1;
}

int CLobbyData::Connect(const std::string& host, int port) {
    // Held so that a reset cannot delete the engine meanwhile; Connect only
    // queues a command for the socket thread and calls back nothing.
    LobbyLockGuard guard(lobbyLock);
    if (!engine_) return 0;
    engine_->Connect(host, static_cast<short>(port));
    serverHost = host;
    serverPort = port;
    return 1;
}

void CLobbyData::ResetNetEngine() {
    if (!GetNetEngine()) return;
    CNetEngineEx* fresh = nullptr;
    try {
        fresh = new CNetEngineEx();
    } catch (...) {
        return;  // the old engine stays; a later reset tries again
    }
    const bool nested = lobbyLock.HeldByCurrentThread();
    CNetEngineEx* old;
    std::deque<CMessage*> discarded;
    {
        LobbyLockGuard guard(lobbyLock);
        old = engine_;
        engine_ = fresh;
        ++engineGeneration_;
        discarded.swap(queue_);
    }
    DeleteAll(discarded);
    if (!old) return;
    if (nested) {
        // Closing here would wait for a receive that waits for the lock the
        // caller holds.
        std::lock_guard<std::mutex> g(closersMutex_);
        try {
            closers_.emplace_back([old] {
                old->Close();
                delete old;
            });
        } catch (...) {
            // No thread to spare: the old engine is left running rather than
            // risk the wait.
        }
        return;
    }
    JoinClosers();
    old->Close();  // waits for a receive in progress, which may still queue its reply
    delete old;
    discarded = TakeQueue();
    DeleteAll(discarded);
}

void CLobbyData::JoinClosers() {
    std::vector<std::thread> closers;
    {
        std::lock_guard<std::mutex> g(closersMutex_);
        closers.swap(closers_);
    }
    for (std::thread& t : closers) t.join();
}

LobbyRoomRecord* CLobbyData::FindRoom(int id) {
    LobbyLockGuard guard(lobbyLock);
    for (LobbyGameRecord* game : gameList)
        for (LobbyRoomRecord* room : game->rooms)
            if (StringToInt(room->id) == id) return room;
    return nullptr;
}

size_t CLobbyData::RoomCount() {
    LobbyLockGuard guard(lobbyLock);
    size_t count = 0;
    for (LobbyGameRecord* game : gameList) count += game->rooms.size();
    return count;
}

void CLobbyData::ClearGameList() {
    LobbyLockGuard guard(lobbyLock);
    for (LobbyGameRecord* game : gameList) {
        for (LobbyRoomRecord* room : game->rooms) delete room;
        delete game;
    }
    gameList.clear();
}

void CLobbyData::PushPacket(const char* text, int length) {
    LobbyLockGuard guard(lobbyLock);
    CLobbyProtocol spare;  // stateless: stands in before Init has made the hub's
    CLobbyProtocol* protocol = protocol_ ? protocol_ : &spare;
    std::unique_ptr<CMessage> message(protocol->ParseMessage(text, length));
    QueueLocked(message.get());
    if (message && message->kind == kMsgEnterDeskAK) LobbyStep("message 12 received");
    message.release();
}

void CLobbyData::PushMessage(CMessage* message) {
    std::unique_ptr<CMessage> owned(message);
    LobbyLockGuard guard(lobbyLock);
    QueueLocked(message);
    owned.release();
}

void CLobbyData::QueueLocked(CMessage* message) {
    queue_.push_back(message);
    if (queue_.size() == 1 && noticeWindow_) ::PostMessageA(noticeWindow_, noticeMessage_, 0, 0);
}

void CLobbyData::SetArrivalNotice(HWND window, UINT message) {
    LobbyLockGuard guard(lobbyLock);
    noticeWindow_ = window;
    noticeMessage_ = message;
    if (window && !queue_.empty()) ::PostMessageA(window, message, 0, 0);
}

CMessage* CLobbyData::PopMessage() {
    LobbyLockGuard guard(lobbyLock);
    if (queue_.empty()) return nullptr;
    CMessage* front = queue_.front();
    queue_.pop_front();
    return front;
}

size_t CLobbyData::QueuedCount() {
    LobbyLockGuard guard(lobbyLock);
    return queue_.size();
}

std::deque<CMessage*> CLobbyData::TakeQueue() {
    std::deque<CMessage*> taken;
    LobbyLockGuard guard(lobbyLock);
    taken.swap(queue_);
    return taken;
}

DWORD CLobbyData::GetRoomListSendTime() {
    EnterCriticalSection(&sendTimeLock_);
    DWORD sent = roomListSendTime_;
    LeaveCriticalSection(&sendTimeLock_);
    return sent;
}

void CLobbyData::ResetRoomListSendTime() { StampRoomListSendTime(0); }

void CLobbyData::StampRoomListSendTime(DWORD now) {
    EnterCriticalSection(&sendTimeLock_);
    roomListSendTime_ = now;
    LeaveCriticalSection(&sendTimeLock_);
}

void CLobbyData::ApplyRoomListLateness() {
    LobbyLockGuard guard(lobbyLock);
    if (RoomListIsLate(GetRoomListSendTime(), timeGetTime(), timeValue[4])) {
        timeText[3] = "1";
        WritePrivateProfileStringW(L"SYSTEM", L"time4", L"1", Utf8ToWide(configFile_).c_str());
    }
    ResetRoomListSendTime();
}

void CLobbyData::SetServerConfigLoader(std::function<bool()> loader) { serverConfigLoader_ = std::move(loader); }

void CLobbyData::SetConfigFile(const std::string& path) { configFile_ = path; }

void CLobbyData::DeleteEngineAndProtocol() {
    CNetEngineEx* engine;
    CLobbyProtocol* protocol;
    {
        LobbyLockGuard guard(lobbyLock);
        engine = engine_;
        protocol = protocol_;
        engine_ = nullptr;
        protocol_ = nullptr;
    }
    delete engine;  // outside the lobby lock: it waits for its receive in progress
    delete protocol;
}

void CLobbyData::Shutdown() {
    CThreadEngine* room;
    {
        LobbyLockGuard guard(lobbyLock);
        room = roomEngine;
        roomEngine = nullptr;
    }
    JoinClosers();
    DeleteEngineAndProtocol();
    delete room;
    ClearGameList();
    SetArrivalNotice(nullptr, 0);
    std::deque<CMessage*> queued = TakeQueue();
    DeleteAll(queued);
}

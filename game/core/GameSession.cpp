#include "game/core/GameSession.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "game/core/GameClock.h"
#include "game/core/GameLog.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/NetEngineEx.h"
#include "game/core/TableSide.h"
#include "game/core/TableStep.h"
#include "game/core/TranslateMsg.h"
#include "lobby/net/binary/MsgCodeIni.h"
#include "xml/XMLReadText.h"

namespace {

const DWORD kValueSize = 512;

CString CurrentDirectory() {
    char folder[MAX_PATH] = "";
    DWORD n = ::GetCurrentDirectoryA(MAX_PATH, folder);
    return n > 0 && n < MAX_PATH ? CString(folder) : CString();
}

CString ConfigFile(const CString& baseFolder) { return baseFolder + "\\fenlo\\config.ini"; }

int ReadSendType(const CString& baseFolder) {
    return static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "sendtype", 0, ConfigFile(baseFolder)));
}

}  // namespace

CGameSession::CGameSession() : CGameSession(CurrentDirectory()) {}

CGameSession::CGameSession(const CString& folder) : sendType(ReadSendType(folder)), baseFolder(folder) {}

CGameSession::~CGameSession() {
    delete images_.exchange(nullptr);
    delete connection_;  // closes it first: no callback runs after this
    connection_ = nullptr;
    LockBase<CriticalSection> guard(lock_);
    DeleteQueue(mainQueue_);
    DeleteQueue(secondQueue_);
}

CString CGameSession::ConfigPath() const { return ConfigFile(baseFolder); }

bool CGameSession::ReadClientVersion(std::string& version) const {
    char value[kValueSize] = "";
    ::GetPrivateProfileStringA("SYSTEM", "version", "", value, kValueSize, ConfigPath());
    const std::string text(value);
    if (text.empty()) return false;
    XMLTextReader reader;
    if (!ReadXmlText(reader, text) || !reader.Read() || !reader.MoveToNextAttribute() || !reader.MoveToNextAttribute()) return false;
    version = reader.Value();
    return true;
}

int CGameSession::ConnectAndValidate() {
    std::string version;
    if (!ReadClientVersion(version)) {
        GameLog("config.ini [SYSTEM] version is missing or not an element with two attributes");
        return 0;
    }
    if (!connection_) connection_ = new CNetEngineEx(this);
    connection_->Connect(serverHost, static_cast<short>(serverPort));
    unsigned int length = 0;
    std::unique_ptr<unsigned char[]> request(
        GetMsgFactory()->BuildPlayerInfoValidate(playerId, validation, version, &length));
    SendMsg(reinterpret_cast<const char*>(request.get()), static_cast<int>(length));
    firstReplyStamp = GameClockNow();
    return 1;
}

void CGameSession::SendMsg(const char* xml, int length) {
    if (requestSink_) {
        if (xml && length >= 0) requestSink_(xml, length);
        return;
    }
    if (!connection_ || !xml || length < 0) return;
    if (sendType == 0) {
        connection_->SendText(xml, static_cast<unsigned>(length));
    } else if (sendType == 1) {
        MsgCodeTable table = CodeTable();
        CTranslateMsg translator(table);
        const unsigned char* packet = translator.XmlToBinary(xml, length);
        if (!packet) {
            GameLog("request not sent: the binary form cannot carry it");
            return;
        }
        connection_->SendBinary(packet, static_cast<unsigned>(translator.GetPacketLength()));
    }
}

bool CGameSession::IsSecondaryType(int typeId) {
    static const int kSecondary[] = {16, 17, 28, 31, 33, 37, 38, 43};
    return std::find(std::begin(kSecondary), std::end(kSecondary), typeId) != std::end(kSecondary);
}

void CGameSession::OnReceive(const char* text, int length) {
    // The parse runs outside the lock: a heavy frame takes its time on this
    // thread alone, and the user-interface thread's pops never wait for it.
    if (HasNetworkError()) return;
    std::unique_ptr<CMessage> message;
    bool failed = false;
    try {
        message.reset(GetMsgFactory()->ParseMessage(text, length));
        if (message) message->receiveTime = GameClockNow();
        if (message) TableStep("received %d", message->typeId);
    } catch (...) {
        failed = true;
    }
    LockBase<CriticalSection> guard(lock_);
    if (networkError_ || (!message && !failed)) return;
    if (!failed) {
        std::deque<CMessage*>& queue = IsSecondaryType(message->typeId) ? secondQueue_ : mainQueue_;
        try {
            queue.push_back(message.get());
            message.release();
            return;
        } catch (...) {
        }
    }
    // Only recorded here: the box is the user-interface thread's, so that
    // this thread never waits on the player while it holds the lock.
    networkError_ = 1;
    errorBoxPending_ = 1;
}

CMessage* CGameSession::PopMessage() { return Pop(mainQueue_); }

CMessage* CGameSession::PopSecondaryMessage() { return Pop(secondQueue_); }

CMessage* CGameSession::Pop(std::deque<CMessage*>& queue) {
    LockBase<CriticalSection> guard(lock_);
    if (networkError_ || queue.empty()) return nullptr;
    CMessage* message = queue.front();
    queue.pop_front();
    return message;
}

int CGameSession::HasNetworkError() {
    LockBase<CriticalSection> guard(lock_);
    return networkError_;
}

bool CGameSession::ShowNetworkErrorBox() {
    {
        LockBase<CriticalSection> guard(lock_);
        if (!errorBoxPending_) return false;
        errorBoxPending_ = 0;
    }
    CTableSide* side = GetTableSide();
    if (!side) return false;
    if (side->ShowBox("你的网络发生错误\n,请重新进入房间!", 10) == IDOK) ::PostQuitMessage(0);
    return true;
}

void CGameSession::ResetConnection() {
    // Closing waits for a receive callback in progress, which may be waiting
    // for the session lock: so the old connection is closed before the lock
    // is taken, and deleted after it is released.
    std::unique_ptr<CNetEngineEx> fresh(new CNetEngineEx(this));
    CNetEngineEx* old = connection_;
    if (old) old->Close();
    std::deque<CMessage*> discarded;
    {
        LockBase<CriticalSection> guard(lock_);
        connection_ = fresh.release();
        discarded.swap(mainQueue_);
    }
    delete old;
    DeleteQueue(discarded);
}

CTableConnection* CGameSession::Connection() const { return connection_; }

void CGameSession::ConnectTo(const std::string& host, int port) {
    if (connection_) connection_->Connect(host, static_cast<short>(port));
}

int CGameSession::CreateImages() {
    CTableSide* side = GetTableSide();
    CTablePictures* images = side ? side->CreatePictures() : nullptr;
    if (!images) return 0;
    delete images_.exchange(images);
    return 1;
}

int CGameSession::LoadMessageTable() {
    LockBase<CriticalSection> guard(tableLock_);
    LoadGameMsgTable(baseFolder.str(), msgTable_);
    return 1;
}

MsgCodeTable CGameSession::CodeTable() {
    LockBase<CriticalSection> guard(tableLock_);
    if (msgTable_.empty()) LoadMessageTable();
    return msgTable_;
}

void CGameSession::DeleteQueue(std::deque<CMessage*>& queue) {
    for (CMessage* message : queue) delete message;
    queue.clear();
}

// ---- the accessors -----------------------------------------------------------

namespace {
CGameSession* g_session = nullptr;
CTableSide* g_tableSide = nullptr;
}  // namespace

void SetTableSide(CTableSide* side) { g_tableSide = side; }

CTableSide* GetTableSide() { return g_tableSide; }

CGameSession* GetGameSession() {
    if (!g_session) g_session = new CGameSession;
    return g_session;
}

void DestroyGameSession() {
    delete g_session;
    g_session = nullptr;
}

CNetEngineEx* GetNetEngine() { return GetGameSession()->GetConnection(); }

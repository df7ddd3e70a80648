#include "game/core/NetEngineEx.h"

#include <cstring>
#include <memory>

#include "game/core/GameClock.h"
#include "game/core/GameLog.h"
#include "game/core/GameSession.h"
#include "game/core/TranslateMsg.h"

CNetEngineEx::CNetEngineEx(CGameSession* session) : session_(session) {}

CNetEngineEx::~CNetEngineEx() { Close(); }

void CNetEngineEx::OnReceiveText(char* text, int length) {
    std::unique_ptr<char[]> owned(text);
    if (firstTextPending_.exchange(0)) session_->firstReplyStamp = GameClockNow();
    session_->OnReceive(text, length);
}

void CNetEngineEx::OnReceiveBinary(unsigned char* packet, int length) {
    std::unique_ptr<unsigned char[]> owned(packet);
    char* xml = nullptr;
    try {
        MsgCodeTable table = session_->CodeTable();
        CTranslateMsg translator(table);
        xml = translator.BinaryToXml(packet, length);
    } catch (...) {
        xml = nullptr;
    }
    if (!xml) {
        GameLog("binary frame dropped: no decodable message");
        return;
    }
    OnReceiveText(xml, static_cast<int>(std::strlen(xml)));
}

void CNetEngineEx::OnError(int) { alive_ = 0; }

void CNetEngineEx::OnClose() {
    CThreadEngine::OnClose();
    alive_ = 0;
}

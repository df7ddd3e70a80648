#include "lobby/net/engine/NetEngineEx.h"

#include <cstring>

#include "lobby/net/base/TextHelpers.h"
#include "lobby/net/engine/LobbyLink.h"

CNetEngineEx::CNetEngineEx() {}

CNetEngineEx::~CNetEngineEx() {
    // Detach before the members go, so that no callback meets them destroyed.
    Close();
}

void CNetEngineEx::OnReceiveText(char* text, int length) {
    try {
        if (LobbyLink* link = Link()) link->PushPacket(text, length);
    } catch (...) {
        OnError(0);  // a reply that cannot be parsed marks the connection failed
    }
    delete[] text;
}

void CNetEngineEx::OnReceiveBinary(unsigned char* data, int length) {
    char* xml = nullptr;
    try {
        if (LobbyLink* link = Link()) xml = link->BinaryToXml(data, length);
    } catch (...) {
        xml = nullptr;  // undecodable: dropped like a message without a decoding
    }
    delete[] data;
    if (xml) OnReceiveText(xml, static_cast<int>(std::strlen(xml)));
}

void CNetEngineEx::OnError(int) { alive_ = 0; }

// The server has closed the connection: it is as lost as after an error.
void CNetEngineEx::OnClose() { alive_ = 0; }

void CNetEngineEx::Connect(std::string host, short port) {
    CThreadEngine::Connect(host, port);
    host_ = host;
    port_ = NumberToText(static_cast<unsigned>(static_cast<unsigned short>(port)));
}

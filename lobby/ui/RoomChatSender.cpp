#include "lobby/ui/RoomChatSender.h"

#include <cstdio>
#include <memory>

#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyProtocol.h"

int SendRoomChat(CLobbyData& data, const CLobbyChatMsg& message) {
    LobbyLockGuard guard(data.lobbyLock);
    CNetEngineEx* engine = data.GetNetEngine();
    CLobbyProtocol* protocol = data.GetLobbyProtocol();
    if (!engine || !protocol) return 0;
    std::string content;
    for (char c : message.content)
        if (c != ' ') content += c;
    char color[40];
    std::snprintf(color, sizeof color, "%d,%d,%d", static_cast<int>(message.color & 0xFF),
                  static_cast<int>((message.color >> 8) & 0xFF), static_cast<int>((message.color >> 16) & 0xFF));
    int length = 0;
    std::unique_ptr<unsigned char[]> request(
        protocol->MakeChatMsg(color, message.playerName, message.place, message.target, content, &length));
    if (!request) return 0;
    engine->Send(reinterpret_cast<const char*>(request.get()), length);
    return 1;
}

#include "lobby/ui/RoomChatSender.h"

#include <cstdio>
#include <memory>

#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbySend.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyProtocol.h"

int SendRoomChat(CLobbyData& data, const CLobbyChatMsg& message) {
    std::string content;
    for (char c : message.content)
        if (c != ' ') content += c;
    char color[40];
    std::snprintf(color, sizeof color, "%d,%d,%d", static_cast<int>(message.color & 0xFF),
                  static_cast<int>((message.color >> 8) & 0xFF), static_cast<int>((message.color >> 16) & 0xFF));
    return SendLobbyRequest(data, [&](CLobbyProtocol& protocol, int* length) {
               return protocol.MakeChatMsg(color, message.playerName, message.place, message.target, content, length);
           })
               ? 1
               : 0;
}

// Sends a room chat line to the lobby server: blanks taken out of the
// content, the colour as "r,g,b", the Chat request sent on the lobby's main
// connection under the lobby lock.
#pragma once

#include <winsock2.h>

#include "lobby/net/protocol/LobbyMessages.h"

class CLobbyData;

// 1 when the request went out; 0 without an engine or a request.
int SendRoomChat(CLobbyData& data, const CLobbyChatMsg& message);

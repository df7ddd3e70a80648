// Sends one request on the lobby's main connection: built with the hub's
// protocol and sent under the lobby lock.
#pragma once

#include <memory>

#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyProtocol.h"

// build(protocol, &length) returns the new request or null. False when there
// is no connection or nothing was built.
template <class Build>
bool SendLobbyRequest(CLobbyData& hub, Build build) {
    LobbyLockGuard guard(hub.lobbyLock);
    CLobbyProtocol* protocol = hub.GetLobbyProtocol();
    CNetEngineEx* engine = hub.GetNetEngine();
    if (!protocol || !engine) return false;
    int length = 0;
    std::unique_ptr<unsigned char[]> request(build(*protocol, &length));
    if (!request) return false;
    engine->Send(reinterpret_cast<const char*>(request.get()), length);
    return true;
}

#include "lobby/net/engine/LobbyLink.h"

#include <atomic>

namespace {
std::atomic<LobbyLink*> installed{nullptr};
}

void SetLobbyLink(LobbyLink* link) { installed = link; }
LobbyLink* GetLobbyLink() { return installed; }

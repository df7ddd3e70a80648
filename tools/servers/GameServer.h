// The game server on its host (see ServerHost.h): one desk of a player and two robots.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "tools/servers/GameLogic.h"
#include "tools/servers/RoomToken.h"
#include "tools/servers/ServerHost.h"

namespace servers {

class GameServer : public ScriptedHost {
public:
    explicit GameServer(GameConfig config = GameConfig(), HostOptions options = HostOptions());
    ~GameServer() override;
    // Runs fn on the desk under the desk's lock.
    void WithDesk(const std::function<void(GameDesk&)>& fn);

private:
    std::mutex deskMutex_;
    std::unique_ptr<GameDesk> desk_;
};

}  // namespace servers

#include "tools/servers/GameServer.h"

namespace servers {

GameServer::GameServer(GameConfig config, HostOptions options)
    : ScriptedHost(std::move(options),
                   [this](int, const Request& r) {
                       std::lock_guard<std::mutex> lock(deskMutex_);
                       return desk_->Answer(r);
                   }),
      desk_(new GameDesk(std::move(config))) {
    Start();
}

GameServer::~GameServer() { Stop(); }

void GameServer::WithDesk(const std::function<void(GameDesk&)>& fn) {
    std::lock_guard<std::mutex> lock(deskMutex_);
    fn(*desk_);
}

}  // namespace servers

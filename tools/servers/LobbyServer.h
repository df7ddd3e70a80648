// The lobby server on its host (see ServerHost.h).
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "tools/servers/LobbyLogic.h"
#include "tools/servers/ServerHost.h"

namespace servers {

class LobbyServer : public ScriptedHost {
public:
    explicit LobbyServer(LobbyConfig config = DefaultLobbyConfig(), HostOptions options = HostOptions());
    ~LobbyServer() override;
    LobbyLogic& Logic() { return *logic_; }

private:
    std::vector<Reply> Answer(int index, const Request& request);

    std::unique_ptr<LobbyLogic> logic_;
    std::mutex conversationsMutex_;
    std::vector<std::unique_ptr<LobbyLogic::Conversation>> conversations_;
};

}  // namespace servers

#include "tools/servers/LobbyServer.h"

namespace servers {

LobbyServer::LobbyServer(LobbyConfig config, HostOptions options)
    : ScriptedHost(std::move(options),
                   [this](int index, const Request& r) { return Answer(index, r); }),
      logic_(new LobbyLogic(std::move(config))) {
    Start();
}

LobbyServer::~LobbyServer() { Stop(); }

std::vector<Reply> LobbyServer::Answer(int index, const Request& request) {
    LobbyLogic::Conversation* conversation;
    {
        std::lock_guard<std::mutex> lock(conversationsMutex_);
        while (static_cast<int>(conversations_.size()) < index)
            conversations_.emplace_back(
                new LobbyLogic::Conversation(*logic_, static_cast<int>(conversations_.size()) + 1));
        conversation = conversations_[static_cast<size_t>(index - 1)].get();
    }
    return conversation->Answer(request);
}

}  // namespace servers

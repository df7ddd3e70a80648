// MiraboLobbyServer.exe: our lobby server on 127.0.0.1 (options: ProgramOptions.h, and)
//   --game-port N       where the rooms send the card-game client
//   --account NAME:PASSWORD  the one account (default player:secret)
//   --min-version V     a Login below it is answered LowClientVersion
//   --new-version TEXT  the version answer (empty: the latest)
//   --notice TEXT       a notice sent after each login
#include <cstdio>

#include "lobby/net/protocol/LoginDigest.h"
#include "tools/servers/LobbyHostile.h"
#include "tools/servers/LobbyServer.h"
#include "tools/servers/ProgramOptions.h"

int main(int argc, char** argv) {
    servers::ProgramOptions options;
    std::string error;
    servers::HostOptions host;
    if (!options.Parse(argc, argv, {"game-port", "account", "min-version", "new-version", "notice"}, error) ||
        !options.Host(servers::DefaultLobbyCodes(), host, error)) {
        std::fprintf(stderr, "MiraboLobbyServer: %s\n", error.c_str());
        return 2;
    }
    servers::LobbyConfig config = servers::DefaultLobbyConfig();
    config.gamePort = static_cast<int>(options.Number("game-port", 0));
    config.secret = options.Text("secret", config.secret);
    config.seed = static_cast<unsigned>(options.Number("seed", 1));
    config.minVersion = options.Text("min-version");
    config.newVersion = options.Text("new-version");
    config.notice = options.Text("notice");
    if (options.Has("account")) {
        const std::string account = options.Text("account");
        const size_t colon = account.find(':');
        if (colon == std::string::npos || colon == 0) {
            std::fprintf(stderr, "MiraboLobbyServer: --account takes NAME:PASSWORD\n");
            return 2;
        }
        const std::string name = NormalizeLoginName(account.substr(0, colon));
        config.accounts = {{name, MakeStoredDigest(account.substr(colon + 1), false), "1000.00", name}};
    }
    for (const servers::LobbyAccount& a : config.accounts)
        std::printf("account %s digest %s\n", a.name.c_str(), a.storedDigest.c_str());
    if (host.hostile.frames > 0) {
        host.hostile.vocabulary = std::make_shared<servers::HostileVocabulary>(servers::LobbyVocabulary());
        host.hostile.after = "PlayerValidate";
    }
    servers::LobbyServer server(config, host);
    return servers::RunUntilExpired(server, options, "MiraboLobbyServer");
}

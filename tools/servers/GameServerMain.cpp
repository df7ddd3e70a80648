// FenloGameServer.exe: our game server on 127.0.0.1 with one desk of a player
// and two robots (options: ProgramOptions.h, and)
//   --room ID      the room the validation tokens are for (1)
//   --turn SECONDS the time each turn notice gives (30)
#include <cstdio>

#include "tools/servers/GameServer.h"
#include "tools/servers/ProgramOptions.h"

int main(int argc, char** argv) {
    servers::ProgramOptions options;
    std::string error;
    servers::HostOptions host;
    if (!options.Parse(argc, argv, {"room", "turn"}, error) ||
        !options.Host(servers::DefaultGameCodes(), host, error)) {
        std::fprintf(stderr, "FenloGameServer: %s\n", error.c_str());
        return 2;
    }
    servers::GameConfig config;
    config.room = options.Text("room", config.room);
    config.secret = options.Text("secret", config.secret);
    config.seed = static_cast<unsigned>(options.Number("seed", 1));
    config.turnSeconds = static_cast<int>(options.Number("turn", config.turnSeconds));
    servers::GameServer server(config, host);
    return servers::RunUntilExpired(server, options, "FenloGameServer");
}

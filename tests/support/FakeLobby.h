// A fake lobby on 127.0.0.1 for the login tests: the files that point the
// lobby at it, its reply texts, and a server that answers probes and runs a
// script on the Login request.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/LoopbackServer.h"

namespace testsupport {

// The ini lines of one server record section (port 8000 + index unless given).
std::string ServerSection(int index, const std::string& ip, int comport, int netType, int port = -1);
// serveraddr.ini with these sections and the given count.
std::string ServerAddrIni(int count, const std::vector<std::string>& sections);
// The updater's config.ini with the chosen-server entry.
std::string UpdaterIni(const std::string& ip, int port, int comport);
// A lobby server reply document.
std::string LobbyReply(const std::string& name, const std::string& body);
// A probe answer: game FENLO, message PingData.
extern const char kPingAnswer[];

// What the fake server does on a connection once it has the Login request.
using LoginScript = std::function<void(Connection&, const std::string& login)>;
// Answers a probe with kPingAnswer, hands a Login request to the script.
std::unique_ptr<LoopbackServer> StartFakeLobby(LoginScript script);
// LoginKey with the key, then reply when the answer carries the ticket, else
// LoginFailed.
LoginScript LoginVerdict(const std::string& key, const std::string& ticket, const std::string& reply);

}  // namespace testsupport

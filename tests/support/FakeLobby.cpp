#include "tests/support/FakeLobby.h"

namespace testsupport {

std::string ServerSection(int index, const std::string& ip, int comport, int netType, int port) {
    return "[server" + std::to_string(index) + "]\r\nm_strName=s" + std::to_string(index) + "\r\nm_strIP=" + ip +
           "\r\nm_strPort=" + std::to_string(port < 0 ? 8000 + index : port) +
           "\r\nm_strComPort=" + std::to_string(comport) + "\r\nm_netType=" + std::to_string(netType) + "\r\n";
}

std::string ServerAddrIni(int count, const std::vector<std::string>& sections) {
    std::string text = "[servercount]\r\ncount=" + std::to_string(count) + "\r\n";
    for (const std::string& s : sections) text += s;
    return text;
}

std::string UpdaterIni(const std::string& ip, int port, int comport) {
    return "[system]\r\nsystem=<config><value ip=\"" + ip + "\" port=\"" + std::to_string(port) + "\" comport=\"" +
           std::to_string(comport) + "\"/></config>\r\n";
}

std::string LobbyReply(const std::string& name, const std::string& body) {
    std::string head = "<GameMessage game=\"Lobby\"><Message name=\"" + name + "\"";
    if (body.empty()) return head + "/></GameMessage>";
    return head + ">" + body + "</Message></GameMessage>";
}

const char kPingAnswer[] = "<GameMessage game=\"FENLO\"><Message name=\"PingData\"/></GameMessage>";

std::unique_ptr<LoopbackServer> StartFakeLobby(LoginScript script) {
    return std::make_unique<LoopbackServer>([script](Connection& c) {
        int kind;
        std::string first;
        if (!c.ReadFrame(kind, first, 10000)) return;
        if (first.find("Ping") != std::string::npos) {  // a probe
            c.SendFrame(1, kPingAnswer);
        } else {
            script(c, first);
        }
        c.WaitClosed(30000);
    });
}

LoginScript LoginVerdict(const std::string& key, const std::string& ticket, const std::string& reply) {
    return [key, ticket, reply](Connection& c, const std::string&) {
        c.SendFrame(1, LobbyReply("LoginKey", "<p a=\"x\" b=\"" + key + "\"/>"));
        int kind;
        std::string validate;
        if (!c.ReadFrame(kind, validate, 5000)) return;
        const bool right = validate.find("ticket=\"" + ticket + "\"") != std::string::npos;
        c.SendFrame(1, right ? reply : LobbyReply("LoginFailed", "<p a=\"wrong ticket\"/>"));
    };
}

}  // namespace testsupport

// A server of ours on 127.0.0.1, the host of the lobby and game servers
// (LobbyServer.h, GameServer.h) in the tests and in the programs
// MiraboLobbyServer.exe and FenloGameServer.exe:
//
//   servers::HostOptions options;             // port 0: any free port
//   options.codes = servers::DefaultLobbyCodes();
//   servers::LobbyServer lobby(servers::DefaultLobbyConfig(), options);
//   lobby.SetScript(script);                  // faults and extra messages
//   ... connect to 127.0.0.1:lobby.Port() ...
//   lobby.Stop();                             // or let the destructor stop it
//
// Every frame received gets its replies on the same connection; replies go in
// the form the request came in (binary when the code table has the name) unless
// the options fix one. Each server ends by itself after `idleMs` without a
// frame or connection and after `overallMs` in all (Expired() then says so).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "lobby/net/binary/MsgCodeEntry.h"
#include "tools/servers/CodeTables.h"
#include "tools/servers/Hostile.h"
#include "tools/servers/Reply.h"
#include "tools/servers/Request.h"
#include "tools/servers/Script.h"

namespace testsupport {
class Connection;
class LoopbackServer;
}  // namespace testsupport

namespace servers {

enum class ReplyForm { kMirror, kText, kBinary };

struct HostOptions {
    unsigned short port = 0;
    int idleMs = 120000;
    int overallMs = 1800000;
    ReplyForm form = ReplyForm::kMirror;
    MsgCodeTable codes;
    Script script;
    std::string transcript;  // a file for "< request" and "> reply" lines; empty: none
    HostilePlan hostile;  // Hostile.h
};

class ScriptedHost {
public:
    // The replies to one request on connection `index` (from 1).
    typedef std::function<std::vector<Reply>(int index, const Request& request)> Answer;

    ScriptedHost(HostOptions options, Answer answer);
    virtual ~ScriptedHost();
    ScriptedHost(const ScriptedHost&) = delete;
    ScriptedHost& operator=(const ScriptedHost&) = delete;

    unsigned short Port() const;  // 0 when the port could not be had
    void SetScript(const Script& script);
    // The names of the requests received so far, in order, on every connection.
    std::vector<std::string> Requests() const;
    int Connections() const;
    // Frames of a hostile run sent so far (probes not counted), and probes sent.
    int HostileSent() const;
    int ProbesSent() const;
    // True once the idle or overall deadline passed (the server then stops).
    bool Expired();
    void Stop();

protected:
    // Derived servers start listening once their own members are built, and
    // stop before they are destroyed.
    void Start();

private:
    struct Session {
        testsupport::Connection& c;
        int index;   // the connection's, from 1
        int sent;    // frames sent on it
        bool hostile;
    };
    void Serve(testsupport::Connection& c, int index);
    // One request frame answered; false when the connection ended.
    bool Handle(Session& s, int kind, const std::string& payload);
    // Answers the requests that have come in meanwhile.
    bool AnswerWaiting(Session& s);
    // Polls condition every 50 ms for up to ms, answering the client meanwhile;
    // false when the connection failed.
    bool WaitAnswering(Session& s, const std::function<bool()>& condition, int ms);
    // Sends one frame with the script's faults; false when the connection ends.
    bool Send(testsupport::Connection& c, int index, int number, int kind, const std::string& payload);
    void Touch();
    void Note(const std::string& line);
    // The hostile run on this connection, probes in the binary form when
    // `binary` and the table has them; false when the connection ended.
    bool GoHostile(Session& s, bool binary);

    HostOptions options_;
    Answer answer_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    int connections_ = 0;
    int hostileConnections_ = 0;
    std::atomic<int> hostileSent_{0};
    std::atomic<int> probesSent_{0};
    unsigned long long started_ = 0;
    std::atomic<unsigned long long> lastActivity_{0};
    std::unique_ptr<testsupport::LoopbackServer> server_;
};

}  // namespace servers

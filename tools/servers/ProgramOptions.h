// The command line shared by the two server programs:
//   --port N          port on 127.0.0.1 (0, the default: any free port)
//   --port-file FILE  the port is written there once the server listens
//   --idle MS         end after MS without a frame or connection (120000)
//   --overall MS      end after MS in all (1800000)
//   --form F          mirror (default), text or binary: the form of the replies
//   --codes FILE      the binary form's code table (Msg.ini / FENLOMsg.ini format);
//                     without it the built-in table
//   --write-codes FILE  writes the built-in table there (for the client's folder) and goes on
//   --script FILE     faults and extra messages (tools/servers/Script.h)
//   --secret TEXT     shared by both servers for the room tokens
//   --seed N          login keys, deals and the robots' choices
//   --transcript FILE every request's name ("< name") and reply ("> text") appended there
//   --hostile N       once logged in (validated), N hostile frames (Hostile.h) on
//                     the first connection, seeded with --seed
// Each program reads its own options after these.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/servers/ServerHost.h"

namespace servers {

class ProgramOptions {
public:
    // Reads "--name value" pairs; false with a message for a lone or unknown name.
    bool Parse(int argc, char** argv, const std::vector<std::string>& ownNames, std::string& error);
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::string Text(const std::string& name, const std::string& fallback = std::string()) const;
    long Number(const std::string& name, long fallback) const;

    // The host options, with the code table (built-in or read) and the script;
    // false with a message when a file cannot be read or the script is wrong.
    bool Host(const MsgCodeTable& builtIn, HostOptions& out, std::string& error) const;

private:
    std::map<std::string, std::string> values_;
};

bool ReadWholeFile(const std::string& path, std::string& out);
bool WriteWholeFile(const std::string& path, const std::string& text);

// Runs the server until it expires; prints and writes its port. Exit code.
int RunUntilExpired(ScriptedHost& host, const ProgramOptions& options, const char* what);

}  // namespace servers

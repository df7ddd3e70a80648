// The lobby server's answers, without sockets: one LobbyLogic holds the rooms,
// desks and accounts shared by every connection; one LobbyConversation per
// connection turns each request into its replies.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/servers/Reply.h"
#include "tools/servers/Request.h"
#include "tools/servers/RoomToken.h"

namespace servers {

struct LobbyAccount {
    std::string name;          // as the lobby sends it (lower case)
    std::string storedDigest;  // the login dialog's digest of the password
    std::string money = "1000.00";
    std::string nickname;
};

struct LobbyRoom {
    std::string id;
    std::string name;
    int playerCount = 0;
    // Where the lobby's tree shows it: the FENLORoomTree.ini entry it hangs
    // under and its own node number (1 to 59999). The binary form has no room
    // for the node, so only the text form places rooms in the tree.
    std::string entry = "1";
    std::string node;
};

struct LobbyConfig {
    std::vector<LobbyAccount> accounts;
    std::vector<LobbyRoom> rooms;
    int desks = 6;                   // per room, three seats each
    std::string gameHost = "127.0.0.1";
    int gamePort = 0;                // where the rooms send the card-game client
    std::string secret = "loopback";  // shared with the game server for the room tokens
    std::string minVersion;          // Login below it: LowClientVersion; empty: any
    std::string newVersion;          // the latest version; empty: every client is the latest
    std::string notice;              // sent after a login when not empty
    unsigned seed = 1;               // login keys
};

// The account "player" with the password "secret" and two rooms.
LobbyConfig DefaultLobbyConfig();

// The dotted versions compared number by number: <0, 0, >0.
int CompareVersions(const std::string& a, const std::string& b);
std::string Base64Encode(const std::string& bytes);

// Replies for tests and scripts.
Reply LobbyNotice(const std::string& text, int type);
Reply LobbyKick(const std::string& reason, bool close, bool reconnect);
Reply LobbyChat(bool system, const std::string& from, const std::string& to, const std::string& content);

class LobbyLogic {
public:
    explicit LobbyLogic(LobbyConfig config);
    const LobbyConfig& Config() const { return config_; }

    // Per connection: its login and the answers to each request.
    class Conversation {
    public:
        Conversation(LobbyLogic& lobby, int index) : lobby_(lobby), index_(index) {}
        // The replies to a request (the version request is another XML document).
        std::vector<Reply> Answer(const Request& request);
        bool LoggedIn() const { return !player_.empty(); }
        const std::string& Player() const { return player_; }

    private:
        std::vector<Reply> Login(const Request& r);
        std::vector<Reply> Validate(const Request& r);
        std::vector<Reply> EnterRoom(const Request& r);
        std::vector<Reply> EnterDesk(const Request& r);

        LobbyLogic& lobby_;
        int index_;
        std::string name_;     // from Login
        std::string key_;      // the login key sent
        std::string player_;   // once validated
        std::string room_;     // once entered
    };

    Reply GameList() const;
    Reply DeskList(const std::string& room) const;
    // The room's players as one entering it sees them: that player first,
    // then those seated at its desks.
    Reply RoomPlayers(const std::string& room, const std::string& entering) const;

private:
    struct Seat {
        std::string player;
    };
    struct Desk {
        Seat seats[3];
    };
    const LobbyAccount* Account(const std::string& name) const;
    const LobbyRoom* Room(const std::string& id) const;

    LobbyConfig config_;
    mutable std::mutex mutex_;
    std::vector<std::vector<Desk>> desks_;  // per room
};

}  // namespace servers

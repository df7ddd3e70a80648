// The games and rooms of the lobby's game tree, as the data hub keeps them.
#pragma once

#include <string>
#include <vector>

struct LobbyRoomRecord;

struct LobbyGameRecord {
    std::string id;    // decimal; the tree node id is id + 60000
    std::string code;  // "FENLO" for the card game
    std::string name;
    std::string text4;
    std::vector<LobbyRoomRecord*> rooms;  // owned by the hub's game list, which deletes them
};

struct LobbyRoomRecord {
    std::string id;          // decimal; the key of CLobbyData::FindRoom
    std::string name;        // tree text
    std::string host;        // server host
    std::string host2;       // text after the host's comma; "0" when none
    std::string port;        // server port
    std::string port2;       // text after the port's comma; "0" when none
    bool flag = false;       // room flag: decides the launch mode
    int playerCount = 0;     // shown as "%s(%d人)"
    int group = 0;           // tree node id = group + 90000
    std::string closedText;  // shown when the room is closed
    std::string gameId;      // id of the owning game
    std::string text7;       // a change restarts the main window's refresh timer
    std::string openFlag;    // "1" = open
    std::string text12;
    LobbyGameRecord* owner = nullptr;  // not owned
};

// The desks of one room with the players seated at them, built by the reply
// parser from a DeskList reply and then owned by the room view that takes it.
// Every operation on a desk takes its owning list's lock (re-entrant), so the
// view may hold that lock around a series of calls.
#pragma once

#include <string>
#include <vector>

#include "lobby/net/base/Locks.h"

class CRoomDeskList;

struct RoomDeskPlayer {
    std::string playerId;
    std::string nickname;
    std::string seat;  // "0", "1" or "2"
    int state = 0;     // 1 ready
    int type = 0;      // 1 selects the second seat picture
};

class CRoomDeskInfo {
public:
    CRoomDeskInfo(CRoomDeskList* owner, int playing, int groupFlag, const std::string& name,
                  const std::string& roomId, const std::string& deskId);
    virtual ~CRoomDeskInfo();

    // Appends a seated player; the player who held that seat gives way, so a
    // desk holds at most three. Null, and nothing added, for a seat text other
    // than "0", "1" or "2", or when the record cannot be created. A player
    // already at another seat is not checked.
    RoomDeskPlayer* AddPlayer(const std::string& playerId, const std::string& nickname, const std::string& seat,
                              int state, int type);
    // The first player with that id; null if none. The record stays the desk's.
    RoomDeskPlayer* FindPlayer(const std::string& playerId);
    // Deletes the first player whose seat text equals seat: 1, or 0 if none.
    int RemovePlayer(const std::string& seat);
    int GetPlayerCount();

    int groupFlag;
    int playing;
    std::string name;
    std::string roomId;
    std::string deskId;
    std::vector<RoomDeskPlayer*> players;  // owned, in arrival order

    CRoomDeskInfo(const CRoomDeskInfo&) = delete;
    CRoomDeskInfo& operator=(const CRoomDeskInfo&) = delete;

private:
    CRoomDeskList* owner_;
};

class CRoomDeskList : public CCirSecLock {
public:
    CRoomDeskList() {}
    ~CRoomDeskList() override;

    // More desks than any room has: a server that sends them is not followed.
    static constexpr size_t kMaxDesks = 2000;

    // Appends a desk with no players; null when the list holds kMaxDesks or
    // the desk cannot be created. Duplicate desk ids are not checked.
    CRoomDeskInfo* AddDesk(int playing, int groupFlag, const std::string& name, const std::string& roomId,
                           const std::string& deskId);
    // The first desk whose id equals deskId as a whole text; null if none.
    CRoomDeskInfo* FindDesk(const std::string& deskId);
    int GetCount();

    std::vector<CRoomDeskInfo*> desks;  // owned, in arrival order
};

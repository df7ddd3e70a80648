// The desks of one room with the players seated at them, built by the reply
// parser from a DeskList reply and then owned by the room view that takes it.
#pragma once

#include <string>
#include <vector>

#include "lobby/net/base/Locks.h"

class CRoomDeskList;

struct RoomDeskPlayer {
    std::string playerId;
    std::string nickname;
    std::string seat;
    int flag = 0;
    int number = 0;
};

class CRoomDeskInfo {
public:
    CRoomDeskInfo(CRoomDeskList* owner, int deskFlag, int value, const std::string& name, const std::string& roomId,
                  const std::string& deskId);
    ~CRoomDeskInfo();

    // Appends a seated player under the owning list's lock; null only when it
    // cannot be created.
    RoomDeskPlayer* AddPlayer(const std::string& playerId, const std::string& nickname, const std::string& seat,
                              int flag, int number);

    int deskFlag;
    int value;  // the room flag
    std::string name;
    std::string roomId;
    std::string deskId;
    std::vector<RoomDeskPlayer*> players;  // owned

    CRoomDeskInfo(const CRoomDeskInfo&) = delete;
    CRoomDeskInfo& operator=(const CRoomDeskInfo&) = delete;

private:
    CRoomDeskList* owner_;
};

class CRoomDeskList : public CCirSecLock {
public:
    CRoomDeskList() {}
    ~CRoomDeskList() override;

    // Appends a desk with no players under the list's lock; null only when it
    // cannot be created.
    CRoomDeskInfo* AddDesk(int deskFlag, int value, const std::string& name, const std::string& roomId,
                           const std::string& deskId);

    std::vector<CRoomDeskInfo*> desks;  // owned
};

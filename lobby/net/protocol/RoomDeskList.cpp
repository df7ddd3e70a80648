#include "lobby/net/protocol/RoomDeskList.h"

#include <new>

CRoomDeskInfo::CRoomDeskInfo(CRoomDeskList* owner, int deskFlag_, int value_, const std::string& name_,
                             const std::string& roomId_, const std::string& deskId_)
    : deskFlag(deskFlag_), value(value_), name(name_), roomId(roomId_), deskId(deskId_), owner_(owner) {}

CRoomDeskInfo::~CRoomDeskInfo() {
    for (RoomDeskPlayer* p : players) delete p;
}

RoomDeskPlayer* CRoomDeskInfo::AddPlayer(const std::string& playerId, const std::string& nickname,
                                         const std::string& seat, int flag, int number) {
    RoomDeskPlayer* player = nullptr;
    if (owner_) owner_->Lock();
    try {
        player = new RoomDeskPlayer{playerId, nickname, seat, flag, number};
        players.push_back(player);
    } catch (const std::bad_alloc&) {
        delete player;
        player = nullptr;
    }
    if (owner_) owner_->Unlock();
    return player;
}

CRoomDeskList::~CRoomDeskList() {
    for (CRoomDeskInfo* d : desks) delete d;
}

CRoomDeskInfo* CRoomDeskList::AddDesk(int deskFlag, int value, const std::string& name, const std::string& roomId,
                                      const std::string& deskId) {
    CRoomDeskInfo* desk = nullptr;
    Lock();
    try {
        desk = new CRoomDeskInfo(this, deskFlag, value, name, roomId, deskId);
        desks.push_back(desk);
    } catch (const std::bad_alloc&) {
        delete desk;
        desk = nullptr;
    }
    Unlock();
    return desk;
}

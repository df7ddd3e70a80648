#include "lobby/net/protocol/RoomDeskList.h"

#include <new>

#include "lobby/net/protocol/LobbyMessages.h"

namespace {

// Holds a list's lock for a scope; a desk without an owner locks nothing.
class DeskLock {
public:
    explicit DeskLock(CRoomDeskList* list) : list_(list) {
        if (list_) list_->Lock();
    }
    ~DeskLock() {
        if (list_) list_->Unlock();
    }
    DeskLock(const DeskLock&) = delete;
    DeskLock& operator=(const DeskLock&) = delete;

private:
    CRoomDeskList* list_;
};

bool IsDeskSeat(const std::string& seat) { return seat == "0" || seat == "1" || seat == "2"; }

}  // namespace

CRoomDeskInfo::CRoomDeskInfo(CRoomDeskList* owner, int playing_, int groupFlag_, const std::string& name_,
                             const std::string& roomId_, const std::string& deskId_)
    : groupFlag(groupFlag_), playing(playing_), name(name_), roomId(roomId_), deskId(deskId_), owner_(owner) {}

CRoomDeskInfo::~CRoomDeskInfo() {
    DeskLock lock(owner_);
    for (RoomDeskPlayer* p : players) delete p;
    players.clear();
}

RoomDeskPlayer* CRoomDeskInfo::AddPlayer(const std::string& playerId, const std::string& nickname,
                                         const std::string& seat, int state, int type) {
    if (!IsDeskSeat(seat)) return nullptr;
    DeskLock lock(owner_);
    RoomDeskPlayer* player = nullptr;
    try {
        player = new RoomDeskPlayer{playerId, nickname, seat, state, type};
        players.push_back(player);
    } catch (const std::bad_alloc&) {
        delete player;
        return nullptr;
    }
    // The seat's earlier player gives way: a desk holds at most three.
    for (auto it = players.begin(); it + 1 != players.end(); ++it) {
        if ((*it)->seat != seat) continue;
        delete *it;
        players.erase(it);
        break;
    }
    return player;
}

RoomDeskPlayer* CRoomDeskInfo::FindPlayer(const std::string& playerId) {
    DeskLock lock(owner_);
    for (RoomDeskPlayer* p : players)
        if (p->playerId == playerId) return p;
    return nullptr;
}

int CRoomDeskInfo::RemovePlayer(const std::string& seat) {
    DeskLock lock(owner_);
    for (auto it = players.begin(); it != players.end(); ++it) {
        if ((*it)->seat != seat) continue;
        delete *it;
        players.erase(it);
        return 1;
    }
    return 0;
}

int CRoomDeskInfo::GetPlayerCount() {
    DeskLock lock(owner_);
    return static_cast<int>(players.size());
}

CRoomDeskList::~CRoomDeskList() {
    DeskLock lock(this);
    for (CRoomDeskInfo* d : desks) delete d;
    desks.clear();
}

CRoomDeskInfo* CRoomDeskList::AddDesk(int playing, int groupFlag, const std::string& name, const std::string& roomId,
                                      const std::string& deskId) {
    DeskLock lock(this);
    if (desks.size() >= kMaxDesks) return nullptr;
    CRoomDeskInfo* desk = nullptr;
    try {
        desk = new CRoomDeskInfo(this, playing, groupFlag, name, roomId, deskId);
        desks.push_back(desk);
    } catch (const std::bad_alloc&) {
        delete desk;
        desk = nullptr;
    }
    return desk;
}

CRoomDeskInfo* CRoomDeskList::FindDesk(const std::string& deskId) {
    DeskLock lock(this);
    for (CRoomDeskInfo* d : desks)
        if (d->deskId == deskId) return d;
    return nullptr;
}

int CRoomDeskList::GetCount() {
    DeskLock lock(this);
    return static_cast<int>(desks.size());
}

CDeskInfoMsg::~CDeskInfoMsg() { delete deskList; }

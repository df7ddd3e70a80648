#include "game/core/PlayerInfo.h"

#include "game/core/GameClock.h"

CPlayerInfo::CPlayerInfo(const std::string& id) : hand(new CCardSet), id_(id) {}

CPlayerInfo::~CPlayerInfo() {
    delete lastPlay;
    delete hand;
}

void CPlayerInfo::SetClock(int time) {
    clockStart = static_cast<int>(GameClockNow());
    clockTime = time - 1000;
}

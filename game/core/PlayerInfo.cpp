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

int CPlayerInfo::ClockLeft(int now) const {
    if (clockStart == -1 || clockTime < 0) return -1;
    const long long left = static_cast<long long>(clockTime) - (static_cast<long long>(now) - clockStart);
    return left < 0 ? -1 : left > clockTime ? clockTime : static_cast<int>(left);
}

void CPlayerInfo::SetSex(int value) {
    sex = value;
    avatar = value == 1 ? 1 : 0;
}

#include "game/core/PlayerInfo.h"

#include <chrono>

#ifdef _WIN32
// The table measures turns with the same millisecond count.
extern "C" __declspec(dllimport) unsigned long __stdcall GetTickCount(void);
#endif

namespace {

int TickCount() {
#ifdef _WIN32
    return static_cast<int>(GetTickCount());
#else
    using namespace std::chrono;
    return static_cast<int>(
        static_cast<unsigned long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()));
#endif
}

}  // namespace

CPlayerInfo::CPlayerInfo(const std::string& id) : hand(new CCardSet), id_(id) {}

CPlayerInfo::~CPlayerInfo() {
    delete lastPlay;
    delete hand;
}

void CPlayerInfo::SetClock(int time) {
    clockStart = TickCount();
    clockTime = time - 1000;
}

#include "game/core/table/ConnectionWatch.h"

bool CConnectionWatch::OnMessage(DWORD receiveTime) {
    bool negative = false;
    if (answered == 0) {
        roundTrip = static_cast<int>(receiveTime - pingSent);
        if (roundTrip < 0) {
            roundTrip = 0;
            negative = true;
        }
    }
    answered = 1;
    return negative;
}

bool CConnectionWatch::KeepAliveDue(DWORD now) const {
    return answered == 1 && static_cast<int>(now - pingSent) >= kKeepAliveMs;
}

void CConnectionWatch::KeepAliveSent(DWORD now) {
    pingSent = now;
    answered = 0;
}

bool CConnectionWatch::WatchdogFires(DWORD now) {
    const int since = static_cast<int>(now - pingSent);
    if (pingSent == 0 || since <= 0 || since <= time2) return false;
    pingSent = now + kQuietMs;
    return true;
}

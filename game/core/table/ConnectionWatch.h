// CConnectionWatch: the keep-alive bookkeeping of the table. Any message from
// the server answers the keep-alive; a new one is sent 5 s after the last one
// once it was answered; the watchdog fires when more than the answer limit has
// passed since the last keep-alive sent, and then keeps quiet for 120 s.
#pragma once

#include "game/core/WinTypes.h"

class CConnectionWatch {
public:
    static const int kKeepAliveMs = 5000;
    static const int kQuietMs = 120000;

    // A message arrived (received at that time); true when the round trip
    // came out negative (taken as 0; the table then redraws).
    bool OnMessage(DWORD receiveTime);
    bool KeepAliveDue(DWORD now) const;
    void KeepAliveSent(DWORD now);
    // True when the watchdog fires now (it then waits 120 s).
    bool WatchdogFires(DWORD now);
    // A rebuilt connection starts as the first one did: a keep-alive sent on
    // the connection that was lost is never answered, and must not make the
    // watchdog drop the new one.
    void Restart() {
        pingSent = 0;
        answered = 0;
    }

    DWORD pingSent = 0;  // 0 before the first keep-alive
    int answered = 0;
    int roundTrip = 1;
    int time1 = 0;  // first-reply limit, ms
    int time2 = 0;  // answer limit, ms
};

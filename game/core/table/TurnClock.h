// CTurnClock: the turn clock's arithmetic. Times are milliseconds of the game
// clock; the clock counts its remaining time down on each Advance.
#pragma once

#include <string>

#include "game/core/WinTypes.h"

class CTurnClock {
public:
    // The clock for a turn of `seconds` with limit `limitMs`: the given time
    // when it lies in (0, limit], else the whole limit.
    static void Limits(int seconds, int limitMs, int* total, int* remaining);

    void Start(int ms, DWORD now) { StartFor(ms, ms, now); }
    void StartFor(int totalMs, int remainingMs, DWORD now);
    void Stop();
    // Counts down by the time since the last call; true when the remaining
    // time dropped below 0 on this call (the clock is then stopped).
    bool Advance(DWORD now);
    // 1 when the remaining whole seconds changed since the last call, 2 when
    // only remaining / 800 changed, else 0.
    int DisplayChange();
    int Seconds() const { return remaining / 1000; }

    int running = 0;
    int total = 30000;
    int remaining = -1;
    int lastTick = -1;
    std::string owner;  // name of the seat on turn

private:
    int shownSeconds_ = -1;
    int shown800_ = -1;
};

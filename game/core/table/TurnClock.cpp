#include "game/core/table/TurnClock.h"

void CTurnClock::Limits(int seconds, int limitMs, int* total, int* remaining) {
    *total = limitMs;
    const long long ms = static_cast<long long>(seconds) * 1000;
    *remaining = ms > 0 && ms <= limitMs ? static_cast<int>(ms) : limitMs;
}

void CTurnClock::StartFor(int totalMs, int remainingMs, DWORD now) {
    running = 1;
    total = totalMs;
    remaining = remainingMs;
    lastTick = static_cast<int>(now);
}

void CTurnClock::Stop() {
    running = 0;
    remaining = -1;
    lastTick = -1;
}

bool CTurnClock::Advance(DWORD now) {
    if (!running) return false;
    remaining -= static_cast<int>(now - static_cast<DWORD>(lastTick));
    lastTick = static_cast<int>(now);
    if (remaining >= 0) return false;
    Stop();
    return true;
}

int CTurnClock::DisplayChange() {
    const int seconds = remaining / 1000, tenths = remaining / 800;
    int change = 0;
    if (seconds != shownSeconds_)
        change = 1;
    else if (tenths != shown800_)
        change = 2;
    shownSeconds_ = seconds;
    shown800_ = tenths;
    return change;
}

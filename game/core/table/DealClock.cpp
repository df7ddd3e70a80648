#include "game/core/table/DealClock.h"

void CDealClock::Start(DWORD now) {
    step = -1;
    elapsed = 0;
    last_ = now;
    flightTop_ = 0;
}

int CDealClock::Advance(DWORD now) {
    elapsed += static_cast<int>(now - last_);
    last_ = now;
    step = elapsed / 25;
    if (step > kLastStep) step = kLastStep;
    return step;
}

int CDealClock::SeatCount(int s) {
    if (s < 6) return 0;
    const int n = (s - 6) / 9;
    return n > 17 ? 17 : n;
}

bool CDealClock::TakeNewFlight() {
    const int dealt = step > 6 ? (step - 6) / 3 : 0;
    int top = dealt + 2;
    if (top > 54) top = 54;
    if (top <= flightTop_) return false;
    flightTop_ = top;
    return true;
}

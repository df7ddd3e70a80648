// CDealClock: the timing of the dealing animation. One step per 25 ms of
// elapsed time, 168 steps in all (4200 ms); each seat gets a card every 9
// steps after a lead-in of 6; three cards are in flight at most.
#pragma once

#include "game/core/WinTypes.h"

class CDealClock {
public:
    static const int kLastStep = 168;

    void Start(DWORD now);
    // Adds the time since the last call; returns the new step.
    int Advance(DWORD now);
    // Cards a seat holds at a step (at most 17).
    static int SeatCount(int step);
    // True when the cards in flight reach further than before (a card leaves
    // the deck: the deal sound plays).
    bool TakeNewFlight();
    bool Done() const { return step > kLastStep - 1; }

    int step = -1;
    int elapsed = 0;

private:
    DWORD last_ = 0;
    int flightTop_ = 0;
};

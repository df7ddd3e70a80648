// The card-game client's millisecond clock (timeGetTime on Windows), with a
// replaceable source so that tests can fix the time.
#pragma once

#include "game/core/WinTypes.h"

typedef DWORD (*GameClockSource)();

// Milliseconds of the current clock source; wraps around like timeGetTime.
DWORD GameClockNow();
// Replaces the clock source; null restores the system clock.
void SetGameClockSource(GameClockSource source);

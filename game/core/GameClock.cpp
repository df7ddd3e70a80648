#include "game/core/GameClock.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>

#include <mmsystem.h>
#else
#include <chrono>
#endif

namespace {

DWORD SystemClock() {
#ifdef _WIN32
    return timeGetTime();
#else
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
}

std::atomic<GameClockSource> g_source{&SystemClock};

}  // namespace

DWORD GameClockNow() { return g_source.load()(); }

void SetGameClockSource(GameClockSource source) { g_source.store(source ? source : &SystemClock); }

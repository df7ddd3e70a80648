// Milliseconds since this process was created, as the system recorded its
// creation: the time base of both programs' start-up traces, so that a
// benchmark can line them up with its own clock.
#pragma once

#include <windows.h>

inline long MsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    ::GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return static_cast<long>((ticks(now) - ticks(created)) / 10000);
}

// A start-up step of the card-game client in its trace (TableTrace.h):
// "at <ms since the process was created> " and the text, so that a benchmark
// can line the client's steps up with the lobby's and its own clock.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "game/core/table/TableTrace.h"
#include "lobby/net/base/ProcessClock.h"

inline void TableStep(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline void TableStep(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    TableTrace("at %ld %s", MsSinceProcessStart(), text);
}

// Where the card-game core reports what it drops: by default the debugger
// output on Windows and nothing elsewhere; the session or a test may redirect it.
#pragma once

#include <string>

typedef void (*GameLogSink)(const std::string& line);

void GameLog(const std::string& line);
// Null restores the default.
void SetGameLogSink(GameLogSink sink);

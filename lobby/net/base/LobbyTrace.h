// A test and benchmark hook: when the environment variable MIRABO_LOBBY_TRACE
// names a file, the lobby appends one line to it for each message box it shows
// ("box caption|text|style|countdown"), each address it opens ("open address")
// and each step of its start-up, of the room page's making (its desk view, the
// first and the last slice of its buttons) and of a game's launch, from the
// room page's press through the seat's request and its answer ("at <ms> step",
// the milliseconds since the process was created). Without the variable
// nothing is written.
#pragma once

void LobbyTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// One step line: "at <ms since the process was created> " and the text.
void LobbyStep(const char* format, ...) __attribute__((format(printf, 1, 2)));

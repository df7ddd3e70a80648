// A test hook: when the environment variable MIRABO_LOBBY_TRACE names a
// file, the lobby appends one line to it for each message box it shows
// ("box caption|text|style|countdown") and each address it opens
// ("open address"). Without the variable nothing is written.
#pragma once

void LobbyTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

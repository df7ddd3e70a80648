// The main window's dispatch of one server message runs its handler through
// GuardMessageHandler: an exception from the handler is traced ("handler of
// kind N failed") and goes no further, so the pump goes on with the next
// message; what the message still owns is freed by its holder as the stack
// unwinds.
#pragma once

#include "lobby/net/base/LobbyTrace.h"

template <class Handler>
void GuardMessageHandler(int kind, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        LobbyTrace("handler of kind %d failed", kind);
    }
}

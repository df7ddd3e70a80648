// CLobbyEngine: a connection of the lobby program (the lobby connection, the
// server probes, the version check). Its Send is the lobby's one send entry
// for XML text: the binary form when the lobby's translate flag is set, text
// otherwise, both through the LobbyLink the data hub installs. The link lives
// here, in the lobby's own code: Corvet.dll, which the card-game client loads
// too, knows nothing of it.
#pragma once

#include "lobby/net/engine/ThreadEngine.h"

class LobbyLink;

class CLobbyEngine : public CThreadEngine {
public:
    // The link every lobby engine uses; null (the default) sends text and
    // leaves received messages to the subclass.
    static void SetLink(LobbyLink* link);
    static LobbyLink* Link();

    // With the link's translate flag set, as SendTranslated; otherwise one text
    // frame of length bytes. Errors are dropped: a text the translator rejects
    // is not sent at all.
    void Send(const char* text, int length);
    // The NUL-terminated text encoded by the link (the length is not used) and
    // sent as one binary frame; with the flag clear, as Send. A null text sends
    // nothing. The translator's errors reach the caller.
    void SendTranslated(const char* text, int length);
};

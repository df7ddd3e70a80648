#include "lobby/net/engine/LobbyEngine.h"

#include <atomic>

#include "lobby/net/engine/LobbyLink.h"

namespace {
std::atomic<LobbyLink*> installed{nullptr};
}

void CLobbyEngine::SetLink(LobbyLink* link) { installed = link; }
LobbyLink* CLobbyEngine::Link() { return installed; }

void CLobbyEngine::Send(const char* text, int length) {
    try {
        LobbyLink* link = Link();
        if (link && link->TranslateFlag())
            SendTranslated(text, length);
        else if (text && length >= 0)
            SendText(text, static_cast<unsigned>(length));
    } catch (...) {
    }
}

void CLobbyEngine::SendTranslated(const char* text, int length) {
    if (!text) return;
    LobbyLink* link = Link();
    if (!link || !link->TranslateFlag()) {
        Send(text, length);
        return;
    }
    const std::string binary = link->XmlToBinary(text);
    SendBinary(binary.data(), static_cast<unsigned>(binary.size()));
}

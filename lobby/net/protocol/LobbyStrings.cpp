#include "lobby/net/protocol/LobbyStrings.h"

CString JoinString(const CString& head, const char* tail) {
    CString joined(head);
    joined += tail;
    return joined;
}

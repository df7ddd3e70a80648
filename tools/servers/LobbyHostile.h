// What the lobby server knows for a hostile run (Hostile.h): every message the
// lobby reads with its elements and fields, the built-in code table, and the
// lobby's extremes (100 000 rooms, desks and players, ids out of range).
#pragma once

#include "tools/servers/Hostile.h"

namespace servers {

HostileVocabulary LobbyVocabulary();

}  // namespace servers

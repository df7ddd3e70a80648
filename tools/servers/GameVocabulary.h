// The card-game side's words for the hostile generator (Hostile.h): every
// message the table client reads with its elements and attributes, the game
// code table with a row for each of them, and the desk's extremes (cards
// 99/7, 50 cards dealt, 10 players at a desk, seats and indexes out of range,
// huge money, empty hands). `player` is the client's own id, `robots` the
// other seats' ids, so that extremes land on the seats the table shows.
#pragma once

#include <string>

#include "tools/servers/Hostile.h"

namespace servers {

HostileVocabulary GameVocabulary(const std::string& player, const std::string& robot1 = "robot1",
                                 const std::string& robot2 = "robot2");

// The game code table with a row for every message the client reads (the
// server's own names first, their codes unchanged).
MsgCodeTable GameClientCodes();

}  // namespace servers

// The validation token of a player for a room, known to both servers: the
// lobby hands it out with the room entry, the game server checks it.
#pragma once

#include <string>

namespace servers {

std::string RoomToken(const std::string& secret, const std::string& player, const std::string& room);

}  // namespace servers

#include "tools/servers/RoomToken.h"

#include "lobby/net/protocol/Md5.h"

namespace servers {

std::string RoomToken(const std::string& secret, const std::string& player, const std::string& room) {
    return CMD5().GetDigestString(player + "/" + room + "/" + secret);
}

}  // namespace servers

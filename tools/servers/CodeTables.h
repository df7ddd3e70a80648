// The binary form's built-in code tables of our servers: every name each side
// sends in that form, codes from 1; and a table as the text of a code file
// (the format of Msg.ini and FENLOMsg.ini), for the clients' folders.
#pragma once

#include <string>

#include "lobby/net/binary/MsgCodeEntry.h"

namespace servers {

MsgCodeTable DefaultLobbyCodes();
MsgCodeTable DefaultGameCodes();
std::string CodeFileText(const MsgCodeTable& table);

}  // namespace servers

// Message code tables from their ini files (Windows private-profile files):
//   [TotalMessageNum] count=N
//   [message1] .. [messageN]  id=<code>  name=<message name>  "content "=<free text>
// Rows are appended in file order, nothing checked but the count, which is cut
// to the number of sections in the file; a missing file adds nothing.
#pragma once

#include <string>

#include "lobby/net/binary/MsgCodeEntry.h"

// Appends the rows of the file at path (a full path); returns how many.
int ReadMsgCodeFile(const std::string& path, MsgCodeTable& table);

// The lobby's table, "Msg.ini" in the lobby program's folder.
int LoadLobbyMsgTable(const std::string& programFolder, MsgCodeTable& table);

// The card-game client's table, "fenlo\FENLOMsg.ini" below the session's base folder.
int LoadGameMsgTable(const std::string& baseFolder, MsgCodeTable& table);

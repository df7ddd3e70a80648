// The card-game client's command line, as the lobby writes it: blank-separated
// fields (runs of blanks count as one; tabs are not separators):
//   [0] server host  [1] player id  [2] server port  [3] room id
//   [4] validation token  [5] VIP flag  [6] reconnect host ("0": none)
//   [7] reconnect port  [8] auto-placed flag  [9] [10] table and seat texts
// then, with the VIP flag set, the VIP fields: 13 or 15 fields enter a VIP
// game (password, game id), 14 or 16 create one (password, minimum money,
// stake). A last field beyond those is the display name.
#pragma once

class CGameSession;
class CString;

// Stores the fields in the session. False, with the session untouched, for a
// line of fewer than 11 or more than 16 fields, or whose server port is not a
// port number (a reconnect port that is not one counts as none, 0).
bool ApplyCommandLine(const CString& commandLine, CGameSession& session);

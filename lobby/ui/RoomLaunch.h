// Plain rules of room entry, game launch and the game-client link: room-id
// lists, the game program's command line, the tree's room-group texts and
// the texts exchanged with the card-game client.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct GameCopyData;

// "7,3,5" -> 3, 5, 7: every piece between commas a decimal number (0 when
// empty), sorted ascending.
std::vector<int> ParseRoomCandidates(const std::string& list);

// What a game launch needs of its room.
struct LaunchRoom {
    std::string host, port, host2, port2;
    bool directStart = false;
    std::string gameName;
};
// The game program's parameters: one blank, then host, user, port, room id,
// token, the room's direct-start flag ("0" or "1"), second host, second port
// and the three last fields ("1 0 0" from a room entry, "0", desk and seat
// from a seat). A direct-start room gets the whole line too: the program
// refuses anything shorter.
std::string MakeFullLaunchLine(const LaunchRoom& room, const std::string& user, const std::string& roomIdText,
                               const std::string& token, const char* last3);
// The program a launch starts, by game name and room id text.
std::string GameProgramFor(const std::string& gameName, const std::string& roomIdText);

// A room group's tree text: "%s(%d人)", or "%s(%d人,比赛中)" in a match.
std::string RoomGroupText(const std::string& name, int total, bool inMatch);
// The match number text read as a number is above 0.
bool IsMatchRoom(const std::string& matchNumber);

// Copies text into a buffer of size bytes, NUL-terminated, cut to size - 1
// bytes but never inside a two-byte GBK character.
void CopyClientText(char* buffer, size_t size, const std::string& text);
// A client record worth reading: exactly the record's size with a NUL inside
// the player id; null otherwise.
const GameCopyData* AcceptGameCopyData(const void* data, size_t size);
// "%.2f" of an amount.
std::string AmountText(double amount);

// A notice's "rooms|n": the room-id list and n; false with fewer than two parts.
bool SplitNoticeRooms(const std::string& text, std::string& rooms, int& n);

// Form-URL-encoding of a value (letters, digits and "-_.*" stay; a blank is "+").
std::string FormEncode(const std::string& value);

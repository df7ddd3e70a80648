#include "lobby/ui/RoomLaunch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>

#include "lobby/net/base/CopyData.h"

std::vector<int> ParseRoomCandidates(const std::string& list) {
    std::vector<int> ids;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        ids.push_back(std::atoi(list.substr(start, comma - start).c_str()));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::string MakeFullLaunchLine(const LaunchRoom& room, const std::string& user, const std::string& roomIdText,
                               const std::string& token, const char* last3) {
    return " " + room.host + " " + user + " " + room.port + " " + roomIdText + " " + token + " " +
           (room.directStart ? "1" : "0") + " " + room.host2 + " " + room.port2 + " " + last3;
}

std::string GameProgramFor(const std::string& gameName, const std::string& roomIdText) {
    if (gameName == "扎金花") return "qolt\\vorn.exe";
    if (roomIdText == "100") return "Skarn\\Skarn.exe";
    if (roomIdText == "200") return "Dovra\\Dovra.exe";
    if (roomIdText == "300") return "ZENT\\ZENT.exe";
    return "fenlo.exe";
}

std::string RoomGroupText(const std::string& name, int total, bool inMatch) {
    char text[64];
    std::snprintf(text, sizeof text, inMatch ? "(%d人,比赛中)" : "(%d人)", total);
    return name + text;
}

bool IsMatchRoom(const std::string& matchNumber) { return std::atoi(matchNumber.c_str()) > 0; }

void CopyClientText(char* buffer, size_t size, const std::string& text) {
    if (size == 0) return;
    size_t n = 0;
    while (n < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[n]);
        const size_t width = (c >= 0x81 && c <= 0xFE && n + 1 < text.size()) ? 2 : 1;
        if (n + width > size - 1) break;
        n += width;
    }
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

const GameCopyData* AcceptGameCopyData(const void* data, size_t size) {
    if (!data || size != sizeof(GameCopyData)) return nullptr;
    const GameCopyData* record = static_cast<const GameCopyData*>(data);
    if (!std::memchr(record->playerId, '\0', sizeof record->playerId)) return nullptr;
    return record;
}

std::string AmountText(double amount) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

bool SplitNoticeRooms(const std::string& text, std::string& rooms, int& n) {
    const size_t bar = text.find('|');
    if (bar == std::string::npos) return false;
    rooms = text.substr(0, bar);
    const size_t end = text.find('|', bar + 1);
    n = std::atoi(text.substr(bar + 1, end == std::string::npos ? std::string::npos : end - bar - 1).c_str());
    return true;
}

std::string FormEncode(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (std::isalnum(c) || (c && std::strchr("-_.*", c))) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

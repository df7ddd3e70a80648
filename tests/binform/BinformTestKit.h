// Helpers of the translator tests: hand-made packets, packets taken apart, and
// decoded documents read back by position as the message parsers read them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "lobby/net/MsgCodeEntry.h"
#include "xml/XMLTextReader.h"

namespace binform_test {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<std::string> Texts;

// A code table whose codes are 10, 11, 12... in the order of the names.
inline MsgCodeTable MakeTable(const Texts& names) {
    MsgCodeTable table;
    for (std::size_t i = 0; i < names.size(); ++i) table.emplace_back(static_cast<int>(10 + i), names[i], "row");
    return table;
}

// The tables of the tests and the fuzz targets (their seeds are made with them).
inline MsgCodeTable LobbyTable() {
    return MakeTable({
        "EnterRoomFailed", "LowClientVersion", "ValidateFailed", "KickPlayer", "KeepAlive", "ValidateSuccess",
        "RefreshPlayerInfo", "PingData", "ReadyToEnterRoom", "PlayerLeave", "RoomPlayerList", "Chat", "GameStart",
        "GameOver", "PlayerState", "EnterDeskAK", "Notice", "LoginFailed", "LoginKey", "PlayerChangeDesk",
        "LoginSuccess", "DeskList", "GameList", "AddGame", "RemoveGame", "AddRoom", "RemoveRoom", "PlayerCount",
        "Login", "PlayerValidate", "RequestRoomList", "RequestEnterRoom", "RequestEnterDesk", "MACAddr",
        "RequestEnterDeskMessage", "RequestDeskList", "Orphan",
    });
}

inline MsgCodeTable GameTable() {
    return MakeTable({
        "waittingArrange", "AskPlayerSignUp", "Chat", "KickPlayer", "MingPai", "JiaoFen", "CancelAutoPlay",
        "ValidateFailed", "ChuPaiFailed", "AutoPlay", "ValidateSuccess", "ReadyForPlaying", "PlayerLeave",
        "RefreshPlayerInfo", "AskForLandLord", "AnswerLeave", "BeginBet", "WaittingPlayer", "BeginJiaoFen", "GameStart",
        "GameNotice", "GameOver", "BeginChuPai", "PlayerState", "AgencyInfo", "PlayerGoal", "CreateGameFailed",
        "EnterDesk", "Anonymousinfo", "BeginAskForLandLord", "BeginDouble", "Double", "CreateGameSuccess",
        "ReRequestDesk", "AnonymousClint", "PingData", "KeepAlive", "Bet", "SendCard", "SendRemainCard", "ChuPai",
        "DeskPlayerInfo", "RestorePlayer", "GameResult", "RequestLeave", "Leaving", "PlayerInfoValidate",
        "RequestDesk", "RequestDeskList", "PlayerIP", "RequestEnterGame", "RequestEnterDesk", "RequestCreateGame",
        "RankTopN",
    });
}

inline void PutField(Bytes& out, const std::string& value) {
    out.push_back(static_cast<unsigned char>(value.size() & 0xFF));
    out.push_back(static_cast<unsigned char>((value.size() >> 8) & 0xFF));
    out.insert(out.end(), value.begin(), value.end());
}

inline Bytes Pack(int code, const Texts& fields) {
    Bytes out = {1, static_cast<unsigned char>(code), 1};
    for (const std::string& f : fields) PutField(out, f);
    return out;
}

// The fields of a well-formed packet, each as its raw bytes.
inline Texts Unpack(const unsigned char* data, int size) {
    Texts fields;
    for (int at = 3; at + 2 <= size;) {
        int length = data[at] | (data[at + 1] << 8);
        fields.emplace_back(reinterpret_cast<const char*>(data) + at + 2, length);
        at += 2 + length;
    }
    return fields;
}

// With MIRABO_CORPUS_DIR set, packets that decode are kept as fuzz seeds.
inline void KeepSeed(const char* target, const std::string& name, const Bytes& packet) {
    const char* dir = std::getenv("MIRABO_CORPUS_DIR");
    if (!dir) return;
    static int serial = 0;
    std::ofstream(std::string(dir) + "/" + target + "/" + name + "_" + std::to_string(++serial) + ".bin",
                  std::ios::binary)
        .write(reinterpret_cast<const char*>(packet.data()), static_cast<std::streamsize>(packet.size()));
}

// A document read by position: "game|name|type" first, then one "element(attr=value,...)"
// per element below Message, in document order.
inline Texts ReadBack(const char* text) {
    Texts out;
    XMLTextReader reader;
    reader.SetXmlData(text, static_cast<int>(std::string(text).size()));
    std::string head;
    if (reader.Read() && reader.MoveToNextAttribute()) head = reader.Value();
    if (reader.Read())
        while (reader.MoveToNextAttribute()) head += "|" + reader.Value();
    out.push_back(head);
    while (reader.Read()) {
        std::string e = reader.Name() + "(";
        for (bool first = true; reader.MoveToNextAttribute(); first = false)
            e += (first ? "" : ",") + reader.Name() + "=" + reader.Value();
        out.push_back(e + ")");
    }
    return out;
}

// "kick(id,roomid)" and values {"1","2"} give "kick(id=1,roomid=2)".
inline std::string Element(const std::string& shape, const Texts& values, std::size_t from = 0) {
    std::string out = shape.substr(0, shape.find('(') + 1);
    std::size_t at = out.size(), i = from;
    while (at < shape.size() - 1) {
        std::size_t end = shape.find_first_of(",)", at);
        out += (i > from ? "," : "") + shape.substr(at, end - at) + "=" + values.at(i);
        ++i;
        at = end + 1;
    }
    return out + ")";
}

}  // namespace binform_test

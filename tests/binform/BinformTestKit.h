// Helpers of the translator tests: code tables, hand-made packets, requests as
// the builders write them, and decoded documents read back by position as the
// message parsers read them.
#pragma once

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "lobby/net/binary/BinaryForm.h"
#include "lobby/net/binary/MsgCodeEntry.h"
#include "xml/XMLTextReader.h"
#include "xml/XMLTextWriter.h"

namespace binform_test {

typedef std::vector<unsigned char> Bytes;
typedef std::vector<std::string> Texts;

// Codes 10, 11, 12... in the order of the blank-separated names.
inline MsgCodeTable MakeTable(const char* names) {
    MsgCodeTable table;
    std::istringstream in(names);
    for (std::string n; in >> n;) table.emplace_back(static_cast<int>(10 + table.size()), n, "row");
    return table;
}

// The tables of the tests and of the fuzz targets, whose seeds the tests write.
inline MsgCodeTable LobbyTable() {
    return MakeTable(
        "EnterRoomFailed LowClientVersion ValidateFailed KickPlayer KeepAlive ValidateSuccess "
        "RefreshPlayerInfo PingData ReadyToEnterRoom PlayerLeave RoomPlayerList Chat GameStart GameOver "
        "PlayerState EnterDeskAK Notice LoginFailed LoginKey PlayerChangeDesk LoginSuccess DeskList "
        "GameList AddGame RemoveGame AddRoom RemoveRoom PlayerCount Login PlayerValidate RequestRoomList "
        "RequestEnterRoom RequestEnterDesk MACAddr RequestEnterDeskMessage RequestDeskList Orphan");
}
inline MsgCodeTable GameTable() {
    return MakeTable(
        "waittingArrange AskPlayerSignUp Chat KickPlayer MingPai JiaoFen CancelAutoPlay ValidateFailed "
        "ChuPaiFailed AutoPlay ValidateSuccess ReadyForPlaying PlayerLeave RefreshPlayerInfo "
        "AskForLandLord AnswerLeave BeginBet WaittingPlayer BeginJiaoFen GameStart GameNotice GameOver "
        "BeginChuPai PlayerState AgencyInfo PlayerGoal CreateGameFailed EnterDesk Anonymousinfo "
        "BeginAskForLandLord BeginDouble Double CreateGameSuccess ReRequestDesk AnonymousClint PingData "
        "KeepAlive Bet SendCard SendRemainCard ChuPai DeskPlayerInfo RestorePlayer GameResult RequestLeave "
        "Leaving PlayerInfoValidate RequestDesk RequestDeskList PlayerIP RequestEnterGame RequestEnterDesk "
        "RequestCreateGame RankTopN");
}

inline unsigned char CodeOf(const MsgCodeTable& table, const std::string& name) {
    for (const MsgCodeEntry& row : table)
        if (row.name == name) return static_cast<unsigned char>(row.code);
    return 0;
}

inline Bytes Pack(int code, const Texts& fields) {
    Bytes out = {1, static_cast<unsigned char>(code), 1};
    for (const std::string& f : fields) {
        out.push_back(static_cast<unsigned char>(f.size() & 0xFF));
        out.push_back(static_cast<unsigned char>((f.size() >> 8) & 0xFF));
        out.insert(out.end(), f.begin(), f.end());
    }
    return out;
}

inline Texts Join(std::initializer_list<Texts> parts) {
    Texts out;
    for (const Texts& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct Elem {
    std::string name;
    Texts attrs, values = {};
};

// A request document as the builders write it (type only where given).
inline std::string Request(const std::string& name, const std::vector<Elem>& elements,
                           const std::string& type = "Request") {
    XMLTextWriter w;
    w.WriteStartElement("GameMessage");
    w.WriteAttributeString("game", "FENLO");
    w.WriteStartElement("Message");
    w.WriteAttributeString("name", name);
    if (!type.empty()) w.WriteAttributeString("type", type);
    for (const Elem& e : elements) {
        w.WriteStartElement(e.name);
        for (std::size_t i = 0; i < e.attrs.size(); ++i) w.WriteAttributeString(e.attrs[i], e.values[i]);
        w.WriteEndElement();
    }
    w.WriteEndElement();
    w.WriteEndElement();
    unsigned int length = 0;
    std::unique_ptr<unsigned char[]> text(w.GetXmlData(&length));
    return reinterpret_cast<char*>(text.get());
}

// Values for a message of n fields (GBK text, the first one empty unless nonEmpty),
// and a request whose one data element carries them.
inline Texts Values(std::size_t n, bool nonEmpty = false) {
    Texts v;
    for (std::size_t i = 0; i < n; ++i) v.push_back(i == 0 && !nonEmpty ? "" : "牌友" + std::to_string(i));
    return v;
}
inline std::string FlatRequest(const std::string& name, const Texts& values) {
    Elem e{"data", {}, values};
    for (std::size_t i = 0; i < values.size(); ++i) e.attrs.push_back("a" + std::to_string(i));
    return Request(name, {e});
}

// A document read by position: "game|name|type" first, then one
// "element(attr=value,...)" per element below Message, in document order.
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

// "kick(id,roomid)" filled with values from values[from]: "kick(id=1,roomid=2)".
inline std::string Element(const std::string& shape, const Texts& values, std::size_t from = 0) {
    std::string out = shape.substr(0, shape.find('(') + 1);
    for (std::size_t at = out.size(), i = from; at < shape.size() - 1; ++i) {
        std::size_t end = shape.find_first_of(",)", at);
        out += (i > from ? "," : "") + shape.substr(at, end - at) + "=" + values.at(i);
        at = end + 1;
    }
    return out + ")";
}
inline std::size_t AttributeCount(const std::string& shape) {
    if (shape.empty() || shape.find("()") != std::string::npos) return 0;
    std::size_t n = 1;
    for (char c : shape) n += c == ',';
    return n;
}

// Decodes and reads back; empty for no document. With MIRABO_CORPUS_DIR set,
// packets that decode are kept there as fuzz seeds.
template <class Translator>
Texts DecodeWith(Translator& t, const char* target, const Bytes& packet) {
    std::unique_ptr<char[]> text(t.BinaryToXml(packet.data(), static_cast<int>(packet.size())));
    if (!text) return Texts();
    Texts doc = ReadBack(text.get());
    if (const char* dir = std::getenv("MIRABO_CORPUS_DIR")) {
        static int serial = 0;
        std::size_t bar = doc[0].find('|');
        std::string name = doc[0].substr(bar + 1, doc[0].rfind('|') - bar - 1);
        std::ofstream(std::string(dir) + "/" + target + "/" + name + "_" + std::to_string(++serial) + ".bin",
                      std::ios::binary)
            .write(reinterpret_cast<const char*>(packet.data()), static_cast<std::streamsize>(packet.size()));
    }
    return doc;
}

// True when the packet gives no document because it is malformed.
template <class Translator>
bool Rejected(Translator& t, const Bytes& packet) {
    char* text = t.BinaryToXml(packet.data(), static_cast<int>(packet.size()));
    delete[] text;
    return text == nullptr && t.LastFailure() == binform::Failure::kBadPacket;
}

}  // namespace binform_test

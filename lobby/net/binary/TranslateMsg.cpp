#include "lobby/net/binary/TranslateMsg.h"

#include <cstdint>
#include <cstring>

#include "lobby/net/binary/BinaryDocument.h"

using binform::Decoder;
using binform::DocumentWriter;
using binform::Failure;
using binform::Names;
using binform::Values;

namespace {

// Requests the lobby can send in binary form, with their field counts.
struct Outgoing {
    const char* name;
    std::size_t fields;
};
const Outgoing kOutgoing[] = {{"Login", 2},
                              {"PlayerValidate", 2},
                              {"RequestRoomList", 1},
                              {"RequestEnterRoom", 2},
                              {"RequestEnterDesk", 3},
                              {"Chat", 6},
                              {"PingData", 0},
                              {"MACAddr", 1},
                              {"RequestEnterDeskMessage", 3},
                              {"RequestDeskList", 3}};

// How a message's fields are read: B fields hold 0..255 bytes, T fields at
// least one.
enum class Reading { kNone, kB, kT };
enum class Shape {
    kFlat,  // one data element (or none) holding the fields
    kList,  // a count, then records, one element each (under a holder element if given)
    kDeskList,
    kGameList,
};

struct Incoming {
    const char* name;
    const char* game;
    Reading reading;
    Shape shape;
    const char* element;  // data or record element; null: no data element
    Names attributes;
    const char* holder;  // list holder element
};

const Names kPlayerInfo = {"playerID", "NiChen", "sex",  "score",        "Total",
                           "Win",      "Lose",   "Draw", "Disconnected", "Money"};
const Names kChat = {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"};
const Names kDeskIds = {"RoomID", "DeskId"};
const Names kRoom = {"id", "chinesename", "ip", "port", "vip", "playercount", "style", "description", "GameId"};
const Names kDesk = {"Name", "RoomId", "DeskId", "playerCount", "start"};
const Names kDeskPlayer = {"PlayerId", "NiChen", "SeatNo", "ready", "sex"};
const Names kGame = {"id", "name", "chinesename", "version"};

const Incoming kIncoming[] = {
    {"EnterRoomFailed", "FENLO", Reading::kB, Shape::kFlat, "kick", {"id", "roomid", "reason"}, nullptr},
    {"LowClientVersion", "FENLO", Reading::kNone, Shape::kFlat, nullptr, {}, nullptr},
    {"ValidateFailed", "FENLO", Reading::kB, Shape::kFlat, "kick", {"reason"}, nullptr},
    {"KickPlayer", "FENLO", Reading::kB, Shape::kFlat, "kick", {"reason", "close", "recontect"}, nullptr},
    {"KeepAlive", "FENLO", Reading::kNone, Shape::kFlat, nullptr, {}, nullptr},
    {"ValidateSuccess", "CommonGame", Reading::kB, Shape::kFlat, "GameInfo", {"GameType"}, nullptr},
    {"RefreshPlayerInfo", "FENLO", Reading::kT, Shape::kFlat, "player", kPlayerInfo, nullptr},
    {"PingData", "FENLO", Reading::kNone, Shape::kFlat, nullptr, {}, nullptr},
    {"ReadyToEnterRoom", "lobby", Reading::kB, Shape::kFlat, "player", {"id", "ticket", "roomid"}, nullptr},
    {"PlayerLeave", "FENLO", Reading::kB, Shape::kFlat, "player", {"playerID"}, nullptr},
    {"RoomPlayerList", "FENLO", Reading::kT, Shape::kList, "player", kPlayerInfo, "Room"},
    {"Chat", "lobby", Reading::kB, Shape::kFlat, "desk", kChat, nullptr},
    {"GameStart", "FENLO", Reading::kB, Shape::kFlat, "desk", kDeskIds, nullptr},
    {"GameOver", "FENLO", Reading::kB, Shape::kFlat, "desk", kDeskIds, nullptr},
    {"PlayerState", "FENLO", Reading::kB, Shape::kFlat, "player", {"playerID", "deskid", "seatNo", "ready"}, nullptr},
    {"EnterDeskAK", "FENLO", Reading::kB, Shape::kFlat, "result", {"Success"}, nullptr},
    {"Notice", "Lobby", Reading::kT, Shape::kFlat, "Notice", {"body", "style"}, nullptr},
    {"LoginFailed", "LoginKey", Reading::kB, Shape::kFlat, "failed", {"reason"}, nullptr},
    {"LoginKey", "LoginKey", Reading::kB, Shape::kFlat, "player", {"id", "ticket"}, nullptr},
    {"PlayerChangeDesk",
     "FENLO",
     Reading::kB,
     Shape::kFlat,
     "player",
     {"PlayerID", "niChen", "RoomID", "DeskId", "SeatNo", "OnDesk", "sex"},
     nullptr},
    {"LoginSuccess",
     "Login",
     Reading::kB,
     Shape::kFlat,
     "player",
     {"name", "money", "vip", "locked", "memberId", "nickName", "sex", "moneyMirabo", "gouWuJuan"},
     nullptr},
    {"DeskList", "FENLO", Reading::kB, Shape::kDeskList, nullptr, {}, nullptr},
    {"GameList", "Lobby", Reading::kT, Shape::kGameList, nullptr, {}, nullptr},
    {"AddGame", "Lobby", Reading::kT, Shape::kList, "addgame", kGame, nullptr},
    {"RemoveGame", "Lobby", Reading::kT, Shape::kList, "removegame", {"id"}, nullptr},
    {"AddRoom", "Lobby", Reading::kT, Shape::kList, "addroom", kRoom, nullptr},
    {"RemoveRoom", "Lobby", Reading::kT, Shape::kList, "removeroom", {"id"}, nullptr},
    {"PlayerCount", "Lobby", Reading::kT, Shape::kList, "room", {"Ri", "pc"}, nullptr},
};

const int kBLimit = 255;
const int kDeskCountLimit = 63;

// Reads fields by one message's rule; fails for good at the first bad one.
class FieldReader {
public:
    FieldReader(Decoder& decoder, Reading reading) : d_(decoder), reading_(reading) {}

    bool Field(std::string& out) { return reading_ == Reading::kT ? d_.Text(out) : d_.Text(out, 0, kBLimit); }
    bool Fields(std::size_t count, Values& values) {
        values.resize(count);
        for (std::string& v : values)
            if (!Field(v)) return false;
        return true;
    }
    bool Count(int& out) { return reading_ == Reading::kT ? d_.Count(out, 1) : d_.Count(out, 0, kBLimit); }

private:
    Decoder& d_;
    Reading reading_;
};

bool DecodeList(FieldReader& in, const Incoming& m, DocumentWriter& doc) {
    int count = 0;
    if (!in.Count(count)) return false;
    if (m.holder) doc.Start(m.holder);
    Values record;
    for (int i = 0; i < count; ++i) {
        if (!in.Fields(m.attributes.size(), record)) return false;
        doc.Element(m.element, m.attributes, record);
    }
    if (m.holder) doc.End();
    return true;
}

bool DecodeDeskList(Decoder& d, DocumentWriter& doc) {
    FieldReader in(d, Reading::kB);
    Values arrange(1);
    int desks = 0;
    if (!in.Field(arrange[0]) || !d.Count(desks, 0, kDeskCountLimit)) return false;
    desks = static_cast<std::int16_t>(desks);
    doc.Start("Room", {"AutoArrange"}, arrange);
    Values desk, player;
    for (int i = 0; i < desks; ++i) {
        if (!in.Fields(kDesk.size(), desk)) return false;
        doc.Start("desk", kDesk, desk);
        int players = binform::ToInt(desk[3]);
        for (int p = 0; p < players; ++p) {
            if (!in.Fields(kDeskPlayer.size(), player)) return false;
            doc.Element("player", kDeskPlayer, player);
        }
        doc.End();
    }
    doc.End();
    return true;
}

bool DecodeGameList(Decoder& d, DocumentWriter& doc) {
    FieldReader in(d, Reading::kT);
    int games = 0;
    if (!in.Count(games)) return false;
    Values game, room;
    for (int g = 0; g < games; ++g) {
        int rooms = 0;
        if (!in.Fields(kGame.size(), game) || !in.Count(rooms)) return false;
        doc.Start("game", kGame, game);
        for (int r = 0; r < rooms; ++r) {
            if (!in.Fields(kRoom.size(), room)) return false;
            doc.Element("room", kRoom, room);
        }
        doc.End();
    }
    return true;
}

}  // namespace

CTranslateMsg::CTranslateMsg(const MsgCodeTable& source) : source_(source) { std::memset(buffer_, 0, sizeof buffer_); }

CTranslateMsg::~CTranslateMsg() = default;

void CTranslateMsg::LoadTable() { rows_.CopyIfEmpty(source_); }

int CTranslateMsg::FindByName(std::string name) { return rows_.FindByName(name) ? 1 : 0; }

int CTranslateMsg::FindByCode(unsigned char code) { return rows_.FindByCode(code) ? 1 : 0; }

const unsigned char* CTranslateMsg::ReadString(std::string& out, const unsigned char* at, const unsigned char* end) {
    if (!at || end < at) return nullptr;
    Decoder d(at, static_cast<std::size_t>(end - at), 0);
    std::string text;
    if (!d.Text(text)) return nullptr;
    out = text;
    return at + d.Position();
}

unsigned char* CTranslateMsg::FailEncode(Failure failure) {
    failure_ = failure;
    return nullptr;
}

char* CTranslateMsg::FailDecode(Failure failure) {
    failure_ = failure;
    return nullptr;
}

unsigned char* CTranslateMsg::XmlToBinary(const char* xml) {
    LoadTable();
    if (!xml) return FailEncode(Failure::kBadRequest);
    binform::RequestReader reader(xml, static_cast<int>(std::strlen(xml)));
    const std::string name = reader.MessageName();
    const Outgoing* layout = nullptr;
    for (const Outgoing& o : kOutgoing)
        if (!layout && name == o.name) layout = &o;
    if (!layout) return FailEncode(Failure::kNoEncoding);

    Values fields;
    if (layout->fields > 0 && (!reader.NextElement() || !reader.Attributes(layout->fields, fields)))
        return FailEncode(Failure::kBadRequest);
    if (!FindByName(name)) return FailEncode(Failure::kNoCode);

    binform::Encoder out(buffer_, sizeof buffer_);
    out.Header(rows_.Current().code);
    for (const std::string& f : fields) out.Field(f);
    if (!out.Ok()) return FailEncode(Failure::kTooLong);
    encodedLength_ = static_cast<int>(out.Size());
    failure_ = Failure::kNone;
    return buffer_;
}

char* CTranslateMsg::BinaryToXml(const unsigned char* data, int length) {
    LoadTable();
    if (!data || length < static_cast<int>(binform::kHeaderSize)) return FailDecode(Failure::kBadPacket);
    FindByCode(data[1]);  // an unknown code keeps the current name (empty in a new translator)
    const Incoming* m = nullptr;
    for (const Incoming& i : kIncoming)
        if (!m && rows_.Current().name == i.name) m = &i;
    if (!m) return FailDecode(Failure::kNoDecoding);

    Decoder d(data, static_cast<std::size_t>(length));
    DocumentWriter doc(m->game, m->name);
    FieldReader in(d, m->reading);
    bool ok = true;
    switch (m->shape) {
        case Shape::kFlat: {
            Values fields;
            ok = in.Fields(m->attributes.size(), fields);
            if (ok && m->element) doc.Element(m->element, m->attributes, fields);
            break;
        }
        case Shape::kList:
            ok = DecodeList(in, *m, doc);
            break;
        case Shape::kDeskList:
            ok = DecodeDeskList(d, doc);
            break;
        case Shape::kGameList:
            ok = DecodeGameList(d, doc);
            break;
    }
    if (!ok) return FailDecode(Failure::kBadPacket);
    failure_ = Failure::kNone;
    return doc.Finish();
}

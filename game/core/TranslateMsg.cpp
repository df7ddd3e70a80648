#include "game/core/TranslateMsg.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "lobby/net/binary/BinaryDocument.h"

using binform::Decoder;
using binform::DocumentWriter;
using binform::Failure;
using binform::Names;
using binform::Values;

namespace {

const int kWhole = binform::kMaxFieldLength;
// Longest values the client's fixed buffers hold.
const int kGameTypeLimit = 63;
const int kShortCountLimit = 7;  // counts of ChuPai, DeskPlayerInfo and RestorePlayer's card lists
const int kLongCountLimit = 31;  // card counts of SendCard, SendRemainCard and GameResult players
const int kCardLimit = 31;       // card number and suit
const int kRestoredCardLimit = 15;
const int kPlayerTextLimit = 49;  // text fields of player records

// Requests the client can send in binary form, with their field counts.
const int kChuPai = -1;
const std::pair<const char*, int> kOutgoing[] = {{"PingData", 0},
                                                 {"RequestLeave", 0},
                                                 {"AnonymousClint", 0},
                                                 {"Leaving", 0},
                                                 {"PlayerInfoValidate", 3},
                                                 {"RequestDesk", 1},
                                                 {"JiaoFen", 2},
                                                 {"AskForLandLord", 2},
                                                 {"RequestDeskList", 3},
                                                 {"CancelAutoPlay", 1},
                                                 {"AutoPlay", 1},
                                                 {"ReadyForPlaying", 1},
                                                 {"PlayerIP", 1},
                                                 {"RequestEnterGame", 3},
                                                 {"RequestEnterDesk", 3},
                                                 {"RequestCreateGame", 5},
                                                 {"Double", 2},
                                                 {"AgencyInfo", 2},
                                                 {"GameStart", 2},
                                                 {"Chat", 6},
                                                 {"ChuPai", kChuPai}};

enum class Shape { kFlat, kSendCard, kSendRemainCard, kChuPai, kDeskPlayerInfo, kRestorePlayer, kGameResult };

struct Incoming {
    const char* name;
    Shape shape;
    const char* element;  // the one data element; null: none
    Names attributes;
    int limit;  // longest field value
};

const Names kPlayerId = {"id"};
const Names kIdTime = {"id", "remainTime"};
const Names kRoomDesk = {"RoomID", "DeskID"};

const Incoming kIncoming[] = {
    {"waittingArrange", Shape::kFlat, "arrange", {"playerCount"}, kWhole},
    {"AskPlayerSignUp", Shape::kFlat, "Body", {"inform"}, kWhole},
    {"Chat", Shape::kFlat, "Chat", {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"}, kWhole},
    {"KickPlayer", Shape::kFlat, "kick", {"reason", "closeclient", "reconnect"}, kWhole},
    {"MingPai", Shape::kFlat, "card", {"number", "suit", "index"}, kWhole},
    {"JiaoFen", Shape::kFlat, "player", {"id", "score"}, kWhole},
    {"CancelAutoPlay", Shape::kFlat, "player", kPlayerId, kWhole},
    {"ValidateFailed", Shape::kFlat, "failed", {"reason"}, kWhole},
    {"ChuPaiFailed", Shape::kFlat, "player", kPlayerId, kWhole},
    {"AutoPlay", Shape::kFlat, "player", kPlayerId, kWhole},
    {"ValidateSuccess", Shape::kFlat, "GameInfo", {"GameType"}, kGameTypeLimit},
    {"ReadyForPlaying", Shape::kFlat, "player", kPlayerId, kWhole},
    {"PlayerLeave", Shape::kFlat, "player", {"playerID"}, kWhole},
    {"RefreshPlayerInfo",
     Shape::kFlat,
     "player",
     {"playerID", "Nichen", "sex", "score", "Total", "Win", "Lose", "Draw", "Disconnected"},
     kWhole},
    {"AskForLandLord", Shape::kFlat, "player", {"id", "askforlandlord"}, kWhole},
    {"AnswerLeave", Shape::kFlat, "player", {"Allow"}, kWhole},
    {"BeginBet", Shape::kFlat, "bet", {"money"}, kWhole},
    {"WaittingPlayer", Shape::kFlat, "player", {"memberId", "time"}, kWhole},
    {"BeginJiaoFen", Shape::kFlat, "player", kIdTime, kWhole},
    {"GameStart", Shape::kFlat, "player", kRoomDesk, kWhole},
    {"GameNotice", Shape::kFlat, "Notice", {"body"}, kWhole},
    {"GameOver", Shape::kFlat, "player", kRoomDesk, kWhole},
    {"BeginChuPai", Shape::kFlat, "player", kIdTime, kWhole},
    {"PlayerState", Shape::kFlat, "player", {"playerID", "deskid", "seatNo", "ready"}, kWhole},
    {"AgencyInfo", Shape::kFlat, "player", {"port", "ip"}, kWhole},
    {"PlayerGoal", Shape::kFlat, "goal", {"playerid", "rank", "name", "ratio", "money"}, kWhole},
    {"CreateGameFailed", Shape::kFlat, "player", {"id", "roomid", "reason"}, kWhole},
    {"EnterDesk", Shape::kFlat, "player", {"roomid", "deskid", "seatNo"}, kWhole},
    {"Anonymousinfo", Shape::kFlat, "player", {"playerid", "validation"}, kWhole},
    {"BeginAskForLandLord", Shape::kFlat, "player", {"id", "remaintime"}, kWhole},
    {"BeginDouble", Shape::kFlat, "player", kIdTime, kWhole},
    {"Double", Shape::kFlat, "player", {"id", "double"}, kWhole},
    {"CreateGameSuccess",
     Shape::kFlat,
     "player",
     {"id", "roomid", "gameid", "password", "minmoney", "stack", "deskName"},
     kWhole},
    {"ReRequestDesk", Shape::kFlat, nullptr, {}, kWhole},
    {"AnonymousClint", Shape::kFlat, nullptr, {}, kWhole},
    {"PingData", Shape::kFlat, nullptr, {}, kWhole},
    {"KeepAlive", Shape::kFlat, nullptr, {}, kWhole},
    {"Bet", Shape::kFlat, nullptr, {}, kWhole},
    {"SendCard", Shape::kSendCard, nullptr, {}, kWhole},
    {"SendRemainCard", Shape::kSendRemainCard, nullptr, {}, kWhole},
    {"ChuPai", Shape::kChuPai, nullptr, {}, kWhole},
    {"DeskPlayerInfo", Shape::kDeskPlayerInfo, nullptr, {}, kWhole},
    {"RestorePlayer", Shape::kRestorePlayer, nullptr, {}, kWhole},
    {"GameResult", Shape::kGameResult, nullptr, {}, kWhole},
};

const Names kCard = {"number", "suit"};
const Names kDesk = {"stake", "memberId", "visible", "ShowCard"};
const Names kDeskPlayer = {"id", "seat", "money", "ready", "ip", "IPLocation", "IPDetail", "sex", "nickName"};
const Names kRestoreGame = {"state",  "memberId", "visible", "ShowCard", "nowplayer",
                            "banker", "stake",    "vip",     "gameid",   "Bomb"};
const Names kRestoredPlayer = {"id",  "seat",     "money",      "ready",    "cardnum",  "jiaofen",
                               "ip",  "autoplay", "IPLocation", "IPDetail", "multiple", "HashAskForLandLord",
                               "sex", "nickName"};
const Names kResultPlayer = {"id", "score", "Bomb", "ChunTianState", "Tax"};

bool Fields(Decoder& d, std::size_t count, int limit, Values& values) {
    values.resize(count);
    for (std::string& v : values)
        if (!d.Text(v, 0, limit)) return false;
    return true;
}

// count cards of two fields each, one `card` element per card.
bool Cards(Decoder& d, int count, int limit, DocumentWriter& doc) {
    Values card;
    for (int i = 0; i < count; ++i) {
        if (!Fields(d, 2, limit, card)) return false;
        doc.Element("card", kCard, card);
    }
    return true;
}

// A counted card list: the count (cut to 16 bits unless wide), then the cards.
bool CountedCards(Decoder& d, int countLimit, bool wide, int cardLimit, DocumentWriter& doc) {
    int count = 0;
    if (!d.Count(count, 0, countLimit)) return false;
    if (!wide) count = static_cast<std::int16_t>(count);
    return Cards(d, count, cardLimit, doc);
}

bool DecodePlayerCards(Decoder& d, Shape shape, DocumentWriter& doc) {
    Values id;
    if (!Fields(d, 1, kWhole, id)) return false;
    doc.Element("player", kPlayerId, id);
    switch (shape) {
        case Shape::kSendCard:
            return CountedCards(d, kLongCountLimit, true, kCardLimit, doc);
        // The count's length word is honoured: a single digit when the server sends one.
        case Shape::kSendRemainCard:
            return CountedCards(d, kLongCountLimit, false, kCardLimit, doc);
        default:
            return CountedCards(d, kShortCountLimit, false, kCardLimit, doc);
    }
}

bool DecodeDeskPlayerInfo(Decoder& d, DocumentWriter& doc) {
    Values desk, player;
    int players = 0;
    if (!Fields(d, kDesk.size(), kWhole, desk) || !d.Count(players, 0, kShortCountLimit)) return false;
    doc.Element("desk", kDesk, desk);
    players = static_cast<std::int16_t>(players);
    for (int i = 0; i < players; ++i) {
        if (!Fields(d, kDeskPlayer.size(), kPlayerTextLimit, player)) return false;
        doc.Element("player", kDeskPlayer, player);
    }
    return true;
}

bool DecodeRestorePlayer(Decoder& d, DocumentWriter& doc) {
    Values game, player;
    if (!Fields(d, kRestoreGame.size(), kWhole, game)) return false;
    doc.Element("game", kRestoreGame, game);
    for (int k = 0; k < 3; ++k) {
        if (!Fields(d, kRestoredPlayer.size(), kPlayerTextLimit, player)) return false;
        doc.Element("player", kRestoredPlayer, player);
        doc.Start("lastCards");
        if (!CountedCards(d, kShortCountLimit, false, kRestoredCardLimit, doc)) return false;
        doc.End();
    }
    for (const char* holder : {"mycards", "dipai"}) {
        doc.Start(holder);
        if (!CountedCards(d, kShortCountLimit, false, kRestoredCardLimit, doc)) return false;
        doc.End();
    }
    return true;
}

bool DecodeGameResult(Decoder& d, DocumentWriter& doc) {
    Values player;
    for (int k = 0; k < 3; ++k) {
        if (!Fields(d, kResultPlayer.size(), kPlayerTextLimit, player)) return false;
        doc.Start("player", kResultPlayer, player);
        if (!CountedCards(d, kLongCountLimit, false, kCardLimit, doc)) return false;
        doc.End();
    }
    return true;
}

}  // namespace

CTranslateMsg::CTranslateMsg(const MsgCodeTable& source, std::function<void()> loadSource)
    : source_(source), loadSource_(std::move(loadSource)) {
    std::memset(buffer_, 0, sizeof buffer_);
}

CTranslateMsg::~CTranslateMsg() = default;

void CTranslateMsg::LoadTable() {
    if (source_.empty() && loadSource_) loadSource_();
    rows_.CopyIfEmpty(source_);
}

int CTranslateMsg::FindByName(std::string name) { return rows_.FindByName(name) ? 1 : 0; }

int CTranslateMsg::FindByCode(int code) { return rows_.FindByCode(static_cast<unsigned char>(code & 0xFF)) ? 1 : 0; }

unsigned char* CTranslateMsg::FailEncode(Failure failure) {
    failure_ = failure;
    return nullptr;
}

unsigned char* CTranslateMsg::XmlToBinary(const char* xml, int length) {
    LoadTable();
    std::string name;
    int fieldCount = 0;
    Values fields;
    Values cards;  // number, suit, number, suit...
    try {
        binform::RequestReader reader(xml, length);
        name = reader.MessageName();
        const std::pair<const char*, int>* layout = nullptr;
        for (const auto& o : kOutgoing)
            if (!layout && name == o.first) layout = &o;
        if (!layout) return FailEncode(Failure::kNoEncoding);
        fieldCount = layout->second;

        if (fieldCount != 0 && !reader.NextElement()) return FailEncode(Failure::kBadRequest);
        if (fieldCount == kChuPai) {
            if (!reader.Attributes(1, fields)) return FailEncode(Failure::kBadRequest);
            while (reader.NextElement())
                if (reader.ElementName() == "card" && !reader.Attributes(2, cards))
                    return FailEncode(Failure::kBadRequest);
        } else if (!reader.Attributes(static_cast<std::size_t>(fieldCount), fields)) {
            return FailEncode(Failure::kBadRequest);
        }
    } catch (int* code) {  // the reader's rejection of malformed text
        delete code;
        return FailEncode(Failure::kBadRequest);
    }
    if (!FindByName(name)) return FailEncode(Failure::kNoCode);

    binform::Encoder out(buffer_, sizeof buffer_);
    out.Header(rows_.Current().code);
    for (const std::string& f : fields) out.Field(f);
    if (fieldCount == kChuPai) {
        out.Word(static_cast<std::uint16_t>(cards.size() / 2));
        for (const std::string& c : cards) out.Field(c);
    }
    if (!out.Ok()) return FailEncode(Failure::kTooLong);
    packetLength_ = static_cast<int>(out.Size());
    failure_ = Failure::kNone;
    return buffer_;
}

char* CTranslateMsg::BinaryToXml(const unsigned char* packet, int length) {
    LoadTable();
    if (!packet || length < static_cast<int>(binform::kHeaderSize)) {
        failure_ = Failure::kBadPacket;
        return nullptr;
    }
    FindByCode(packet[1]);  // an unknown code keeps the current name (empty in a new translator)
    const Incoming* m = nullptr;
    for (const Incoming& i : kIncoming)
        if (!m && rows_.Current().name == i.name) m = &i;
    if (!m) {
        failure_ = Failure::kNoDecoding;
        return nullptr;
    }

    Decoder d(packet, static_cast<std::size_t>(length));
    DocumentWriter doc("FENLO", m->name);
    bool ok = true;
    switch (m->shape) {
        case Shape::kFlat: {
            Values fields;
            ok = Fields(d, m->attributes.size(), m->limit, fields);
            if (ok && m->element) doc.Element(m->element, m->attributes, fields);
            break;
        }
        case Shape::kSendCard:
        case Shape::kSendRemainCard:
        case Shape::kChuPai:
            ok = DecodePlayerCards(d, m->shape, doc);
            break;
        case Shape::kDeskPlayerInfo:
            ok = DecodeDeskPlayerInfo(d, doc);
            break;
        case Shape::kRestorePlayer:
            ok = DecodeRestorePlayer(d, doc);
            break;
        case Shape::kGameResult:
            ok = DecodeGameResult(d, doc);
            break;
    }
    if (!ok) {
        failure_ = Failure::kBadPacket;
        return nullptr;
    }
    failure_ = Failure::kNone;
    return doc.Finish();
}

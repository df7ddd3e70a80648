// Reading of the lobby server's replies. Values are taken by their position
// among an element's attributes, elements in document order; names of
// attributes are never looked at. A reply that lacks a value it must carry is
// dropped whole: its branch builds nothing into the hub until it has read
// everything.
#include <cctype>
#include <memory>

#include "lobby/net/base/Base64.h"
#include "lobby/net/base/LogManager.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LobbyStrings.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "xml/XMLTextReader.h"

namespace {

// A forward cursor over the reply's elements and their attributes that notes
// when a value it was asked for is not there.
class Cursor {
public:
    explicit Cursor(XMLTextReader& reader) : reader_(reader) {}

    bool Next() { return reader_.Read(); }
    // Moves to the next element; a reply without it is short.
    void Expect() {
        if (!reader_.Read()) short_ = true;
    }
    bool At(const char* name) { return reader_.Name() == name; }
    std::string Take() {
        if (reader_.MoveToNextAttribute()) return reader_.Value();
        short_ = true;
        return std::string();
    }
    bool TakeOptional(std::string& value) {
        if (!reader_.MoveToNextAttribute()) return false;
        value = reader_.Value();
        return true;
    }
    void Skip() { Take(); }
    int TakeInt() { return StringToInt(Take()); }
    // True unless the value, lower-cased, is "false".
    bool TakeNotFalse() {
        std::string value = Take();
        for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return value != "false";
    }
    std::string TakeBase64() {
        const std::string encoded = Take();
        std::string decoded;
        unsigned count = 0;
        Base64Decode(encoded.data(), static_cast<int>(encoded.size()), &count, decoded);
        return decoded;
    }
    bool Short() const { return short_; }

private:
    XMLTextReader& reader_;
    bool short_ = false;
};

// "a,b" -> a and b; "a" -> a and "0"; ",b" -> "" and "0".
void SplitAtComma(const std::string& text, std::string& first, std::string& second) {
    const size_t comma = text.find(',');
    first = text.substr(0, comma);
    second = comma != std::string::npos && comma >= 1 ? text.substr(comma + 1) : "0";
}

// "r,g,b" -> 0x00BBGGRR from the low byte of each part; a fourth part is dropped.
unsigned ChatColour(const std::string& text) {
    std::string parts[3];
    int part = 0;
    for (char c : text) {
        if (c == ',') {
            ++part;
            continue;
        }
        if (part < 3) parts[part] += c;
    }
    unsigned colour = 0;
    for (int i = 0; i < 3; ++i) colour |= (static_cast<unsigned>(StringToInt(parts[i])) & 0xFF) << (8 * i);
    return colour;
}

template <class Room>
void ReadRoomValues(Cursor& c, Room& room) {
    room.id = c.Take();
    room.name = c.Take();
    SplitAtComma(c.Take(), room.host, room.host2);
    SplitAtComma(c.Take(), room.port, room.port2);
    room.flag = c.TakeNotFalse();
    room.playerCount = c.TakeInt();
    room.text7 = c.Take();
    room.group = c.TakeInt();
    room.openFlag = c.Take();
    // The binary form of a room carries only the first nine values.
    c.TakeOptional(room.closedText) && c.TakeOptional(room.gameId) && c.TakeOptional(room.text12);
}

void ReadPlayer(Cursor& c, RoomPlayerRecord& player) {
    player.playerId = c.Take();
    player.nickname = c.Take();
    player.number = c.TakeInt();
    for (std::string& s : player.more) s = c.Take();
}

typedef std::unique_ptr<CMessage> Result;

// More desks or players than any room holds: a reply with more is hostile and
// is dropped whole, before the windows spend seconds on its rows.
const size_t kMaxRoomEntries = 2000;

template <class M>
std::unique_ptr<M> Make() {
    return std::unique_ptr<M>(new M());
}

Result LoginKey(Cursor& c) {
    auto m = Make<CLoginAckMsg>();
    c.Expect();
    c.Skip();
    m->loginKey = c.Take();
    return m;
}

Result LoginSuccess(Cursor& c) {
    auto m = Make<CLoginSuccessMsg>();
    c.Expect();
    c.Skip();
    m->money = c.Take();
    m->flag3 = c.Take() == "True";
    m->locked = c.Take() == "True";
    m->text5 = c.Take();
    m->nickname = c.Take();
    m->loginNumber = c.TakeInt();
    m->text8 = c.Take();
    m->text9 = c.Take();
    c.TakeOptional(m->secondAmount);
    return m;
}

Result LoginFailed(Cursor& c) {
    auto m = Make<CLoginFailedMsg>();
    c.Expect();
    m->reason = c.Take();
    return m;
}

Result LowClientVersion(Cursor&) { return Make<CNeedUpdateMsg>(); }

Result PlayerInfo(Cursor& c) {
    c.Expect();
    c.Skip();
    std::string money = c.Take();
    std::string info = c.Take();
    if (!c.Short()) {
        CLobbyData& hub = GetLobbyData();
        hub.moneyText = money;
        hub.playerInfoText = info;
    }
    return nullptr;
}

void DeleteGames(std::vector<LobbyGameRecord*>& games) {
    for (LobbyGameRecord* game : games) {
        for (LobbyRoomRecord* room : game->rooms) delete room;
        delete game;
    }
    games.clear();
}

Result GameList(Cursor& c) {
    CLobbyData& hub = GetLobbyData();
    hub.ApplyRoomListLateness();
    std::vector<LobbyGameRecord*> games;
    size_t records = 0;  // games and rooms
    try {
        bool more = c.Next();
        while (more && c.At("game")) {
            if (++records > CLobbyData::kMaxRooms) break;
            games.push_back(new LobbyGameRecord());
            LobbyGameRecord* game = games.back();
            game->id = c.Take();
            game->code = c.Take();
            game->name = c.Take();
            game->text4 = c.Take();
            more = c.Next();
            while (more && c.At("room")) {
                if (++records > CLobbyData::kMaxRooms) break;
                game->rooms.push_back(new LobbyRoomRecord());
                LobbyRoomRecord* room = game->rooms.back();
                ReadRoomValues(c, *room);
                room->owner = game;
                more = c.Next();
            }
        }
    } catch (...) {
        DeleteGames(games);
        throw;
    }
    if (records > CLobbyData::kMaxRooms) LogManager::Instance().Write("LobbyProtocol", "dropped a GameList reply with too many rooms");
    if (c.Short() || records > CLobbyData::kMaxRooms) {
        DeleteGames(games);
        return nullptr;
    }
    hub.ClearGameList();
    hub.gameList.swap(games);
    return Make<CGameInfoMsg>();
}

Result DeskList(Cursor& c) {
    auto m = Make<CDeskInfoMsg>();
    if (!c.Next() || !c.At("Room")) return m;
    m->roomFlag = c.TakeNotFalse();
    std::unique_ptr<CRoomDeskList> list(new CRoomDeskList());
    bool more = c.Next();
    while (more && c.At("desk")) {
        const std::string name = c.Take();
        const std::string roomId = c.Take();
        const std::string deskId = c.Take();
        c.Skip();
        const bool playing = c.TakeNotFalse();
        if (list->desks.size() >= CRoomDeskList::kMaxDesks) {
            LogManager::Instance().Write("LobbyProtocol", "dropped a DeskList reply with too many desks");
            return nullptr;
        }
        CRoomDeskInfo* desk = list->AddDesk(playing, m->roomFlag, name, roomId, deskId);
        if (!desk) throw std::bad_alloc();
        more = c.Next();
        while (more && c.At("player")) {
            const std::string playerId = c.Take();
            const std::string nickname = c.Take();
            const std::string seat = c.Take();
            const bool state = c.TakeNotFalse();
            const int type = c.TakeInt();
            // One player a seat: a later one takes it, one off the seats is left out.
            desk->AddPlayer(playerId, nickname, seat, state, type);
            more = c.Next();
        }
        desk->groupFlag = m->roomFlag;
    }
    if (c.Short()) return nullptr;
    m->deskList = list.release();
    return m;
}

Result ReadyToEnterRoom(Cursor& c) {
    auto m = Make<CStartGameMsg>();
    c.Expect();
    m->text1 = c.Take();
    m->token = c.Take();
    m->roomId = c.Take();
    return m;
}

Result EnterRoomFailed(Cursor& c) {
    auto m = Make<CRejectStartGame>();
    c.Expect();
    m->text1 = c.Take();
    m->text2 = c.Take();
    m->reason = c.TakeBase64();
    return m;
}

Result KickPlayer(Cursor& c) {
    auto m = Make<CPlayerKickMsg>();
    c.Expect();
    m->text = c.Take();
    m->closeFlag = c.Take();
    m->reconnect = c.Take();
    return m;
}

Result PlayerChangeDesk(Cursor& c) {
    auto m = Make<CPlayerChangeMsg>();
    c.Expect();
    m->playerId = c.Take();
    m->nickname = c.Take();
    m->roomId = c.Take();
    m->deskId = c.Take();
    m->seat = c.Take();
    m->sitsDown = c.TakeNotFalse();
    m->number = c.TakeInt();
    return m;
}

Result ValidateFailed(Cursor& c) {
    auto m = Make<CValidateFailMsg>();
    c.Expect();
    m->reason = c.Take();
    return m;
}

Result Notice(Cursor& c) {
    auto m = Make<CNoticeMsg>();
    c.Expect();
    m->text = c.TakeBase64();
    m->type = c.TakeInt();
    c.TakeOptional(m->roomSelector);
    return m;
}

Result EnterDeskAK(Cursor& c) {
    auto m = Make<CEnterDeskAKMsg>();
    c.Expect();
    m->granted = c.TakeNotFalse();
    return m;
}

Result PlayerState(Cursor& c) {
    auto m = Make<CPlayerStateMsg>();
    c.Expect();
    m->playerId = c.Take();
    m->deskId = c.Take();
    m->text3 = c.Take();
    m->state = c.TakeNotFalse();
    return m;
}

template <class M>
Result DeskEvent(Cursor& c) {  // GameStart, GameOver
    auto m = Make<M>();
    c.Expect();
    m->text1 = c.Take();
    m->deskId = c.Take();
    return m;
}

Result Chat(Cursor& c) {
    auto m = Make<CLobbyChatMsg>();
    c.Expect();
    m->system = c.Take() == "1";
    m->color = ChatColour(c.Take());
    m->playerName = c.Take();
    m->place = c.Take();
    m->target = c.Take();
    m->content = c.Take();
    return m;
}

Result RoomPlayerList(Cursor& c) {
    auto m = Make<CRoomPlayerList>();
    c.Next();  // the data element
    bool more = c.Next();
    while (more && c.At("player")) {
        if (m->entries.size() >= kMaxRoomEntries) {
            LogManager::Instance().Write("LobbyProtocol", "dropped a RoomPlayerList reply with too many players");
            return nullptr;
        }
        m->entries.push_back(new RoomPlayerRecord());
        ReadPlayer(c, *m->entries.back());
        more = c.Next();
    }
    return m;
}

Result RefreshPlayerInfo(Cursor& c) {
    auto m = Make<CRoomPlayerRef>();
    c.Expect();
    ReadPlayer(c, m->player);
    return m;
}

Result PlayerLeave(Cursor& c) {
    auto m = Make<CRoomPlayerLeave>();
    c.Expect();
    m->player = c.Take();
    return m;
}

// A list of like elements right after Message, each read into a new entry.
template <class M, class Read>
Result EntryList(Cursor& c, const char* entry, Read read) {
    auto m = Make<M>();
    bool more = c.Next();
    while (more && c.At(entry)) {
        if (m->entries.size() >= CLobbyData::kMaxRooms) {
            LogManager::Instance().Write("LobbyProtocol", std::string("dropped a list of too many ") + entry);
            return nullptr;
        }
        m->entries.push_back(nullptr);
        m->entries.back() = read(c);
        more = c.Next();
    }
    return m;
}

Result AddGame(Cursor& c) {
    return EntryList<CAddGameList>(c, "addgame", [](Cursor& c) {
        AddGameRecord* game = new AddGameRecord();
        game->id = c.Take();
        game->code = c.Take();
        game->name = c.Take();
        game->text4 = c.Take();
        return game;
    });
}

Result AddRoom(Cursor& c) {
    return EntryList<CAddRoomList>(c, "addroom", [](Cursor& c) {
        AddRoomRecord* room = new AddRoomRecord();
        ReadRoomValues(c, *room);
        return room;
    });
}

Result RemoveGame(Cursor& c) {
    return EntryList<CRemoveGameList>(c, "removegame", [](Cursor& c) { return new std::string(c.Take()); });
}

Result RemoveRoom(Cursor& c) {
    return EntryList<CRemoveRoomList>(c, "removeroom", [](Cursor& c) { return new std::string(c.Take()); });
}

Result PlayerCount(Cursor& c) {
    return EntryList<CPlayerCountList>(c, "room", [](Cursor& c) {
        PlayerCountRecord* count = new PlayerCountRecord();
        count->roomId = c.TakeInt();
        count->count = c.TakeInt();
        return count;
    });
}

Result MoneyIsNotEnough(Cursor& c) {
    auto m = Make<CMoneyIsNotEnoughMsg>();
    c.Expect();
    m->text = c.Take();
    m->target = c.TakeBase64();
    return m;
}

struct Branch {
    const char* name;
    Result (*read)(Cursor&);
};

const Branch kBranches[] = {
    {"LoginKey", LoginKey},
    {"LoginSuccess", LoginSuccess},
    {"LoginFailed", LoginFailed},
    {"LowClientVersion", LowClientVersion},
    {"playerinfo", PlayerInfo},
    {"GameList", GameList},
    {"DeskList", DeskList},
    {"ReadyToEnterRoom", ReadyToEnterRoom},
    {"EnterRoomFailed", EnterRoomFailed},
    {"KickPlayer", KickPlayer},
    {"PlayerChangeDesk", PlayerChangeDesk},
    {"ValidateFailed", ValidateFailed},
    {"Notice", Notice},
    {"EnterDeskAK", EnterDeskAK},
    {"PlayerState", PlayerState},
    {"GameStart", DeskEvent<CGameStartMsg>},
    {"GameOver", DeskEvent<CGameOverMsg>},
    {"Chat", Chat},
    {"RoomPlayerList", RoomPlayerList},
    {"RefreshPlayerInfo", RefreshPlayerInfo},
    {"PlayerLeave", PlayerLeave},
    {"AddGame", AddGame},
    {"RemoveGame", RemoveGame},
    {"AddRoom", AddRoom},
    {"RemoveRoom", RemoveRoom},
    {"PlayerCount", PlayerCount},
    {"MoneyIsNotEnough", MoneyIsNotEnough},
};

}  // namespace

CMessage* CLobbyProtocol::ParseMessage(const char* text, int length) {
    XMLTextReader reader;
    try {
        reader.SetXmlData(text, length);
    } catch (int* code) {
        // The reader throws a new int; turn it into an exception that owns nothing.
        const int value = *code;
        delete code;
        throw ReplyFormatError(value);
    }
    reader.Read();  // GameMessage
    reader.Read();  // Message
    const std::string name = reader.MoveToNextAttribute() ? reader.Value() : std::string();

    CLobbyData& hub = GetLobbyData();
    LobbyLockGuard guard(hub.lobbyLock);
    for (const Branch& branch : kBranches) {
        if (name != branch.name) continue;
        Cursor cursor(reader);
        Result result = branch.read(cursor);
        if (cursor.Short()) {
            LogManager::Instance().Write("LobbyProtocol", "dropped a " + name + " reply that lacks values");
            return nullptr;
        }
        return result.release();
    }
    return nullptr;
}

#include "tools/servers/LobbyLogic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "lobby/net/protocol/LoginDigest.h"

namespace servers {

namespace {

const char kGame[] = "Lobby";
const char kFenlo[] = "FENLO";

std::vector<Reply> One(Reply r) { return std::vector<Reply>{std::move(r)}; }

}  // namespace

LobbyConfig DefaultLobbyConfig() {
    LobbyConfig c;
    c.accounts.push_back({"player", MakeStoredDigest("secret", false), "1000.00", "player"});
    c.rooms.push_back({"1", "新手房", 12, "1", "11"});
    c.rooms.push_back({"2", "高手房", 3, "1", "12"});
    return c;
}

int CompareVersions(const std::string& a, const std::string& b) {
    const char* p = a.c_str();
    const char* q = b.c_str();
    while (*p || *q) {
        const long x = std::strtol(p, const_cast<char**>(&p), 10);
        const long y = std::strtol(q, const_cast<char**>(&q), 10);
        if (x != y) return x < y ? -1 : 1;
        while (*p && *p != '.') ++p;
        while (*q && *q != '.') ++q;
        if (*p) ++p;
        if (*q) ++q;
    }
    return 0;
}

std::string Base64Encode(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[v & 63] : '=';
    }
    return out;
}

Reply LobbyNotice(const std::string& text, int type) {
    return Reply(kGame, "Notice").Element("Notice", {{"body", Base64Encode(text)}, {"style", std::to_string(type)}});
}

Reply LobbyKick(const std::string& reason, bool close, bool reconnect) {
    return Reply(kFenlo, "KickPlayer")
        .Element("kick", {{"reason", reason}, {"close", close ? "True" : "False"}, {"recontect", reconnect ? "True" : "False"}});
}

Reply LobbyChat(bool system, const std::string& from, const std::string& to, const std::string& content) {
    return Reply(kGame, "Chat").Element("desk", {{"sysmsg", system ? "1" : "0"},
                                                 {"color", "0,0,0"},
                                                 {"playername", from},
                                                 {"messageplace", "lobby"},
                                                 {"sendto", to},
                                                 {"chatcontent", content}});
}

LobbyLogic::LobbyLogic(LobbyConfig config) : config_(std::move(config)) {
    desks_.resize(config_.rooms.size(), std::vector<Desk>(static_cast<size_t>(config_.desks > 0 ? config_.desks : 0)));
}

const LobbyAccount* LobbyLogic::Account(const std::string& name) const {
    for (const LobbyAccount& a : config_.accounts)
        if (a.name == name) return &a;
    return nullptr;
}

const LobbyRoom* LobbyLogic::Room(const std::string& id) const {
    for (const LobbyRoom& r : config_.rooms)
        if (r.id == id) return &r;
    return nullptr;
}

Reply LobbyLogic::GameList() const {
    Reply r(kGame, "GameList");
    r.Count(1).Start("game", {{"id", "1"}, {"name", "FENLO"}, {"chinesename", "斗地主"}, {"version", "1.0"}});
    r.Count(config_.rooms.size());
    const std::string port = std::to_string(config_.gamePort);
    for (const LobbyRoom& room : config_.rooms)
        r.Start("room", {{"id", room.id},
                         {"chinesename", room.name},
                         {"ip", config_.gameHost},
                         {"port", port},
                         {"vip", "False"},
                         {"playercount", std::to_string(room.playerCount)},
                         {"style", "0"},
                         {"description", room.entry},
                         {"GameId", "1"}})
            .XmlOnly({{"closedtext", ""}, {"game", "1"}, {"node", room.node}})
            .End();
    return r.End();
}

Reply LobbyLogic::DeskList(const std::string& roomId) const {
    Reply r(kFenlo, "DeskList");
    r.Start("Room", {{"AutoArrange", "False"}});
    size_t index = 0;
    while (index < config_.rooms.size() && config_.rooms[index].id != roomId) ++index;
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<Desk> none;
    const std::vector<Desk>& desks = index < desks_.size() ? desks_[index] : none;
    r.Count(desks.size());
    for (size_t d = 0; d < desks.size(); ++d) {
        int seated = 0;
        for (const Seat& s : desks[d].seats) seated += s.player.empty() ? 0 : 1;
        r.Start("desk", {{"Name", "第" + std::to_string(d + 1) + "桌"},
                         {"RoomId", roomId},
                         {"DeskId", std::to_string(d + 1)},
                         {"playerCount", std::to_string(seated)},
                         {"start", "False"}});
        for (int s = 0; s < 3; ++s) {
            if (desks[d].seats[s].player.empty()) continue;
            r.Element("player", {{"PlayerId", desks[d].seats[s].player},
                                 {"NiChen", desks[d].seats[s].player},
                                 {"SeatNo", std::to_string(s)},
                                 {"ready", "False"},
                                 {"sex", "1"}});
        }
        r.End();
    }
    return r.End();
}

Reply LobbyLogic::RoomPlayers(const std::string& roomId, const std::string& entering) const {
    std::vector<std::string> names = {entering};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t i = 0; i < config_.rooms.size() && i < desks_.size(); ++i) {
            if (config_.rooms[i].id != roomId) continue;
            for (const Desk& desk : desks_[i])
                for (const Seat& seat : desk.seats)
                    if (!seat.player.empty() && std::find(names.begin(), names.end(), seat.player) == names.end())
                        names.push_back(seat.player);
        }
    }
    Reply r(kFenlo, "RoomPlayerList");
    r.Start("Room").Count(names.size());
    for (const std::string& name : names) {
        const LobbyAccount* account = Account(name);
        const std::string money = account ? account->money : "0";
        // Read by position: the third value is the list's money column, the
        // fourth its sex ("1" female), then games, wins, losses, draws, breaks.
        r.Element("player", {{"playerID", name},
                             {"NiChen", account && !account->nickname.empty() ? account->nickname : name},
                             {"sex", std::to_string(std::atoi(money.c_str()))},
                             {"score", "0"},
                             {"Total", "0"},
                             {"Win", "0"},
                             {"Lose", "0"},
                             {"Draw", "0"},
                             {"Disconnected", "0"},
                             {"Money", money}});
    }
    return r.End();
}

std::vector<Reply> LobbyLogic::Conversation::Answer(const Request& r) {
    if (!r.document) {
        // The version request: another XML document whose root's second value is
        // the client's version. The answer's text is empty when it is the latest.
        if (r.name.empty()) return {};
        const std::string& latest = lobby_.config_.newVersion;
        const bool newer = !latest.empty() && CompareVersions(r.Value(1), latest) < 0;
        return One(Reply::Raw("<FileDataSet><Table><Url>" + (newer ? latest : std::string()) +
                              "</Url></Table></FileDataSet>"));
    }
    if (r.name == "PingData") return One(Reply(kFenlo, "PingData"));
    if (r.name == "Login") return Login(r);
    if (r.name == "PlayerValidate") return Validate(r);
    if (player_.empty()) return {};
    if (r.name == "RequestRoomList") {
        std::vector<Reply> out = One(lobby_.GameList());
        Reply counts(kGame, "PlayerCount");
        counts.Count(lobby_.config_.rooms.size());
        for (const LobbyRoom& room : lobby_.config_.rooms)
            counts.Element("room", {{"Ri", room.id}, {"pc", std::to_string(room.playerCount)}});
        out.push_back(counts);
        return out;
    }
    if (r.name == "RequestEnterRoom") return EnterRoom(r);
    if (r.name == "RequestDeskList") return One(lobby_.DeskList(room_.empty() ? r.Value(0) : room_));
    if (r.name == "RequestEnterDesk" || r.name == "RequestEnterDeskMessage") return EnterDesk(r);
    if (r.name == "Chat")
        return One(LobbyChat(false, player_, r.Value(4), r.Value(5)));
    return {};
}

std::vector<Reply> LobbyLogic::Conversation::Login(const Request& r) {
    name_ = r.Value(0);
    const std::string& version = r.Value(1);
    if (!lobby_.config_.minVersion.empty() && CompareVersions(version, lobby_.config_.minVersion) < 0)
        return One(Reply(kFenlo, "LowClientVersion"));
    char key[32];
    std::snprintf(key, sizeof key, "K%08X", lobby_.config_.seed * 2654435761u + static_cast<unsigned>(index_));
    key_ = key;
    return One(Reply("LoginKey", "LoginKey").Element("player", {{"id", name_}, {"ticket", key_}}));
}

std::vector<Reply> LobbyLogic::Conversation::Validate(const Request& r) {
    const LobbyAccount* account = lobby_.Account(r.Value(0));
    if (key_.empty() || !account || r.Value(0) != name_ || r.Value(1) != MakeLoginTicket(account->storedDigest, key_))
        return One(Reply("LoginKey", "LoginFailed").Element("failed", {{"reason", "用户名或密码错误"}}));
    player_ = account->name;
    std::vector<Reply> out;
    out.push_back(Reply("Login", "LoginSuccess")
                      .Element("player", {{"name", account->name},
                                          {"money", account->money},
                                          {"vip", "False"},
                                          {"locked", "False"},
                                          {"memberId", "m" + account->name},
                                          {"nickName", account->nickname.empty() ? account->name : account->nickname},
                                          {"sex", "1"},
                                          {"moneyMirabo", "0"},
                                          {"gouWuJuan", "0"}}));
    if (!lobby_.config_.notice.empty()) out.push_back(LobbyNotice(lobby_.config_.notice, 0));
    return out;
}

std::vector<Reply> LobbyLogic::Conversation::EnterRoom(const Request& r) {
    const std::string& room = r.Value(1);
    if (!lobby_.Room(room))
        return One(Reply(kFenlo, "EnterRoomFailed")
                       .Element("kick", {{"id", player_}, {"roomid", room}, {"reason", Base64Encode("房间不存在")}}));
    room_ = room;
    std::vector<Reply> out;
    out.push_back(Reply("lobby", "ReadyToEnterRoom")
                      .Element("player", {{"id", player_},
                                          {"ticket", RoomToken(lobby_.config_.secret, player_, room)},
                                          {"roomid", room}}));
    out.push_back(lobby_.DeskList(room));
    out.push_back(lobby_.RoomPlayers(room, player_));
    return out;
}

std::vector<Reply> LobbyLogic::Conversation::EnterDesk(const Request& r) {
    const std::string& room = r.Value(0);
    const int desk = std::atoi(r.Value(1).c_str());
    const int seat = std::atoi(r.Value(2).c_str());
    size_t index = 0;
    while (index < lobby_.config_.rooms.size() && lobby_.config_.rooms[index].id != room) ++index;
    bool granted = false;
    {
        std::lock_guard<std::mutex> lock(lobby_.mutex_);
        if (index < lobby_.desks_.size() && desk >= 1 && desk <= static_cast<int>(lobby_.desks_[index].size()) &&
            seat >= 0 && seat < 3) {
            Seat& s = lobby_.desks_[index][static_cast<size_t>(desk - 1)].seats[seat];
            if (s.player.empty() || s.player == player_) {
                for (Desk& d : lobby_.desks_[index])
                    for (Seat& other : d.seats)
                        if (other.player == player_) other.player.clear();
                s.player = player_;
                granted = true;
            }
        }
    }
    std::vector<Reply> out = One(Reply(kFenlo, "EnterDeskAK").Element("result", {{"Success", granted ? "True" : "False"}}));
    if (granted)
        out.push_back(Reply(kFenlo, "PlayerChangeDesk")
                          .Element("player", {{"PlayerID", player_},
                                              {"niChen", player_},
                                              {"RoomID", room},
                                              {"DeskId", std::to_string(desk)},
                                              {"SeatNo", std::to_string(seat)},
                                              {"OnDesk", "True"},
                                              {"sex", "1"}}));
    return out;
}

}  // namespace servers

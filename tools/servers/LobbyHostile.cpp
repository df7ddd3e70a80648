#include "tools/servers/LobbyHostile.h"

#include "tools/servers/CodeTables.h"
#include "tools/servers/LobbyLogic.h"

namespace servers {

namespace {

const int kHuge = 100000;


HostileMessage Msg(const char* game, const char* name, std::vector<HostileElement> elements) {
    return HostileMessage{game, name, std::move(elements)};
}

const std::vector<std::string> kPlayer = {"playerID", "NiChen", "sex",  "score",        "Total",
                                          "Win",      "Lose",   "Draw", "Disconnected", "Money"};
const std::vector<std::string> kRoom = {"id",       "chinesename", "ip",          "port",  "vip",
                                        "playercount", "style",    "description", "GameId"};

std::string Head(const char* game, const char* name) {
    return std::string("<GameMessage game=\"") + game + "\"><Message name=\"" + name + "\" type=\"Response\">";
}

const char kTail[] = "</Message></GameMessage>";

// The lists of 100 000 entries are written as text directly: a Reply of that
// size would take a hundred megabytes to build.
Reply HugeGameList() {
    std::string t = Head("Lobby", "GameList") + "<game id=\"1\" name=\"FENLO\" chinesename=\"x\" version=\"1.0\">";
    for (int i = 0; i < kHuge; ++i)
        t += "<room id=\"" + std::to_string(i + 1) + "\" chinesename=\"r" + std::to_string(i) +
             "\" ip=\"127.0.0.1\" port=\"1\" vip=\"False\" playercount=\"" + std::to_string(i) +
             "\" style=\"0\" description=\"1\" GameId=\"1\"/>";
    return Reply::Raw(t + "</game>" + kTail);
}

Reply HugeList(const char* game, const char* name, const char* element, bool rooms) {
    std::string t = Head(game, name);
    for (int i = 0; i < kHuge; ++i) {
        const std::string n = std::to_string(i - 5);
        t += std::string("<") + element;
        if (rooms)
            t += " id=\"" + n + "\" chinesename=\"r\" ip=\"127.0.0.1,\" port=\",9\" vip=\"True\" playercount=\"" + n +
                 "\" style=\"" + n + "\" description=\"" + n + "\" GameId=\"" + n + "\"";
        else
            t += " Ri=\"" + n + "\" pc=\"" + std::to_string(2147483647 - i) + "\"";
        t += "/>";
    }
    return Reply::Raw(t + kTail);
}

Reply HugeDeskList() {
    std::string t = Head("FENLO", "DeskList") + "<Room AutoArrange=\"False\">";
    for (int i = 0; i < kHuge; ++i)
        t += "<desk Name=\"d\" RoomId=\"1\" DeskId=\"" + std::to_string(i) +
             "\" playerCount=\"3\" start=\"False\"><player PlayerId=\"p\" NiChen=\"p\" SeatNo=\"" +
             std::to_string(i % 7 - 2) + "\" ready=\"True\" sex=\"1\"/></desk>";
    return Reply::Raw(t + "</Room>" + kTail);
}

Reply HugePlayerList() {
    std::string t = Head("FENLO", "RoomPlayerList") + "<Room>";
    for (int i = 0; i < kHuge; ++i)
        t += "<player playerID=\"p" + std::to_string(i) + "\" NiChen=\"n" + std::to_string(i) +
             "\" sex=\"9\" score=\"-1\" Total=\"2147483647\" Win=\"-2147483648\" Lose=\"x\" Draw=\"\" "
             "Disconnected=\"99999999999\" Money=\"1e999\"/>";
    return Reply::Raw(t + "</Room>" + kTail);
}

// Ten players at a desk, seats and desks out of range.
Reply CrowdedDesk() {
    Reply r("FENLO", "DeskList");
    r.Start("Room", {{"AutoArrange", "True"}}).Count(2);
    r.Start("desk", {{"Name", "d"}, {"RoomId", "1"}, {"DeskId", "-1"}, {"playerCount", "10"}, {"start", "True"}});
    for (int s = 0; s < 10; ++s)
        r.Element("player", {{"PlayerId", "p" + std::to_string(s)},
                             {"NiChen", "p"},
                             {"SeatNo", std::to_string(s * 11 - 20)},
                             {"ready", "True"},
                             {"sex", "1"}});
    r.End();
    r.Start("desk", {{"Name", ""}, {"RoomId", "99999"}, {"DeskId", "2147483647"}, {"playerCount", "-3"}, {"start", "x"}});
    return r.End().End();
}

Reply FarSeat() {
    return Reply("FENLO", "PlayerChangeDesk")
        .Element("player", {{"PlayerID", "player"},
                            {"niChen", "player"},
                            {"RoomID", "-1"},
                            {"DeskId", "2147483647"},
                            {"SeatNo", "99"},
                            {"OnDesk", "True"},
                            {"sex", "7"}});
}

Reply FarRooms() {
    Reply r("Lobby", "AddRoom");
    r.Count(3);
    for (const char* id : {"-2147483648", "4294967296", "0"})
        r.Element("addroom", {{"id", id},
                              {"chinesename", std::string(4000, 'w')},
                              {"ip", ","},
                              {"port", "99999999,"},
                              {"vip", "False"},
                              {"playercount", "-7"},
                              {"style", "2147483647"},
                              {"description", "-1"},
                              {"GameId", "-1"}});
    return r;
}

}  // namespace

HostileVocabulary LobbyVocabulary() {
    HostileVocabulary v;
    v.codes = DefaultLobbyCodes();
    v.messages = {
        Msg("FENLO", "EnterRoomFailed", {Element("kick", {"id", "roomid", "reason"})}),
        Msg("FENLO", "LowClientVersion", {}),
        Msg("FENLO", "ValidateFailed", {Element("kick", {"reason"})}),
        Msg("FENLO", "KickPlayer", {Element("kick", {"reason", "close", "recontect"})}),
        Msg("FENLO", "KeepAlive", {}),
        Msg("CommonGame", "ValidateSuccess", {Element("GameInfo", {"GameType"})}),
        Msg("FENLO", "RefreshPlayerInfo", {Element("player", kPlayer)}),
        Msg("FENLO", "PingData", {}),
        Msg("lobby", "ReadyToEnterRoom", {Element("player", {"id", "ticket", "roomid"})}),
        Msg("FENLO", "PlayerLeave", {Element("player", {"playerID"})}),
        Msg("FENLO", "RoomPlayerList", {Element("Room", {}), Element("player", kPlayer, 1, true)}),
        Msg("lobby", "Chat", {Element("desk", {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"})}),
        Msg("FENLO", "GameStart", {Element("desk", {"RoomID", "DeskId"})}),
        Msg("FENLO", "GameOver", {Element("desk", {"RoomID", "DeskId"})}),
        Msg("FENLO", "PlayerState", {Element("player", {"playerID", "deskid", "seatNo", "ready"})}),
        Msg("FENLO", "EnterDeskAK", {Element("result", {"Success"})}),
        Msg("Lobby", "Notice", {Element("Notice", {"body", "style"})}),
        Msg("LoginKey", "LoginFailed", {Element("failed", {"reason"})}),
        Msg("LoginKey", "LoginKey", {Element("player", {"id", "ticket"})}),
        Msg("FENLO", "PlayerChangeDesk",
            {Element("player", {"PlayerID", "niChen", "RoomID", "DeskId", "SeatNo", "OnDesk", "sex"})}),
        Msg("Login", "LoginSuccess",
            {Element("player",
                {"name", "money", "vip", "locked", "memberId", "nickName", "sex", "moneyMirabo", "gouWuJuan"})}),
        Msg("FENLO", "DeskList",
            {Element("Room", {"AutoArrange"}), Element("desk", {"Name", "RoomId", "DeskId", "playerCount", "start"}, 1, true),
             Element("player", {"PlayerId", "NiChen", "SeatNo", "ready", "sex"}, 2, true)}),
        Msg("Lobby", "GameList",
            {Element("game", {"id", "name", "chinesename", "version"}, 0, true), Element("room", kRoom, 1, true)}),
        Msg("Lobby", "AddGame", {Element("addgame", {"id", "name", "chinesename", "version"}, 0, true)}),
        Msg("Lobby", "RemoveGame", {Element("removegame", {"id"}, 0, true)}),
        Msg("Lobby", "AddRoom", {Element("addroom", kRoom, 0, true)}),
        Msg("Lobby", "RemoveRoom", {Element("removeroom", {"id"}, 0, true)}),
        Msg("Lobby", "PlayerCount", {Element("room", {"Ri", "pc"}, 0, true)}),
        Msg("Lobby", "MoneyIsNotEnough", {Element("data", {"text", "url"})}),
        Msg("Lobby", "playerinfo", {Element("player", {"id", "money", "info"})}),
    };
    v.extremes = {HugeGameList,
                  [] { return HugeList("Lobby", "AddRoom", "addroom", true); },
                  [] { return HugeList("Lobby", "PlayerCount", "room", false); },
                  [] { return HugeList("Lobby", "RemoveRoom", "removeroom", true); },
                  HugeDeskList,
                  HugePlayerList,
                  CrowdedDesk,
                  FarSeat,
                  FarRooms,
                  [] { return LobbyNotice(std::string(2000, 'N'), -2147483647 - 1); },
                  [] { return LobbyKick(std::string(20000, 'k'), false, false); }};
    return v;
}

}  // namespace servers

#include "tools/servers/GameVocabulary.h"

#include <algorithm>

#include "tools/servers/CodeTables.h"

namespace servers {

namespace {

const char kGame[] = "FENLO";

HostileElement Cards(int depth = 0) { return Element("card", {"number", "suit"}, depth, true); }

HostileMessage M(const char* name, std::vector<HostileElement> elements = {}) {
    HostileMessage m;
    m.game = kGame;
    m.name = name;
    m.elements = std::move(elements);
    return m;
}

const std::vector<std::string> kDeskPlayer = {"id",         "seat",     "money", "ready", "ip", "IPLocation",
                                              "IPDetail",   "sex",      "nickName"};
const std::vector<std::string> kRestorePlayer = {"id",       "seat",       "money",    "ready",
                                                 "cardnum",  "jiaofen",    "ip",       "autoplay",
                                                 "IPLocation", "IPDetail", "multiple", "HashAskForLandLord",
                                                 "sex",      "nickName"};

std::vector<HostileMessage> Messages() {
    const HostileElement player = Element("player", {"id"});
    const HostileElement turn = Element("player", {"id", "remainTime"});
    return {
        M("ValidateFailed", {Element("failed", {"reason"})}),
        M("ValidateSuccess", {Element("GameInfo", {"GameType"})}),
        M("KickPlayer", {Element("player", {"reason", "close", "reconnect"})}),
        M("DeskPlayerInfo", {Element("desk", {"stake", "memberId", "visible", "ShowCard"}),
                             Element("player", kDeskPlayer, 0, true)}),
        M("GameStart", {Element("player", {"RoomID", "DeskID"})}),
        M("BeginChouPai"),
        M("ChouPai", {player, Element("card", {"number", "suit"})}),
        M("BeginJiaoFen", {turn}),
        M("JiaoFen", {Element("player", {"id", "score"})}),
        M("SendCard", {player, Cards()}),
        M("SendRemainCard", {player, Cards()}),
        M("BeginChuPai", {turn}),
        M("ChuPaiFailed", {player}),
        M("ChuPai", {player, Cards()}),
        M("ReadyForPlaying", {player}),
        M("GameResult", {Element("player", {"id", "score", "Bomb", "ChunTianState", "Tax", "Score"}, 0, true), Cards(1)}),
        M("AutoPlay", {player}),
        M("CancelAutoPlay", {player}),
        M("RestorePlayer", {Element("game", {"state", "memberId", "visible", "ShowCard", "nowplayer", "banker", "stake",
                                       "vip", "gameid", "Bomb"}),
                            Element("player", kRestorePlayer), Element("lastCards", {}), Cards(1),
                            Element("player", kRestorePlayer), Element("lastCards", {}), Cards(1),
                            Element("player", kRestorePlayer), Element("lastCards", {}), Cards(1),
                            Element("mycards", {}), Cards(1), Element("dipai", {}), Cards(1)}),
        M("MingPai", {Element("card", {"number", "suit", "index"})}),
        M("InvalidClientVersion"),
        M("BeginBet", {Element("bet", {"money"})}),
        M("EndBet"),
        M("PlayerGoal", {Element("player", {"id", "rank", "name", "ratio", "money"})}),
        M("BetSuccess", {Element("bet", {"first", "amount"})}),
        M("CreateGameSuccess", {Element("game", {"room", "desk", "gameid"})}),
        M("ReRequestDesk"),
        M("PingData"),
        M("BeginDouble", {turn}),
        M("Double", {Element("player", {"id", "double"})}),
        M("AnswerLeave", {Element("player", {"Allow"})}),
        M("WaittingPlayer", {Element("player", {"id", "time"})}),
        M("GameNotice", {Element("notice", {"body"})}),
        M("BeginAskForLandLord", {turn}),
        M("AskForLandLord", {Element("player", {"id", "askforlandlord"})}),
        M("Chat", {Element("Chat", {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"})}),
        M("waittingArrange", {Element("arrange", {"playerCount"})}),
        M("AskPlayerSignUp", {Element("signup", {"inform"})}),
        M("MoneyIsNotEnough", {Element("money", {"text", "url"})}),
        M("RankTopN", {Element("player", {"rank", "nickName", "winloss", "rounds"}, 0, true)}),
        M("PlayerRank", {Element("player", {"rank", "total", "winloss", "rounds"})}),
        M("DeakRank", {Element("player", {"rank", "nickName", "winloss", "rounds"}, 0, true)}),
        M("RemainTime", {Element("time", {"remain", "stage", "type"})}),
        M("PlayerMoneyNew", {Element("player", {"money"})}),
    };
}

std::string Num(long long v) { return std::to_string(v); }

// n cards cycling through the deck from a start, all of them real cards.
CardList Deck(int n, int start = 0) {
    CardList cards;
    for (int i = 0; i < n; ++i) {
        const int k = (start + i) % 54;
        cards.emplace_back(k < 52 ? k / 4 + 3 : k - 36, k < 52 ? k % 4 : 0);
    }
    return cards;
}
CardList Same(int n, int number, int suit) { return CardList(static_cast<size_t>(n), {number, suit}); }

std::vector<std::function<Reply()>> Extremes(const std::string& me, const std::string& r1, const std::string& r2) {
    const std::string names[3] = {me, r1, r2};
    const char* const kHugeMoney[] = {"1e308", "-1e308", "99999999999999999999", "-2147483649", "nan", "inf"};
    std::vector<std::function<Reply()>> x;
    // Dealt hands: 50 cards, 17 of 99/7, none.
    for (const CardList& hand : {Deck(50), Same(17, 99, 7), CardList(), Deck(17, 40)})
        x.push_back([=] { return Reply(kGame, "SendCard").Element("player", {{"id", me}}).Cards(hand); });
    // Ten players at a desk, seats from -1 to far out, huge money.
    for (int variant = 0; variant < 3; ++variant)
        x.push_back([=] {
            Reply r(kGame, "DeskPlayerInfo");
            r.Element("desk", {{"stake", variant ? "99999999999" : "-5"}, {"memberId", me}, {"visible", "-7"},
                               {"ShowCard", variant == 1 ? "1" : "99"}});
            const int n = variant == 2 ? 3 : 10;
            r.Count(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) {
                const std::string id = i < 3 ? names[i] : "p" + Num(i);
                const long long seat = variant == 2 ? (i == 0 ? 99 : i == 1 ? -1 : 2147483647LL) : i - 1;
                r.Element("player", {{"id", id},
                                     {"seat", Num(seat)},
                                     {"money", kHugeMoney[i % 6]},
                                     {"ready", i % 2 ? "True" : "False"},
                                     {"ip", "-1"},
                                     {"IPLocation", ""},
                                     {"IPDetail", ""},
                                     {"sex", Num(99 - i * 30)},
                                     {"nickName", std::string(i == 0 ? 3000 : 1, 'n')}});
            }
            return r;
        });
    // Plays of cards nobody holds, of 99/7, of 50 cards, by every seat and a stranger.
    for (const std::string& who : {me, r1, r2, std::string("stranger")})
        for (const CardList& cards : {Deck(50, 3), Same(3, 99, 7), Same(20, 16, 0), CardList()})
            x.push_back([=] { return Reply(kGame, "ChuPai").Element("player", {{"id", who}}).Cards(cards); });
    // Bottom cards: 50, 99/7, none, to a stranger.
    for (const CardList& cards : {Deck(50, 7), Same(3, 99, 7), CardList()})
        for (const std::string& who : {me, r1, std::string("stranger")})
            x.push_back([=] { return Reply(kGame, "SendRemainCard").Element("player", {{"id", who}}).Cards(cards); });
    // Results of ten players, huge money, 50 cards left or none.
    x.push_back([=] {
        Reply r(kGame, "GameResult");
        for (int i = 0; i < 10; ++i) {
            r.Start("player", {{"id", i < 3 ? names[i] : "p" + Num(i)},
                               {"score", kHugeMoney[i % 6]},
                               {"Bomb", i ? "2147483647" : "-2147483648"},
                               {"ChunTianState", i % 2 ? "ChunTian" : "FanChun"},
                               {"Tax", kHugeMoney[(i + 1) % 6]},
                               {"Score", kHugeMoney[(i + 2) % 6]}});
            r.Cards(i % 2 ? Deck(50, i) : CardList()).End();
        }
        return r;
    });
    // A restore with seats (the own one at the top of the int range) and
    // counts out of range, an unknown stage, 50 own cards.
    for (int variant = 0; variant < 3; ++variant)
        x.push_back([=] {
            static const char* const kStates[] = {"PlayingCard", "JiaoFen", "NoSuchStage"};
            Reply r(kGame, "RestorePlayer");
            r.Element("game", {{"state", kStates[variant]},
                               {"memberId", me},
                               {"visible", "3"},
                               {"ShowCard", variant == 1 ? "1" : "-3"},
                               {"nowplayer", variant ? "stranger" : me},
                               {"banker", variant == 2 ? "" : r2},
                               {"stake", "99999999999"},
                               {"vip", "True"},
                               {"gameid", std::string(2000, '9')},
                               {"Bomb", variant ? "2147483647" : "-9"}});
            for (int s = 0; s < 3; ++s) {
                r.Element("player", {{"id", names[(s + variant) % 3]},
                                     {"seat", Num(variant == 0   ? s
                                                  : variant == 1 ? (s == 2 ? 2147483647LL : 99 - s)
                                                                 : -1 - s)},
                                     {"money", kHugeMoney[(s + variant) % 6]},
                                     {"ready", "True"},
                                     {"cardnum", variant == 1 ? "2147483647" : Num(-17 + s)},
                                     {"jiaofen", Num(99 * (s - 1))},
                                     {"ip", "0"},
                                     {"autoplay", s == 0 ? "True" : "False"},
                                     {"IPLocation", ""},
                                     {"IPDetail", ""},
                                     {"multiple", Num(99 - 50 * s)},
                                     {"HashAskForLandLord", Num(-5 + 7 * s)},
                                     {"sex", "-1"},
                                     {"nickName", ""}});
                r.Start("lastCards").Cards(variant == 2 ? Same(3, 99, 7) : Deck(20 * s, s)).End();
            }
            r.Start("mycards").Cards(variant == 1 ? CardList() : Deck(50)).End();
            r.Start("dipai").Cards(Deck(variant * 25)).End();
            return r;
        });
    // A shown card at deal positions out of range, and a card out of range.
    for (const char* index : {"99", "-1", "2147483647", "50"})
        x.push_back([=] { return Reply(kGame, "MingPai").Element("card", {{"number", "9"}, {"suit", "1"}, {"index", index}}); });
    x.push_back([] { return Reply(kGame, "MingPai").Element("card", {{"number", "99"}, {"suit", "7"}, {"index", "3"}}); });
    // Bids, doubles and contest answers beyond their ranges, turns of strangers with huge times.
    for (const char* v : {"99", "-1", "2147483647"}) {
        x.push_back([=] { return Reply(kGame, "JiaoFen").Element("player", {{"id", r1}, {"score", v}}); });
        for (const char* name : {"BeginJiaoFen", "BeginChuPai", "BeginDouble", "BeginAskForLandLord"})
            for (const std::string& who : {me, std::string("stranger")})
                x.push_back([=] { return Reply(kGame, name).Element("player", {{"id", who}, {"remainTime", v}}); });
        x.push_back([=] { return Reply(kGame, "WaittingPlayer").Element("player", {{"id", me}, {"time", v}}); });
        x.push_back([=] { return Reply(kGame, "waittingArrange").Element("arrange", {{"playerCount", v}}); });
        x.push_back([=] {
            return Reply(kGame, "RemainTime").Element("time", {{"remain", v}, {"stage", v}, {"type", v}});
        });
        x.push_back([=] {
            return Reply(kGame, "PlayerRank").Element("player", {{"rank", v}, {"total", v}, {"winloss", v}, {"rounds", v}});
        });
        x.push_back([=] { return Reply(kGame, "BetSuccess").Element("bet", {{"first", v}, {"amount", v}}); });
    }
    for (const char* money : kHugeMoney)
        x.push_back([=] { return Reply(kGame, "PlayerMoneyNew").Element("player", {{"money", money}}); });
    // A ranking of 100 000 rows; a chat line of 100 000 characters.
    x.push_back([] {
        Reply r(kGame, "RankTopN");
        r.Count(100000);
        for (int i = 0; i < 100000; ++i)
            r.Element("player", {{"rank", Num(100000 - i)}, {"nickName", "n" + Num(i)}, {"winloss", "1"}, {"rounds", "1"}});
        return r;
    });
    x.push_back([=] {
        return Reply(kGame, "Chat").Element("Chat", {{"sysmsg", "1"},
                                                     {"color", "999,-1,abc"},
                                                     {"playername", std::string(5000, 'x')},
                                                     {"messageplace", "desk"},
                                                     {"sendto", me},
                                                     {"chatcontent", std::string(100000, 'y')}});
    });
    x.push_back([] {
        return Reply(kGame, "MoneyIsNotEnough").Element("money", {{"text", std::string(20000, 't')},
                                                                  {"url", std::string(20000, 'Q')}});
    });
    return x;
}

}  // namespace

MsgCodeTable GameClientCodes() {
    MsgCodeTable codes = DefaultGameCodes();
    int next = 1;
    for (const MsgCodeEntry& e : codes) next = std::max(next, e.code + 1);
    for (const HostileMessage& m : Messages()) {
        const bool known = std::any_of(codes.begin(), codes.end(), [&](const MsgCodeEntry& e) { return e.name == m.name; });
        if (!known) codes.emplace_back(next++, m.name, m.name);
    }
    return codes;
}

HostileVocabulary GameVocabulary(const std::string& player, const std::string& robot1, const std::string& robot2) {
    HostileVocabulary v;
    v.messages = Messages();
    v.codes = GameClientCodes();
    v.extremes = Extremes(player, robot1, robot2);
    return v;
}

}  // namespace servers

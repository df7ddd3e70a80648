#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "game/core/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"
#include "xml/XMLTextWriter.h"

using namespace binform_test;
using binform::Failure;

namespace {

const MsgCodeTable kTable = GameTable();

unsigned char CodeOf(const std::string& name) {
    for (const MsgCodeEntry& row : kTable)
        if (row.name == name) return static_cast<unsigned char>(row.code);
    return 0;
}

struct Elem {
    std::string name;
    Texts attrs, values = {};
};

// A request document as the game's builders write it (type only where given).
std::string Request(const std::string& game, const std::string& name, const std::string& type,
                    const std::vector<Elem>& elements) {
    XMLTextWriter w;
    w.WriteStartElement("GameMessage");
    w.WriteAttributeString("game", game);
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

Bytes Encode(CTranslateMsg& t, const std::string& xml) {
    unsigned char* out = t.XmlToBinary(xml.c_str(), static_cast<int>(xml.size()));
    return out ? Bytes(out, out + t.GetPacketLength()) : Bytes();
}
Bytes Encode(const std::string& xml) {
    CTranslateMsg t(kTable);
    return Encode(t, xml);
}

// Decodes a packet; an empty result stands for no document.
Texts Decode(const Bytes& packet, const MsgCodeTable& table = kTable) {
    CTranslateMsg t(table);
    std::unique_ptr<char[]> text(t.BinaryToXml(packet.data(), static_cast<int>(packet.size())));
    if (!text) return Texts();
    Texts doc = ReadBack(text.get());
    KeepSeed("game_translate", doc[0].substr(doc[0].find('|') + 1, doc[0].rfind('|') - doc[0].find('|') - 1), packet);
    return doc;
}
Texts Decode(const std::string& name, const Texts& fields) { return Decode(Pack(CodeOf(name), fields)); }

Texts Cards(const Texts& numbersAndSuits, std::size_t from = 0, std::size_t count = 100) {
    Texts out;
    for (std::size_t i = from; i + 1 < numbersAndSuits.size() && out.size() < count; i += 2)
        out.push_back("card(number=" + numbersAndSuits[i] + ",suit=" + numbersAndSuits[i + 1] + ")");
    return out;
}

Texts Join(std::initializer_list<Texts> parts) {
    Texts out;
    for (const Texts& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(GameEncode, ByteForByte) {
    const unsigned char jiao = CodeOf("JiaoFen"), chu = CodeOf("ChuPai");
    EXPECT_EQ(Encode(Request("FENLO", "JiaoFen", "", {{"player", {"id", "score"}, {"12", "3"}}})),
              (Bytes{1, jiao, 1, 2, 0, '1', '2', 1, 0, '3'}));
    const std::vector<Elem> play = {{"player", {"id"}, {"7"}},
                                    {"card", {"number", "suit"}, {"3", "0"}},
                                    {"card", {"number", "suit"}, {"15", "2"}}};
    EXPECT_EQ(Encode(Request("FENLO", "ChuPai", "", play)),
              (Bytes{1, chu, 1, 1, 0, '7', 2, 0, 2, 0, 1, 0, '3', 1, 0, '0', 2, 0, '1', '5', 1, 0, '2'}));
    EXPECT_EQ(Encode(Request("FENLO", "ChuPai", "", {{"player", {"id"}, {""}}})),
              (Bytes{1, chu, 1, 0, 0, 2, 0, 0, 0}));
    for (const char* name : {"PingData", "RequestLeave", "AnonymousClint", "Leaving"}) {
        CTranslateMsg t(kTable);
        EXPECT_EQ(Encode(t, Request("FENLO", name, "Request", {{"x", {"a"}, {"b"}}})), (Bytes{1, CodeOf(name), 1}));
        EXPECT_EQ(t.GetPacketLength(), 3);
    }
}

TEST(GameEncode, EveryRequestSendsItsFields) {
    struct Case {
        const char* game;
        const char* name;
        const char* type;
        Elem element;
    };
    const Case cases[] = {
        {"FENLO", "PlayerInfoValidate", "Request", {"player", {"id", "validation", "version"}}},
        {"FENLO", "RequestDesk", "Request", {"room", {"id"}}},
        {"Lobby", "RequestCreateGame", "Request", {"player", {"id", "roomid", "password", "minmoney", "stack"}}},
        {"Lobby", "RequestEnterGame", "Request", {"game", {"id", "roomid", "password"}}},
        {"FENLO", "RequestDeskList", "", {"d", {"a", "b", "c", "ignored"}}},
        {"FENLO", "PlayerIP", "", {"p", {"ip"}}},
        {"FENLO", "RequestEnterDesk", "", {"d", {"a", "b", "c"}}},
        {"FENLO", "AgencyInfo", "", {"p", {"a", "b"}}},
        {"FENLO", "GameStart", "", {"p", {"a", "b"}}},
    };
    for (Case c : cases) {
        for (std::size_t i = 0; i < c.element.attrs.size(); ++i) c.element.values.push_back(i == 1 ? "" : "牌" + std::to_string(i));
        Bytes packet = Encode(Request(c.game, c.name, c.type, {c.element}));
        ASSERT_FALSE(packet.empty()) << c.name;
        EXPECT_EQ(packet[1], CodeOf(c.name));
        Texts sent = c.element.values;
        sent.resize(std::min<std::size_t>(sent.size(), 3 + (std::string(c.name) == "RequestCreateGame" ? 2 : 0)));
        EXPECT_EQ(Unpack(packet.data(), static_cast<int>(packet.size())), sent) << c.name;
    }
}

TEST(GameEncode, RequestsTheServerEchoesRoundTrip) {
    // Request built as the builders build it -> packet -> the incoming document.
    const std::vector<std::pair<Elem, std::string>> cases = {
        {{"player", {"id", "score"}, {"5", "2"}}, "JiaoFen"},
        {{"player", {"id", "double"}, {"5", "True"}}, "Double"},
        {{"player", {"id", "askforlandlord"}, {"5", "False"}}, "AskForLandLord"},
        {{"player", {"id"}, {"张三"}}, "AutoPlay"},
        {{"player", {"id"}, {""}}, "CancelAutoPlay"},
        {{"player", {"id"}, {"5"}}, "ReadyForPlaying"},
        {{"Chat", {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"},
          {"0", "0,255,0", "张三", "desk", "", "你好"}},
         "Chat"},
    };
    for (const auto& c : cases) {
        Texts got = Decode(Encode(Request("FENLO", c.second, "", {c.first})));
        std::string shape = c.first.name + "(";
        for (const std::string& a : c.first.attrs) shape += a + ",";
        shape.back() = ')';
        EXPECT_EQ(got, (Texts{"FENLO|" + c.second + "|Request", Element(shape, c.first.values)})) << c.second;
    }
}

TEST(GameEncode, RefusesWhatCannotBeSent) {
    // A bet has no binary layout: nothing to send, and the caller is told.
    CTranslateMsg bet(kTable);
    EXPECT_TRUE(Encode(bet, Request("FENLO", "Bet", "Request", {{"bet", {"player", "money"}, {"1", "5"}}})).empty());
    EXPECT_EQ(bet.GetPacketLength(), 0);
    EXPECT_EQ(bet.LastFailure(), Failure::kNoEncoding);

    MsgCodeTable noJiao = MakeTable({"PingData"});
    CTranslateMsg bare(noJiao);
    EXPECT_TRUE(Encode(bare, Request("FENLO", "JiaoFen", "", {{"player", {"id", "score"}, {"1", "2"}}})).empty());
    EXPECT_EQ(bare.LastFailure(), Failure::kNoCode);

    const Texts chat = {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"};
    std::string line;
    while (line.size() < 400) line += "长";
    CTranslateMsg over(kTable);
    EXPECT_TRUE(Encode(over, Request("lobby", "Chat", "Request", {{"Chat", chat, {"0", "1", "p", line, "s", line}}})).empty());
    EXPECT_EQ(over.LastFailure(), Failure::kTooLong);

    for (const std::string& xml : {std::string("<GameMessage game=\"FENLO\"><Message name=\"JiaoFen\">"),
                                   Request("FENLO", "JiaoFen", "", {{"player", {"id"}, {"1"}}}),
                                   Request("FENLO", "ChuPai", "", {{"player", {"id"}, {"1"}}, {"card", {"number"}, {"3"}}})}) {
        CTranslateMsg t(kTable);
        EXPECT_TRUE(Encode(t, xml).empty()) << xml;
        EXPECT_EQ(t.LastFailure(), Failure::kBadRequest);
    }

    // Code 256 goes out as its low byte.
    MsgCodeTable wide = {{256, "PingData"}};
    CTranslateMsg w(wide);
    EXPECT_EQ(Encode(w, Request("FENLO", "PingData", "", {})), (Bytes{1, 0, 1}));
}

TEST(GameDecode, EveryFlatMessage) {
    const char* const cases[] = {
        "waittingArrange:arrange(playerCount)", "AskPlayerSignUp:Body(inform)",
        "Chat:Chat(sysmsg,color,playername,messageplace,sendto,chatcontent)", "KickPlayer:kick(reason,closeclient,reconnect)",
        "MingPai:card(number,suit,index)", "JiaoFen:player(id,score)", "CancelAutoPlay:player(id)",
        "ValidateFailed:failed(reason)", "ChuPaiFailed:player(id)", "AutoPlay:player(id)",
        "ValidateSuccess:GameInfo(GameType)", "ReadyForPlaying:player(id)", "PlayerLeave:player(playerID)",
        "RefreshPlayerInfo:player(playerID,Nichen,sex,score,Total,Win,Lose,Draw,Disconnected)",
        "AskForLandLord:player(id,askforlandlord)", "AnswerLeave:player(Allow)", "BeginBet:bet(money)",
        "WaittingPlayer:player(memberId,time)", "BeginJiaoFen:player(id,remainTime)", "GameStart:player(RoomID,DeskID)",
        "GameNotice:Notice(body)", "GameOver:player(RoomID,DeskID)", "BeginChuPai:player(id,remainTime)",
        "PlayerState:player(playerID,deskid,seatNo,ready)", "AgencyInfo:player(port,ip)",
        "PlayerGoal:goal(playerid,rank,name,ratio,money)", "CreateGameFailed:player(id,roomid,reason)",
        "EnterDesk:player(roomid,deskid,seatNo)", "Anonymousinfo:player(playerid,validation)",
        "BeginAskForLandLord:player(id,remaintime)", "BeginDouble:player(id,remainTime)", "Double:player(id,double)",
        "CreateGameSuccess:player(id,roomid,gameid,password,minmoney,stack,deskName)",
        "ReRequestDesk:", "AnonymousClint:", "PingData:", "KeepAlive:", "Bet:",
    };
    for (const std::string c : cases) {
        const std::string name = c.substr(0, c.find(':')), shape = c.substr(c.find(':') + 1);
        Texts fields;
        for (long i = 0, n = shape.empty() ? 0 : std::count(shape.begin(), shape.end(), ',') + 1; i < n; ++i)
            fields.push_back(i == 0 ? "" : "王五" + std::to_string(i));
        Texts expected = {"FENLO|" + name + "|Request"};
        if (!shape.empty()) expected.push_back(Element(shape, fields));
        EXPECT_EQ(Decode(name, fields), expected) << name;
    }
}

TEST(GameDecode, CardLists) {
    const Texts cards = {"3", "1", "17", "0"};
    EXPECT_EQ(Decode("SendCard", Join({{"7", "2"}, cards})),
              Join({{"FENLO|SendCard|Request", "player(id=7)"}, Cards(cards)}));
    EXPECT_EQ(Decode("SendCard", {"7", "abc"}), (Texts{"FENLO|SendCard|Request", "player(id=7)"}));
    EXPECT_EQ(Decode("ChuPai", Join({{"7", "2"}, cards})), Join({{"FENLO|ChuPai|Request", "player(id=7)"}, Cards(cards)}));

    Texts twelve;
    for (int i = 3; i < 15; ++i) twelve.insert(twelve.end(), {std::to_string(i), "2"});
    EXPECT_EQ(Decode("SendRemainCard", Join({{"7", "3"}, twelve})),
              Join({{"FENLO|SendRemainCard|Request", "player(id=7)"}, Cards(twelve, 0, 3)}));
    EXPECT_EQ(Decode("SendRemainCard", Join({{"7", "12"}, twelve})),
              Join({{"FENLO|SendRemainCard|Request", "player(id=7)"}, Cards(twelve)}));
}

TEST(GameDecode, DeskPlayersRestoreAndResult) {
    const Texts desk = {"100", "9", "1", "0"};
    const Texts player = {"u1", "0", "500", "1", "1.2.3.4", "上海", "电信", "1", "小明"};
    EXPECT_EQ(Decode("DeskPlayerInfo", Join({desk, {"1"}, player})),
              (Texts{"FENLO|DeskPlayerInfo|Request", Element("desk(stake,memberId,visible,ShowCard)", desk),
                     Element("player(id,seat,money,ready,ip,IPLocation,IPDetail,sex,nickName)", player)}));
    EXPECT_EQ(Decode("DeskPlayerInfo", Join({desk, {"0"}})),
              (Texts{"FENLO|DeskPlayerInfo|Request", Element("desk(stake,memberId,visible,ShowCard)", desk)}));

    const Texts game = {"2", "9", "1", "0", "u2", "u1", "100", "0", "88", "1"};
    const std::string restored =
        "player(id,seat,money,ready,cardnum,jiaofen,ip,autoplay,IPLocation,IPDetail,multiple,HashAskForLandLord,sex,"
        "nickName)";
    Texts fields = game, expected = {"FENLO|RestorePlayer|Request",
                                     Element("game(state,memberId,visible,ShowCard,nowplayer,banker,stake,vip,gameid,Bomb)", game)};
    for (int k = 0; k < 3; ++k) {
        Texts p = {"u" + std::to_string(k), std::to_string(k), "500", "1", "17", "3", "", "0", "北京", "", "2", "0", "1", "甲"};
        Texts last = k == 1 ? Texts{"5", "1", "5", "2"} : Texts{};
        fields = Join({fields, p, {std::to_string(last.size() / 2)}, last});
        expected = Join({expected, {Element(restored, p), "lastCards()"}, Cards(last)});
    }
    const Texts mine = {"16", "0"};
    fields = Join({fields, {"1"}, mine, {"0"}});
    expected = Join({expected, {"mycards()"}, Cards(mine), {"dipai()"}});
    EXPECT_EQ(Decode("RestorePlayer", fields), expected);

    fields.clear();
    expected = {"FENLO|GameResult|Request"};
    for (int k = 0; k < 3; ++k) {
        Texts r = {"u" + std::to_string(k), k ? "-20" : "40", "1", "0", "2"};
        Texts left = k == 2 ? Texts{} : Texts{"14", "3", "10", "4"};
        fields = Join({fields, r, {std::to_string(left.size() / 2)}, left});
        expected = Join({expected, {Element("player(id,score,Bomb,ChunTianState,Tax)", r)}, Cards(left)});
    }
    EXPECT_EQ(Decode("GameResult", fields), expected);
}

TEST(GameDecode, RejectsBrokenPackets) {
    auto rejected = [](const std::string& name, const Texts& fields, int cut = 0) {
        Bytes packet = Pack(CodeOf(name), fields);
        packet.resize(packet.size() - static_cast<std::size_t>(cut));
        CTranslateMsg t(kTable);
        char* text = t.BinaryToXml(packet.data(), static_cast<int>(packet.size()));
        delete[] text;
        return text == nullptr && t.LastFailure() == Failure::kBadPacket;
    };
    EXPECT_FALSE(rejected("JiaoFen", {"5", "2"}));
    EXPECT_TRUE(rejected("JiaoFen", {"5", "2"}, 1));
    EXPECT_TRUE(rejected("JiaoFen", {"5"}));
    EXPECT_TRUE(rejected("JiaoFen", {"5", "a<b"}));
    EXPECT_FALSE(rejected("ValidateSuccess", {std::string(63, 'g')}));
    EXPECT_TRUE(rejected("ValidateSuccess", {std::string(64, 'g')}));
    const Texts desk = {"100", "9", "1", "0", "1"};
    EXPECT_FALSE(rejected("DeskPlayerInfo", Join({desk, Texts(9, std::string(49, 'p'))})));
    EXPECT_TRUE(rejected("DeskPlayerInfo", Join({desk, {std::string(50, 'p')}, Texts(8, "p")})));
    EXPECT_TRUE(rejected("ChuPai", {"7", "00000001", "3", "1"}));  // count beyond its 8-byte buffer
    EXPECT_TRUE(rejected("SendCard", {"7", "2000000000", "3", "1"}));  // more cards than the packet holds
    EXPECT_TRUE(rejected("GameResult", {"u", "1", "0", "0", "0", "0"}));  // three players, one present

    Bytes negative = Pack(CodeOf("JiaoFen"), {"5", "2"});
    negative[7] = 0xFF;
    negative[8] = 0xFF;
    CTranslateMsg t(kTable);
    EXPECT_EQ(t.BinaryToXml(negative.data(), static_cast<int>(negative.size())), nullptr);
}

TEST(GameDecode, CodesAndTableLoading) {
    // The session's table is loaded on demand, and again while it stays empty.
    MsgCodeTable session;
    int loads = 0;
    auto load = [&] {
        ++loads;
        if (loads > 1) session = MakeTable({"PingData"});
    };
    const Bytes ping = {9, 10, 9};  // bytes 0 and 2 are not checked
    CTranslateMsg empty(session, load);
    EXPECT_EQ(empty.BinaryToXml(ping.data(), 3), nullptr);
    EXPECT_EQ(empty.LastFailure(), Failure::kNoDecoding);
    CTranslateMsg filled(session, load);
    std::unique_ptr<char[]> text(filled.BinaryToXml(ping.data(), 3));
    ASSERT_TRUE(text);
    EXPECT_STREQ(text.get(), "<GameMessage game=\"FENLO\"><Message name=\"PingData\" type=\"Request\"/></GameMessage>");
    CTranslateMsg again(session, load);
    again.LoadTable();
    EXPECT_EQ(loads, 2);

    // First row wins on either key; codes match by their low byte against whole rows.
    const MsgCodeTable table = {{300, "JiaoFen"}, {44, "AutoPlay"}, {44, "JiaoFen"}, {45, "AutoPlay"}};
    EXPECT_EQ(Decode(Pack(44, {"1"}), table), (Texts{"FENLO|AutoPlay|Request", "player(id=1)"}));
    CTranslateMsg find(table);
    find.LoadTable();
    EXPECT_EQ(find.FindByCode(300), 1);
    EXPECT_EQ(find.Current().name, "AutoPlay");
    EXPECT_EQ(find.FindByCode(46), 0);
    EXPECT_EQ(find.Current().name, "AutoPlay");
    EXPECT_EQ(Encode(find, Request("FENLO", "AutoPlay", "", {{"player", {"id"}, {"1"}}}))[1], 44);

    // A name the parser reads but that has no incoming layout is dropped.
    EXPECT_TRUE(Decode("RankTopN", {"1"}).empty());
}

#include <gtest/gtest.h>

#include "game/core/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"

using namespace binform_test;
using binform::Failure;

namespace {

const MsgCodeTable kTable = GameTable();

unsigned char Code(const std::string& name) { return CodeOf(kTable, name); }

Bytes Encode(CTranslateMsg& t, const std::string& xml) {
    unsigned char* out = t.XmlToBinary(xml.c_str(), static_cast<int>(xml.size()));
    return out ? Bytes(out, out + t.GetPacketLength()) : Bytes();
}
Bytes Encode(const std::string& xml) {
    CTranslateMsg t(kTable);
    return Encode(t, xml);
}

Texts Decode(const Bytes& packet, const MsgCodeTable& table = kTable) {
    CTranslateMsg t(table);
    return DecodeWith(t, "game_translate", packet);
}
Texts Decode(const std::string& name, const Texts& fields) { return Decode(Pack(Code(name), fields)); }

Texts Cards(const Texts& numbersAndSuits, std::size_t count = 100) {
    Texts out;
    for (std::size_t i = 0; i + 1 < numbersAndSuits.size() && out.size() < count; i += 2)
        out.push_back("card(number=" + numbersAndSuits[i] + ",suit=" + numbersAndSuits[i + 1] + ")");
    return out;
}

const Elem kPlayer7 = {"player", {"id"}, {"7"}};
Elem Card(const std::string& number, const std::string& suit) { return {"card", {"number", "suit"}, {number, suit}}; }

}  // namespace

TEST(GameEncode, RequestsByteForByte) {
    EXPECT_EQ(Encode(Request("JiaoFen", {{"player", {"id", "score"}, {"12", "3"}}}, "")),
              (Bytes{1, Code("JiaoFen"), 1, 2, 0, '1', '2', 1, 0, '3'}));
    EXPECT_EQ(Encode(Request("ChuPai", {kPlayer7, Card("3", "0"), {"other", {"x"}, {"y"}}, Card("15", "2")}, "")),
              (Bytes{1, Code("ChuPai"), 1, 1, 0, '7', 2, 0, 2, 0, 1, 0, '3', 1, 0, '0', 2, 0, '1', '5', 1, 0, '2'}));
    EXPECT_EQ(Encode(Request("ChuPai", {{"player", {"id"}, {""}}}, "")),
              (Bytes{1, Code("ChuPai"), 1, 0, 0, 2, 0, 0, 0}));
    for (const char* name : {"PingData", "RequestLeave", "AnonymousClint", "Leaving"}) {
        CTranslateMsg t(kTable);
        EXPECT_EQ(Encode(t, FlatRequest(name, {"ignored"})), (Bytes{1, Code(name), 1}));
        EXPECT_EQ(t.GetPacketLength(), 3);
    }

    // Each request sends the leading attributes of its data element; one more is ignored.
    const std::pair<const char*, std::size_t> sent[] = {{"PlayerInfoValidate", 3},
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
                                                        {"Chat", 6}};
    for (const auto& s : sent) {
        Texts v = Values(s.second + 1);
        EXPECT_EQ(Encode(FlatRequest(s.first, v)), Pack(Code(s.first), Texts(v.begin(), v.end() - 1))) << s.first;
    }
}

TEST(GameEncode, RequestsTheServerEchoesRoundTrip) {
    // A request as the builders build it, to a packet, to the document of the incoming message.
    const Elem cases[] = {
        {"JiaoFen", {"id", "score"}, {"5", "2"}},
        {"Double", {"id", "double"}, {"5", "True"}},
        {"AskForLandLord", {"id", "askforlandlord"}, {"5", "False"}},
        {"AutoPlay", {"id"}, {"张三"}},
        {"CancelAutoPlay", {"id"}, {""}},
        {"ReadyForPlaying", {"id"}, {"5"}},
        {"Chat",
         {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"},
         {"0", "0,255,0", "张三", "desk", "", "你好"}},
    };
    for (const Elem& c : cases) {
        const std::string element = c.name == "Chat" ? "Chat" : "player";
        std::string shape = element + "(";
        for (const std::string& a : c.attrs) shape += a + (&a == &c.attrs.back() ? ")" : ",");
        EXPECT_EQ(Decode(Encode(Request(c.name, {{element, c.attrs, c.values}}, ""))),
                  (Texts{"FENLO|" + c.name + "|Request", Element(shape, c.values)}));
    }
}

TEST(GameEncode, RefusesWhatCannotBeSent) {
    // A bet has no binary layout: nothing to send, and the caller is told.
    CTranslateMsg bet(kTable);
    EXPECT_TRUE(Encode(bet, Request("Bet", {{"bet", {"player", "money"}, {"1", "5"}}})).empty());
    EXPECT_EQ(bet.GetPacketLength(), 0);
    EXPECT_EQ(bet.LastFailure(), Failure::kNoEncoding);

    MsgCodeTable noJiao = MakeTable("PingData");
    CTranslateMsg bare(noJiao);
    EXPECT_TRUE(Encode(bare, FlatRequest("JiaoFen", {"1", "2"})).empty());
    EXPECT_EQ(bare.LastFailure(), Failure::kNoCode);

    std::string line;
    while (line.size() < 400) line += "长";
    CTranslateMsg over(kTable);
    EXPECT_TRUE(Encode(over, FlatRequest("Chat", {"0", "1", "p", line, "s", line})).empty());
    EXPECT_EQ(over.LastFailure(), Failure::kTooLong);

    // Malformed text, a missing field, a card without its suit.
    for (const std::string& xml :
         {std::string("<GameMessage game=\"FENLO\"><Message name=\"JiaoFen\">"), FlatRequest("JiaoFen", {"1"}),
          Request("ChuPai", {kPlayer7, {"card", {"number"}, {"3"}}})}) {
        CTranslateMsg t(kTable);
        EXPECT_TRUE(Encode(t, xml).empty()) << xml;
        EXPECT_EQ(t.LastFailure(), Failure::kBadRequest);
    }

    // Code 256 goes out as its low byte.
    MsgCodeTable wide = {{256, "PingData"}};
    CTranslateMsg w(wide);
    EXPECT_EQ(Encode(w, Request("PingData", {})), (Bytes{1, 0, 1}));
}

TEST(GameDecode, EveryOneElementMessage) {
    // name:element(attributes), blank-separated; no element for the envelope alone.
    std::istringstream cases(
        "waittingArrange:arrange(playerCount) AskPlayerSignUp:Body(inform) "
        "Chat:Chat(sysmsg,color,playername,messageplace,sendto,chatcontent) "
        "KickPlayer:kick(reason,closeclient,reconnect) MingPai:card(number,suit,index) JiaoFen:player(id,score) "
        "CancelAutoPlay:player(id) ValidateFailed:failed(reason) ChuPaiFailed:player(id) AutoPlay:player(id) "
        "ValidateSuccess:GameInfo(GameType) ReadyForPlaying:player(id) PlayerLeave:player(playerID) "
        "RefreshPlayerInfo:player(playerID,Nichen,sex,score,Total,Win,Lose,Draw,Disconnected) "
        "AskForLandLord:player(id,askforlandlord) AnswerLeave:player(Allow) BeginBet:bet(money) "
        "WaittingPlayer:player(memberId,time) BeginJiaoFen:player(id,remainTime) GameStart:player(RoomID,DeskID) "
        "GameNotice:Notice(body) GameOver:player(RoomID,DeskID) BeginChuPai:player(id,remainTime) "
        "PlayerState:player(playerID,deskid,seatNo,ready) AgencyInfo:player(port,ip) "
        "PlayerGoal:goal(playerid,rank,name,ratio,money) CreateGameFailed:player(id,roomid,reason) "
        "EnterDesk:player(roomid,deskid,seatNo) Anonymousinfo:player(playerid,validation) "
        "BeginAskForLandLord:player(id,remaintime) BeginDouble:player(id,remainTime) Double:player(id,double) "
        "CreateGameSuccess:player(id,roomid,gameid,password,minmoney,stack,deskName) ReRequestDesk: "
        "AnonymousClint: PingData: KeepAlive: Bet:");
    for (std::string c; cases >> c;) {
        const std::string name = c.substr(0, c.find(':')), shape = c.substr(c.find(':') + 1);
        Texts fields = Values(AttributeCount(shape));
        Texts expected = {"FENLO|" + name + "|Request"};
        if (!shape.empty()) expected.push_back(Element(shape, fields));
        EXPECT_EQ(Decode(name, fields), expected) << name;
    }
}

TEST(GameDecode, CardLists) {
    const Texts cards = {"3", "1", "17", "0"};
    for (const char* name : {"SendCard", "ChuPai", "SendRemainCard"}) {
        const Texts head = {std::string("FENLO|") + name + "|Request", "player(id=7)"};
        EXPECT_EQ(Decode(name, Join({{"7", "2"}, cards})), Join({head, Cards(cards)})) << name;
        EXPECT_EQ(Decode(name, {"7", "abc"}), head) << name;
    }
    // The remaining cards' count is one digit as the server sends it, two when it sends two.
    Texts twelve;
    for (int i = 3; i < 15; ++i) twelve.insert(twelve.end(), {std::to_string(i), "2"});
    EXPECT_EQ(Decode("SendRemainCard", Join({{"7", "3"}, twelve})).size(), 5u);
    EXPECT_EQ(Decode("SendRemainCard", Join({{"7", "12"}, twelve})).size(), 14u);
}

TEST(GameDecode, DeskPlayersRestoreAndResult) {
    const Texts desk = {"100", "9", "1", "0"}, player = Values(9);
    const std::string deskShape = "desk(stake,memberId,visible,ShowCard)";
    EXPECT_EQ(Decode("DeskPlayerInfo", Join({desk, {"1"}, player})),
              (Texts{"FENLO|DeskPlayerInfo|Request", Element(deskShape, desk),
                     Element("player(id,seat,money,ready,ip,IPLocation,IPDetail,sex,nickName)", player)}));
    EXPECT_EQ(Decode("DeskPlayerInfo", Join({desk, {"0"}})),
              (Texts{"FENLO|DeskPlayerInfo|Request", Element(deskShape, desk)}));

    // Three players with their last cards (only the second has any), own cards, no bottom cards.
    const Texts game = Values(10, true), restored = Values(14), last = {"5", "1", "5", "2"}, mine = {"16", "0"};
    const std::string restoredShape =
        "player(id,seat,money,ready,cardnum,jiaofen,ip,autoplay,IPLocation,IPDetail,multiple,HashAskForLandLord,sex,"
        "nickName)";
    Texts fields = game;
    Texts expected = {"FENLO|RestorePlayer|Request",
                      Element("game(state,memberId,visible,ShowCard,nowplayer,banker,stake,vip,gameid,Bomb)", game)};
    for (int k = 0; k < 3; ++k) {
        fields = Join({fields, restored, k == 1 ? Join({{"2"}, last}) : Texts{"0"}});
        expected = Join({expected, {Element(restoredShape, restored), "lastCards()"}, k == 1 ? Cards(last) : Texts{}});
    }
    EXPECT_EQ(Decode("RestorePlayer", Join({fields, {"1"}, mine, {"0"}})),
              Join({expected, {"mycards()"}, Cards(mine), {"dipai()"}}));

    // Three results, the last player without cards.
    fields.clear();
    expected = {"FENLO|GameResult|Request"};
    for (int k = 0; k < 3; ++k) {
        Texts r = {"u" + std::to_string(k), k ? "-20" : "40", "1", "0", "2"}, left = k == 2 ? Texts{} : last;
        fields = Join({fields, r, {std::to_string(left.size() / 2)}, left});
        expected = Join({expected, {Element("player(id,score,Bomb,ChunTianState,Tax)", r)}, Cards(left)});
    }
    EXPECT_EQ(Decode("GameResult", fields), expected);
}

TEST(GameDecode, RejectsBrokenPackets) {
    auto rejected = [](const std::string& name, const Texts& fields, int cut = 0) {
        Bytes packet = Pack(Code(name), fields);
        packet.resize(packet.size() - static_cast<std::size_t>(cut));
        CTranslateMsg t(kTable);
        return Rejected(t, packet);
    };
    EXPECT_FALSE(rejected("JiaoFen", {"5", "2"}));
    EXPECT_TRUE(rejected("JiaoFen", {"5", "2"}, 1));
    EXPECT_TRUE(rejected("JiaoFen", {"5"}));
    EXPECT_TRUE(rejected("JiaoFen", {"5", "a<b"}));
    EXPECT_TRUE(rejected("JiaoFen", {"5", std::string(40000, '9')}));  // a negative length word
    // Values beyond the client's fixed buffers.
    EXPECT_FALSE(rejected("ValidateSuccess", {std::string(63, 'g')}));
    EXPECT_TRUE(rejected("ValidateSuccess", {std::string(64, 'g')}));
    const Texts desk = {"100", "9", "1", "0", "1"};
    EXPECT_FALSE(rejected("DeskPlayerInfo", Join({desk, Texts(9, std::string(49, 'p'))})));
    EXPECT_TRUE(rejected("DeskPlayerInfo", Join({desk, {std::string(50, 'p')}, Texts(8, "p")})));
    EXPECT_TRUE(rejected("ChuPai", {"7", "00000001", "3", "1"}));
    // Counts and layouts that run past the packet.
    EXPECT_TRUE(rejected("SendCard", {"7", "2000000000", "3", "1"}));
    EXPECT_TRUE(rejected("GameResult", {"u", "1", "0", "0", "0", "0"}));
}

TEST(GameDecode, CodesAndTableLoading) {
    // The session's table is loaded on demand, and again while it stays empty.
    MsgCodeTable session;
    int loads = 0;
    auto load = [&] {
        if (++loads > 1) session = MakeTable("PingData");
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
    EXPECT_EQ(find.FindByCode(46), 0);
    EXPECT_EQ(find.Current().name, "AutoPlay");
    EXPECT_EQ(Encode(find, FlatRequest("AutoPlay", {"1"}))[1], 44);

    // A name the parser reads but that has no incoming layout is dropped.
    EXPECT_TRUE(Decode("RankTopN", {"1"}).empty());
}

#include <gtest/gtest.h>

#include "lobby/net/binary/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"

using namespace binform_test;
using binform::Failure;

namespace {

const MsgCodeTable kTable = LobbyTable();

unsigned char Code(const std::string& name) { return CodeOf(kTable, name); }

Bytes Encode(CTranslateMsg& t, const std::string& xml) {
    unsigned char* out = t.XmlToBinary(xml.c_str());
    return out ? Bytes(out, out + t.GetEncodedLength()) : Bytes();
}
Bytes Encode(const std::string& xml) {
    CTranslateMsg t(kTable);
    return Encode(t, xml);
}

Texts Decode(const Bytes& packet, const MsgCodeTable& table = kTable) {
    CTranslateMsg t(table);
    return DecodeWith(t, "lobby_translate", packet);
}
Texts Decode(const std::string& name, const Texts& fields) { return Decode(Pack(Code(name), fields)); }

}  // namespace

TEST(LobbyEncode, RequestsByteForByte) {
    CTranslateMsg t(kTable);
    EXPECT_EQ(Encode(t, Request("Login", {{"player", {"id", "version", "gamename"}, {"abc", "1.2", "FENLO"}}})),
              (Bytes{1, Code("Login"), 1, 3, 0, 'a', 'b', 'c', 3, 0, '1', '.', '2'}));
    EXPECT_EQ(t.GetEncodedLength(), 13);
    EXPECT_EQ(Encode(FlatRequest("RequestRoomList", Texts{""})), (Bytes{1, Code("RequestRoomList"), 1, 0, 0}));
    EXPECT_EQ(Encode(FlatRequest("PingData", Texts{"ignored"})), (Bytes{1, Code("PingData"), 1}));
    Bytes long300 = Encode(FlatRequest("RequestRoomList", Texts{std::string(300, 'n')}));
    ASSERT_EQ(long300.size(), 305u);
    EXPECT_EQ(long300[3], 0x2C);
    EXPECT_EQ(long300[4], 0x01);

    // Each request sends the leading attributes of its data element; one more is ignored.
    const std::pair<const char*, std::size_t> sent[] = {{"Login", 2},
                                                        {"PlayerValidate", 2},
                                                        {"RequestRoomList", 1},
                                                        {"RequestEnterRoom", 2},
                                                        {"RequestEnterDesk", 3},
                                                        {"Chat", 6},
                                                        {"MACAddr", 1},
                                                        {"RequestEnterDeskMessage", 3},
                                                        {"RequestDeskList", 3}};
    for (const auto& s : sent) {
        Texts v = Values(s.second + 1);
        EXPECT_EQ(Encode(FlatRequest(s.first, v)), Pack(Code(s.first), Texts(v.begin(), v.end() - 1))) << s.first;
    }
}

TEST(LobbyEncode, RefusesWhatCannotBeSent) {
    // No encoding: nothing, and the length stays as it was.
    CTranslateMsg t(kTable);
    EXPECT_EQ(t.XmlToBinary(FlatRequest("Notice", Texts{"b"}).c_str()), nullptr);
    EXPECT_EQ(t.GetEncodedLength(), 0);
    EXPECT_EQ(t.LastFailure(), Failure::kNoEncoding);
    ASSERT_FALSE(Encode(t, Request("PingData", {})).empty());
    EXPECT_EQ(t.XmlToBinary(Request("Bogus", {}).c_str()), nullptr);
    EXPECT_EQ(t.GetEncodedLength(), 3);

    // A name the table lacks sends no undefined code byte.
    MsgCodeTable noLogin = MakeTable("PingData");
    CTranslateMsg bare(noLogin);
    EXPECT_EQ(bare.XmlToBinary(FlatRequest("Login", Values(2)).c_str()), nullptr);
    EXPECT_EQ(bare.LastFailure(), Failure::kNoCode);

    // A data element lacking the fields of its message, or none at all.
    for (const std::string& xml : {FlatRequest("Login", Values(1)), Request("Login", {})}) {
        CTranslateMsg lacking(kTable);
        EXPECT_EQ(lacking.XmlToBinary(xml.c_str()), nullptr);
        EXPECT_EQ(lacking.LastFailure(), Failure::kBadRequest);
    }

    // A chat that fills the 1024-byte buffer exactly goes; a longer GBK line does not.
    const std::size_t room = 1024 - 3 - 6 * 2 - 5;  // beside five one-byte fields
    EXPECT_EQ(Encode(FlatRequest("Chat", {"0", "1", "p", "r", "s", std::string(room, 'x')})).size(), 1024u);
    std::string gbk;
    while (gbk.size() <= room) gbk += "长";
    CTranslateMsg over(kTable);
    EXPECT_EQ(over.XmlToBinary(FlatRequest("Chat", {"0", "1", "p", "r", "s", gbk}).c_str()), nullptr);
    EXPECT_EQ(over.LastFailure(), Failure::kTooLong);

    // The reader's rejection of malformed text reaches the caller.
    bool thrown = false;
    try {
        CTranslateMsg bad(kTable);
        bad.XmlToBinary("<GameMessage game=\"Lobby\">");
    } catch (int* code) {
        thrown = true;
        delete code;
    }
    EXPECT_TRUE(thrown);
}

TEST(LobbyDecode, EveryOneElementMessage) {
    // T: fields read as text values, at least one byte each; B: 0..255 bytes.
    const char* const cases[][3] = {
        {"FENLO|EnterRoomFailed", "kick(id,roomid,reason)", "B"},
        {"FENLO|LowClientVersion", "", "-"},
        {"FENLO|ValidateFailed", "kick(reason)", "B"},
        {"FENLO|KickPlayer", "kick(reason,close,recontect)", "B"},
        {"FENLO|KeepAlive", "", "-"},
        {"CommonGame|ValidateSuccess", "GameInfo(GameType)", "B"},
        {"FENLO|RefreshPlayerInfo", "player(playerID,NiChen,sex,score,Total,Win,Lose,Draw,Disconnected,Money)", "T"},
        {"FENLO|PingData", "", "-"},
        {"lobby|ReadyToEnterRoom", "player(id,ticket,roomid)", "B"},
        {"FENLO|PlayerLeave", "player(playerID)", "B"},
        {"lobby|Chat", "desk(sysmsg,color,playername,messageplace,sendto,chatcontent)", "B"},
        {"FENLO|GameStart", "desk(RoomID,DeskId)", "B"},
        {"FENLO|GameOver", "desk(RoomID,DeskId)", "B"},
        {"FENLO|PlayerState", "player(playerID,deskid,seatNo,ready)", "B"},
        {"FENLO|EnterDeskAK", "result(Success)", "B"},
        {"Lobby|Notice", "Notice(body,style)", "T"},
        {"LoginKey|LoginFailed", "failed(reason)", "B"},
        {"LoginKey|LoginKey", "player(id,ticket)", "B"},
        {"FENLO|PlayerChangeDesk", "player(PlayerID,niChen,RoomID,DeskId,SeatNo,OnDesk,sex)", "B"},
        {"Login|LoginSuccess", "player(name,money,vip,locked,memberId,nickName,sex,moneyMirabo,gouWuJuan)", "B"},
    };
    for (const auto& c : cases) {
        const std::string head = c[0], shape = c[1], name = head.substr(head.find('|') + 1);
        Texts fields = Values(AttributeCount(shape), c[2][0] == 'T');
        Texts expected = {head + "|Request"};
        if (!shape.empty()) expected.push_back(Element(shape, fields));
        EXPECT_EQ(Decode(name, fields), expected) << name;
    }
}

TEST(LobbyDecode, CountedLists) {
    const char* const cases[][3] = {
        {"FENLO|RoomPlayerList", "Room", "player(playerID,NiChen,sex,score,Total,Win,Lose,Draw,Disconnected,Money)"},
        {"Lobby|AddGame", "", "addgame(id,name,chinesename,version)"},
        {"Lobby|RemoveGame", "", "removegame(id)"},
        {"Lobby|AddRoom", "", "addroom(id,chinesename,ip,port,vip,playercount,style,description,GameId)"},
        {"Lobby|RemoveRoom", "", "removeroom(id)"},
        {"Lobby|PlayerCount", "", "room(Ri,pc)"},
    };
    for (const auto& c : cases) {
        const std::string head = c[0], holder = c[1], name = head.substr(head.find('|') + 1);
        const Texts a = Values(AttributeCount(c[2]), true), b = Texts(a.rbegin(), a.rend());
        Texts expected = {head + "|Request"};
        if (!holder.empty()) expected.push_back(holder + "()");
        EXPECT_EQ(Decode(name, {"-1"}), expected) << name;
        expected.push_back(Element(c[2], a));
        expected.push_back(Element(c[2], b));
        EXPECT_EQ(Decode(name, Join({{"2"}, a, b})), expected) << name;
    }
}

TEST(LobbyDecode, DeskListNestsPlayersUnderTheirDesks) {
    const Texts players = {"a", "昵称a", "0", "", "1", "b", "昵称b", "0", "", "1"};
    Texts got = Decode("DeskList", Join({{"1", "2", "一号桌", "31", "1", "2", "0"},
                                         players,                             // desk 1, two players
                                         {"二号桌", "31", "2", "0", "1"}}));  // desk 2, none
    const std::string player = "player(PlayerId,NiChen,SeatNo,ready,sex)";
    EXPECT_EQ(got, (Texts{"FENLO|DeskList|Request", "Room(AutoArrange=1)",
                          "desk(Name=一号桌,RoomId=31,DeskId=1,playerCount=2,start=0)", Element(player, players),
                          Element(player, players, 5), "desk(Name=二号桌,RoomId=31,DeskId=2,playerCount=0,start=1)"}));
    EXPECT_EQ(Decode("DeskList", {"0", "0"}), (Texts{"FENLO|DeskList|Request", "Room(AutoArrange=0)"}));
}

TEST(LobbyDecode, GameListWithAndWithoutRooms) {
    const Texts room = Values(9, true);
    EXPECT_EQ(Decode("GameList", Join({{"2", "7", "ddz", "斗地主", "1.0", "1"}, room, {"8", "x", "其他", "2.0", "0"}})),
              (Texts{"Lobby|GameList|Request", "game(id=7,name=ddz,chinesename=斗地主,version=1.0)",
                     Element("room(id,chinesename,ip,port,vip,playercount,style,description,GameId)", room),
                     "game(id=8,name=x,chinesename=其他,version=2.0)"}));
}

TEST(LobbyDecode, RejectsBrokenPackets) {
    auto rejected = [](const Bytes& packet) {
        CTranslateMsg t(kTable);
        return Rejected(t, packet);
    };
    const Bytes whole = Pack(Code("KickPlayer"), {"r", "c", "k"});
    EXPECT_FALSE(rejected(whole));
    EXPECT_TRUE(rejected(Bytes(whole.begin(), whole.end() - 1)));  // truncated
    Bytes longer = whole, negative = whole;
    longer[3] = 40;  // a length beyond the frame
    negative[4] = 0x80;
    EXPECT_TRUE(rejected(longer));
    EXPECT_TRUE(rejected(negative));
    EXPECT_FALSE(rejected(Pack(Code("KickPlayer"), {std::string(255, 'x'), "c", "k"})));
    EXPECT_TRUE(rejected(Pack(Code("KickPlayer"), {std::string(256, 'x'), "c", "k"})));  // beyond 256-byte buffers
    EXPECT_TRUE(rejected(Pack(Code("KickPlayer"), {"a\"b", "c", "k"})));                 // would break the document
    EXPECT_TRUE(rejected(Pack(Code("DeskList"), {"0", std::string(64, '0')})));
    EXPECT_TRUE(rejected(Pack(Code("AddGame"), {"30000", "7", "ddz"})));  // more records than the frame holds
    EXPECT_TRUE(rejected(Bytes{1, Code("PingData")}));
}

TEST(LobbyDecode, CodesAndFieldQuirks) {
    // An unknown code, or a row whose name has no decoding, gives nothing.
    CTranslateMsg t(kTable);
    const Bytes unknown = {1, 200, 1};
    EXPECT_EQ(t.BinaryToXml(unknown.data(), 3), nullptr);
    EXPECT_EQ(t.LastFailure(), Failure::kNoDecoding);
    EXPECT_TRUE(Decode("Orphan", {}).empty());

    // Bytes 0 and 2 are not checked; a field ends at its first NUL byte.
    Bytes odd = Pack(Code("PlayerLeave"), {std::string("ab\0cd", 5)});
    odd[0] = 7;
    odd[2] = 0;
    EXPECT_EQ(Decode(odd), (Texts{"FENLO|PlayerLeave|Request", "player(playerID=ab)"}));

    // First row wins on either key; a row above 255 never matches a code byte.
    const MsgCodeTable table = {{300, "GameStart"}, {44, "GameOver"}, {44, "GameStart"}, {45, "GameOver"}};
    EXPECT_EQ(Decode(Pack(44, {"1", "2"}), table)[0], "FENLO|GameOver|Request");
    CTranslateMsg first(table);
    EXPECT_EQ(Encode(first, Request("GameOver", {})), Bytes());  // no encoding
    MsgCodeTable twice = {{20, "PingData"}, {21, "PingData"}};
    CTranslateMsg ping(twice);
    EXPECT_EQ(Encode(ping, Request("PingData", {})), (Bytes{1, 20, 1}));

    // ReadString: a text within bounds (an empty one too), else null and the text kept.
    std::string out = "kept";
    const Bytes field = {2, 0, 'o', 'k', 0, 0, 0xFF, 0xFF};
    EXPECT_EQ(t.ReadString(out, field.data(), field.data() + 4), field.data() + 4);
    EXPECT_EQ(out, "ok");
    EXPECT_EQ(t.ReadString(out, field.data() + 4, field.data() + 6), field.data() + 6);
    EXPECT_EQ(out, "");
    out = "kept";
    EXPECT_EQ(t.ReadString(out, field.data() + 6, field.data() + 8), nullptr);  // negative length
    EXPECT_EQ(t.ReadString(out, field.data(), field.data() + 3), nullptr);
    EXPECT_EQ(out, "kept");
}

TEST(LobbyDecode, EmptyTextReadValuesKeepTheMessage) {
    // The server sends an empty value as length 0; a game list whose room has no
    // description must still arrive whole.
    const Texts room = {"5", "\xB6\xB7\xB5\xD8\xD6\xF7", "127.0.0.1", "7000", "0", "12", "1", "", "3"};
    Texts fields = {"1", "3", "FENLO", "", "1.0", "1"};
    fields.insert(fields.end(), room.begin(), room.end());
    EXPECT_EQ(Decode("GameList", fields),
              (Texts{"Lobby|GameList|Request", "game(id=3,name=FENLO,chinesename=,version=1.0)",
                     "room(id=5,chinesename=\xB6\xB7\xB5\xD8\xD6\xF7,ip=127.0.0.1,port=7000,vip=0,"
                     "playercount=12,style=1,description=,GameId=3)"}));
    EXPECT_FALSE(Decode("Notice", {"body", ""}).empty());
}

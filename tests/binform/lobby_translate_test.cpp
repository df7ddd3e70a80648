#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "lobby/net/TranslateMsg.h"
#include "tests/binform/BinformTestKit.h"
#include "xml/XMLTextWriter.h"

using namespace binform_test;
using binform::Failure;

namespace {

const MsgCodeTable kTable = LobbyTable();

int CodeOf(const std::string& name) {
    for (const MsgCodeEntry& row : kTable)
        if (row.name == name) return row.code;
    return -1;
}

// A request document as the lobby's builders write it.
std::string Request(const std::string& game, const std::string& name, const std::string& element,
                    const Texts& attrs, const Texts& values) {
    XMLTextWriter w;
    w.WriteStartElement("GameMessage");
    w.WriteAttributeString("game", game);
    w.WriteStartElement("Message");
    w.WriteAttributeString("name", name);
    w.WriteAttributeString("type", "Request");
    if (!element.empty()) {
        w.WriteStartElement(element);
        for (std::size_t i = 0; i < attrs.size(); ++i) w.WriteAttributeString(attrs[i], values[i]);
        w.WriteEndElement();
    }
    w.WriteEndElement();
    w.WriteEndElement();
    unsigned int length = 0;
    std::unique_ptr<unsigned char[]> text(w.GetXmlData(&length));
    return reinterpret_cast<char*>(text.get());
}

Bytes Encode(CTranslateMsg& t, const std::string& xml) {
    unsigned char* out = t.XmlToBinary(xml.c_str());
    return out ? Bytes(out, out + t.GetEncodedLength()) : Bytes();
}

// Decodes a packet; an empty result stands for no document.
Texts Decode(const Bytes& packet, const MsgCodeTable& table = kTable) {
    CTranslateMsg t(table);
    std::unique_ptr<char[]> text(t.BinaryToXml(packet.data(), static_cast<int>(packet.size())));
    if (!text) return Texts();
    Texts doc = ReadBack(text.get());
    KeepSeed("lobby_translate", doc[0].substr(doc[0].find('|') + 1, doc[0].rfind('|') - doc[0].find('|') - 1), packet);
    return doc;
}

Texts Decode(const std::string& name, const Texts& fields) { return Decode(Pack(CodeOf(name), fields)); }

}  // namespace

TEST(LobbyEncode, ByteForByte) {
    CTranslateMsg t(kTable);
    const int login = CodeOf("Login");
    EXPECT_EQ(Encode(t, Request("Lobby", "Login", "player", {"id", "version", "gamename"}, {"abc", "1.2", "FENLO"})),
              (Bytes{1, static_cast<unsigned char>(login), 1, 3, 0, 'a', 'b', 'c', 3, 0, '1', '.', '2'}));
    EXPECT_EQ(t.GetEncodedLength(), 13);
    EXPECT_EQ(Encode(t, Request("Lobby", "RequestRoomList", "member", {"name"}, {""})),
              (Bytes{1, static_cast<unsigned char>(CodeOf("RequestRoomList")), 1, 0, 0}));
    // PingData is the header alone, whatever its document holds.
    EXPECT_EQ(Encode(t, Request("FENLO", "PingData", "x", {"a"}, {"b"})),
              (Bytes{1, static_cast<unsigned char>(CodeOf("PingData")), 1}));
    Bytes long300 = Encode(t, Request("Lobby", "RequestRoomList", "member", {"name"}, {std::string(300, 'n')}));
    ASSERT_EQ(long300.size(), 305u);
    EXPECT_EQ(long300[3], 0x2C);
    EXPECT_EQ(long300[4], 0x01);
}

TEST(LobbyEncode, EveryRequestSendsItsLeadingAttributes) {
    struct Case {
        const char* game;
        const char* name;
        const char* element;
        Texts attrs;
        std::size_t sent;
    };
    const Case cases[] = {
        {"Lobby", "Login", "player", {"id", "version", "gamename"}, 2},
        {"Lobby", "PlayerValidate", "player", {"id", "ticket"}, 2},
        {"Lobby", "RequestRoomList", "member", {"name"}, 1},
        {"Lobby", "RequestEnterRoom", "player", {"id", "roomid"}, 2},
        {"FENLO", "RequestEnterDesk", "game", {"roomid", "deskid", "seat"}, 3},
        {"lobby", "Chat", "chat", {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"}, 6},
        {"Lobby", "MACAddr", "mac", {"addr", "extra"}, 1},
        {"FENLO", "RequestEnterDeskMessage", "d", {"a", "b", "c", "d"}, 3},
        {"FENLO", "RequestDeskList", "d", {"a", "b", "c"}, 3},
    };
    for (const Case& c : cases) {
        Texts values;
        for (std::size_t i = 0; i < c.attrs.size(); ++i) values.push_back(i == 1 ? "" : "玩家" + std::to_string(i));
        CTranslateMsg t(kTable);
        Bytes packet = Encode(t, Request(c.game, c.name, c.element, c.attrs, values));
        ASSERT_FALSE(packet.empty()) << c.name;
        EXPECT_EQ(packet[1], CodeOf(c.name)) << c.name;
        EXPECT_EQ(Unpack(packet.data(), static_cast<int>(packet.size())),
                  Texts(values.begin(), values.begin() + static_cast<long>(c.sent)))
            << c.name;
    }
}

TEST(LobbyEncode, RefusesWhatCannotBeSent) {
    CTranslateMsg t(kTable);
    // No encoding: nothing, and the length stays as it was.
    EXPECT_EQ(t.XmlToBinary(Request("Lobby", "Notice", "n", {"a"}, {"b"}).c_str()), nullptr);
    EXPECT_EQ(t.GetEncodedLength(), 0);
    EXPECT_EQ(t.LastFailure(), Failure::kNoEncoding);
    ASSERT_FALSE(Encode(t, Request("Lobby", "PingData", "", {}, {})).empty());
    EXPECT_EQ(t.XmlToBinary(Request("Lobby", "Bogus", "", {}, {}).c_str()), nullptr);
    EXPECT_EQ(t.GetEncodedLength(), 3);

    // A name the table lacks sends no undefined code byte.
    MsgCodeTable noLogin = MakeTable({"PingData"});
    CTranslateMsg bare(noLogin);
    EXPECT_EQ(bare.XmlToBinary(Request("Lobby", "Login", "player", {"id", "version"}, {"a", "b"}).c_str()), nullptr);
    EXPECT_EQ(bare.LastFailure(), Failure::kNoCode);

    // A payload lacking the fields of its message.
    CTranslateMsg lacking(kTable);
    EXPECT_EQ(lacking.XmlToBinary(Request("Lobby", "Login", "player", {"id"}, {"a"}).c_str()), nullptr);
    EXPECT_EQ(lacking.LastFailure(), Failure::kBadRequest);
    EXPECT_EQ(lacking.XmlToBinary(Request("Lobby", "Login", "", {}, {}).c_str()), nullptr);

    // A chat line that fills the 1024-byte buffer exactly goes; one byte more does not.
    const Texts chat = {"sysmsg", "color", "playername", "messageplace", "sendto", "chatcontent"};
    const std::size_t room = 1024 - 3 - 6 * 2 - 5;  // five one-byte fields
    CTranslateMsg fits(kTable), over(kTable);
    EXPECT_EQ(Encode(fits, Request("lobby", "Chat", "chat", chat, {"0", "1", "p", "r", "s", std::string(room, 'x')})).size(),
              1024u);
    std::string gbk;
    while (gbk.size() <= room) gbk += "长";
    EXPECT_EQ(over.XmlToBinary(Request("lobby", "Chat", "chat", chat, {"0", "1", "p", "r", "s", gbk}).c_str()), nullptr);
    EXPECT_EQ(over.LastFailure(), Failure::kTooLong);

    // The reader's rejection of malformed text reaches the caller.
    CTranslateMsg bad(kTable);
    bool thrown = false;
    try {
        bad.XmlToBinary("<GameMessage game=\"Lobby\">");
    } catch (int* code) {
        thrown = true;
        delete code;
    }
    EXPECT_TRUE(thrown);
}

TEST(LobbyDecode, EveryFlatMessage) {
    struct Case {
        const char* head;
        const char* element;  // "" for none
        bool text;            // fields read as text values: at least one byte each
    };
    const Case cases[] = {
        {"FENLO|EnterRoomFailed", "kick(id,roomid,reason)", false},
        {"FENLO|LowClientVersion", "", false},
        {"FENLO|ValidateFailed", "kick(reason)", false},
        {"FENLO|KickPlayer", "kick(reason,close,recontect)", false},
        {"FENLO|KeepAlive", "", false},
        {"CommonGame|ValidateSuccess", "GameInfo(GameType)", false},
        {"FENLO|RefreshPlayerInfo", "player(playerID,NiChen,sex,score,Total,Win,Lose,Draw,Disconnected,Money)", true},
        {"FENLO|PingData", "", false},
        {"lobby|ReadyToEnterRoom", "player(id,ticket,roomid)", false},
        {"FENLO|PlayerLeave", "player(playerID)", false},
        {"lobby|Chat", "desk(sysmsg,color,playername,messageplace,sendto,chatcontent)", false},
        {"FENLO|GameStart", "desk(RoomID,DeskId)", false},
        {"FENLO|GameOver", "desk(RoomID,DeskId)", false},
        {"FENLO|PlayerState", "player(playerID,deskid,seatNo,ready)", false},
        {"FENLO|EnterDeskAK", "result(Success)", false},
        {"Lobby|Notice", "Notice(body,style)", true},
        {"LoginKey|LoginFailed", "failed(reason)", false},
        {"LoginKey|LoginKey", "player(id,ticket)", false},
        {"FENLO|PlayerChangeDesk", "player(PlayerID,niChen,RoomID,DeskId,SeatNo,OnDesk,sex)", false},
        {"Login|LoginSuccess", "player(name,money,vip,locked,memberId,nickName,sex,moneyMirabo,gouWuJuan)", false},
    };
    for (const Case& c : cases) {
        std::string head = c.head, shape = c.element;
        std::string name = head.substr(head.find('|') + 1);
        Texts fields;
        for (std::size_t i = 0, n = std::count(shape.begin(), shape.end(), ',') + (shape.empty() ? 0 : 1); i < n; ++i)
            fields.push_back(i == 0 && !c.text ? "" : "李四" + std::to_string(i));
        Texts expected = {head + "|Request"};
        if (!shape.empty()) expected.push_back(Element(shape, fields));
        EXPECT_EQ(Decode(name, fields), expected) << name;
    }
}

TEST(LobbyDecode, CountedLists) {
    const Texts p1 = {"u1", "张", "1", "10", "5", "3", "2", "0", "0", "100"};
    const Texts p2 = {"u2", "王", "0", "20", "6", "4", "2", "0", "1", "200"};
    Texts fields = {"2"};
    fields.insert(fields.end(), p1.begin(), p1.end());
    fields.insert(fields.end(), p2.begin(), p2.end());
    const std::string player = "player(playerID,NiChen,sex,score,Total,Win,Lose,Draw,Disconnected,Money)";
    EXPECT_EQ(Decode("RoomPlayerList", fields),
              (Texts{"FENLO|RoomPlayerList|Request", "Room()", Element(player, p1), Element(player, p2)}));
    EXPECT_EQ(Decode("RoomPlayerList", {"-3"}), (Texts{"FENLO|RoomPlayerList|Request", "Room()"}));

    EXPECT_EQ(Decode("AddGame", {"1", "7", "ddz", "斗地主", "1.0"}),
              (Texts{"Lobby|AddGame|Request", "addgame(id=7,name=ddz,chinesename=斗地主,version=1.0)"}));
    EXPECT_EQ(Decode("RemoveGame", {"2", "7", "8"}),
              (Texts{"Lobby|RemoveGame|Request", "removegame(id=7)", "removegame(id=8)"}));
    const Texts room = {"31", "新手", "10.0.0.1", "7000", "0", "12", "1", "说明", "7"};
    Texts addRoom = {"1"};
    addRoom.insert(addRoom.end(), room.begin(), room.end());
    EXPECT_EQ(Decode("AddRoom", addRoom),
              (Texts{"Lobby|AddRoom|Request",
                     Element("addroom(id,chinesename,ip,port,vip,playercount,style,description,GameId)", room)}));
    EXPECT_EQ(Decode("RemoveRoom", {"1", "31"}), (Texts{"Lobby|RemoveRoom|Request", "removeroom(id=31)"}));
    EXPECT_EQ(Decode("PlayerCount", {"2", "31", "12", "32", "0"}),
              (Texts{"Lobby|PlayerCount|Request", "room(Ri=31,pc=12)", "room(Ri=32,pc=0)"}));
}

TEST(LobbyDecode, DeskListNestsPlayersUnderTheirDesks) {
    const Texts players = {"a", "昵称a", "0", "", "1", "b", "昵称b", "0", "", "1"};
    Texts fields = {"1", "2", "一号桌", "31", "1", "2", "0"};  // desk 1 and its two players
    fields.insert(fields.end(), players.begin(), players.end());
    fields.insert(fields.end(), {"二号桌", "31", "2", "0", "1"});  // desk 2, none
    Texts got = Decode("DeskList", fields);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[1], "Room(AutoArrange=1)");
    EXPECT_EQ(got[2], "desk(Name=一号桌,RoomId=31,DeskId=1,playerCount=2,start=0)");
    EXPECT_EQ(got[3], Element("player(PlayerId,NiChen,SeatNo,ready,sex)", players));
    EXPECT_EQ(got[4], Element("player(PlayerId,NiChen,SeatNo,ready,sex)", players, 5));
    EXPECT_EQ(got[5], "desk(Name=二号桌,RoomId=31,DeskId=2,playerCount=0,start=1)");

    EXPECT_EQ(Decode("DeskList", {"0", "0"}), (Texts{"FENLO|DeskList|Request", "Room(AutoArrange=0)"}));
}

TEST(LobbyDecode, GameListWithAndWithoutRooms) {
    const Texts room = {"31", "新手", "10.0.0.1", "7000", "0", "12", "1", "说明", "7"};
    Texts fields = {"2", "7", "ddz", "斗地主", "1.0", "1"};
    fields.insert(fields.end(), room.begin(), room.end());
    fields.insert(fields.end(), {"8", "x", "其他", "2.0", "0"});
    EXPECT_EQ(Decode("GameList", fields),
              (Texts{"Lobby|GameList|Request", "game(id=7,name=ddz,chinesename=斗地主,version=1.0)",
                     Element("room(id,chinesename,ip,port,vip,playercount,style,description,GameId)", room),
                     "game(id=8,name=x,chinesename=其他,version=2.0)"}));
}

TEST(LobbyDecode, RejectsBrokenPackets) {
    auto rejected = [](const Bytes& packet) {
        CTranslateMsg t(kTable);
        char* text = t.BinaryToXml(packet.data(), static_cast<int>(packet.size()));
        delete[] text;
        return text == nullptr && t.LastFailure() == Failure::kBadPacket;
    };
    const int kick = CodeOf("KickPlayer");
    Bytes whole = Pack(kick, {"r", "c", "k"});
    EXPECT_FALSE(rejected(whole));
    EXPECT_TRUE(rejected(Bytes(whole.begin(), whole.end() - 1)));  // truncated
    Bytes longer = whole;
    longer[3] = 40;  // a length beyond the frame
    EXPECT_TRUE(rejected(longer));
    Bytes negative = whole;
    negative[4] = 0x80;
    EXPECT_TRUE(rejected(negative));
    EXPECT_TRUE(rejected(Pack(kick, {std::string(256, 'x'), "c", "k"})));  // beyond a 256-byte buffer
    EXPECT_FALSE(rejected(Pack(kick, {std::string(255, 'x'), "c", "k"})));
    EXPECT_TRUE(rejected(Pack(kick, {"a\"b", "c", "k"})));  // would break the document
    EXPECT_TRUE(rejected(Pack(CodeOf("Notice"), {"body", ""})));  // empty text-read field
    EXPECT_TRUE(rejected(Pack(CodeOf("DeskList"), {"0", std::string(64, '0')})));
    EXPECT_TRUE(rejected(Pack(CodeOf("AddGame"), {"30000", "7", "ddz"})));  // count beyond the frame
    EXPECT_TRUE(rejected(Bytes{1, static_cast<unsigned char>(CodeOf("PingData"))}));
}

TEST(LobbyDecode, CodesAndFieldQuirks) {
    // An unknown code, or a row whose name has no decoding, gives nothing.
    CTranslateMsg t(kTable);
    const Bytes unknown = {1, 200, 1};
    EXPECT_EQ(t.BinaryToXml(unknown.data(), 3), nullptr);
    EXPECT_EQ(t.LastFailure(), Failure::kNoDecoding);
    EXPECT_TRUE(Decode("Orphan", {}).empty());

    // Bytes 0 and 2 are not checked; a field ends at its first NUL byte.
    Bytes odd = Pack(CodeOf("PlayerLeave"), {std::string("ab\0cd", 5)});
    odd[0] = 7;
    odd[2] = 0;
    EXPECT_EQ(Decode(odd), (Texts{"FENLO|PlayerLeave|Request", "player(playerID=ab)"}));

    // First row wins on either key; a row above 255 never matches a code byte.
    const MsgCodeTable table = {{300, "GameStart"}, {44, "GameOver"}, {44, "GameStart"}, {45, "GameOver"}};
    EXPECT_EQ(Decode(Pack(44, {"1", "2"}), table)[0], "FENLO|GameOver|Request");
    MsgCodeTable twice = {{20, "PingData"}, {21, "PingData"}};
    CTranslateMsg first(twice);
    EXPECT_EQ(Encode(first, Request("FENLO", "PingData", "", {}, {})), (Bytes{1, 20, 1}));

    // ReadString: a text of at least one byte, within bounds.
    std::string out = "kept";
    const Bytes field = {2, 0, 'o', 'k', 0, 0};
    EXPECT_EQ(t.ReadString(out, field.data(), field.data() + 4), field.data() + 4);
    EXPECT_EQ(out, "ok");
    EXPECT_EQ(t.ReadString(out, field.data() + 4, field.data() + 6), nullptr);
    EXPECT_EQ(t.ReadString(out, field.data(), field.data() + 3), nullptr);
    EXPECT_EQ(out, "ok");
}

// The lobby's reading of what a hostile server sends, in process: every frame
// is read or dropped whole, and room lists no room could hold are dropped.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "lobby/net/binary/TranslateMsg.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "tools/servers/CodeTables.h"
#include "tools/servers/LobbyHostile.h"

namespace {

std::unique_ptr<CMessage> Parse(const std::string& text) {
    CLobbyProtocol protocol;
    return std::unique_ptr<CMessage>(protocol.ParseMessage(text.c_str(), static_cast<int>(text.size())));
}

std::string Players(int n) {
    std::string t = "<GameMessage game=\"FENLO\"><Message name=\"RoomPlayerList\"><Room>";
    for (int i = 0; i < n; ++i) t += "<player a=\"p\" b=\"n\" c=\"1\" d=\"\" e=\"\" f=\"\" g=\"\" h=\"\" i=\"\" j=\"\"/>";
    return t + "</Room></Message></GameMessage>";
}

std::string Desks(int n) {
    std::string t = "<GameMessage game=\"FENLO\"><Message name=\"DeskList\"><Room a=\"False\">";
    for (int i = 0; i < n; ++i) t += "<desk a=\"d\" b=\"1\" c=\"" + std::to_string(i) + "\" d=\"0\" e=\"False\"/>";
    return t + "</Room></Message></GameMessage>";
}

std::string GameList(int rooms) {
    std::string t = "<GameMessage game=\"Lobby\"><Message name=\"GameList\"><game a=\"1\" b=\"FENLO\" c=\"g\" d=\"1\">";
    for (int i = 0; i < rooms; ++i) t += "<room a=\"" + std::to_string(i) + "\" b=\"r\" c=\"h\" d=\"1\" e=\"False\" f=\"1\" g=\"0\" h=\"1\" i=\"\"/>";
    return t + "</game></Message></GameMessage>";
}

std::string AddRooms(int n) {
    std::string t = "<GameMessage game=\"Lobby\"><Message name=\"AddRoom\">";
    for (int i = 0; i < n; ++i) t += "<addroom a=\"1\" b=\"r\" c=\"h\" d=\"1\" e=\"False\" f=\"1\" g=\"0\" h=\"1\" i=\"1\"/>";
    return t + "</Message></GameMessage>";
}

}  // namespace

// Each document, sent as text or decoded from the binary form, is read whole
// as the message its name gives (the same kind every time it is read) or
// dropped; both happen, and nothing throws.
TEST(LobbyHostileParse, DocumentsAreReadAsTheirMessageOrDropped) {
    using K = servers::HostileKind;
    servers::HostileGenerator g(servers::LobbyVocabulary(), 11);
    g.SetWeight(K::kExtreme, 0);
    g.SetWeight(K::kManyAttributes, 0);
    const MsgCodeTable codes = servers::DefaultLobbyCodes();
    std::map<std::string, int> kinds;  // message name -> the kind it was read as
    int read[2] = {0, 0}, dropped[2] = {0, 0};  // [0] decoded binary frames, [1] text documents
    for (int i = 0; i < 600; ++i) {
        const servers::HostileFrame f = g.Next();
        const std::string payload = f.bytes.substr(5);
        std::string document;
        int form = 1;
        if (f.bytes[4] == 0) {
            CTranslateMsg translator(codes);
            std::unique_ptr<char[]> xml(translator.BinaryToXml(reinterpret_cast<const unsigned char*>(payload.data()),
                                                               static_cast<int>(payload.size())));
            if (!xml) continue;
            document = xml.get();
            form = 0;
        } else if (f.kind == K::kBadValues || f.kind == K::kDeepXml) {
            document = payload;
        } else {
            continue;
        }
        std::unique_ptr<CMessage> m;
        ASSERT_NO_THROW(m = Parse(document)) << i << " " << document.substr(0, 200);
        if (!m) {
            ++dropped[form];
            continue;
        }
        ++read[form];
        const size_t at = document.find("name=\"", document.find("<Message")) + 6;
        const std::string name = document.substr(at, document.find('"', at) - at);
        const auto known = kinds.emplace(name, m->kind).first;
        EXPECT_EQ(m->kind, known->second) << name << " read as another kind at frame " << i;
    }
    for (int form : {0, 1}) {
        EXPECT_GT(read[form], 0) << form;
        EXPECT_GT(dropped[form], 0) << form;
    }
}

TEST(LobbyHostileParse, RoomListsLargerThanAnyRoomAreDropped) {
    std::unique_ptr<CMessage> players = Parse(Players(2000));
    ASSERT_NE(players, nullptr);
    EXPECT_EQ(static_cast<CRoomPlayerList*>(players.get())->entries.size(), 2000u);
    EXPECT_EQ(Parse(Players(2001)), nullptr);
    std::unique_ptr<CMessage> desks = Parse(Desks(2000));
    ASSERT_NE(desks, nullptr);
    CRoomDeskList* list = static_cast<CDeskInfoMsg*>(desks.get())->deskList;
    EXPECT_EQ(list->desks.size(), 2000u);
    EXPECT_EQ(Parse(Desks(2001)), nullptr);
}

// Every room update searches all rooms: a lobby keeps a bounded number.
TEST(LobbyHostileParse, GameAndRoomListsLargerThanAnyLobbyAreDropped) {
    const int most = static_cast<int>(CLobbyData::kMaxRooms);
    ASSERT_NE(Parse(GameList(most - 1)), nullptr);  // the game counts too
    EXPECT_EQ(GetLobbyData().RoomCount(), CLobbyData::kMaxRooms - 1);
    EXPECT_EQ(Parse(GameList(most)), nullptr);
    EXPECT_EQ(Parse(GameList(100000)), nullptr);
    EXPECT_EQ(GetLobbyData().RoomCount(), CLobbyData::kMaxRooms - 1) << "the earlier list is kept";
    EXPECT_NE(Parse(AddRooms(most)), nullptr);
    EXPECT_EQ(Parse(AddRooms(most + 1)), nullptr);
    GetLobbyData().ClearGameList();
}

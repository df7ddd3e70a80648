// Desk lists: lookups by whole text, one player a seat, removal by seat,
// counts, the bounds a server cannot pass, and the list owning its desks and
// their players.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/RoomDeskList.h"

TEST(DeskList, FindAddRemoveAndCount) {
    CRoomDeskList list;
    CRoomDeskInfo* one = list.AddDesk(1, 0, "D1", "101", "1");
    CRoomDeskInfo* two = list.AddDesk(0, 0, "D2", "101", "2");
    ASSERT_TRUE(one && two);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.FindDesk("2"), two);
    EXPECT_EQ(list.FindDesk("01"), nullptr) << "the whole text is compared";
    EXPECT_EQ(list.FindDesk("1 "), nullptr);
    EXPECT_EQ(list.FindDesk(""), nullptr);
    EXPECT_EQ(one->playing, 1);
    EXPECT_EQ(one->groupFlag, 0);

    one->AddPlayer("a", "A", "0", 1, 0);
    one->AddPlayer("b", "B", "1", 0, 1);
    ASSERT_NE(one->FindPlayer("b"), nullptr);
    EXPECT_EQ(one->FindPlayer("b")->type, 1);
    EXPECT_NE(one->AddPlayer("c", "C", "1", 0, 0), nullptr);
    EXPECT_EQ(one->FindPlayer("b"), nullptr) << "seat 1 taken again: the later player has it";
    EXPECT_EQ(one->GetPlayerCount(), 2);
    for (const char* seat : {"3", "-1", "", "01", "1 "})
        EXPECT_EQ(one->AddPlayer("x", "X", seat, 0, 0), nullptr) << "not a seat: '" << seat << "'";
    EXPECT_EQ(one->FindPlayer("z"), nullptr);

    EXPECT_EQ(one->RemovePlayer("2"), 0) << "nobody on seat 2";
    EXPECT_EQ(one->GetPlayerCount(), 2);
    EXPECT_EQ(one->RemovePlayer("1"), 1);
    EXPECT_EQ(one->FindPlayer("c"), nullptr);
    EXPECT_EQ(one->GetPlayerCount(), 1);
}

// What a server sends is bounded where the list is built: three players a
// desk whatever a DeskList or the sit-downs after it hold, and no more desks
// than the reply parser takes.
TEST(DeskList, ADeskHoldsThreePlayersAndAListItsMostDesks) {
    std::string reply = "<GameMessage game=\"FENLO\"><Message name=\"DeskList\"><Room a=\"False\">"
                        "<desk a=\"d\" b=\"1\" c=\"1\" d=\"3\" e=\"False\">";
    for (int i = 0; i < 100000; ++i)
        reply += "<player a=\"p" + std::to_string(i) + "\" b=\"n\" c=\"" + std::to_string(i % 4) + "\" d=\"True\" e=\"0\"/>";
    reply += "</desk><desk a=\"d\" b=\"1\" c=\"2\" d=\"3\" e=\"False\">";
    for (int i = 0; i < 10000; ++i) reply += "<player a=\"q" + std::to_string(i) + "\" b=\"n\" c=\"2\" d=\"x\" e=\"0\">";
    for (int i = 0; i < 10000; ++i) reply += "</player>";
    reply += "</desk></Room></Message></GameMessage>";
    CLobbyProtocol protocol;
    std::unique_ptr<CMessage> m(protocol.ParseMessage(reply.c_str(), static_cast<int>(reply.size())));
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(static_cast<CDeskInfoMsg*>(m.get())->roomFlag) << "the Room's \"False\"";
    CRoomDeskList* list = static_cast<CDeskInfoMsg*>(m.get())->deskList;  // the message's
    ASSERT_TRUE(list);
    ASSERT_EQ(list->GetCount(), 2);
    CRoomDeskInfo* first = list->FindDesk("1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->groupFlag, 0) << "the room's flag on every desk";
    EXPECT_EQ(first->playing, 0);
    ASSERT_EQ(first->GetPlayerCount(), 3);
    EXPECT_NE(first->FindPlayer("p99998"), nullptr) << "the last on seat 2";
    EXPECT_NE(first->FindPlayer("p99997"), nullptr) << "the last on seat 1";
    EXPECT_EQ(first->FindPlayer("p99999"), nullptr) << "seat 3 is no seat";
    ASSERT_EQ(list->FindDesk("2")->GetPlayerCount(), 1) << "nested players on one seat";
    EXPECT_NE(list->FindDesk("2")->FindPlayer("q9999"), nullptr);

    for (size_t i = list->desks.size(); i < CRoomDeskList::kMaxDesks; ++i)
        ASSERT_NE(list->AddDesk(0, 0, "_", "1", std::to_string(i + 1)), nullptr);
    EXPECT_EQ(list->AddDesk(0, 0, "_", "1", "x"), nullptr) << "the list is full";
    EXPECT_EQ(static_cast<size_t>(list->GetCount()), CRoomDeskList::kMaxDesks);
}

TEST(DeskList, NestedLockingAndUnownedDesk) {
    CRoomDeskList list;
    CRoomDeskInfo* desk = list.AddDesk(0, 1, "_", "101", "9");
    list.Lock();  // the view holds the list's lock around its calls
    desk->AddPlayer("p", "P", "2", 0, 0);
    EXPECT_EQ(list.FindDesk("9")->GetPlayerCount(), 1);
    list.Unlock();

    CRoomDeskInfo loose(nullptr, 0, 1, "x", "101", "3");
    loose.AddPlayer("q", "Q", "0", 0, 0);
    EXPECT_EQ(loose.RemovePlayer("0"), 1);
    EXPECT_EQ(loose.GetPlayerCount(), 0);
}

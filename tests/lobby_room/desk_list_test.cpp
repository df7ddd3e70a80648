// Desk lists: lookups by whole text, removal of the first match, counts, and
// the list owning its desks and their players.
#include <gtest/gtest.h>

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
    one->AddPlayer("c", "C", "1", 0, 0);  // same seat twice: not checked
    EXPECT_EQ(one->GetPlayerCount(), 3);
    ASSERT_NE(one->FindPlayer("b"), nullptr);
    EXPECT_EQ(one->FindPlayer("b")->type, 1);
    EXPECT_EQ(one->FindPlayer("z"), nullptr);

    EXPECT_EQ(one->RemovePlayer("2"), 0) << "nobody on seat 2";
    EXPECT_EQ(one->GetPlayerCount(), 3);
    EXPECT_EQ(one->RemovePlayer("1"), 1);
    EXPECT_EQ(one->FindPlayer("b"), nullptr) << "the first of the two on seat 1 goes";
    EXPECT_NE(one->FindPlayer("c"), nullptr);
    EXPECT_EQ(one->GetPlayerCount(), 2);
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

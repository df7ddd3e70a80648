// The room page's arithmetic: grid metrics, button ids, quick join and the
// game client's command line; hostile desk and seat texts map to nothing.
#include <gtest/gtest.h>

#include "lobby/ui/room/RoomGrid.h"

using namespace room;

TEST(RoomGrid, MetricsColumnsAndPlaces) {
    // Desk strip 320 x 60 (DW 80), seat strip 96 x 24 (SW 24).
    const int dw = 80;
    RoomGrid narrow(320, 60, 96, 24, 35 + dw + 104);
    EXPECT_EQ(narrow.columns, 1);
    EXPECT_EQ(narrow.rows, 100);
    EXPECT_EQ(RoomGrid(320, 60, 96, 24, 10).columns, 1) << "never fewer than one column";
    EXPECT_EQ(RoomGrid(320, 60, 96, 24, 35 + dw + 105).columns, 1);
    RoomGrid wide(320, 60, 96, 24, 35 + 3 * (dw + 105));
    EXPECT_EQ(wide.columns, 3);
    EXPECT_EQ(wide.rows, 34);
    EXPECT_EQ(wide.margin, 17);
    EXPECT_EQ(wide.ScrollHeight(), 150 * 34 + 90);
    GridPoint d4 = wide.Desk(4);  // column 1, row 1
    EXPECT_EQ(d4.x, 17 + 55 + 185);
    EXPECT_EQ(d4.y, 90 + 150);
    GridPoint left = wide.Seat(4, 0), top = wide.Seat(4, 1), right = wide.Seat(4, 2);
    EXPECT_EQ(left.x, d4.x - 24 - 10);
    EXPECT_EQ(left.y, d4.y + 18);
    EXPECT_EQ(top.x, d4.x + 28);
    EXPECT_EQ(top.y, d4.y - 34);
    EXPECT_EQ(right.x, d4.x + 90);
}

TEST(RoomGrid, ButtonIdsAndWireTexts) {
    ButtonTarget seat = DecodeButton(60005);
    EXPECT_EQ(seat.kind, ButtonKind::Seat);
    EXPECT_EQ(seat.desk, 2);
    EXPECT_EQ(seat.seat, 2);
    ButtonTarget desk = DecodeButton(10099);
    EXPECT_EQ(desk.kind, ButtonKind::Desk);
    EXPECT_EQ(desk.desk, 100);
    EXPECT_EQ(DecodeButton(10201).kind, ButtonKind::QuickJoin);
    EXPECT_EQ(DecodeButton(10200).kind, ButtonKind::Desk) << "inside the desk range as the ids are laid out";
    EXPECT_EQ(DecodeButton(42).kind, ButtonKind::Other);

    EXPECT_EQ(SeatOf("2"), 2);
    EXPECT_EQ(DeskOf("100"), 100);
    for (const char* bad : {"-1", "3", "", "x", "99999999999999999999", "-2147483648"}) EXPECT_EQ(SeatOf(bad), -1) << bad;
    for (const char* bad : {"0", "101", "-5", "", "abc", "4294967297"}) EXPECT_EQ(DeskOf(bad), -1) << bad;
}

TEST(RoomGrid, QuickJoinPrefersTheDeskWithOneFreeSeat) {
    std::vector<DeskSeats> desks(100);
    SeatChoice none = ChooseQuickSeat(desks);
    EXPECT_EQ(none.desk, -1) << "a full room sends nothing";

    desks[3].enabled = true;  // desk 4: one taken
    desks[3].free[1] = desks[3].free[2] = true;
    desks[7].enabled = true;  // desk 8: two taken, seat 1 free
    desks[7].free[1] = true;
    SeatChoice c = ChooseQuickSeat(desks);
    EXPECT_EQ(c.desk, 8);
    EXPECT_EQ(c.seat, 1);

    desks[7].enabled = false;  // disabled desks never count
    c = ChooseQuickSeat(desks);
    EXPECT_EQ(c.desk, 4);
    EXPECT_EQ(c.seat, 1);
    EXPECT_EQ(LowestFreeSeat(desks, 4).seat, 1);
    EXPECT_EQ(LowestFreeSeat(desks, 0).desk, -1);
    EXPECT_EQ(LowestFreeSeat(desks, 101).desk, -1);
}

TEST(RoomGrid, SeatLaunchHasElevenFields) {
    LaunchRoom r{"h1", "9000", "h2", "9001", true, "game"};
    EXPECT_EQ(SeatLaunchParameters(r, "user", "101", "TOKEN", 7, 2), " h1 user 9000 101 TOKEN 1 h2 9001 0 7 2")
        << "the room's flag as the sixth field";
    r.directStart = false;
    EXPECT_EQ(SeatLaunchParameters(r, "user", "101", "", 7, 2), " h1 user 9000 101 0 0 h2 9001 0 7 2")
        << "no token received yet";
}

// The table's state and the small clocks beside it.
#include <gtest/gtest.h>

#include "game/core/table/DirtyList.h"
#include "game/core/table/TableState.h"
#include "game/core/table/TurnClock.h"

namespace {

TEST(TableState, DeckIndicesAndUnmasking) {
    EXPECT_EQ(CTableState::DeckIndex(3, 0), 0);
    EXPECT_EQ(CTableState::DeckIndex(15, 3), 51);
    EXPECT_EQ(CTableState::DeckIndex(16, 3), 52);
    EXPECT_EQ(CTableState::DeckIndex(17, 0), 53);
    for (auto bad : {std::make_pair(2, 0), {18, 0}, {5, 4}, {5, -1}, {-100, 0}})
        EXPECT_EQ(CTableState::DeckIndex(bad.first, bad.second), -1) << bad.first << "/" << bad.second;
    EXPECT_EQ(CTableState::UnmaskNumber(9 + 5 + 2, 2, "21"), 9) << "21 % 16 = 5";
    EXPECT_EQ(CTableState::UnmaskNumber(9 - 5 + 1, 1, "-21"), 9) << "a truncating remainder";
}

TEST(TableState, ClockLimitsAndDisplay) {
    int total, remaining;
    CTurnClock::Limits(15, 20000, &total, &remaining);
    EXPECT_EQ(std::make_pair(total, remaining), std::make_pair(20000, 15000));
    for (int seconds : {0, 21, -3, 2147483}) {
        CTurnClock::Limits(seconds, 20000, &total, &remaining);
        EXPECT_EQ(remaining, 20000) << seconds;
    }
    CTurnClock clock;
    clock.Start(2500, 0);
    EXPECT_EQ(clock.DisplayChange(), 1);
    EXPECT_FALSE(clock.Advance(400));
    EXPECT_EQ(clock.DisplayChange(), 2) << "2100 ms: only the 800 ms step changed";
    EXPECT_FALSE(clock.Advance(600));
    EXPECT_EQ(clock.DisplayChange(), 1) << "1900 ms: whole seconds changed";
    EXPECT_TRUE(clock.Advance(2501));
    EXPECT_FALSE(clock.running);
    clock.Stop();
    EXPECT_EQ(clock.remaining, -1) << "stopping twice is harmless";
}

TEST(TableState, DirtyRectsContainedOrPendingFullRedrawAddNothing) {
    CDirtyList list;
    list.Add(0, 0, 100, 100);
    list.Add(10, 10, 20, 20);
    list.Add(0, 0, 100, 100);
    EXPECT_EQ(list.Rects().size(), 1u);
    list.AddAll(800, 600);
    list.Add(900, 900, 5, 5);
    EXPECT_TRUE(list.Full());
    EXPECT_EQ(list.Rects().size(), 1u);
}

}  // namespace

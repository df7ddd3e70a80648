#include <gtest/gtest.h>

#include "game/core/PlayerInfo.h"
#include "tests/game_core/CardsForTest.h"

namespace {

TEST(PlayerInfo, StartsUnseatedWithAnEmptyHand) {
    CPlayerInfo p("\xD5\xC5\xC8\xFD");
    EXPECT_EQ(p.GetId(), "\xD5\xC5\xC8\xFD");
    EXPECT_EQ(p.seat, -1);
    EXPECT_EQ(p.bid, -1);
    EXPECT_EQ(p.role, -1);
    EXPECT_EQ(p.clockStart, -1);
    EXPECT_EQ(p.avatar, -1);
    EXPECT_EQ(p.money, 0.0);
    EXPECT_EQ(p.lastPlay, nullptr);
    ASSERT_NE(p.hand, nullptr);
    EXPECT_TRUE(p.hand->IsEmpty());
    EXPECT_EQ(p.GetNickName(), "");
}

TEST(PlayerInfo, OwnsItsSetsAndStartsTheClock) {
    CardPool pool;
    auto* p = new CPlayerInfo("p1");
    pool.Set("3 4").CopyTo(p->hand);
    p->lastPlay = new CCardSet;
    pool.Set("9 9").CopyTo(p->lastPlay);
    p->SetNickName("nick");
    std::string copy = p->GetNickName();
    copy += "x";
    EXPECT_EQ(p->GetNickName(), "nick");

    p->SetClock(15000);
    EXPECT_EQ(p->clockTime, 14000);
    const int first = p->clockStart;
    p->SetClock(1000);
    EXPECT_EQ(p->clockTime, 0);
    EXPECT_GE(p->clockStart - first, 0) << "the tick count does not run backwards";
    delete p;  // frees both sets: the sanitizers catch a leak
}

}  // namespace

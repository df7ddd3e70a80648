#include <gtest/gtest.h>

#include "game/core/CardTypeJudge.h"
#include "tests/game_core/CardsForTest.h"

namespace {

typedef std::vector<std::string> Plays;

class CardFinderTest : public ::testing::Test {
protected:
    // Plays offered against toBeat (classified first) from the hand.
    Plays Answers(const char* toBeat, const char* hand) {
        CCardSet& beat = pool.Set(toBeat);
        judge.GetCardType(&beat);
        finder.FindPlays(&beat, &pool.Set(hand), 0);
        return Drain(finder);
    }
    Plays Lead(const char* hand) {
        finder.FindPlays(nullptr, &pool.Set(hand), 0);
        return Drain(finder);
    }
    Plays OfType(int type, const char* hand) {
        finder.FindPlays(nullptr, &pool.Set(hand), type);
        return Drain(finder);
    }

    CardPool pool;
    CCardTypeJudge judge;
    CCardFinder finder;
};

TEST_F(CardFinderTest, LeadOffersTheLowestPlayOfEachStep) {
    EXPECT_EQ(Lead("3 4 5 6 7 9 9 9"),
              (Plays{"t1 k3: 3", "t2 k9: 9 9", "t3 k9: 9 9 9", "t6 k7: 7 6 5 4 3", "t9 k9: 9 9 9 3"}));
    EXPECT_EQ(Lead("3 3 4 5 6 7 8 8 9 J Q Q K A 2 2 bj"), (Plays{"t1 k4: 4", "t2 k3: 3 3", "t6 k9: 9 8 7 6 5 4 3"}));
    EXPECT_EQ(Lead("5 5 5 5 sj bj"), (Plays{"t1 k16: sj", "t2 k5: 5 5", "t3 k5: 5 5 5", "t9 k5: 5 5 5 sj",
                                            "t4 k5: 5 5 5 5", "t11 k5: 5 5 5 5 bj sj", "t5 k17: bj sj"}));
    EXPECT_EQ(Lead(""), Plays{});
}

TEST_F(CardFinderTest, EmptyOrInvalidPlayToBeatIsALead) {
    const Plays lead = Lead("3 4 5 6 7 9 9 9");
    CCardSet empty;
    finder.FindPlays(&empty, &pool.Set("3 4 5 6 7 9 9 9"), 0);
    EXPECT_EQ(Drain(finder), lead);

    // A set that is no play but still holds a key from before must not
    // narrow the search.
    CCardSet& stale = pool.Set("K K 3");
    stale.SetType(0);
    stale.SetKey(12);
    finder.FindPlays(&stale, &pool.Set("3 4 5 6 7 9 9 9"), 0);
    EXPECT_EQ(Drain(finder), lead);
}

TEST_F(CardFinderTest, GroupsAnswerLoneCardsFirstThenSplitGroups) {
    EXPECT_EQ(Answers("5", "3 6/0 6/1 7 sj bj"),
              (Plays{"t1 k7: 7", "t1 k16: sj", "t1 k17: bj", "t1 k6: 6", "t5 k17: bj sj"}));
    EXPECT_EQ(Answers("4 4", "5 5 5 5"), (Plays{"t2 k5: 5 5", "t4 k5: 5 5 5 5"}));
    EXPECT_EQ(Answers("8 8 8", "9 9 9 10 10 10 10"),
              (Plays{"t3 k9: 9 9 9", "t3 k10: 10 10 10", "t4 k10: 10 10 10 10"}));
    EXPECT_EQ(Answers("K", "3 3 4 5 6 7 8 8 9 J Q Q K A 2 2 bj"), (Plays{"t1 k14: A", "t1 k17: bj", "t1 k15: 2"}));
    EXPECT_EQ(Answers("2", "3 4 A"), Plays{});

    // The split card is the higher suit.
    CCardSet& beat = pool.Set("5");
    judge.GetCardType(&beat);
    finder.FindPlays(&beat, &pool.Set("6/0 6/3"), 0);
    CCardSet play;
    finder.NextPlay(&play);
    EXPECT_EQ((*play.CardsBegin())->GetSuit(), 3);
}

TEST_F(CardFinderTest, BombsAndRocket) {
    EXPECT_EQ(Answers("sj bj", "5 5 5 5 9 9 9 9 2 2"), Plays{});
    EXPECT_EQ(Answers("7 7 7 7", "5 5 5 5 9 9 9 9 sj bj"), (Plays{"t4 k9: 9 9 9 9", "t5 k17: bj sj"}));
    EXPECT_EQ(Answers("2 2", "3 3 3 3"), (Plays{"t4 k3: 3 3 3 3"})) << "every bomb beats a pair";
    EXPECT_EQ(Answers("3 4 5 6 7 8 9 10 J", "8 8 8 8 sj bj"), (Plays{"t4 k8: 8 8 8 8", "t5 k17: bj sj"}))
        << "a hand too small for the run still has its bombs";
    EXPECT_EQ(OfType(4, "3 3 3 3 sj bj"), (Plays{"t4 k3: 3 3 3 3", "t5 k17: bj sj"}));
    EXPECT_EQ(OfType(5, "sj bj"), (Plays{"t5 k17: bj sj"}));
}

TEST_F(CardFinderTest, RunsAgainstAPlayToBeat) {
    // Exact runs found 4..8, so the split search does not run.
    EXPECT_EQ(Answers("3 4 5 6 7", "4 5 6 7 8 9 9"), (Plays{"t6 k8: 8 7 6 5 4"}));
    // From the split search, which then goes on above 4 + 5.
    EXPECT_EQ(Answers("3 4 5 6 7", "4 5 6 7 8 8 9 9"), (Plays{"t6 k8: 8 7 6 5 4"}));
    EXPECT_EQ(Answers("3 4 5 6 7", "4 5 6 7 8 9 10"),
              (Plays{"t6 k8: 8 7 6 5 4", "t6 k9: 9 8 7 6 5", "t6 k10: 10 9 8 7 6"}));
    EXPECT_EQ(Answers("10 J Q K A", "J Q K A 2 sj"), Plays{}) << "the 2 never joins a run";
    EXPECT_EQ(Answers("3 3 4 4 5 5", "6 6 7 7 8 8 8 9 9"), (Plays{"t7 k8: 8 8 7 7 6 6"}));
    EXPECT_EQ(Answers("3 3 3 4 4 4", "5 5 5 6 6 6 7 7 7"), (Plays{"t8 k6: 6 6 6 5 5 5", "t8 k7: 7 7 7 6 6 6"}));
    EXPECT_EQ(Answers("3 3 3 4 4 4", "K K K A A A 2 2 2"), (Plays{"t8 k14: A A A K K K"}));
}

TEST_F(CardFinderTest, RunsOfOneTypeWithoutPlayToBeat) {
    // Overlapping exact runs are all offered.
    EXPECT_EQ(OfType(6, "3 4 5 6 7 8"), (Plays{"t6 k8: 8 7 6 5 4 3", "t6 k8: 8 7 6 5 4"}));
    // A split run replaces the last exact one.
    EXPECT_EQ(OfType(6, "3 4 5 6 7 9 10 J Q K K"), (Plays{"t6 k13: K Q J 10 9"}));
    EXPECT_EQ(OfType(7, "5 5 6 6 7 7 7"), (Plays{"t7 k7: 7 7 6 6 5 5"}));
    EXPECT_EQ(OfType(8, "3 3 3 4 4 4 5 5 5 5"), (Plays{"t8 k5: 5 5 5 4 4 4 3 3 3", "t4 k5: 5 5 5 5"}));
    EXPECT_EQ(OfType(6, "3 4 5 6"), Plays{});
}

TEST_F(CardFinderTest, TriplesWithWings) {
    EXPECT_EQ(Answers("3 3 3 4", "5 5 5 6 8 8 8"), (Plays{"t9 k5: 5 5 5 6", "t9 k8: 8 8 8 6"}));
    EXPECT_EQ(Answers("3 3 3 4 4", "7 7 7 9 9 J J J"), (Plays{"t10 k7: 7 7 7 9 9", "t10 k11: J J J 9 9"}));
    // A 12-card plane answered by 444 555 666 with the 7, the 8 and the fourth 4.
    EXPECT_EQ(Answers("3 3 3 4 4 4 5 5 5 9 10 J", "4 4 4 4 5 5 5 6 6 6 7 8"),
              (Plays{"t9 k6: 4 4 4 4 6 6 6 5 5 5 8 7", "t4 k4: 4 4 4 4"}));
    // Wings come from lone cards first, then out of larger groups, never
    // from the body itself.
    EXPECT_EQ(OfType(9, "5 5 5 6 6 6 7 7"), (Plays{"t9 k6: 6 6 6 5 5 5 7 7", "t9 k5: 5 5 5 6", "t9 k6: 6 6 6 5"}));
    EXPECT_EQ(OfType(9, "3 3 3 3 4 4 4 4"), (Plays{"t9 k4: 4 4 4 4 3 3 3 3", "t9 k3: 3 3 3 3", "t9 k4: 4 4 4 3",
                                                   "t4 k3: 3 3 3 3", "t4 k4: 4 4 4 4"}));
    EXPECT_EQ(OfType(10, "3 3 3 4 4 4 5 5"), (Plays{"t10 k3: 3 3 3 5 5", "t10 k4: 4 4 4 5 5"}));
    EXPECT_EQ(OfType(10, "3 3 3"), Plays{});
}

TEST_F(CardFinderTest, HintsThatThePlayButtonWouldRefuseAreLeftOut) {
    // Four consecutive triples as a plane with three single wings classify as
    // a triple run, which does not answer a plane.
    EXPECT_EQ(Answers("3 3 3 4 4 4 5 5 5 J Q K", "6 6 6 7 7 7 8 8 8 9 9 9"), Plays{});
    // Two triples with a fourth card each are four with two pairs.
    EXPECT_EQ(Answers("3 3 3 4 4 4 J Q", "6 6 6 6 7 7 7 7"), (Plays{"t4 k6: 6 6 6 6", "t4 k7: 7 7 7 7"}));
}

TEST_F(CardFinderTest, FourWithTwo) {
    EXPECT_EQ(Answers("5 5 5 5 3 4", "3 3 3 3 8 8 8 8 9 10"),
              (Plays{"t11 k8: 8 8 8 8 10 9", "t4 k3: 3 3 3 3", "t4 k8: 8 8 8 8"}));
    EXPECT_EQ(Answers("3 3 3 3 5 5 6 6", "7 7 7 7 8 8 8 8"),
              (Plays{"t12 k7: 8 8 8 8 7 7 7 7", "t4 k7: 7 7 7 7", "t4 k8: 8 8 8 8"}));
    EXPECT_EQ(Answers("3 3 3 3 5 6", "4 4 4 4 9 9 9"), (Plays{"t11 k4: 4 4 4 4 9 9", "t4 k4: 4 4 4 4"}));
    EXPECT_EQ(Answers("3 3 3 3 5 5 6 6", "4 4 4 4 9 9 9"), (Plays{"t4 k4: 4 4 4 4"})) << "one pair out of a triple";
}

TEST_F(CardFinderTest, ExhaustedSearchStaysEmpty) {
    CCardSet& hand = pool.Set("3 3");
    finder.FindPlays(nullptr, &hand, 0);
    CCardSet out;
    finder.NextPlay(&out);
    finder.NextPlay(&out);
    EXPECT_EQ(Typed(out), "t2 k3: 3 3");
    for (int i = 0; i < 3; ++i) {
        finder.NextPlay(&out);
        EXPECT_TRUE(out.IsEmpty());
        EXPECT_EQ(out.GetType(), 0);
    }
    std::vector<CCardSet*> all;
    finder.AllPlays(&all);
    EXPECT_TRUE(all.empty());
    finder.AllPlays(nullptr);
    finder.NextPlay(nullptr);

    finder.FindPlays(nullptr, nullptr, 0);
    finder.NextPlay(&out);
    EXPECT_TRUE(out.IsEmpty());

    // A new search starts afresh; AllPlays appends without emptying the list.
    finder.FindPlays(nullptr, &hand, 0);
    all.push_back(new CCardSet);
    finder.AllPlays(&all);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(Typed(*all[2]), "t2 k3: 3 3");
    EXPECT_EQ(*all[1]->CardsBegin(), *hand.CardsBegin()) << "plays hold the hand's cards";
    ClearCardSetVector(all);
}

}  // namespace

#include <gtest/gtest.h>

#include "game/core/CardTypeJudge.h"
#include "tests/game_core/CardsForTest.h"

namespace {

struct Case {
    const char* cards;
    int type;
    int key;
};

class CardTypeTest : public ::testing::Test {
protected:
    // "t<type> k<key>" after classifying the cards.
    std::string Classify(const char* cards) {
        CCardSet& s = pool.Set(cards);
        int type = judge.GetCardType(&s);
        EXPECT_EQ(type, s.GetType()) << cards;
        return "t" + std::to_string(type) + " k" + std::to_string(s.GetKey());
    }
    void Expect(const std::vector<Case>& cases) {
        for (const Case& c : cases)
            EXPECT_EQ(Classify(c.cards), "t" + std::to_string(c.type) + " k" + std::to_string(c.key)) << c.cards;
    }
    int Compare(const char* toBeat, const char* play) { return judge.ComparePlays(&pool.Set(toBeat), &pool.Set(play)); }

    CardPool pool;
    CCardTypeJudge judge;
};

TEST_F(CardTypeTest, GroupsAndRocket) {
    Expect({{"7", 1, 7},
            {"bj", 1, 17},
            {"9 9", 2, 9},
            {"2 2 2", 3, 15},
            {"5 5 5 5", 4, 5},
            {"sj bj", 5, 17},
            {"9 10", 0, -1},
            {"sj 2", 0, -1},
            {"bj 3", 0, -1},
            {"6 6 7", 0, -1},
            {"6 6 6 7", 9, 6}});
}

TEST_F(CardTypeTest, Runs) {
    Expect({{"3 4 5 6 7", 6, 7},
            {"10 J Q K A", 6, 14},
            {"3 4 5 6 7 8 9 10 J Q K A", 6, 14},
            {"J Q K A 2", 0, -1},
            {"3 4 5 6", 0, -1},
            {"3 4 5 6 8", 0, -1},
            {"5 5 6 6", 0, -1},
            {"5 5 6 6 7 7", 7, 7},
            {"Q Q K K A A", 7, 14},
            {"K K A A 2 2", 0, -1},
            {"5 5 6 6 8 8", 0, -1},
            {"5 5 5 6 7 7", 0, -1},
            {"3 3 3 4 4 4", 8, 4},
            {"K K K A A A", 8, 14},
            {"A A A 2 2 2", 0, -1},
            {"3 3 3 4 4 4 5 5 5 6 6 6", 8, 6}});
}

TEST_F(CardTypeTest, FourWithWings) {
    Expect({{"4 4 4 4 5 6", 11, 4},
            {"4 4 4 4 5 5", 11, 4},
            {"4 4 4 4 sj bj", 11, 4},
            {"4 4 4 4 5 5 7 7", 12, 4},
            {"3 3 3 3 4 4 4 4", 12, 3},
            {"9 9 9 9 3 3 3 3", 12, 3},
            {"4 4 4 4 5 5 5 7", 9, 5},  // 444 555 with the fourth 4 and the 7
            {"4 4 4 4 5 6 7 8", 0, -1}});
}

TEST_F(CardTypeTest, TriplesWithWings) {
    Expect({{"3 3 3 4", 9, 3},
            {"3 3 3 4 4 4 5 5", 9, 4},
            {"3 3 3 4 4 4 5 6", 9, 4},
            {"3 3 3 4 4 4 sj bj", 9, 4},
            {"3 3 3 4 4", 10, 3},
            {"3 3 3 4 4 4 5 5 6 6", 10, 4},
            {"3 3 3 4 4 4 5 5 5 7 7 7", 9, 5},
            {"2 2 2 A A A 3 4", 0, -1},
            {"3 3 3 5 5 5 7 8", 0, -1},
            {"3 3 3 4 4 4 5 5 5", 8, 5}});
}

// A wing type holds when any play of that type the finder offers from the
// set uses every card, not only the first one.
TEST_F(CardTypeTest, WingTypeFromAnyFullPlayOfTheFinder) {
    Expect({{"3 3 3 3 4 4 4 5 5 5 7 8", 9, 5}, {"4 4 4 4 5 5 5 6 6 6 7 8", 9, 6}});
}

TEST_F(CardTypeTest, EmptyNullAndStaleKeys) {
    EXPECT_EQ(judge.GetCardType(nullptr), 0);

    CCardSet empty;
    empty.SetType(4);
    empty.SetKey(9);
    EXPECT_EQ(judge.GetCardType(&empty), 0);
    EXPECT_EQ(empty.GetType(), 0);
    EXPECT_EQ(empty.GetKey(), -1);

    // A set that was a play keeps no key once it no longer is one.
    CCardSet& s = pool.Set("9 9");
    EXPECT_EQ(judge.GetCardType(&s), 2);
    s.AddCard(*pool.Set("3").CardsBegin());
    EXPECT_EQ(judge.GetCardType(&s), 0);
    EXPECT_EQ(s.GetKey(), -1);
}

TEST_F(CardTypeTest, ComparisonMatrix) {
    // toBeat, play, result
    EXPECT_EQ(Compare("8 8", "8 8"), 2) << "equal keys do not beat";
    EXPECT_EQ(Compare("8 8", "9 9"), 1);
    EXPECT_EQ(Compare("9 9", "8 8"), 2);
    EXPECT_EQ(Compare("3 4 5 6 7", "4 5 6 7 8 9"), 0) << "sizes differ";
    EXPECT_EQ(Compare("3 4 5 6 7", "4 5 6 7 8"), 1);
    EXPECT_EQ(Compare("5 5 5 5", "7"), 0) << "a single against a bomb";
    EXPECT_EQ(Compare("7 7", "5 5 5 5"), 1);
    EXPECT_EQ(Compare("5 5 5 5", "6 6 6 6"), 1);
    EXPECT_EQ(Compare("6 6 6 6", "5 5 5 5"), 2);
    EXPECT_EQ(Compare("6 6 6 6", "sj bj"), 1);
    EXPECT_EQ(Compare("sj bj", "2 2 2 2"), 2);
    EXPECT_EQ(Compare("sj bj", "3"), 2);
    EXPECT_EQ(Compare("3", "sj bj"), 1);
    EXPECT_EQ(Compare("3 3 3 4", "5 5"), 0) << "kinds differ";
    EXPECT_EQ(Compare("3 3 3 4", "5 5 5 3"), 1);
    EXPECT_EQ(Compare("9 9 9 9 3 4", "8 8 8 8 5 5"), 2);
    EXPECT_EQ(Compare("9 10", "5"), 0) << "invalid play to beat";
    EXPECT_EQ(Compare("5", "9 10"), 0) << "invalid new play";
    EXPECT_EQ(judge.ComparePlays(nullptr, &pool.Set("5")), 0);
    EXPECT_EQ(CCardTypeJudge::CompareClassified(1, 1, 5, 1, 1, 6), 1);
}

TEST_F(CardTypeTest, ComparisonReclassifiesBothSets) {
    CCardSet& toBeat = pool.Set("8 8");
    CCardSet& play = pool.Set("J J");
    toBeat.SetType(1);
    toBeat.SetKey(99);
    play.SetType(0);
    EXPECT_EQ(judge.ComparePlays(&toBeat, &play), 1);
    EXPECT_EQ(Typed(toBeat), "t2 k8: 8 8");
    EXPECT_EQ(Typed(play), "t2 k11: J J");
}

}  // namespace

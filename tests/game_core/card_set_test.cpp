#include <gtest/gtest.h>

#include "tests/game_core/CardsForTest.h"

namespace {

std::string Suits(const CCardSet& set) {
    std::string s;
    for (auto c = set.CardsBegin(); c != set.CardsEnd(); ++c) s += std::to_string((*c)->GetSuit());
    return s;
}

std::string Marks(const CCardSet& set) {
    std::string s;
    for (auto c = set.CardsBegin(); c != set.CardsEnd(); ++c) s += std::to_string((*c)->GetRunMark());
    return s;
}

TEST(CardSetGrouping, GroupsBySizeThenNumberAndSuitsHighFirst) {
    CardPool pool;
    EXPECT_EQ(Numbers(pool.Set("5 K 9 5 9 9")), "9 9 9 5 5 K");
    EXPECT_EQ(Numbers(pool.Set("3 A 7")), "A 7 3");
    EXPECT_EQ(Numbers(pool.Set("4 4 A")), "4 4 A");
    EXPECT_EQ(Numbers(pool.Set("sj 2 3 bj 3 3 3")), "3 3 3 3 bj sj 2");

    CCardSet& s = pool.Set("8/1 8/3 8/0 J/2");
    EXPECT_EQ(Suits(s), "3102");
    EXPECT_EQ(s.GetCardCount(), 4);
    EXPECT_EQ(s.GetGroupCount(), 2);
    EXPECT_EQ(CCardSet::GroupNumber(*s.GroupsBegin()), 8);
}

TEST(CardSetGrouping, SameCardIsKeptOnceAndRemovalUpdatesGroups) {
    CardPool pool;
    CCardSet& s = pool.Set("7/1 7/2 9");
    CCard twin(7, 1);  // another object, same card
    s.AddCard(&twin);
    s.AddCard(nullptr);
    EXPECT_EQ(Numbers(s), "7 7 9");

    CCard absent(10, 0);
    s.RemoveCard(&absent);
    s.RemoveCard(nullptr);
    EXPECT_EQ(Numbers(s), "7 7 9");

    s.RemoveCard(&twin);  // removes the set's own 7 of suit 1
    EXPECT_EQ(Numbers(s), "9 7");
    CCard nine(9, 0);
    s.RemoveCard(&nine);
    EXPECT_EQ(s.GetGroupCount(), 1);
    EXPECT_EQ(s.FindGroupByNumber(9), nullptr);
    EXPECT_EQ(s.FindCard(&twin), s.CardsEnd()) << "7 of suit 1 is gone";
    ASSERT_EQ(s.GetCardCount(), 1);
    EXPECT_EQ((*s.CardsBegin())->GetSuit(), 2);
}

TEST(CardSetGrouping, EmptySetStartsUnclassified) {
    CCardSet s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.GetType(), 0);
    EXPECT_EQ(s.GetKey(), -1);
    EXPECT_EQ(s.NextGroupAbove(-1), nullptr);
}

TEST(CardSetGrouping, NextGroupAboveWalksNumbersUpward) {
    CardPool pool;
    CCardSet& s = pool.Set("K 4 4 4 9 9 bj 3");
    std::vector<int> walk;
    for (const CardGroup* g = s.NextGroupAbove(-1); g; g = s.NextGroupAbove(CCardSet::GroupNumber(*g)))
        walk.push_back(CCardSet::GroupNumber(*g));
    EXPECT_EQ(walk, (std::vector<int>{3, 4, 9, 13, 17}));
    EXPECT_EQ(CCardSet::GroupNumber(*s.NextGroupAbove(5)), 9);
    EXPECT_EQ(s.NextGroupAbove(17), nullptr);
    CCard k(13, 0);
    EXPECT_EQ(s.FindGroupOfCard(&k), s.FindGroupByNumber(13));
}

TEST(CardSetCopying, ClearKeepsTypeAndKeyCopyMergesAndOverwrites) {
    CardPool pool;
    CCardSet& a = pool.Set("5 5");
    a.SetType(2);
    a.SetKey(5);
    CCardSet& b = pool.Set("5/3 Q");
    b.SetType(7);
    b.SetKey(9);
    a.CopyTo(&b);
    EXPECT_EQ(Numbers(b), "5 5 5 Q");
    EXPECT_EQ(b.GetType(), 2);
    EXPECT_EQ(b.GetKey(), 5);

    CCardSet exact;
    a.CopyTo(&exact);
    EXPECT_EQ(Numbers(exact), "5 5");
    EXPECT_EQ(*exact.CardsBegin(), *a.CardsBegin()) << "copies refer to the same card objects";

    b.AddCards(b);
    b.AddCards(pool.Set("Q/3 3"));
    EXPECT_EQ(Numbers(b), "5 5 5 Q Q 3");

    b.Clear();
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.GetGroupCount(), 0);
    EXPECT_EQ(b.GetType(), 2);
    EXPECT_EQ(b.GetKey(), 5);
}

TEST(CardSetDisplay, SortByNumberAndByRunReorderOnlyTheCardList) {
    CardPool pool;
    CCardSet& s = pool.Set("9 9 K 3 3 3 bj sj 2 2");
    s.SortByNumber();
    EXPECT_EQ(Numbers(s), "bj sj 2 2 K 9 9 3 3 3");
    s.MarkRuns();
    EXPECT_EQ(Marks(s), "5522122333");
    s.SortByRun();
    EXPECT_EQ(Numbers(s), "bj sj 3 3 3 2 2 9 9 K");
    s.SelectAll();
    for (auto c = s.CardsBegin(); c != s.CardsEnd(); ++c) EXPECT_EQ((*c)->IsSelected(), 1);
    s.UnselectAll();
    for (auto c = s.CardsBegin(); c != s.CardsEnd(); ++c) EXPECT_EQ((*c)->IsSelected(), 0);

    CCard extra(10, 0);
    s.AddCard(&extra);
    EXPECT_EQ(Numbers(s), "3 3 3 2 2 9 9 bj sj K 10") << "a change restores the grouped order";
}

TEST(CardSetDisplay, MarkRunsGivesJokersFiveOnlyTogether) {
    CardPool pool;
    CCardSet& both = pool.Set("bj sj 2 2 9");
    both.MarkRuns();
    EXPECT_EQ(Marks(both), "55221");

    CCardSet& one = pool.Set("bj 2 2 2 2 9");
    one.MarkRuns();
    EXPECT_EQ(Numbers(one), "bj 2 2 2 2 9");
    EXPECT_EQ(Marks(one), "144441");

    // Marks left by an earlier call are reset.
    CCardSet& later = pool.Set("2 2/3");
    later.MarkRuns();
    EXPECT_EQ(Marks(later), "22");
    later.RemoveCard(*later.CardsBegin());
    later.MarkRuns();
    EXPECT_EQ(Marks(later), "1");
}

TEST(CardSetLists, SortIsStableAndListHelpersOwnNothingButTheyFree) {
    // More than 32 sets: the order among equally large sets must still hold.
    CardPool pool;
    std::vector<CCardSet*> sets;
    for (int i = 0; i < 60; ++i) {
        CCardSet* s = new CCardSet;
        pool.Set(i % 3 == 0 ? "3 4 5" : i % 3 == 1 ? "6" : "7 8").CopyTo(s);
        s->SetKey(i);
        sets.push_back(s);
    }
    SortCardSets(sets, CompareCardSetsBySize);
    int lastCount = 99, lastKey = -1;
    for (CCardSet* s : sets) {
        if (s->GetCardCount() != lastCount) {
            EXPECT_LT(s->GetCardCount(), lastCount);
            lastCount = s->GetCardCount();
            lastKey = -1;
        }
        EXPECT_GT(s->GetKey(), lastKey) << "equal sets keep their order";
        lastKey = s->GetKey();
    }
    EXPECT_EQ(sets.front()->GetCardCount(), 3);
    EXPECT_EQ(sets.back()->GetCardCount(), 1);

    CCardSet* middle = sets[30];
    RemoveCardSetFromVector(sets, middle);
    EXPECT_EQ(sets.size(), 59u);
    RemoveCardSetFromVector(sets, middle);
    EXPECT_EQ(sets.size(), 59u);
    delete middle;
    ClearCardSetVector(sets);  // the sanitizers catch a leak or a double free
    EXPECT_TRUE(sets.empty());
}

}  // namespace

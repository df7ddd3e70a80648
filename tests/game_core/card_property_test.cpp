// Properties over seeded random deals: every play the finder offers comes
// out of the hand and the play button would take it.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "game/core/CardTypeJudge.h"
#include "tests/game_core/CardsForTest.h"

namespace {

const int kDeals = 300;

void Shuffle(std::vector<CCard*>& cards, std::mt19937& rng) {
    for (size_t i = cards.size() - 1; i > 0; --i) std::swap(cards[i], cards[rng() % (i + 1)]);
}

// Either an ordinary deal (hands[0] is the landlord's 20 cards), or a crowded
// one: three 17-card hands out of two decks' worth of the numbers 3..9, full
// of triples, fours, runs and planes.
struct Deal {
    Deck deck, second;
    CCardSet hands[3];

    Deal(unsigned seed, bool crowded) {
        std::mt19937 rng(seed);
        std::vector<CCard*> order;
        if (!crowded) {
            for (CCard& c : deck.cards) order.push_back(&c);
            Shuffle(order, rng);
            for (int i = 0; i < 54; ++i) hands[i < 17 || i >= 51 ? 0 : i < 34 ? 1 : 2].AddCard(order[i]);
            return;
        }
        for (int h = 0; h < 3; ++h) {
            order.clear();
            for (CCard& c : (h == 0 ? deck : second).cards)
                if (c.GetNumber() <= 9) order.push_back(&c);
            Shuffle(order, rng);
            for (int i = 0; i < 17; ++i) hands[h].AddCard(order[i]);
        }
    }
};

bool OutOfHand(const CCardSet& play, const CCardSet& hand) {
    for (auto c = play.CardsBegin(); c != play.CardsEnd(); ++c) {
        auto at = hand.FindCard(*c);
        if (at == hand.CardsEnd() || *at != *c) return false;
    }
    return true;
}

std::vector<std::unique_ptr<CCardSet>> Collect(CCardFinder& finder) {
    std::vector<std::unique_ptr<CCardSet>> plays;
    for (;;) {
        std::unique_ptr<CCardSet> play(new CCardSet);
        finder.NextPlay(play.get());
        if (play->IsEmpty()) return plays;
        plays.push_back(std::move(play));
    }
}

// A play of the given type out of another hand, picked at random.
bool PickPlayToBeat(CCardFinder& finder, CCardSet& from, int type, std::mt19937& rng, CCardSet* out) {
    finder.FindPlays(nullptr, &from, type);
    auto plays = Collect(finder);
    std::vector<CCardSet*> ofType;
    for (auto& p : plays)
        if (p->GetType() == type) ofType.push_back(p.get());
    if (ofType.empty()) return false;
    out->Clear();
    ofType[rng() % ofType.size()]->CopyTo(out);
    return true;
}

TEST(CardFinderProperty, LeadsComeOutOfTheHandAndAreValid) {
    CCardTypeJudge judge;
    CCardFinder finder;
    for (unsigned seed = 1; seed <= 2 * kDeals; ++seed) {
        Deal deal(seed, seed > kDeals);
        for (CCardSet& hand : deal.hands) {
            finder.FindPlays(nullptr, &hand, 0);
            auto plays = Collect(finder);
            ASSERT_FALSE(plays.empty()) << "seed " << seed;
            for (auto& play : plays) {
                ASSERT_TRUE(OutOfHand(*play, hand)) << "seed " << seed << ": " << Typed(*play);
                CCardSet probe;
                play->CopyTo(&probe);
                EXPECT_NE(judge.GetCardType(&probe), 0) << "seed " << seed << ": " << Typed(*play);
            }
        }
    }
}

TEST(CardFinderProperty, AnswersBeatThePlayTheyAnswer) {
    CCardTypeJudge judge;
    CCardFinder finder;
    int searches = 0;
    for (unsigned seed = 1; seed <= 2 * kDeals; ++seed) {
        Deal deal(seed, seed > kDeals);
        std::mt19937 rng(seed * 7919u);
        for (int h = 0; h < 3; ++h) {
            CCardSet& hand = deal.hands[h];
            CCardSet& other = deal.hands[(h + 1 + rng() % 2) % 3];
            for (int type = 1; type <= 12; ++type) {
                CCardSet toBeat;
                if (!PickPlayToBeat(finder, other, type, rng, &toBeat)) continue;
                const int beatType = judge.GetCardType(&toBeat);
                const int beatKey = toBeat.GetKey();
                if (beatType == 0) continue;
                finder.FindPlays(&toBeat, &hand, 0);
                auto plays = Collect(finder);
                ++searches;
                bool rocket = false;
                std::set<int> groupKeys;
                for (auto& play : plays) {
                    const std::string text = Typed(*play);
                    ASSERT_TRUE(OutOfHand(*play, hand)) << "seed " << seed << ": " << text;
                    if (play->GetType() == kTypeRocket) rocket = true;
                    if (play->GetType() == beatType) groupKeys.insert(play->GetKey());
                    CCardSet probe, against;
                    play->CopyTo(&probe);
                    toBeat.CopyTo(&against);
                    EXPECT_EQ(judge.ComparePlays(&against, &probe), 1)
                        << "seed " << seed << ": " << text << " against " << Typed(toBeat);
                }
                EXPECT_EQ(toBeat.GetType(), beatType);
                EXPECT_EQ(toBeat.GetKey(), beatKey);

                // Whatever can answer by the simple rules is offered.
                const bool handHasRocket = hand.FindGroupByNumber(16) && hand.FindGroupByNumber(17);
                EXPECT_EQ(rocket, handHasRocket && beatType != kTypeRocket) << "seed " << seed;
                if (beatType <= kTypeBomb) {
                    std::set<int> expected;
                    for (auto g = hand.GroupsBegin(); g != hand.GroupsEnd(); ++g) {
                        const int n = CCardSet::GroupNumber(*g);
                        const int size = static_cast<int>(g->size());
                        if (n > beatKey && (beatType == kTypeBomb ? size == 4 : size >= beatType)) expected.insert(n);
                    }
                    EXPECT_EQ(groupKeys, expected) << "seed " << seed << " against " << Typed(toBeat);
                }
            }
        }
    }
    EXPECT_GT(searches, kDeals * 2 * 3 * 6);
}

// The plays with wings are what the finder makes of the set itself: the first
// of these types, in the judge's order, whose search over the set offers a
// play of every card, with that play's key.
TEST(CardFinderProperty, PlaysWithWingsAreWhatTheFinderMakesOfThem) {
    CCardTypeJudge judge;
    CCardFinder finder;
    const int kinds[][2] = {{kTypeFourTwoSingles, 6}, {kTypeFourTwoPairs, 8}, {kTypeTriplesSingleWings, 4},
                            {kTypeTriplesPairWings, 5}};
    int withWings = 0;
    for (unsigned seed = kDeals + 1; seed <= 2 * kDeals; ++seed) {
        Deal deal(seed, true);
        std::mt19937 rng(seed);
        std::vector<CCard*> cards(deal.hands[0].CardsBegin(), deal.hands[0].CardsEnd());
        for (int k = 0; k < 40; ++k) {
            Shuffle(cards, rng);
            CCardSet set;
            const int sizes[] = {4, 5, 6, 8, 8, 10, 12};
            set.AddCards(std::vector<CCard*>(cards.begin(), cards.begin() + sizes[rng() % 7]));
            const int type = judge.GetCardType(&set);
            if (type >= kTypeSingle && type <= kTypeTripleRun) continue;
            int expected = kTypeNone, key = -1;
            for (const auto& kind : kinds) {
                if (set.GetCardCount() % kind[1] != 0) continue;
                finder.FindPlays(nullptr, &set, kind[0]);
                for (auto& play : Collect(finder))
                    if (expected == kTypeNone && play->GetType() == kind[0] && play->GetCardCount() == set.GetCardCount())
                        expected = kind[0], key = play->GetKey();
                if (expected != kTypeNone) break;
            }
            EXPECT_EQ(type, expected) << "seed " << seed << ": " << Typed(set);
            EXPECT_EQ(set.GetKey(), key) << "seed " << seed << ": " << Typed(set);
            if (expected != kTypeNone) ++withWings;
        }
    }
    EXPECT_GT(withWings, kDeals / 3);
}

}  // namespace

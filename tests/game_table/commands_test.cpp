// The player's commands handed to the game: their gates, hints that cycle,
// passes, sorting, the next pair, auto-play and its cancel.
#include <gtest/gtest.h>

#include "game/core/table/SeatFields.h"
#include "tests/game_table/TableRig.h"

using namespace table_test;

namespace {

CCard* CardAt(TableRig& h, int i) { return *(h.State().ownHand->CardsBegin() + i); }
std::vector<int> Selected(TableRig& h) {
    std::vector<int> out;
    for (int i = 0; i < h.State().ownHand->GetCardCount(); ++i)
        if (CardAt(h, i)->IsSelected()) out.push_back(i);
    return out;
}
std::vector<int> HandNumbers(TableRig& h) {
    std::vector<int> out;
    for (int i = 0; i < h.State().ownHand->GetCardCount(); ++i) out.push_back(CardAt(h, i)->GetNumber());
    return out;
}
std::vector<int> SelectedNumbers(TableRig& h) {
    std::vector<int> out;
    for (int i : Selected(h)) out.push_back(CardAt(h, i)->GetNumber());
    return out;
}
// carol leads, and it is alice's turn.
void AliceToBeat(TableRig& h, const std::string& cards) {
    h.Feed(Play("carol", cards));
    h.Feed(Turn("BeginChuPai", "alice", 20));
}

TEST(HandCommands, GatesHintsThatCycleAndPasses) {
    TableRig h;
    h.Deal();
    h.session.requests.clear();
    CardAt(h, 0)->SetSelected(1);
    h.game.OnCmdPlay();
    h.game.OnCmdPass();
    h.game.OnCmdHint();
    EXPECT_TRUE(h.session.requests.empty()) << "out of phase 12 nothing is played";
    EXPECT_TRUE(h.view.boxes.empty());

    AliceToBeat(h, Card(4, 1));
    h.view.faces[V::kPlay].enabled = false;
    h.game.OnCmdPlay();
    EXPECT_TRUE(h.session.requests.empty()) << "nor with the button disabled";
    h.State().ownHand->UnselectAll();
    std::vector<std::vector<int>> hints;
    for (int i = 0; i < 30; ++i) {
        h.game.OnCmdHint();
        hints.push_back(SelectedNumbers(h));
        if (hints.back().empty()) break;
    }
    ASSERT_GE(hints.size(), 3u);
    ASSERT_EQ(hints[0].size(), 1u);
    EXPECT_GT(hints[0][0], 4) << "a single that beats the 4";
    EXPECT_NE(hints[1], hints[0]) << "the next press shows the next play";
    EXPECT_TRUE(hints.back().empty()) << "after the last play the hint ends";
    h.game.OnCmdHint();
    EXPECT_EQ(SelectedNumbers(h), hints[0]) << "and starts again";
    EXPECT_TRUE(h.session.requests.empty());

    h.game.OnCmdPass();
    ASSERT_EQ(h.Sent("ChuPai"), 1);
    EXPECT_EQ(h.session.requests.back().find("<card"), std::string::npos) << "a pass carries no card";
    EXPECT_TRUE(Selected(h).empty());
    for (V::Button b : {V::kPlay, V::kPass, V::kHint}) EXPECT_FALSE(h.view.Shown(b)) << b;

    h.Feed(Play("alice"));
    h.Feed(Play("bob"));
    AliceToBeat(h, Card(16, 0) + Card(17, 0));
    EXPECT_TRUE(h.view.Shown(V::kPlay) && !h.view.Enabled(V::kPlay)) << "nothing beats the rocket";
    EXPECT_TRUE(h.view.Enabled(V::kPass));
    h.game.OnCmdHint();
    EXPECT_EQ(h.Sent("ChuPai"), 2) << "the first hint passes";
}

TEST(HandCommands, TheFirstHintReplacesCardsRaisedBefore) {
    TableRig h;
    h.Deal();
    AliceToBeat(h, Card(4, 1));
    for (int i : {0, 1}) CardAt(h, i)->SetSelected(1);  // raised as a landlord's bottom cards are
    h.game.OnCmdHint();
    EXPECT_EQ(Selected(h).size(), 1u) << "only the hint's single";
    h.game.OnCmdPlay();
    EXPECT_EQ(h.Sent("ChuPai"), 1);
    EXPECT_TRUE(h.view.boxes.empty());
}

// Bids and doubling by button are played through in the client test; the
// sound switch, with its setting, and the disabled auto-play button in the
// hand test.
TEST(HandCommands, SortPairsAndAutoPlay) {
    TableRig h;
    h.Deal();
    h.session.requests.clear();
    // Dealt: four each of 3 to 6, and an 8.
    h.game.OnSort();
    EXPECT_EQ(h.State().sortMode, 1);
    EXPECT_EQ(HandNumbers(h), std::vector<int>({6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3, 3, 3, 8}))
        << "by runs: the fours first, the single last";
    h.game.OnSort();
    EXPECT_EQ(h.State().sortMode, 0);
    EXPECT_EQ(HandNumbers(h), std::vector<int>({8, 6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3, 3, 3}))
        << "by number, highest first";

    CCardSet* hand = h.State().ownHand;
    hand->Clear();
    for (auto c : {std::make_pair(3, 0), {3, 1}, {5, 0}, {5, 2}, {7, 0}})
        hand->AddCard(h.State().Card(c.first, c.second));
    std::vector<std::vector<int>> pairs;
    for (int i = 0; i < 3; ++i) {
        h.game.SelectNextPair();
        pairs.push_back(SelectedNumbers(h));
    }
    EXPECT_EQ(pairs, std::vector<std::vector<int>>({{5, 5}, {3, 3}, {5, 5}})) << "highest first, then round";

    h.Deal();
    h.session.requests.clear();
    AliceToBeat(h, Card(4, 1));
    h.game.OnAutoPlay();
    h.game.OnAutoPlay();
    ASSERT_EQ(h.session.requests.size(), 2u) << "the second request waits for the answer";
    EXPECT_NE(h.session.requests[0].find("\"ChuPai\""), std::string::npos)
        << "on its own turn the hint is played first";
    EXPECT_NE(h.session.requests[0].find("<card"), std::string::npos) << h.session.requests[0];
    EXPECT_NE(h.session.requests[1].find("\"AutoPlay\""), std::string::npos);
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    EXPECT_EQ(h.State().autoRequest, 0) << "answered";
    h.game.OnCancelAutoPlay();
    EXPECT_EQ(h.Sent("CancelAutoPlay"), 1);
}

}  // namespace

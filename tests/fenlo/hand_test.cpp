// The player's side of the table in process: cards picked with posted mouse
// messages at their places, the commands as clicks, their gates, and the
// ways out of the table.
#include <gtest/gtest.h>

#include "game/ui/SeatFields.h"
#include "tests/fenlo/TableHarness.h"

using namespace fenlo_test;

namespace {

std::string Card(int number, int suit) {
    return "<card number=\"" + std::to_string(number) + "\" suit=\"" + std::to_string(suit) + "\"/>";
}
std::string Turn(const char* name, const char* who) {
    return Doc(name, std::string("<player id=\"") + who + "\" remainTime=\"20\"/>");
}
std::string Play(const char* who, const std::string& cards = "") {
    return Doc("ChuPai", std::string("<player id=\"") + who + "\"/>" + cards);
}

// Where the player points at own card i: left in its strip, in the band that
// raised and lowered cards share.
POINT At(TableHarness& h, int i) {
    RECT client;
    GetClientRect(h.table->m_hWnd, &client);
    const RECT r = CPavlenDlg::CardRect(i, h.State().ownHand->GetCardCount(), false, client.right, client.bottom);
    return {r.left + 9, client.bottom - 150};
}
CCard* CardAt(TableHarness& h, int i) { return *(h.State().ownHand->CardsBegin() + i); }
// Index of the k-th own card of a number.
int Index(TableHarness& h, int number, int k = 0) {
    for (int i = 0; i < h.State().ownHand->GetCardCount(); ++i)
        if (CardAt(h, i)->GetNumber() == number && k-- == 0) return i;
    return -1;
}
std::vector<int> Selected(TableHarness& h) {
    std::vector<int> out;
    for (int i = 0; i < h.State().ownHand->GetCardCount(); ++i)
        if (CardAt(h, i)->IsSelected()) out.push_back(i);
    return out;
}
std::vector<int> HandNumbers(TableHarness& h) {
    std::vector<int> out;
    for (int i = 0; i < h.State().ownHand->GetCardCount(); ++i) out.push_back(CardAt(h, i)->GetNumber());
    return out;
}
std::vector<int> SelectedNumbers(TableHarness& h) {
    std::vector<int> out;
    for (int i : Selected(h)) out.push_back(CardAt(h, i)->GetNumber());
    return out;
}
void Press(TableHarness& h, int i, UINT message = WM_LBUTTONDOWN) {
    const POINT p = At(h, i);
    h.Mouse(message, p.x, p.y);
}
void Release(TableHarness& h) { h.Mouse(WM_LBUTTONUP, 0, 0); }
void ClickCards(TableHarness& h, std::initializer_list<int> cards) {
    for (int i : cards) {
        Press(h, i);
        Release(h);
    }
}
// carol leads a single, and it is alice's turn.
void AliceToBeat(TableHarness& h, const std::string& cards) {
    h.Feed(Play("carol", cards));
    h.Feed(Turn("BeginChuPai", "alice"));
}
int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(HandMouse, ClicksDragsAndTheDoubleClickPickAndClearCards) {
    TableHarness h;
    h.Deal();
    ASSERT_EQ(h.State().ownHand->GetCardCount(), 17);
    ClickCards(h, {3});
    EXPECT_EQ(Selected(h), std::vector<int>({3}));
    ClickCards(h, {3});
    EXPECT_TRUE(Selected(h).empty()) << "a second click lowers it";

    Press(h, 3);
    for (int i : {6, 4, 6, 5}) Press(h, i, WM_MOUSEMOVE);
    Release(h);
    EXPECT_EQ(Selected(h), std::vector<int>({3, 4, 5, 6})) << "each card passed over toggles once";
    Press(h, 6);
    Press(h, 2, WM_MOUSEMOVE);
    Release(h);
    EXPECT_EQ(Selected(h), std::vector<int>({2})) << "dragging back lowers 6..3 and raises 2";

    // The right neighbour covers the left part of a card but for its first 18 pixels.
    const POINT p = At(h, 8);
    h.Mouse(WM_LBUTTONDOWN, p.x + 21, p.y);
    Release(h);
    EXPECT_EQ(Selected(h), std::vector<int>({2, 9}));

    h.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
    EXPECT_TRUE(Selected(h).empty());
    EXPECT_EQ(h.table->captionDrags, 0);
    h.Mouse(WM_LBUTTONDOWN, 5, 5);
    Release(h);
    EXPECT_EQ(h.table->captionDrags, 1) << "a press on the free table drags the window";
}

TEST(HandMouse, PlaysAreCheckedAgainstThePlayToBeat) {
    TableHarness h;
    h.Deal();
    AliceToBeat(h, Card(4, 1));
    ASSERT_EQ(h.State().phase, 12);
    h.requests.clear();
    h.Click(IDC_PLAY);
    EXPECT_TRUE(h.boxes.empty()) << "nothing selected, nothing said";

    ClickCards(h, {Index(h, 3)});
    h.Click(IDC_PLAY);
    EXPECT_EQ(h.boxes.back(), "您出的牌不可以\n压住上家的牌\n,请重新选择后再出牌|提示|0|2");
    EXPECT_EQ(Selected(h).size(), 1u) << "the selection stays";
    h.Mouse(WM_LBUTTONDBLCLK, 0, 0);
    ClickCards(h, {Index(h, 5), Index(h, 5, 1)});
    h.Click(IDC_PLAY);
    EXPECT_EQ(h.boxes.back(), "您出的牌型和上家\n的不匹配,\n请重新选择出牌|提示|0|2");
    h.Mouse(WM_LBUTTONDBLCLK, 0, 0);
    ClickCards(h, {Index(h, 3), Index(h, 5)});
    h.Click(IDC_PLAY);
    EXPECT_EQ(h.boxes.back(), "不是可以出的牌型\n，请重新选择出牌|提示|0|2");
    EXPECT_EQ(h.boxes.size(), 3u);
    EXPECT_EQ(h.Sent("ChuPai"), 0);

    h.Mouse(WM_LBUTTONDBLCLK, 0, 0);
    Press(h, Index(h, 6));
    Press(h, Index(h, 6, 3), WM_MOUSEMOVE);
    Release(h);
    ASSERT_EQ(SelectedNumbers(h), std::vector<int>({6, 6, 6, 6}));
    const POINT p = At(h, 0);
    h.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    ASSERT_EQ(h.Sent("ChuPai"), 1) << "a bomb beats a single; the right button plays";
    EXPECT_EQ(Count(h.requests.back(), "number=\"6\""), 4) << h.requests.back();
    EXPECT_FALSE(h.table->Visible(IDC_PLAY));
}

TEST(HandCommands, GatesHintsThatCycleAndPasses) {
    TableHarness h;
    h.Deal();
    h.requests.clear();
    ClickCards(h, {0});
    for (int id : {IDC_PLAY, IDC_PASS, IDC_HINT}) h.Click(id);
    EXPECT_TRUE(h.requests.empty()) << "out of phase 12 nothing is played";
    EXPECT_TRUE(h.boxes.empty());

    AliceToBeat(h, Card(4, 1));
    h.Mouse(WM_LBUTTONDBLCLK, 0, 0);
    std::vector<std::vector<int>> hints;
    for (int i = 0; i < 30; ++i) {
        h.Click(IDC_HINT);
        hints.push_back(SelectedNumbers(h));
        if (hints.back().empty()) break;
    }
    ASSERT_GE(hints.size(), 3u);
    ASSERT_EQ(hints[0].size(), 1u);
    EXPECT_GT(hints[0][0], 4) << "a single that beats the 4";
    EXPECT_NE(hints[1], hints[0]) << "the next press shows the next play";
    EXPECT_TRUE(hints.back().empty()) << "after the last play the hint ends";
    h.Click(IDC_HINT);
    EXPECT_EQ(SelectedNumbers(h), hints[0]) << "and starts again";
    EXPECT_TRUE(h.requests.empty());

    h.Click(IDC_PASS);
    ASSERT_EQ(h.Sent("ChuPai"), 1);
    EXPECT_EQ(h.requests.back().find("<card"), std::string::npos) << "a pass carries no card";
    EXPECT_TRUE(Selected(h).empty());
    for (int id : {IDC_PLAY, IDC_PASS, IDC_HINT}) EXPECT_FALSE(h.table->Visible(id)) << id;

    h.Feed(Play("alice"));
    h.Feed(Play("bob"));
    AliceToBeat(h, Card(16, 0) + Card(17, 0));
    h.Click(IDC_HINT);
    EXPECT_EQ(h.Sent("ChuPai"), 2) << "nothing beats the rocket: the first hint passes";
}

TEST(HandCommands, TheFirstHintReplacesCardsRaisedBefore) {
    TableHarness h;
    h.Deal();
    AliceToBeat(h, Card(4, 1));
    for (int i : {0, 1}) CardAt(h, i)->SetSelected(1);  // raised as a landlord's bottom cards are
    h.Click(IDC_HINT);
    EXPECT_EQ(Selected(h).size(), 1u) << "only the hint's single";
    h.Click(IDC_PLAY);
    EXPECT_EQ(h.Sent("ChuPai"), 1);
    EXPECT_TRUE(h.boxes.empty());
}

// Bids and doubling by button are played through in the client test.
TEST(HandCommands, SortPairsSoundAndAutoPlay) {
    TableHarness h;
    h.Deal();
    h.requests.clear();
    // Dealt: four each of 3 to 6, and an 8.
    h.Click(IDC_SORT);
    EXPECT_EQ(h.State().sortMode, 1);
    EXPECT_EQ(HandNumbers(h), std::vector<int>({6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3, 3, 3, 8}))
        << "by runs: the fours first, the single last";
    h.Click(IDC_SORT);
    EXPECT_EQ(h.State().sortMode, 0);
    EXPECT_EQ(HandNumbers(h), std::vector<int>({8, 6, 6, 6, 6, 5, 5, 5, 5, 4, 4, 4, 4, 3, 3, 3, 3}))
        << "by number, highest first";

    CCardSet* hand = h.State().ownHand;
    hand->Clear();
    for (auto c : {std::make_pair(3, 0), {3, 1}, {5, 0}, {5, 2}, {7, 0}}) hand->AddCard(h.State().Card(c.first, c.second));
    std::vector<std::vector<int>> pairs;
    for (int i = 0; i < 3; ++i) {
        h.table->SelectNextPair();
        pairs.push_back(SelectedNumbers(h));
    }
    EXPECT_EQ(pairs, std::vector<std::vector<int>>({{5, 5}, {3, 3}, {5, 5}})) << "highest first, then round";

    h.Click(IDC_SOUND_ON);
    EXPECT_EQ(h.State().soundOn, 0);
    EXPECT_TRUE(h.table->Visible(IDC_SOUND_OFF));
    const CString config = h.Session()->ConfigPath();
    EXPECT_EQ(GetPrivateProfileIntA("SYSTEM", "soundon", -1, config), 0);
    h.Click(IDC_SOUND_OFF);
    EXPECT_EQ(GetPrivateProfileIntA("SYSTEM", "soundon", -1, config), 1);
    EXPECT_TRUE(h.table->Visible(IDC_SOUND_ON));

    h.Deal();
    h.requests.clear();
    AliceToBeat(h, Card(4, 1));
    // The auto-play button stands disabled: a click on it does nothing, and
    // the command comes from the second time-out.
    EXPECT_TRUE(h.table->Visible(IDC_AUTO_PLAY) && !h.table->Enabled(IDC_AUTO_PLAY));
    h.Click(IDC_AUTO_PLAY);
    EXPECT_TRUE(h.requests.empty());
    h.table->OnAutoPlay();
    h.table->OnAutoPlay();
    ASSERT_EQ(h.requests.size(), 2u) << "the second request waits for the answer";
    EXPECT_NE(h.requests[0].find("\"ChuPai\""), std::string::npos) << "on its own turn the hint is played first";
    EXPECT_NE(h.requests[0].find("<card"), std::string::npos) << h.requests[0];
    EXPECT_NE(h.requests[1].find("\"AutoPlay\""), std::string::npos);
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    const POINT p = At(h, 0);
    h.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    EXPECT_EQ(h.requests.size(), 2u) << "the right button plays nothing in auto-play";
    h.Click(IDC_CANCEL_AUTO);
    EXPECT_EQ(h.Sent("CancelAutoPlay"), 1);
}

// Leaving at a seated desk that heard from the server (Leaving, then the
// answer) is played through in the client test.
TEST(HandLeaving, TheExitBoxOnEscCloseAndLeave) {
    for (bool autoGroup : {false, true}) {
        Lobby lobby;
        TableHarness h(autoGroup);
        EXPECT_EQ(h.table->Movie(), nullptr) << "no Flash player here: the table goes on without the movie";
        h.SeatThree();
        h.answers = {IDNO};
        h.table->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        TableHarness::Pump();
        EXPECT_EQ(h.boxes, std::vector<std::string>({"您确定退出本桌游戏吗？|斗地主|52|0"}));
        EXPECT_FALSE(h.table->Ended()) << "No keeps the table";
        if (autoGroup) h.Heard();
        h.answers = {IDYES};
        h.Click(IDC_CLOSE);
        EXPECT_TRUE(h.table->Ended()) << "before any reply, or at an auto-grouping table, quit at once";
        EXPECT_EQ(h.Sent("Leaving"), 0);
        EXPECT_EQ(lobby.Last(), -1.0);
    }
}

}  // namespace

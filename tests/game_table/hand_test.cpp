// The messages of a hand, from seating to the result and the restore after a
// reconnect, handed to the game; its ticks on a test clock.
#include <gtest/gtest.h>

#include <climits>

#include "game/core/GameMessages.h"
#include "game/core/table/HandLayout.h"
#include "game/core/table/SeatFields.h"
#include "tests/game_table/TableRig.h"
#include "tools/servers/GameVocabulary.h"

using namespace table_test;

namespace {

TEST(Table, LeavingTheResultResetsTheHandOnceAndReadiesAnAutoGroupingSeat) {
    for (int vip : {0, 1}) {
        TableRig h(true);
        h.session.vipFlag = vip;
        h.SeatThree();
        CPlayerInfo* bob = h.State().FindPlayerByName("bob");
        bob->bid = 3;
        h.game.SetPhase(15);
        h.game.SetPhase(15);
        EXPECT_EQ(bob->bid, 3) << "entering 15 twice resets nothing";
        h.State().Own()->ready = 0;
        const V::Button hand[] = {V::kCancelAuto, V::kAutoPlay, V::kSort, V::kNextPair, V::kNextTriple};
        for (V::Button b : hand) h.view.ShowButton(b, true);
        h.game.SetPhase(1);
        for (V::Button b : hand) EXPECT_FALSE(h.view.Shown(b)) << b;
        EXPECT_EQ(bob->bid, -1);
        EXPECT_EQ(h.State().turnCounter, -1);
        EXPECT_EQ(h.State().Own()->ready, vip ? 0 : 1);
        EXPECT_EQ(h.State().prevPhase, 15);
    }
}

TEST(Table, SeatingAndAPlayerLeaving) {
    TableRig h;
    h.SeatThree();
    CTableState& s = h.State();
    EXPECT_EQ(s.phase, 1);
    EXPECT_EQ(s.seated, 3);
    EXPECT_TRUE(h.view.Shown(V::kReady)) << "not auto-grouping: the player readies";
    EXPECT_EQ(s.GetNextPlayer()->GetId(), "bob");
    EXPECT_EQ(s.GetPrevPlayer()->GetId(), "carol");
    h.Feed(Doc("ReadyForPlaying", "<player id=\"alice\"/>"));
    EXPECT_FALSE(h.view.Shown(V::kReady));
    // bob leaves; a fourth player is ignored.
    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"1\"/>" + Player("alice", 0) + Player("carol", 2)));
    EXPECT_EQ(s.FindPlayerByName("bob"), nullptr);
    CDeskInfoMsg* many = new CDeskInfoMsg;
    many->playerCount = 7;
    for (int i = 0; i < 3; ++i) many->playerId[i] = std::string(1, char('x' + i));
    h.Hand(many);
    EXPECT_EQ(s.FindPlayerByName("alice"), nullptr) << "the own record is gone";
    EXPECT_EQ(s.ownHand, nullptr) << "and the own hand with it";
    h.Feed(Doc("SendRemainCard", "<player id=\"x\"/>" + Card(3, 0) + Card(4, 0) + Card(5, 0)));
    EXPECT_EQ(s.FindPlayerByName("x")->cardCount, 20);
}

TEST(Table, SeventeenCardsAfter4200msOfDealing) {
    TableRig h;
    h.SeatThree();
    h.Feed(Doc("GameStart"));
    EXPECT_EQ(h.State().phase, 2);
    EXPECT_TRUE(h.State().holdMain);
    h.Run(1475);
    EXPECT_TRUE(h.State().holdMain);
    h.Tick();
    EXPECT_FALSE(h.State().holdMain) << "the start pause is 1500 ms";
    std::string cards = "<player id=\"alice\"/>";
    for (int i = 0; i < 17; ++i) cards += Card(3 + i / 4, i % 4);
    h.Feed(Doc("SendCard", cards));
    EXPECT_EQ(h.State().phase, 4);
    h.Run(3000);
    EXPECT_EQ(h.State().FindPlayerByName("bob")->cardCount, 12) << "one card per 225 ms after 150 ms";
    h.Run(1150);
    EXPECT_TRUE(h.State().ownHand->IsEmpty());
    h.Run(100);
    EXPECT_EQ(h.State().ownHand->GetCardCount(), 17);
    EXPECT_EQ(h.State().FindPlayerByName("bob")->cardCount, 17);
    EXPECT_GT(h.Played("send_card.wav"), 10);
}

TEST(Table, WithSoundOffAStartTakesNoPause) {
    TableRig h(false, 0);
    h.SeatThree();
    h.Feed(Doc("GameStart"));
    EXPECT_EQ(h.State().phase, 1);
    EXPECT_FALSE(h.State().holdMain);
    EXPECT_TRUE(h.view.Shown(V::kSort));
}

TEST(Table, BidsContestAndTheFarmerDoubleTable) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    h.Feed(Turn("BeginJiaoFen", "alice", 15));
    EXPECT_EQ(s.phase, 5);
    EXPECT_EQ(h.game.Clock().remaining, 15000);
    EXPECT_TRUE(h.view.Enabled(V::kBid1));
    h.Feed(Doc("JiaoFen", "<player id=\"bob\" score=\"2\"/>"));
    EXPECT_EQ(h.Played("2_f.wav"), 1);
    EXPECT_EQ(seat::Landlord(*s.FindPlayerByName("bob")), 1);
    h.Feed(Turn("BeginJiaoFen", "alice", 0));
    EXPECT_EQ(h.game.Clock().remaining, 20000);
    EXPECT_FALSE(h.view.Enabled(V::kBid2));
    EXPECT_TRUE(h.view.Enabled(V::kBid3));
    h.game.SendBid(3);
    h.Feed(Doc("JiaoFen", "<player id=\"alice\" score=\"3\"/>"));
    EXPECT_EQ(h.Played("3_f.wav"), 1) << "the own bid is voiced once";
    h.Feed(Turn("BeginAskForLandLord", "alice", 5));
    EXPECT_EQ(s.phase, 8);
    EXPECT_TRUE(h.view.Shown(V::kContestYes));
    h.Feed(Doc("AskForLandLord", "<player id=\"carol\" ask=\"True\"/>"));
    EXPECT_EQ(seat::ContestAnswer(*s.FindPlayerByName("carol")), 1);
    EXPECT_EQ(h.Played("contest_banker.wav"), 1);
    // alice holds the highest bid: her "True" changes nothing.
    h.Feed(Turn("BeginDouble", "bob", 5));
    EXPECT_EQ(s.phase, 11);
    struct Answer {
        const char* who;
        const char* answer;
        int state, count;
    } answers[] = {{"alice", "True", 0, 0},
                   {"bob", "False", 1, 0},
                   {"carol", "True", 2, 1},
                   {"bob", "True", 4, 2},
                   {"carol", "True", 0, 2}};
    for (const Answer& a : answers) {
        h.Feed(Doc("Double", std::string("<player id=\"") + a.who + "\" answer=\"" + a.answer + "\"/>"));
        EXPECT_EQ(s.FindPlayerByName(a.who)->doubling, a.state) << a.who << a.answer;
        EXPECT_EQ(s.doubleCount, a.count) << a.who << a.answer;
    }
    // The pair offered follows the double count: after one double the
    // follow pair, otherwise the first pair.
    for (int count : {1, 2, 0}) {
        s.doubleCount = count;
        h.Feed(Turn("BeginDouble", "alice", 5));
        const bool follow = count == 1;
        EXPECT_EQ(h.view.Shown(V::kDouble) && h.view.Shown(V::kNoDouble), !follow) << count;
        EXPECT_EQ(h.view.Shown(V::kRedouble) && h.view.Shown(V::kNoRedouble), follow) << count;
        EXPECT_FALSE(h.view.Shown(V::kDouble) && h.view.Shown(V::kRedouble)) << count;
    }
}

TEST(Table, PlaysMaskedPlanesStraightsAndBombs) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    s.maskMode = 1;
    CPlayerInfo* bob = s.FindPlayerByName("bob");
    // bob's name is no number: v = 0, the suit is added.
    h.Feed(Play("bob", Card(9 + 2, 2) + Card(10 + 1, 1) + Card(11, 0) + Card(12 + 3, 3) + Card(13, 0)));
    ASSERT_EQ(bob->lastPlay->GetCardCount(), 5);
    EXPECT_EQ(bob->lastPlay->GetType(), kTypeStraight);
    EXPECT_EQ(seat::PatternMark(*bob), 1);
    EXPECT_EQ(bob->cardCount, 12);
    s.maskMode = 0;
    std::string plane;
    for (int n : {9, 10}) plane += Card(n, 1) + Card(n, 2) + Card(n, 3);
    h.Feed(Play("carol", plane + Card(13, 1) + Card(14, 1)));
    EXPECT_EQ(h.game.Effects().Codes(), std::vector<int>({9}));
    s.bombs = 5;
    h.Feed(Play("bob", Card(14, 0) + Card(14, 2) + Card(14, 3) + Card(14, 1)));
    EXPECT_EQ(h.game.Effects().Codes(), std::vector<int>({9, 3})) << "bomb codes stop at 3";
    h.Feed(Play("carol"));
    EXPECT_TRUE(s.FindPlayerByName("carol")->lastPlay->IsEmpty());
    // The own pass's echo ends the own action: the next bid is voiced.
    h.game.OnPass();
    EXPECT_EQ(s.ownActionSound, 1);
    h.Feed(Play("alice"));
    h.Feed(Doc("JiaoFen", "<player id=\"bob\" score=\"1\"/>"));
    EXPECT_EQ(h.Played("1_f.wav"), 1);
    EXPECT_EQ(h.Played("pass.wav"), 2);
    h.Run(6000);
    EXPECT_TRUE(h.game.Effects().Empty());
    EXPECT_EQ(s.bombs, 6) << "a finished bomb film counts";
}

// The result dialog comes up once the result's effects have run (the
// window's render pass shows it; the table look test waits for it).
TEST(Table, TheResultSetsMoneyAndItsDialogContinuesBySelf) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    seat::Landlord(*s.FindPlayerByName("bob")) = 1;
    // The bombs and the spring come with the last entry.
    h.Feed(Doc("GameResult", "<player id=\"alice\" money=\"50\"/><player id=\"bob\" money=\"-100\"/>" + Card(3, 0) +
                                 "<player id=\"carol\" money=\"50\" bomb=\"2\" spring=\"ChunTian\"/>"));
    EXPECT_EQ(s.phase, 15);
    EXPECT_EQ(s.resultKind, 0);
    EXPECT_EQ(s.Own()->money, 1050);
    EXPECT_EQ(h.Played("win.wav"), 1) << "the landlord kept cards";
    EXPECT_EQ(s.bombs, 3);
    EXPECT_EQ(h.game.Effects().Codes(), std::vector<int>({100})) << "the spring film";
    EXPECT_EQ(h.view.lobby.back(), 1050);
    h.Run(3000);
    EXPECT_TRUE(h.game.Effects().Empty());
    EXPECT_EQ(s.resultPending, 1);
    h.game.OnResultShown();
    EXPECT_TRUE(h.view.Shown(V::kContinue) && h.view.Shown(V::kBackToLobby));
    EXPECT_EQ(h.game.Clock().total, 5000);
    EXPECT_TRUE(s.holdMain);
    h.Run(5000);
    EXPECT_TRUE(s.holdMain);
    h.Run(100);
    EXPECT_FALSE(s.holdMain) << "continue ran by itself";
    EXPECT_FALSE(h.view.Shown(V::kContinue));
    EXPECT_EQ(h.view.resultsClosed, 1);
}

// The bottom cards show for 400 ticks (10 s), then their place is repainted
// without them.
TEST(Table, TheBottomCardsHideAfterTenSeconds) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    h.Feed(Doc("SendRemainCard", "<player id=\"bob\"/>" + Card(9, 0) + Card(9, 1) + Card(9, 2)));
    ASSERT_NE(s.bottom[2], nullptr);
    h.Run(9975);
    EXPECT_NE(s.bottom[0], nullptr);
    h.Tick();
    EXPECT_EQ(s.bottom[0], nullptr);
    EXPECT_EQ(s.bottom[2], nullptr);
    EXPECT_EQ(s.bottomTicks, -1);
}

// A restore: alice seat 0, bob seat 1 (the landlord, bid 3), carol seat 2;
// bob and carol restored with state 2 (doubled) and contest answer 0.
std::string Restore(const char* stage, const char* onTurn, int aliceCards, int bobCards, int carolCards) {
    auto entry = [](const char* id, int seat, int cards, const char* bid, const std::string& last) {
        return "<player id=\"" + std::string(id) + "\" seat=\"" + std::to_string(seat) +
               "\" money=\"10\" ready=\"True\" cardNum=\"" + std::to_string(cards) + "\" bid=\"" + bid +
               "\" ip=\"1\" auto=\"False\" loc=\"\" det=\"\" multiple=\"2\" ask=\"1\"/><last/>" + last;
    };
    std::string hand = "<hand/>";
    for (int i = 0; i < aliceCards; ++i) hand += Card(3 + i / 4, i % 4);
    return Doc("RestorePlayer", std::string("<game state=\"") + stage + "\" now=\"" + onTurn +
                                    "\" banker=\"bob\" stake=\"5\" vip=\"False\" id=\"g\" bomb=\"1\"/>" +
                                    entry("alice", 0, aliceCards, " ", "") +
                                    entry("bob", 1, bobCards, "3", Card(14, 0) + Card(14, 1)) +
                                    entry("carol", 2, carolCards, " ", "") + hand + "<bottom/>");
}

TEST(Table, RestoreInEachStageOverASeatedDesk) {
    struct Case {
        const char* stage;
        const char* onTurn;
        int phase, total, cards;
    } cases[] = {{"JiaoFen", "alice", 5, 20000, 17},       {"AskForLandLord", "bob", 9, 20000, 17},
                 {"farmerDouble", "alice", 10, 20000, 17}, {"PlayingCard", "carol", 14, 20000, 10},
                 {"PlayingCard", "alice", 12, 30000, 17},  {"Other", "alice", 0, 0, 17}};
    for (const Case& c : cases) {
        TableRig h;
        h.SeatThree();
        seat::Plays(*h.State().Own()) = 7;
        h.Feed(Restore(c.stage, c.onTurn, c.cards, c.cards == 17 ? 20 : 18, 17));
        CTableState& s = h.State();
        EXPECT_EQ(s.phase, c.phase == 0 ? 1 : c.phase) << c.stage;
        EXPECT_EQ(h.game.Clock().running ? h.game.Clock().total : 0, c.total) << c.stage;
        ASSERT_NE(s.Own(), nullptr);
        EXPECT_EQ(seat::Plays(*s.Own()), 0) << "new records in place of the replaced ones";
        EXPECT_EQ(s.ownHand, s.Own()->hand);
        EXPECT_EQ(s.ownHand->GetCardCount(), c.cards);
        EXPECT_EQ(s.highestBid, 3);
        EXPECT_EQ(seat::Landlord(*s.FindPlayerByName("bob")), 1);
        // Walking from bob: carol keeps 2 (count 1), alice gets 4 (count 2).
        EXPECT_EQ(s.doubleCount, 2) << c.stage;
        EXPECT_EQ(s.FindPlayerByName("carol")->doubling, 2) << c.stage;
        EXPECT_EQ(s.FindPlayerByName("bob")->doubling, 0) << c.stage;
        if (c.cards == 10) {
            EXPECT_EQ(s.turnCounter, 1);
            EXPECT_EQ(s.FindPlayerByName("bob")->lastPlay->GetCardCount(), 2);
        }
    }
}

// The bottom cards for the landlord: count cards of the number, suits 0 to 3 in turn.
CSendRemainCardMsg* BottomCards(const char* landlord, int count, int number) {
    CSendRemainCardMsg* bottom = new CSendRemainCardMsg;
    bottom->playerId = landlord;
    bottom->cardCount = count;
    for (int i = 0; i < count; ++i) bottom->numbers[i] = number, bottom->suits[i] = i % 4;
    return bottom;
}

// A listed rectangle holds the whole area, or the whole table is repainted.
bool Marked(const CDirtyList& dirty, const DirtyRect& area) {
    if (dirty.Full()) return true;
    for (const DirtyRect& d : dirty.Rects())
        if (d.left <= area.left && d.top <= area.top && d.right >= area.right && d.bottom >= area.bottom) return true;
    return false;
}

// What the own repaints must reach: the three bottom cards where they lie
// when they turn back, and every card of the hand raised or lowered by a hint.
TEST(Table, TheBottomCardsTurningBackAndAHintMarkWhereTheCardsLie) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    h.Hand(BottomCards("bob", 3, 13));
    ASSERT_NE(s.bottom[2], nullptr);
    for (int i = 0; i < 400 && s.bottom[0]; ++i) h.Tick();
    ASSERT_EQ(s.bottom[0], nullptr) << "turned back after 400 ticks";
    ASSERT_FALSE(h.game.Dirty().Full());
    const int W = h.view.width, H = h.view.height;
    for (int i = 0; i < 3; ++i) {
        const int x = (W - 449) / 2 + 89 * i;
        EXPECT_TRUE(Marked(h.game.Dirty(), {x, 25, x + 71, 25 + 96})) << "bottom card " << i;
    }

    h.Feed(Play("bob", Card(4, 1)));
    h.Feed(Turn("BeginChuPai", "alice", 20));
    for (int i = 0; i < 4 && (i == 0 || h.game.Dirty().Full()); ++i) h.Tick();  // the full redraws the turn asked for
    const int n = s.ownHand->GetCardCount();
    for (int press = 0; press < 2; ++press) {
        h.game.OnCmdHint();
        ASSERT_TRUE(s.hintActive);
        ASSERT_FALSE(h.game.Dirty().Full());
        for (int i = 0; i < n; ++i) {
            const DirtyRect lying = OwnCardRect(i, n, false, W, H), raised = OwnCardRect(i, n, true, W, H);
            EXPECT_TRUE(Marked(h.game.Dirty(), lying) && Marked(h.game.Dirty(), raised)) << "press " << press << " card " << i;
        }
        h.Tick();
    }
}

TEST(Table, HostileCardsAndCountsAreDropped) {
    TableRig h;
    h.Deal();
    CTableState& s = h.State();
    s.maskMode = 1;
    CCardOutResultMsg* play = new CCardOutResultMsg;
    play->playerId = "bob";
    play->numbers = {300, -7, 20, 5};
    play->suits = {0, 1, 9, 0};
    h.Hand(play);
    EXPECT_EQ(s.FindPlayerByName("bob")->lastPlay->GetCardCount(), 1) << "only the 5 is a card";
    h.Hand(BottomCards("alice", 8, 15));
    EXPECT_EQ(s.ownHand->GetCardCount(), 20) << "three bottom cards at most";
    CShowCardMsg* shown = new CShowCardMsg;
    shown->number = 3;
    shown->index = 999;
    h.Hand(shown);
    EXPECT_EQ(s.shownCard, -1);
    h.Hand(nullptr);
}

// Desk and restore records at a seat the table does not have (outside 0..2)
// are dropped, as if not listed: no seat arithmetic runs past the int range.
TEST(Table, HostileSeatsDropTheirRecords) {
    TableRig h;
    CTableState& s = h.State();
    const char* names[] = {"alice", "bob", "carol"};
    auto desk = [&](int aliceSeat, int bobSeat) {
        CDeskInfoMsg* m = new CDeskInfoMsg;
        m->playerCount = 3;
        const int seats[] = {aliceSeat, bobSeat, 2};
        for (int i = 0; i < 3; ++i) m->playerId[i] = names[i], m->seat[i] = seats[i];
        return m;
    };
    h.SeatThree();
    h.Hand(desk(0, INT_MAX));
    EXPECT_EQ(s.FindPlayerByName("bob"), nullptr) << "the record there before goes too";
    ASSERT_NE(s.Own(), nullptr);
    EXPECT_EQ(s.GetNextPlayer(), nullptr);
    h.Feed(Play("bob", Card(5, 0)));
    h.Hand(desk(INT_MAX, 3));
    EXPECT_EQ(s.Own(), nullptr);
    ASSERT_NE(s.FindPlayerByName("carol"), nullptr);
    EXPECT_EQ(s.FindPlayerByName("carol")->seat, 2);
    EXPECT_EQ(s.GetLastPlay(), nullptr);

    for (int badSeat : {INT_MAX, -1}) {
        CReconnectMsg* restore = new CReconnectMsg;
        restore->state = "PlayingCard";
        restore->nowPlayer = "carol";
        restore->banker = "bob";
        for (int i = 0; i < 3; ++i) {
            restore->playerId[i] = names[i];
            restore->seat[i] = i == 1 ? badSeat : i;
            restore->cardNum[i] = 17;
            restore->bid[i] = i == 1 ? 3 : -1;
        }
        h.Hand(restore);
        EXPECT_EQ(s.FindPlayerByName("bob"), nullptr) << badSeat;
        ASSERT_NE(s.Own(), nullptr) << badSeat;
        EXPECT_EQ(s.Own()->seat, 0);
        EXPECT_EQ(s.phase, 14);
    }
}

// Every extreme of the hostile server's vocabulary (seats, counts, cards and
// money out of range), to a seated table that is dealt, and ticks after each.
TEST(Table, TheHostileServersExtremesAreTaken) {
    TableRig h;
    h.Deal();
    const servers::HostileVocabulary words = servers::GameVocabulary("alice", "bob", "carol");
    for (const auto& make : words.extremes) {
        h.Feed(make().Xml());
        h.Run(100);
    }
    for (CPlayerInfo* p : h.State().slots) {
        if (!p) continue;
        EXPECT_TRUE(p->seat == -1 || CTableState::IsSeat(p->seat)) << p->GetId() << " " << p->seat;
    }
}

// Waits, counts and answers at the ends of the int range stay in range (no
// arithmetic past them).
TEST(Table, HostileWaitsAndRestoredCountsStayInRange) {
    TableRig h;
    h.SeatThree();
    CTableState& s = h.State();
    CNotyfyWaitingPlayer* wait = new CNotyfyWaitingPlayer;
    wait->memberId = "bob";
    wait->time = INT_MAX;
    h.Hand(wait);
    EXPECT_GT(seat::WaitRemaining(*s.FindPlayerByName("bob")), 0);
    CReconnectMsg* restore = new CReconnectMsg;
    restore->state = "PlayingCard";
    const char* names[] = {"alice", "bob", "carol"};
    const int counts[] = {INT_MAX, INT_MIN, 17};
    const int answers[] = {INT_MIN, INT_MAX, INT_MIN};
    for (int i = 0; i < 3; ++i) {
        restore->playerId[i] = names[i];
        restore->seat[i] = i;
        restore->cardNum[i] = counts[i];
        restore->askForLandLord[i] = answers[i];
    }
    restore->nowPlayer = "carol";
    restore->bomb = INT_MAX;  // one picture is drawn per bomb
    h.Hand(restore);
    EXPECT_EQ(s.bombs, CTableState::kMaxBombs);
    EXPECT_EQ(s.FindPlayerByName("alice")->cardCount, 20);
    EXPECT_EQ(s.FindPlayerByName("bob")->cardCount, 0);
    // An answer stays on its side of the range: one below it reads as none
    // (not wrapped round to a yes), one above it as a yes.
    EXPECT_LT(seat::ContestAnswer(*s.FindPlayerByName("carol")), 0);
    EXPECT_GT(seat::ContestAnswer(*s.FindPlayerByName("bob")), 0);
}

}  // namespace

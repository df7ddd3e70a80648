// The player's side of the table in process: cards picked with posted mouse
// messages at their places, plays by the button and the right click, the
// sound switch, and the ways out of the table.
#include <gtest/gtest.h>

#include "game/core/table/SeatFields.h"
#include "tests/fenlo/TableHarness.h"

using namespace fenlo_test;

namespace {

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
    h.Feed(Turn("BeginChuPai", "alice", 20));
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

// The commands' rules are the game's (game_table); here the sound switch's
// setting and the buttons and the right click that take no command.
TEST(HandCommands, TheSoundSwitchIsWrittenBackAndDisabledCommandsTakeNoClick) {
    TableHarness h;
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
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    ClickCards(h, {Index(h, 5)});  // a single that beats the 4
    const POINT p = At(h, 0);
    h.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    EXPECT_TRUE(h.requests.empty()) << "the right button plays nothing in auto-play";
    h.Click(IDC_CANCEL_AUTO);
    EXPECT_EQ(h.Sent("CancelAutoPlay"), 1);
}

// While the player is to act and another window is in the foreground, the
// table's caption flashes on every 20th tick (every 500 ms).
TEST(HandTurn, TheCaptionFlashesWhileThePlayerIsToAct) {
    TableHarness h;
    h.Deal();
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return SetForegroundWindow(other), TableHarness::Pump(), GetForegroundWindow() == other; }, 5000));
    h.flashed.clear();
    h.Feed(Turn("BeginJiaoFen", "alice", 20));
    h.Run(1000);
    EXPECT_EQ(h.flashed, std::vector<HWND>(2, h.table->m_hWnd));
    DestroyWindow(other);
}

// Leaving at a seated desk that heard from the server (Leaving, then the
// answer) is played through in the client test.
TEST(HandLeaving, TheExitBoxOnEscCloseAndLeave) {
    for (bool autoGroup : {false, true}) {
        Lobby lobby;
        TableHarness h(autoGroup);
        EXPECT_EQ(h.table->GroupMovie(), nullptr) << "no Flash player here: the table goes on without the movie";
        h.SeatThree();
        h.answers = {IDNO};
        h.table->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        TableHarness::Pump();
        EXPECT_EQ(h.boxes, std::vector<std::string>({"您确定退出本桌游戏吗？|斗地主|52|0"}));
        EXPECT_EQ(h.boxOwners, std::vector<HWND>({nullptr})) << "the exit box has no owner";
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

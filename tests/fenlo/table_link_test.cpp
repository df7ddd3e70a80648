// The table in process where its game reaches the window and the programs
// around it: the updater, the real boxes over a lost connection, a kick's box
// and the money records to the lobby's windows. (The rules themselves are
// tested natively, in tests/game_table.)
#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>

#include "game/core/NetEngineEx.h"
#include "lobby/net/base/CopyData.h"
#include "tests/fenlo/TableHarness.h"

using namespace fenlo_test;

namespace {

TEST(TableLink, AnOldVersionStartsTheUpdaterWhenAskedAndQuitsEitherWay) {
    ScratchFolder& folder = TableHarness::Folder();
    CreateDirectoryA((folder / "Updater").c_str(), nullptr);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string dir = std::string(self).substr(0, std::string(self).rfind('\\'));
    ASSERT_TRUE(CopyFileA((dir + "\\fenlo_updater_standin.exe").c_str(), (folder / "Updater\\Updater.exe").c_str(),
                          FALSE));
    for (int answer : {IDNO, IDYES}) {
        TableHarness h;
        h.answers = {answer};
        h.Feed(Doc("InvalidClientVersion"));
        EXPECT_TRUE(h.table->Ended());
        EXPECT_EQ(h.boxes.at(0), "您目前的版本需要更新才能继续\n，现在下载更新吗？|斗地主|52|0");
    }
    EXPECT_EQ(folder.Read("updater.log"), "Updater\\Updater.exe FENLO\ncopydata answered\n")
        << "started once and waited for, the table still answering what is sent to it";
    DeleteFileA((folder / "Updater\\Updater.exe").c_str());
    DeleteFileA((folder / "updater.log").c_str());
    RemoveDirectoryA((folder / "Updater").c_str());
}

BOOL CALLBACK AddVisibleBox(HWND h, LPARAM boxes) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (IsWindowVisible(h) && std::string(cls) == "#32770") reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(h);
    return TRUE;
}

std::vector<HWND> VisibleBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), &AddVisibleBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// The person at the table during the boxes below: once the network box
// stands alone, OK is pressed on it. The side panel, a dialog of the same
// thread, is no box.
struct BoxWatch {
    static TableHarness* h;
    static bool pressed;
    static DWORD start;
    static std::string seen, last;  // each change of the visible boxes and the phase, for a failure
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        std::vector<HWND> boxes = VisibleBoxes();
        const CDlgRight* panel = h->table->SidePanel();
        boxes.erase(std::remove_if(boxes.begin(), boxes.end(),
                                   [&](HWND b) { return b == h->table->m_hWnd || (panel && b == panel->m_hWnd); }),
                    boxes.end());
        if (GetTickCount() - start > 15000) {
            for (HWND box : boxes) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);  // fail, do not hang
            return;
        }
        const std::string now = std::to_string(boxes.size()) + " boxes, phase " + std::to_string(h->State().phase);
        if (now != last) seen += std::to_string(GetTickCount() - start) + " ms: " + (last = now) + "; ";
        if (pressed || boxes.size() != 1 || h->State().phase != 16) return;
        HWND ok = GetDlgItem(boxes[0], IDOK);
        PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 9));
        PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 9));
        pressed = true;
    }
};
TableHarness* BoxWatch::h = nullptr;
bool BoxWatch::pressed = false;
DWORD BoxWatch::start = 0;
std::string BoxWatch::seen, BoxWatch::last;

// The connection is lost while the sign-up question waits: the network box
// hides the question, which answers No by itself a second later, and the
// table quits without asking for a desk.
TEST(TableLink, ALostConnectionUnderTheSignUpQuestionAnswersItNo) {
    TableHarness h;
    SetTableBoxHook(nullptr);  // Moxbell's own boxes
    h.Session()->GetConnection()->ClearAlive();
    h.table->SetTimer(CPavlenDlg::kTimerId, CPavlenDlg::kTimerMs);
    BoxWatch::h = &h;
    BoxWatch::pressed = false;
    BoxWatch::seen.clear();
    BoxWatch::last.clear();
    BoxWatch::start = GetTickCount();
    const UINT_PTR watch = SetTimer(nullptr, 0, 20, &BoxWatch::Tick);
    h.Feed(Doc("AskPlayerSignUp", "<m text=\"报名参加下一场吗?\"/>"));
    const DWORD took = GetTickCount() - BoxWatch::start;
    KillTimer(nullptr, watch);
    h.table->KillTimer(CPavlenDlg::kTimerId);
    EXPECT_TRUE(BoxWatch::pressed) << "the network box came over the question; seen: " << BoxWatch::seen;
    EXPECT_EQ(h.State().phase, 16);
    EXPECT_TRUE(h.table->Ended()) << "the question's own answer was No";
    EXPECT_EQ(h.Sent("RequestDesk"), 0);
    EXPECT_GE(took, 900u) << "the hidden question waited its second";
}

DWORD ThrowingClock() { throw std::bad_alloc(); }

// A message the session could not take (its parse threw) stops both queues;
// the table's next tick shows the network box, which has no owner and counts
// down 10 s, once, and its OK ends the client.
TEST(TableLink, AFailedMessageShowsTheNetworkBoxOnTheNextTick) {
    {
        TableHarness h;
        SetGameClockSource(ThrowingClock);
        const std::string text = Doc("ChuPai", "<player id=\"bob\"/>");
        h.Session()->OnReceive(text.c_str(), static_cast<int>(text.size()));
        SetGameClockSource(&TableHarness::Now);
        EXPECT_TRUE(h.boxes.empty()) << "not on the receiving side";
        h.Tick();
        EXPECT_EQ(h.boxes, std::vector<std::string>({"你的网络发生错误\n,请重新进入房间!||0|10"}));
        EXPECT_EQ(h.boxOwners, std::vector<HWND>({nullptr}));
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "OK ends the client";
        h.Tick();
        EXPECT_EQ(h.boxes.size(), 1u);
    }
    DestroyGameSession();  // the next table's session takes messages again
}

// The kick's rules are the game's (game_table); here its box and its end.
TEST(TableLink, AKickEndsTheTableUnderABoxTheTableOwns) {
    TableHarness h;
    h.Feed(Doc("KickPlayer", "<kick reason=\"走开\" close=\"True\" reconnect=\"True\"/>"));
    EXPECT_TRUE(h.table->Ended());
    EXPECT_EQ(h.boxes, std::vector<std::string>({"走开|斗地主|48|0"}));
    EXPECT_EQ(h.boxOwners, std::vector<HWND>({h.table->m_hWnd})) << "the table owns the boxes of its messages";
}

// The money rules are the game's (game_table); here the records.
TEST(TableLink, MoneyIsReportedToEveryLobbyWindow) {
    Lobby lobby;
    TableHarness h;
    h.Feed(Doc("PlayerMoneyNew", "<money value=\"777.5\"/>"));
    EXPECT_EQ(lobby.Last(), 777.5) << "through a record made for the moment";
    lobby.records.clear();
    h.SeatThree();
    ASSERT_EQ(lobby.records.size(), 2u) << "both lobby windows";
    EXPECT_STREQ(lobby.records[0].second.playerId, "alice");
    EXPECT_EQ(lobby.records[0].first, 0u);
    EXPECT_EQ(lobby.Last(), 1000);
    // Game over (kind 2): the money with the hand's change and, as the second
    // amount, the own score of the result, the balance the lobby shows
    // beside the money.
    h.Feed(Doc("GameResult", "<player id=\"alice\" score=\"50\" Bomb=\"0\" ChunTianState=\"0\" Tax=\"2\" "
                             "Score=\"1234.5\"/><player id=\"bob\" score=\"-50\"/>"));
    EXPECT_EQ(lobby.records.back().first, 2u);
    EXPECT_EQ(lobby.Last(), 1050);
    EXPECT_EQ(lobby.records.back().second.secondAmount, 1234.5);
    h.Feed(Doc("AnswerLeave", "<player Allow=\"True\"/>"));
    EXPECT_TRUE(h.table->Ended());
    EXPECT_EQ(lobby.Last(), -1.0) << "quitting reports no money";
}

}  // namespace

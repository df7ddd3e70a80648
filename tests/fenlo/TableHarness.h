// The table window hosted in a test program: its session in a scratch folder,
// its requests, boxes and sounds recorded, its time on a test clock and its
// ticks driven by the test (the window's own timer is stopped).
#pragma once

// winsock2.h (through the test kit) must come before windows.h
#include "tests/fenlo/FenloTestKit.h"

#include <deque>
#include <string>
#include <vector>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/TableHooks.h"

namespace fenlo_test {

// Exposes the table's operations to the tests.
class TestTable : public CPavlenDlg {
public:
    using CPavlenDlg::OnAutoPlay;
    using CPavlenDlg::OnCancel;
    using CPavlenDlg::OnContinue;
    using CPavlenDlg::OnPass;
    using CPavlenDlg::SendBid;
    using CPavlenDlg::SetPhase;
    BOOL Ended() const { return m_nModalResult == IDCANCEL; }
    // The table on screen.
    using CPavlenDlg::DealCardPosition;
    using CPavlenDlg::InvalidateAll;
    using CPavlenDlg::PlacePlayerPrompt;
    using CPavlenDlg::StartClock;
    using CPavlenDlg::m_sidePanel;
    // By its style: the hosting test never shows the table itself.
    bool Visible(int id) { return GetDlgItem(id) && (GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
    bool Enabled(int id) { return GetDlgItem(id) && GetDlgItem(id)->IsWindowEnabled(); }
};

class TableHarness {
public:
    static DWORD now;
    static DWORD Now() { return now; }

    std::vector<std::string> requests;  // as sent
    std::vector<std::string> boxes;     // "text|caption|type|seconds"
    std::vector<std::string> sounds;
    std::deque<int> answers;  // box answers in order; IDOK when none is left
    TestTable* table = nullptr;

    // The scratch folder is the current directory of the whole program: the
    // session is made once, there.
    static ScratchFolder& Folder();
    // The program's start folder, where the table's pictures lie.
    static const std::string& PictureFolder();
    static void WriteSettings(const std::string& extra = "");

    explicit TableHarness(bool autoGroup = false, int soundOn = 1);
    ~TableHarness();

    CGameSession* Session() const { return GetGameSession(); }
    CTableState& State() { return table->State(); }
    // One tick of 25 ms, or as many ticks as fit in ms.
    void Tick();
    void Run(int ms);
    // A server text parsed into the queues, then ticks until both are empty
    // (at most 2 s of ticks).
    void Feed(const std::string& document);
    void Hand(CMessage* message) { table->HandleGameMessage(message); }
    // Requests whose text contains the message name.
    int Sent(const std::string& name) const;
    bool Boxed(const std::string& text) const;
    int Played(const std::string& sound) const;

    // A seated desk of alice (seat 0), bob (1) and carol (2).
    void SeatThree();
    // SeatThree, start, deal (17 cards 3..7 of each suit, 8 of suit 0) and
    // the 4200 ms animation.
    void Deal();
};

std::string Player(const std::string& id, int seat, int money = 1000, bool ready = false);

}  // namespace fenlo_test

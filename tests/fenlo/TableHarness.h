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
#include "game/ui/ReslutDlg.h"
#include "game/ui/Shockwaveflash.h"
#include "game/ui/TableHooks.h"
#include "lobby/net/base/CopyData.h"
#include "tests/platform/WindowCapture.h"

namespace fenlo_test {

// The table window with what its tests need beyond its public face.
class TestTable : public CPavlenDlg {
public:
    BOOL Ended() const { return m_nModalResult == IDCANCEL; }
    // By its style: the hosting test never shows the table itself.
    bool Visible(int id) { return GetDlgItem(id) && (GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
    bool Enabled(int id) { return GetDlgItem(id) && GetDlgItem(id)->IsWindowEnabled(); }
    // A window drag (WM_NCLBUTTONDOWN with HTCAPTION) is counted, not run:
    // its move loop would wait for the real mouse.
    int captionDrags = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) return ++captionDrags, 0;
        return CPavlenDlg::WindowProc(message, wParam, lParam);
    }
    // The game buttons laid out again for a client area of that size.
    void LayOutFor(int width, int height) {
        m_client = {0, 0, width, height};
        LayoutGameButtons();
    }
};

class TableHarness {
public:
    static DWORD now;
    static DWORD Now() { return now; }

    std::vector<std::string> requests;  // as sent
    std::vector<std::string> boxes;     // "text|caption|type|seconds"
    std::vector<HWND> boxOwners;        // of each box, null when it has none
    std::vector<std::string> sounds;
    std::vector<std::string> opened;  // addresses given to the shell
    std::vector<HWND> flashed;        // caption flashes, of each its window
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
    CTableGame& Game() { return table->Game(); }
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

    // Runs the window messages that are waiting.
    static void Pump();
    // Posts a mouse message at a client point to the table and runs it.
    void Mouse(UINT message, int x, int y);
    // A person's click at the middle of a button: down and up go to the window
    // under that point, so a hidden or disabled button is not clicked (the
    // table beneath it gets the click).
    void Click(int id);
    // The button's face as it paints itself.
    Capture Face(int id);
    // The table's back buffer as the last render pass left it.
    Capture BackBuffer();
    // A keep-alive answer arrives on the connection: the server has spoken.
    void Heard();

    // A seated desk of alice (seat 0), bob (1) and carol (2).
    void SeatThree();
    // SeatThree, start, deal (17 cards 3..7 of each suit, 8 of suit 0) and
    // the 4200 ms animation.
    void Deal();
};

using table_test::Card;
using table_test::Play;
using table_test::Player;
using table_test::Turn;

// Two top-level windows titled as the lobby's, recording what the table
// reports to them.
struct Lobby {
    static std::vector<std::pair<ULONG_PTR, GameCopyData>> records;
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp);
    HWND windows[2];
    Lobby();
    ~Lobby();
    double Last() const { return records.empty() ? -99 : records.back().second.money; }
};

}  // namespace fenlo_test

#include "tools/loop/LoopDrive.h"

#include <algorithm>

#include "game/ui/resource.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/WindowFind.h"

namespace loop {

using testsupport::WaitFor;

const char* const kStages[] = {"servers", "login", "tree", "room", "seat", "dealt", "hint", "pass", "result", "lobby"};
const int kStageCount = sizeof kStages / sizeof kStages[0];

namespace {

// The window stands above the other in the z-order.
bool Above(HWND window, HWND other) {
    for (HWND w = window; w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == other) return true;
    return false;
}

// A card of the own hand stands raised: card white in the row 10 pixels
// below a raised card's top, which no card lying in the hand reaches, across
// the hand's widest strip.
bool RaisedCards(HWND table) {
    if (!table) return false;
    const Capture c = CaptureWindow(table);
    const int y = c.height - 186, middle = (c.width - 200) / 2;
    for (int x = std::max(middle - 210, 0); x < std::min(middle + 210, c.width); ++x) {
        const COLORREF px = c.At(x, y);
        if (GetRValue(px) > 230 && GetGValue(px) > 230 && GetBValue(px) > 230) return true;
    }
    return false;
}

const int kAskIds[] = {IDC_BID1, IDC_BID2, IDC_BID3, IDC_NO_BID, IDC_DOUBLE, IDC_NO_DOUBLE, IDC_REDOUBLE,
                       IDC_NO_REDOUBLE, IDC_CONTEST_YES, IDC_CONTEST_NO, IDC_PLAY, IDC_HINT};

class Driver {
public:
    Driver(LoopRig& rig, const std::string& shots, std::FILE* log) : rig_(rig), shots_(shots), log_(log) {}

    DriveReport Run() {
        std::string error;
        if (!rig_.Start(error)) return Fail("servers", error);
        Reached("servers", nullptr);
        if (!rig_.StartLobby()) return Fail("login", "MiraboGame.exe did not start");
        if (!Login()) return report_;
        if (!rig_.WaitRoomItem(*tree_, "新手房", 20000)) return Fail("tree", "the tree never showed the room");
        Reached("tree", rig_.LobbyWindow());
        if (!rig_.EnterRoom("新手房", 5000) || !SettleInRoom(rig_)) return Fail("room", "the room page never came up");
        Reached("room", rig_.LobbyWindow());
        // The room's own table has readied and been dealt the desk's hand, which
        // the next table to come takes up as a reconnecting player's (a restore):
        // a game server started afresh gives the seat an empty desk, so the table
        // first shows as one sat down at, before the deal.
        if (!rig_.RestartGameServer()) return Fail("seat", "the game server did not start again");
        if (!WaitFor([&] { return rig_.ClickSeat(1, 0); }, 10000)) return Fail("seat", "no free seat to click");
        if (!rig_.WaitTable(20000)) return Fail("seat", "the seat's click started no table");
        Reached("seat", rig_.Table());
        if (!WaitDealt()) return Fail("dealt", "the table was never dealt");
        Reached("dealt", rig_.Table());
        if (!PlayHand()) return report_;
        HWND result = rig_.ResultDialog();
        // Seen by the person only when it stands above the table.
        if (!WaitFor([&] { return Above(result, rig_.Table()); }, 3000))
            return Fail("result", "the result dialog is under the table");
        Reached("result", result);
        Click(GetDlgItem(result, IDC_RESULT_BACK));
        const bool gone = WaitFor([&] {
            rig_.AnswerTableBoxes(IDYES);
            return rig_.FenloId() == 0;
        }, 20000);
        if (!gone || !rig_.WaitLobbyWindow(10000)) return Fail("lobby", "the table did not give way to the lobby");
        Reached("lobby", rig_.LobbyWindow());
        rig_.CloseLobby();
        return report_;
    }

private:
    bool Login() {
        HWND login = nullptr, main = nullptr;
        WaitFor([&] {
            if (!login && (login = rig_.WaitLoginWindow(0)) != nullptr) shot_ = Shot("login", login);
            return (main = rig_.WaitLobbyWindow(0)) != nullptr || rig_.Lobby()->WaitExit(0);
        }, 30000);
        if (!main) return Fail("login", "the lobby window never came up"), false;
        HWND tree = nullptr;
        if (!WaitFor([&] { return (tree = rig_.Tree()) != nullptr; }, 10000))
            return Fail("login", "the lobby window has no tree"), false;
        tree_.reset(new RemoteTree(tree, rig_.Lobby()->Id()));
        Reached("login", shot_.empty() ? main : nullptr);
        return true;
    }

    bool WaitDealt() {
        return WaitFor([&] {
            rig_.ClickTableButton(IDC_READY);
            rig_.AnswerTableBoxes(IDOK);
            return TableDealt(rig_);
        }, 30000);
    }

    // Clicks the button and waits until the table has taken it (it hides).
    bool Press(int id) {
        if (!rig_.ClickTableButton(id)) return false;
        WaitFor([&] { return !IsShown(rig_.TableButton(id)); }, 3000);
        return true;
    }

    bool PlayHand() {
        bool hinted = false, passed = false;
        int bidRounds = 0;
        const bool ended = WaitFor([&] {
            if (rig_.ResultDialog()) return true;
            if (!rig_.FenloId()) return true;
            rig_.AnswerTableBoxes(IDOK);
            if (rig_.ClickTableButton(IDC_READY)) return false;
            if (IsUsable(rig_.TableButton(IDC_NO_BID))) {
                // Declined once; a new deal after three declines is taken with the highest bid left.
                const int order[] = {IDC_BID3, IDC_BID2, IDC_BID1};
                bool bid = false;
                for (int id : order)
                    if (bidRounds > 0 && !bid) bid = Press(id);
                if (!bid) Press(IDC_NO_BID);
                ++bidRounds;
                return false;
            }
            for (int id : {IDC_NO_DOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_NO})
                if (Press(id)) return false;
            // The player's turn: the play button waits for cards picked.
            if (!IsUsable(rig_.TableButton(IDC_HINT))) return false;
            if (!passed && Press(IDC_PASS)) {
                passed = true;
                Reached("pass", rig_.Table());
                return false;
            }
            rig_.ClickTableButton(IDC_HINT);
            // The hint raises the cards it picks, or passes when nothing beats the play.
            WaitFor([&] { return RaisedCards(rig_.Table()) || !IsShown(rig_.TableButton(IDC_HINT)); }, 3000);
            const bool picked = RaisedCards(rig_.Table());
            if (picked && !hinted) {
                hinted = true;
                Reached("hint", rig_.Table());
            }
            if (!picked || !Press(IDC_PLAY) || IsShown(rig_.TableButton(IDC_PLAY))) {
                rig_.AnswerTableBoxes(IDOK);  // nothing to beat it with: pass
                Press(IDC_PASS);
            }
            return false;
        }, 120000);
        if (!rig_.ResultDialog() && !rig_.WaitResultDialog(5000)) {
            if (!hinted) return Fail("hint", "the hand ended before a hint"), false;
            if (!passed) return Fail("pass", "the hand ended before a pass"), false;
            return Fail("result", ended ? "the table ended without a result" : "the hand did not end in time"), false;
        }
        if (!hinted) return Fail("hint", "the hand ended before a hint"), false;
        if (!passed) return Fail("pass", "the hand ended before a pass"), false;
        return true;
    }

    std::string Shot(const char* stage, HWND window) {
        // A window just shown may not have painted yet: wait for more than one colour.
        WaitFor([&] {
            const Capture shot = CaptureWindow(window);
            return std::any_of(shot.pixels.begin(), shot.pixels.end(),
                               [&](uint32_t px) { return px != shot.pixels[0]; });
        }, 3000);
        char name[64];
        std::snprintf(name, sizeof name, "%02d_%s", static_cast<int>(report_.reached.size()), stage);
        return window ? LoopRig::Screenshot(window, shots_, name) : std::string();
    }

    void Reached(const char* stage, HWND window) {
        std::string path = window ? Shot(stage, window) : shot_;
        shot_.clear();
        report_.reached.push_back({stage, path});
        if (log_)
            std::fprintf(log_, "stage %s: reached after %.1f s%s%s\n", stage, (GetTickCount() - start_) / 1000.0,
                         path.empty() ? "" : ", ", path.c_str());
        if (log_) std::fflush(log_);
    }

    DriveReport Fail(const char* stage, const std::string& reason) {
        report_.failed = stage;
        report_.reason = reason;
        if (log_) std::fprintf(log_, "stage %s: FAILED (%s)\n", stage, reason.c_str());
        if (log_) std::fflush(log_);
        return report_;
    }

    LoopRig& rig_;
    std::string shots_;
    std::FILE* log_;
    DriveReport report_;
    std::unique_ptr<RemoteTree> tree_;
    std::string shot_;  // a picture taken ahead of its stage
    DWORD start_ = GetTickCount();
};

}  // namespace

bool TableDealt(LoopRig& rig) {
    HWND table = rig.Table();
    return table && TableDealt(table);
}

bool TableDealt(HWND table) {
    for (int id : kAskIds)
        if (IsShown(GetDlgItem(table, id))) return true;
    return false;
}

bool SettleInRoom(LoopRig& rig, int ms) {
    // The lobby starts the room's table as it enters; the seats need it gone.
    if (!rig.WaitRoomPage(ms)) return false;
    const bool started = WaitFor([&] {
        for (const std::string& line : rig.TraceLines(false))
            if (line.compare(0, 15, "start fenlo.exe") == 0) return true;
        return false;
    }, 5000);
    if (started && rig.WaitTable(ms) && !rig.CloseTable()) return false;
    return rig.WaitFenloGone(ms) && rig.WaitRoomPage(ms) != nullptr;
}

DriveReport DrivePath(LoopRig& rig, const std::string& shots, std::FILE* log) {
    return Driver(rig, shots, log).Run();
}

}  // namespace loop

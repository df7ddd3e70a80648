// The loop's failure paths end to end: the game and the lobby connections
// dropped by our servers' scripts, second copies of both programs, and the
// money a hand ends with reaching the lobby window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "game/ui/resource.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/LoopRig.h"
#include "tools/loop/PlayFolder.h"
#include "tools/loop/WindowFind.h"
#include "tests/support/Patience.h"

using testsupport::WaitFor;

namespace {

const int kPanelInput = 1096, kPanelSend = 1078;  // the table's side panel: chat line and send

std::string TempFile(const std::string& name) {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "loop_faults_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// A rig whose servers run the given scripts and write transcripts, logged in
// and showing its tree.
class Faults : public ::testing::Test {
protected:
    std::string lobbyLog = TempFile("lobby.txt"), gameLog = TempFile("game.txt");
    std::unique_ptr<loop::LoopRig> rig;

    void TearDown() override {
        if (HasFailure() && rig) {
            std::string lobby, game;
            loop::ReadText(lobbyLog, lobby);
            loop::ReadText(gameLog, game);
            std::printf("lobby trace: %s\ntable trace: %s\nlobby server:\n%s\ngame server:\n%s\n",
                        ::testing::PrintToString(rig->TraceLines(false)).c_str(),
                        ::testing::PrintToString(rig->TraceLines(true)).c_str(), lobby.c_str(), game.c_str());
        }
        rig.reset();
        for (const std::string& f : {lobbyLog, gameLog, TempFile("lobby_script.txt"), TempFile("game_script.txt")})
            DeleteFileA(f.c_str());
    }
    void Start(const char* name, const std::string& lobbyScript = "", const std::string& gameScript = "") {
        loop::RigOptions options;
        options.name = name;
        options.turnSeconds = 8;  // own turns left alone time out, and the second asks for auto-play
        for (const std::string& f : {lobbyLog, gameLog}) DeleteFileA(f.c_str());
        options.lobbyServerOptions = {"--transcript \"" + lobbyLog + "\""};
        options.gameServerOptions = {"--transcript \"" + gameLog + "\""};
        if (!lobbyScript.empty()) options.lobbyServerOptions.push_back("--script \"" + Script("lobby", lobbyScript) + "\"");
        if (!gameScript.empty()) options.gameServerOptions.push_back("--script \"" + Script("game", gameScript) + "\"");
        rig.reset(new loop::LoopRig(options));
        std::string error;
        ASSERT_TRUE(rig->Start(error)) << error;
        ASSERT_TRUE(rig->StartLobby());
        ASSERT_NE(rig->WaitLobbyWindow(), nullptr);
    }
    static std::string Script(const char* which, const std::string& text) {
        const std::string path = TempFile(std::string(which) + "_script.txt");
        loop::WriteText(path, text);
        return path;
    }
    // How often a server was sent that request, or a reply containing the text.
    static int Count(const std::string& transcript, const std::string& line) {
        std::string text;
        loop::ReadText(transcript, text);
        int n = 0;
        for (size_t at = 0; (at = text.find(line, at)) != std::string::npos; at += line.size()) ++n;
        return n;
    }
    bool Traced(bool table, const std::string& line) {
        const std::vector<std::string> lines = rig->TraceLines(table);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    bool WaitTraced(bool table, const std::string& line, int ms = 15000) {
        return WaitFor([&] { return Traced(table, line); }, ms);
    }
    // The room's own table, dealt, and the player at its first own play:
    // bids 3 and declines doubling.
    // A turn that ran out while the test looked elsewhere (a loaded machine) hands the
    // table to auto-play, and the hand may end: a person takes it back and plays on.
    bool ReachOwnPlay() {
        return WaitFor([&] {
            rig->AnswerTableBoxes(IDOK);
            if (HWND result = rig->ResultDialog()) {
                loop::Click(GetDlgItem(result, IDC_RESULT_CONTINUE));
                return false;
            }
            for (int id : {IDC_READY, IDC_BID3, IDC_NO_DOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_NO, IDC_CANCEL_AUTO})
                if (rig->ClickTableButton(id)) return false;
            return loop::IsUsable(rig->TableButton(IDC_HINT));  // the own turn
        }, 30000);
    }
    // Plays on to the result as a person would: bid 3, no doubling, and on
    // each own turn the hint and then play (the hint passes when nothing beats).
    bool PlayToResult() {
        DWORD next = 0;
        bool hinted = false;
        return WaitFor([&] {
            if (rig->ResultDialog()) return true;
            if (GetTickCount() < next) return false;
            next = GetTickCount() + 300;  // one action, then the table's answer
            rig->AnswerTableBoxes(IDOK);
            for (int id : {IDC_READY, IDC_BID3, IDC_NO_DOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_NO})
                if (rig->ClickTableButton(id)) return false;
            if (!loop::IsUsable(rig->TableButton(IDC_HINT))) return hinted = false;
            if (!hinted) {
                hinted = rig->ClickTableButton(IDC_HINT);
                return false;
            }
            // Play is enabled once the raised cards beat the play before; else pass.
            if (!rig->ClickTableButton(IDC_PLAY)) rig->ClickTableButton(IDC_PASS);
            hinted = false;
            next += 700;
            return false;
        }, 90000);
    }
};

// The own hand's row of cards, as the table shows it.
Capture HandRow(HWND table) {
    const Capture shot = CaptureWindow(table);
    Capture row;
    row.width = shot.width;
    row.height = 80;
    const int top = shot.height - 170;
    if (top < 0) return row;
    row.pixels.assign(shot.pixels.begin() + top * shot.width, shot.pixels.begin() + (top + 80) * shot.width);
    return row;
}

// One hand: the game connection dropped at the player's turn, the hand
// restored, played on to the result, and its money shown by the lobby.
TEST_F(Faults, TheGameConnectionDroppedMidHandIsRestoredAndItsMoneyReachesTheLobby) {
    // The player's chat line is the cue: the server answers it and drops the connection.
    Start("gamedrop", "", "@1 drop after Chat\n");
    ASSERT_TRUE(rig->EnterRoom());
    ASSERT_NE(rig->WaitTable(), nullptr);
    ASSERT_TRUE(WaitTraced(false, "money 1000.00")) << "the table's first report";
    ASSERT_TRUE(ReachOwnPlay());
    HWND table = rig->Table();
    // A double click on the hand lowers the raised cards (a landlord's bottom cards).
    RECT client;
    GetClientRect(table, &client);
    PostMessageA(table, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(client.right / 2 - 120, client.bottom - 130));
    Capture hand;
    ASSERT_TRUE(WaitFor([&] {
        const Capture again = HandRow(table);
        const bool steady = !hand.pixels.empty() && again.pixels == hand.pixels;
        hand = again;
        return steady;
    }, 5000));
    const size_t before = rig->TraceLines(true).size();

    const std::vector<HWND> panels =
        loop::ProcessWindows(rig->FenloId(), [](HWND w) { return GetDlgItem(w, kPanelInput) != nullptr; });
    ASSERT_EQ(panels.size(), 1u);
    SendMessageA(GetDlgItem(panels[0], kPanelInput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
    loop::Click(GetDlgItem(panels[0], kPanelSend));

    ASSERT_TRUE(WaitTraced(true, "phase 16")) << "the loss noticed";
    EXPECT_TRUE(WaitTraced(true, "reconnect 127.0.0.1:" + std::to_string(rig->GamePort())));
    ASSERT_TRUE(WaitFor([&] {
        rig->AnswerTableBoxes(IDOK);
        const std::vector<std::string> now = rig->TraceLines(true);
        return std::find(now.begin() + static_cast<long>(before), now.end(), "main 18") != now.end();
    }, 20000)) << "the restore taken";
    EXPECT_EQ(Count(gameLog, "< PlayerInfoValidate"), 2);
    EXPECT_TRUE(WaitFor([&] { return HandRow(table).pixels == hand.pixels; }, 10000)) << "the same cards in hand";

    ASSERT_TRUE(PlayToResult()) << "play goes on to the result";
    // The server's own figure after the result, as the lobby writes it.
    std::string log;
    ASSERT_TRUE(WaitFor([&] { return loop::ReadText(gameLog, log) && log.find("PlayerMoneyNew") != std::string::npos; },
                        5000));
    const size_t at = log.find("money=\"", log.find("PlayerMoneyNew")) + 7;
    const std::string figure = log.substr(at, log.find('"', at) - at) + ".00";
    EXPECT_NE(figure, "1000.00");
    EXPECT_TRUE(WaitTraced(false, "money " + figure)) << "the lobby shows the reported figure";
}

TEST_F(Faults, TheLobbyConnectionDroppedIsMadeAgainAndTheRoomEnteredAgain) {
    // The session's connection ends 2 s after the room entry.
    Start("lobbydrop", "@1 drop after RequestEnterRoom 2000\n");
    ASSERT_TRUE(rig->EnterRoom());
    ASSERT_NE(rig->WaitRoomPage(), nullptr);
    ASSERT_TRUE(WaitTraced(false, "box 错误|检测到和服务器断开连接，正在尝试重连!|0|1")) << "the notice";
    const DWORD lost = GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return Count(lobbyLog, "< RequestRoomList") == 2; }, 10000)) << "logged in again";
    EXPECT_LE(GetTickCount() - lost, static_cast<DWORD>(testsupport::Patience(10000)));
    EXPECT_EQ(Count(lobbyLog, "< PlayerValidate"), 2);
    EXPECT_TRUE(WaitTraced(false, "box 提示|连接服务器成功|0|1"));

    // The tree is back, and the room page's watch has asked for the room again by itself.
    loop::RemoteTree tree(rig->Tree(), rig->Lobby()->Id());
    EXPECT_NE(rig->WaitRoomItem(tree), nullptr) << "the tree is back";
    std::string log;
    EXPECT_TRUE(WaitFor([&] {
        loop::ReadText(lobbyLog, log);
        const size_t login = log.rfind("< PlayerValidate"), room = log.rfind("< RequestEnterRoom");
        return room != std::string::npos && room > login;
    }, 15000)) << "the room requested again after the login";
    EXPECT_NE(rig->WaitRoomPage(), nullptr) << "the room page is back";
}

TEST_F(Faults, SecondCopiesOfBothProgramsAreRefusedWhileTheTableRuns) {
    Start("second");
    ASSERT_TRUE(rig->EnterRoom());
    ASSERT_NE(rig->WaitTable(), nullptr);
    std::string marker;
    ASSERT_FALSE(loop::ReadText(rig->Folder() + "MiraboDever.abc", marker) ||
                 loop::ReadText(rig->Folder() + "110.txt", marker))
        << "no marker lets a second copy run";

    testsupport::ChildProcess lobby(rig->Folder() + "MiraboGame.exe", rig->LoginLine(), rig->Folder());
    HWND box = lobby.WaitWindow("#32770", "错误", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testsupport::WindowText(GetDlgItem(box, 0xFFFF)), "检测到游戏大厅已经开启,请先关闭原游戏大厅!");
    EXPECT_TRUE(lobby.Windows("#32770", loop::kLobbyTitle).empty());
    loop::Confirm(box);
    EXPECT_TRUE(lobby.WaitExit(10000));

    const std::string line = " 127.0.0.1 " + rig->Account() + " " + std::to_string(rig->GamePort()) + " 1 x 0 0 0 1 0 0";
    testsupport::ChildProcess fenlo(rig->Folder() + "fenlo.exe", line, rig->Folder());
    EXPECT_TRUE(fenlo.WaitExit(15000));
    EXPECT_EQ(fenlo.ExitCode(), 0u);
    EXPECT_TRUE(fenlo.Windows().empty()) << "no second table";

    // The first ones go on: one login, one validation, and the player's answers reach the server.
    EXPECT_EQ(Count(lobbyLog, "< PlayerValidate"), 1);
    EXPECT_EQ(Count(gameLog, "< PlayerInfoValidate"), 1);
    EXPECT_TRUE(ReachOwnPlay()) << "the table plays on";
    EXPECT_GE(Count(gameLog, "< JiaoFen") + Count(gameLog, "< Double"), 1);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(rig->LobbyWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer));
}

}  // namespace

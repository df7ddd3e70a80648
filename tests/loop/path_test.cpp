// The path a person takes, end to end: login, the tree, a room, a seat, a
// hand with a hint and a pass, the result and back to the lobby; and what the
// screen shows on the way.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/loop/LoopDrive.h"
#include "tests/platform/ScreenCapture.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/PlayFolder.h"
#include "tools/loop/WindowFind.h"

namespace {

std::string OutputFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));
    return dir.substr(0, dir.find_last_of('\\')) + "\\test-output\\loop_path\\";
}

// The 12-pixel face draws 1 and l alike: read as the same letter.
std::string Readable(std::string text) {
    for (char& c : text)
        if (c == 'l' || c == 'I' || c == '|') c = '1';
    return text;
}

bool HasLineEnding(const std::vector<std::string>& lines, const std::string& end) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
    });
}

}  // namespace

// The path played once for the tests that look at it.
class LoopPath : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loop::RigOptions options;
        options.name = "path";
        loop::LoopRig rig(options);
        report = loop::DrivePath(rig, OutputFolder(), stdout);
        lobbyTrace = rig.TraceLines(false);
    }
    static std::string Picture(const std::string& stage) {
        for (const auto& s : report.reached)
            if (s.name == stage) return s.screenshot;
        return "";
    }
    static loop::DriveReport report;
    static std::vector<std::string> lobbyTrace;
};
loop::DriveReport LoopPath::report;
std::vector<std::string> LoopPath::lobbyTrace;

TEST_F(LoopPath, EveryStageFromTheLoginToTheTableAndBackIsReached) {
    ASSERT_TRUE(report.Ok()) << report.failed << ": " << report.reason;

    std::vector<std::string> reached, expected(loop::kStages, loop::kStages + loop::kStageCount);
    for (const auto& stage : report.reached) reached.push_back(stage.name);
    std::sort(reached.begin(), reached.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(reached, expected);
    for (const auto& stage : report.reached) {
        if (stage.name == "servers") continue;
        std::string png;
        EXPECT_TRUE(loop::ReadText(stage.screenshot, png) && png.size() > 1000) << stage.name << " " << stage.screenshot;
    }
    // The room's own launch, then the seat's: desk 1, seat 0.
    EXPECT_TRUE(HasLineEnding(lobbyTrace, " 1 0 0")) << ::testing::PrintToString(lobbyTrace);
    EXPECT_TRUE(HasLineEnding(lobbyTrace, " 0 1 0")) << ::testing::PrintToString(lobbyTrace);
}

// The stages' pictures are the screen's, read by tesseract, each part
// enlarged three times: the table at the player's turn shows the seats' names
// where the seats are and the own name and money in its information panel;
// the result dialog over the table shows the three names.
TEST_F(LoopPath, TheScreenReadsTheNamesAndTheMoney) {
    if (!TesseractPresent()) GTEST_SKIP() << "tesseract is missing (scripts/setup.sh installs it): the screen is not read";
    if (CaptureScreen().width == 0) GTEST_SKIP() << "the screen cannot be read here (no X display or no python3)";
    ASSERT_TRUE(report.Ok()) << report.failed << ": " << report.reason;
    const Capture table = PictureFile(Picture("hint")), result = PictureFile(Picture("result"));
    ASSERT_GT(table.width, 0);
    ASSERT_GT(result.width, 0);
    const int W = table.width, H = table.height;  // the side panel covers the right 206 pixels
    const struct {
        const char* part;
        const Capture& picture;
        RECT area;
        std::vector<std::string> texts;
    } checks[] = {{"the left seat", table, {0, H / 2 - 210, 300, H / 2 - 30}, {"robot2"}},
                  {"the right seat", table, {W - 440, H / 2 - 210, W - 205, H / 2 - 30}, {"robot1"}},
                  {"the own seat", table, {0, H - 120, 300, H}, {"player"}},
                  {"the information panel", table, {W - 480, 0, W - 205, 150}, {"player", "1000.00"}},
                  {"the result dialog", result, {0, 0, result.width, result.height}, {"player", "robot1", "robot2"}}};
    for (const auto& check : checks) {
        std::string text;
        ASSERT_TRUE(ReadPictureText(Enlarge(Crop(check.picture, check.area), 3), text)) << check.part;
        for (const std::string& expected : check.texts)
            EXPECT_NE(Readable(text).find(Readable(expected)), std::string::npos)
                << check.part << ": " << expected << " not in what was read:\n" << text;
    }
}

TEST(LoopRig, ThePlayFolderHoldsTheProgramsAndTheServersComeBackOnTheirPorts) {
    std::string folder;
    {
        loop::RigOptions options;
        options.name = "rig";
        loop::LoopRig rig(options);
        std::string error;
        ASSERT_TRUE(rig.Start(error)) << error;
        folder = rig.Folder();
        std::string text;
        for (const char* file : {"MiraboGame.exe", "fenlo.exe", "Msg.ini", "fenlo\\FENLOMsg.ini", "FENLORoomTree.ini",
                                 "serveraddr.ini", "Skin\\Style1\\Skin.ini"})
            EXPECT_TRUE(loop::ReadText(folder + file, text) && !text.empty()) << file;
        const unsigned short lobby = rig.LobbyPort(), game = rig.GamePort();
        ASSERT_NE(lobby, 0);
        ASSERT_NE(game, 0);
        ASSERT_TRUE(rig.RestartGameServer());
        ASSERT_TRUE(rig.RestartLobbyServer());
        EXPECT_EQ(rig.GamePort(), game);
        EXPECT_EQ(rig.LobbyPort(), lobby);
    }
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "removed at the end";
}

TEST(LoopDrive, AStageNotReachedIsNamedAndEndsTheDrive) {
    loop::RigOptions options;
    options.name = "nobin";
    options.binFolder = OutputFolder() + "no-programs-here";
    loop::LoopRig rig(options);
    std::string log;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    const loop::DriveReport report = loop::DrivePath(rig, OutputFolder() + "nobin", out);
    std::rewind(out);
    char line[512];
    while (std::fgets(line, sizeof line, out)) log += line;
    std::fclose(out);
    EXPECT_FALSE(report.Ok());
    EXPECT_EQ(report.failed, "servers");
    EXPECT_TRUE(report.reached.empty());
    EXPECT_EQ(log.compare(0, 30, "stage servers: FAILED (cannot "), 0) << log;
}

TEST(LoopMain, ThePersonsRunEndsWithTheLobbyAndStopsTheServers) {
    const std::string bin = OutputFolder() + "..\\..\\bin\\";
    {
        testsupport::ChildProcess usage(bin + "MiraboLoop.exe", "--walk", bin);
        ASSERT_TRUE(usage.WaitExit(10000));
        EXPECT_EQ(usage.ExitCode(), 2u);
    }
    testsupport::ChildProcess person(bin + "MiraboLoop.exe", "--person", bin);
    DWORD lobby = 0;
    HWND main = nullptr;
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const std::vector<DWORD> ids = loop::ProcessesNamed("MiraboGame.exe", person.Id());
        lobby = ids.empty() ? 0 : ids[0];
        const std::vector<HWND> found = loop::ProcessWindows(
            lobby, [](HWND w) { return testsupport::WindowText(w) == loop::kLobbyTitle; });
        main = found.empty() ? nullptr : found[0];
        return main != nullptr;
    }, 30000));
    EXPECT_EQ(loop::ProcessesNamed("MiraboLobbyServer.exe", person.Id()).size(), 1u);
    EXPECT_FALSE(person.WaitExit(0)) << "waits while the lobby runs";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(testsupport::WaitFor([&] {
        for (HWND box : loop::ProcessWindows(lobby, [&](HWND w) { return w != main; })) loop::Confirm(box);
        return person.WaitExit(100);
    }, 20000));
    EXPECT_EQ(person.ExitCode(), 0u);
    EXPECT_TRUE(loop::ProcessesNamed("MiraboLobbyServer.exe").empty());
    EXPECT_TRUE(loop::ProcessesNamed("FenloGameServer.exe").empty());
}

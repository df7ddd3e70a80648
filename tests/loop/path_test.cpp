// The path a person takes, end to end: login, the tree, a room, a seat, a
// hand with a hint and a pass, the result and back to the lobby.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/loop/LoopDrive.h"
#include "tools/loop/PlayFolder.h"

namespace {

std::string OutputFolder() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    dir = dir.substr(0, dir.find_last_of('\\'));
    return dir.substr(0, dir.find_last_of('\\')) + "\\test-output\\loop_path\\";
}

bool HasLineEnding(const std::vector<std::string>& lines, const std::string& end) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.size() >= end.size() && l.compare(l.size() - end.size(), end.size(), end) == 0;
    });
}

}  // namespace

TEST(LoopPath, EveryStageFromTheLoginToTheTableAndBackIsReached) {
    loop::RigOptions options;
    options.name = "path";
    std::vector<std::string> lobbyTrace;
    loop::DriveReport report;
    {
        loop::LoopRig rig(options);
        report = loop::DrivePath(rig, OutputFolder(), stdout);
        lobbyTrace = rig.TraceLines(false);
    }
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

// MiraboLoop.exe: the whole loop on 127.0.0.1, run from the folder of the built
// programs.
//   --drive FOLDER  a driver plays the path for the person (LoopDrive.h) and
//                   leaves a screenshot per stage in FOLDER; exit code 0 only
//                   when every stage was reached
//   --person        starts the same, says what to do, and waits until the
//                   lobby ends
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/LoopbackServer.h"
#include "tools/loop/LoopDrive.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: MiraboLoop.exe --drive FOLDER | --person\n");
    return 2;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = "";
    GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

int Drive(const std::string& shots) {
    loop::DriveReport report;
    {
        loop::LoopRig rig;
        report = loop::DrivePath(rig, FullPath(shots), stdout);
    }
    if (report.Ok()) {
        std::printf("loop: every stage reached; screenshots in %s\n", FullPath(shots).c_str());
        return 0;
    }
    std::printf("loop: FAILED at stage %s: %s\n", report.failed.c_str(), report.reason.c_str());
    return 1;
}

int Person() {
    loop::RigOptions options;
    options.idleMs = 4 * 3600 * 1000;
    loop::LoopRig rig(options);
    std::string error;
    if (!rig.Start(error) || !rig.StartLobby()) {
        std::printf("loop: cannot start: %s\n", error.empty() ? "MiraboGame.exe did not start" : error.c_str());
        return 1;
    }
    std::printf(
        "loop: lobby server on 127.0.0.1:%u, game server on 127.0.0.1:%u, play folder %s\n"
        "The lobby logs you in by itself as \"%s\". Then:\n"
        "  1. In the tree on the left, double-click the first room under the game's entry.\n"
        "     A table opens for the room; close it (its X button, then Yes) to pick a seat yourself.\n"
        "  2. In the room page, click a free seat: the card table opens at that desk.\n"
        "  3. Click the ready button; bid or decline; on your turn pick cards and play them,\n"
        "     or ask for a hint, or pass. Two robots play the other seats.\n"
        "  4. The result dialog ends the hand: continue for another, or go back to the lobby.\n"
        "  5. Close the lobby window to end.\n",
        rig.LobbyPort(), rig.GamePort(), rig.Folder().c_str(), rig.Account().c_str());
    std::fflush(stdout);
    const bool ended = testsupport::WaitFor([&] { return rig.Lobby()->WaitExit(500); }, 4 * 3600 * 1000);
    std::printf("loop: %s\n", ended ? "the lobby has ended" : "four hours passed; closing");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--drive") == 0) return Drive(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--person") == 0) return Person();
    return Usage();
}

// bench_loop.exe [runs]: run from the bin folder. Each run starts the loop
// afresh (LoopRig.h) and measures, in ms:
//   start  MiraboGame.exe started with the command-line login to its tree
//          showing the servers' room (with the times the login window and
//          the lobby window showed)
//   seat   a click on a free seat of the room page to fenlo.exe's table dealt
//          (the ready button clicked as soon as it shows)
// and prints the medians.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/ui/resource.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/LoopDrive.h"

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    using testsupport::WaitFor;
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    std::vector<double> starts, seats;
    for (int i = 0; i < runs; ++i) {
        loop::RigOptions options;
        options.name = "bench";
        loop::LoopRig rig(options);
        std::string error;
        if (!rig.Start(error)) {
            std::printf("run %d: %s\n", i + 1, error.c_str());
            return 1;
        }
        const double t0 = Now();
        rig.StartLobby();
        HWND tree = nullptr;
        double shown = -1, main = -1;
        if (!WaitFor([&] {
                if (shown < 0 && rig.WaitLoginWindow(0)) shown = Now() - t0;
                if (main < 0 && rig.LobbyWindow()) main = Now() - t0;
                return (tree = rig.Tree()) != nullptr;
            }, 30000)) {
            std::printf("run %d: the lobby window did not come up\n", i + 1);
            return 1;
        }
        loop::RemoteTree remote(tree, rig.Lobby()->Id());
        if (!rig.WaitRoomItem(remote, "新手房", 30000)) {
            std::printf("run %d: the tree was not filled\n", i + 1);
            return 1;
        }
        const double filled = Now() - t0;
        if (main < 0) main = filled;  // shown with its tree in one poll
        if (!rig.EnterRoom("新手房", 5000) || !loop::SettleInRoom(rig)) {
            std::printf("run %d: the room page did not come up\n", i + 1);
            return 1;
        }
        const double t1 = Now();
        if (!rig.ClickSeat(1, 0) || !WaitFor([&] {
                rig.ClickTableButton(IDC_READY);
                return loop::TableDealt(rig);
            }, 30000)) {
            std::printf("run %d: the table was not dealt\n", i + 1);
            return 1;
        }
        const double dealt = Now() - t1;
        std::printf("run %d: start to tree %.0f ms (login window %.0f, lobby window %.0f), seat to dealt %.0f ms\n",
                    i + 1, filled, shown, main, dealt);
        std::fflush(stdout);
        starts.push_back(filled);
        seats.push_back(dealt);
    }
    std::printf("median of %d runs: MiraboGame.exe start to the tree filled %.0f ms; seat click to the table dealt %.0f ms\n",
                runs, Median(starts), Median(seats));
    return 0;
}

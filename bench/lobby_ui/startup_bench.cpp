// bench_lobby_startup.exe [runs]: run from the bin folder. Starts
// MiraboGame.exe (program folder bin, with its stand-in skin; working folder a
// scratch one holding the developer marker, so runs may overlap) and measures
// the time from process start to its login dialog being shown, in ms.
// clang-format off
#include "tests/support/ChildProcess.h"
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string BinFolder() {
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1);
}

double Now() {
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string work = std::string(temp) + "mirabo_startup_bench\\";
    ::CreateDirectoryA(work.c_str(), nullptr);
    if (FILE* f = std::fopen((work + "MiraboDever.abc").c_str(), "wb")) std::fclose(f);

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        testsupport::ChildProcess lobby(BinFolder() + "MiraboGame.exe", "", work);
        double shown = -1;
        while (lobby.Started() && Now() - start < 30000) {
            if (!lobby.Windows("#32770", "MiraboGame").empty()) {
                shown = Now() - start;
                break;
            }
            ::Sleep(1);
        }
        if (shown < 0) {
            std::printf("run %d: the login dialog did not show\n", i + 1);
            return 1;
        }
        times.push_back(shown);
        std::printf("run %d: %.1f ms\n", i + 1, shown);
        for (HWND w : lobby.Windows("#32770", "MiraboGame")) ::PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    }
    std::sort(times.begin(), times.end());
    std::printf("start to login dialog shown: min %.1f ms, median %.1f ms over %d runs\n", times.front(),
                times[times.size() / 2], runs);
    return 0;
}

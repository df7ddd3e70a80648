// Watches a program a test started (ChildProcess) while the test works it:
// a watchdog thread sends WM_NULL to one of its windows every tenth of a
// second and keeps the longest answer time and the answers that took over
// the bound (two seconds unless the test gives another) or never came;
// Crashes() looks for the signs of a crash.
//
// The seconds are an idle machine's: while more threads want to run than the
// machine has processors (a build beside the tests), every program gets its
// share only, and the bound grows by the same factor (see MachineLoad).
//
//   testsupport::ChildProcess client(...);
//   testsupport::ProgramWatch watch(client, folderOfTheExe, "fenlo");
//   watch.Watch(client.WaitWindow(...));
//   ... the test ...
//   EXPECT_EQ(watch.Crashes(), "");
//   EXPECT_EQ(watch.Misses(), 0) << watch.LongestAnswerMs();
#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"

namespace testsupport {

// The machine's load factor (Patience.h) read every 20 ms by a sampler
// thread while the object lives; Over(from, to) is its mean over that time
// in ms of NowMs().
class MachineLoad {
public:
    MachineLoad();
    ~MachineLoad();
    MachineLoad(const MachineLoad&) = delete;
    MachineLoad& operator=(const MachineLoad&) = delete;
    double Over(unsigned long long fromMs, unsigned long long toMs) const;

private:
    mutable std::mutex lock_;
    std::vector<std::pair<unsigned long long, double>> samples_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class ProgramWatch {
public:
    // programFolder: where the exe lies (a crash dump is written beside it);
    // dumpStem: the exe's name without ".exe" (dumps are <stem>.*.dmp).
    ProgramWatch(ChildProcess& program, const std::string& programFolder, const std::string& dumpStem,
                 unsigned answerMs = 2000);
    ~ProgramWatch();
    ProgramWatch(const ProgramWatch&) = delete;
    ProgramWatch& operator=(const ProgramWatch&) = delete;

    // The window the watchdog asks from now on; null pauses it.
    void Watch(HWND window);

    // Answers taken so far, the longest (ms), and those over the bound or
    // missing while the window existed.
    int Pings() const { return pings_; }
    unsigned LongestAnswerMs() const { return longest_; }
    int Misses() const { return misses_; }
    // The largest load factor a bound was stretched by.
    double LargestLoad() const { return largestLoad_; }

    // Every sign of a crash, one line each; empty when none: the program is
    // no longer running (allowed with allowExit, then its exit code must not
    // be an exception's), a new dump file beside it, a box of its crash
    // handler or of Wine's debugger open, or a line of Wine's crash output
    // (see ScanOutput).
    std::string Crashes(bool allowExit = false);

    // Lines of Wine's crash output ("page fault", "Unhandled exception") in a
    // text the test captured; empty when none.
    static std::string ScanOutput(const std::string& text);

private:
    void Run();
    std::set<std::string> Dumps() const;

    ChildProcess& program_;
    std::string folder_, stem_;
    const unsigned answerMs_;
    std::set<std::string> dumpsBefore_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> stop_{false};
    MachineLoad load_;
    std::atomic<int> pings_{0}, misses_{0};
    std::atomic<unsigned> longest_{0};
    std::atomic<double> largestLoad_{1.0};
    std::thread thread_;
};

}  // namespace testsupport

// How long a test waits on a loaded machine. While more threads want to run
// than the machine has processors (a build beside the tests), every program
// gets its share only and everything it does takes longer by that factor. A
// wait for a window, a peer or a timer gives up after Patience(ms), the time
// an idle machine needs stretched by the load; on an idle machine it is ms.
// Header only: the window tests use it without the loopback servers' library.
#pragma once

#include <cstdio>
#include <thread>

namespace testsupport {

// How many times over the processors are wanted now: the larger of the
// runnable threads and the last minute's load average (Linux's /proc, seen
// through Wine's Z: drive), over the processors; 1 where nothing can be read,
// at most 10.
inline double LoadFactor() {
#ifdef _WIN32
    const char* stat = "Z:\\proc\\stat";
    const char* average = "Z:\\proc\\loadavg";
#else
    const char* stat = "/proc/stat";
    const char* average = "/proc/loadavg";
#endif
    static const unsigned processors = std::thread::hardware_concurrency() ? std::thread::hardware_concurrency() : 1;
    double wanted = 0;
    if (std::FILE* f = std::fopen(average, "r")) {
        if (std::fscanf(f, "%lf", &wanted) != 1) wanted = 0;
        std::fclose(f);
    }
    if (std::FILE* f = std::fopen(stat, "r")) {
        char line[256];
        unsigned running = 0;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "procs_running %u", &running) == 1) break;
        std::fclose(f);
        // The reader itself is one of the runnable threads.
        if (running > 1 && running - 1.0 > wanted) wanted = running - 1.0;
    }
    const double factor = wanted / processors;
    return factor < 1.0 ? 1.0 : factor > 10.0 ? 10.0 : factor;
}

inline int Patience(int ms) { return ms <= 0 ? ms : static_cast<int>(ms * LoadFactor()); }

}  // namespace testsupport

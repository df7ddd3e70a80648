// What the Windows drawing benchmarks share: a figure is printed as a ratio
// to one copy (BitBlt) of a screen-compatible bitmap of the same size,
// measured in the same run, so that a loaded machine moves both alike; each
// line ends with the machine's load at that moment.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double NowMs() {
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Median ms of n calls of fn, after one call to warm it.
inline double MedianMs(int n, const std::function<void()>& fn) {
    fn();
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const double t0 = NowMs();
        fn();
        ms.push_back(NowMs() - t0);
    }
    return Median(ms);
}

// Median ms of one copy of width x height between two screen-compatible bitmaps.
inline double CopyMs(int width, int height, int n = 100) {
    HDC screen = ::GetDC(nullptr);
    HDC a = ::CreateCompatibleDC(screen), b = ::CreateCompatibleDC(screen);
    HBITMAP ba = ::CreateCompatibleBitmap(screen, width, height), bb = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oa = ::SelectObject(a, ba), ob = ::SelectObject(b, bb);
    const double ms = MedianMs(n, [&] {
        ::BitBlt(b, 0, 0, width, height, a, 0, 0, SRCCOPY);
        ::GdiFlush();
    });
    ::SelectObject(a, oa);
    ::SelectObject(b, ob);
    ::DeleteObject(ba);
    ::DeleteObject(bb);
    ::DeleteDC(a);
    ::DeleteDC(b);
    ::ReleaseDC(nullptr, screen);
    return ms;
}

// The first three figures of /proc/loadavg (Wine shows the host's files on Z:).
inline std::string LoadAverage() {
    char line[128] = "";
    if (FILE* f = std::fopen("Z:\\proc\\loadavg", "r")) {
        if (!std::fgets(line, sizeof line, f)) line[0] = '\0';
        std::fclose(f);
    }
    std::string s(line);
    size_t cut = 0;
    for (int fields = 0; fields < 3 && cut != std::string::npos; ++fields) cut = s.find(' ', cut + 1);
    return cut == std::string::npos ? (s.empty() ? "?" : s) : s.substr(0, cut);
}

// "what: 1.234 ms = 4.1 copies of 930 x 670 (0.301 ms); goal <= 5 copies: met; load 1.2 0.9 0.8"
// goal <= 0: no goal. Returns whether the goal holds.
inline bool PrintRatio(const char* what, double ms, double copyMs, int width, int height, double goal) {
    const double ratio = copyMs > 0 ? ms / copyMs : 0;
    const bool met = goal <= 0 || ratio <= goal;
    std::printf("%s: %.3f ms = %.1f copies of %d x %d (%.3f ms)", what, ms, ratio, width, height, copyMs);
    if (goal > 0) std::printf("; goal <= %g copies: %s", goal, met ? "met" : "NOT MET");
    std::printf("; load %s\n", LoadAverage().c_str());
    std::fflush(stdout);
    return met;
}

}  // namespace bench

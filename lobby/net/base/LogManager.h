// The lobby's logger. Nothing reaches the files during the first 60000 ms after
// the manager is created; from then on every write looks for the marker file
// "write.log" in the program's folder and writes only while it exists. A line is
// "hh:mm:ss# " (local time), the text and CR LF, appended to <category>.log and
// to "Pellrin.log" beside the program; every write also goes to standard output.
// Writing never throws: a file error ends that write quietly.
#pragma once

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <functional>
#include <string>

#include "lobby/net/base/Singleton.h"

class LogManager : public Singleton<LogManager> {
public:
    // The millisecond clock; GetTickCount unless a test brings its own.
    using TickSource = std::function<DWORD()>;

    explicit LogManager(TickSource ticks = TickSource());
    ~LogManager();

    void Write(const std::string& category, const std::string& text);

    LogManager(const LogManager&) = delete;
    LogManager& operator=(const LogManager&) = delete;

    static const DWORD kStartPause = 60000;

private:
    CRITICAL_SECTION lock_;
    DWORD created_;
    bool write_ = false;
    TickSource ticks_;
};

#include "game/core/GameLog.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void DefaultSink(const std::string& line) {
#ifdef _WIN32
    OutputDebugStringA((line + "\n").c_str());
#else
    (void)line;
#endif
}

std::atomic<GameLogSink> g_sink{&DefaultSink};

}  // namespace

void GameLog(const std::string& line) { g_sink.load()(line); }

void SetGameLogSink(GameLogSink sink) { g_sink.store(sink ? sink : &DefaultSink); }

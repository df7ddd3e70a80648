#include "platform/LogSink.h"

#include <windows.h>

#include <atomic>
#include <exception>

namespace {
std::atomic<AfxLogSink> g_sink{nullptr};
}  // namespace

void AfxSetLogSink(AfxLogSink sink) { g_sink = sink; }

void AfxLogLine(const char* line) {
    if (AfxLogSink sink = g_sink) {
        sink(line ? line : "");
        return;
    }
    std::string text(line ? line : "");
    text += "\n";
    ::OutputDebugStringA(text.c_str());
}

void AfxLogCaughtException(const char* where) {
    std::string line = std::string("exception in ") + where + ": ";
    try {
        throw;
    } catch (const std::exception& e) {
        line += e.what();
    } catch (...) {
        line += "unknown exception";
    }
    AfxLogLine(line.c_str());
}

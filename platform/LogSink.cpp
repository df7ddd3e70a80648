#include "platform/LogSink.h"

#include <windows.h>

#include <atomic>
#include <string>

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

#include "lobby/net/base/LogManager.h"

#include <cstdio>

#include "lobby/net/base/File.h"
#include "lobby/net/base/SanitizePath.h"
#include "lobby/net/base/TextHelpers.h"

namespace {

void AppendLine(const std::string& path, const std::string& line) {
    File file(path, GENERIC_WRITE, File::kOpenExisting | File::kCreateNew);
    file.SeekFromEnd(0);
    file.Write(line.data(), static_cast<unsigned>(line.size()));
}

}  // namespace

LogManager::LogManager(TickSource ticks) : ticks_(ticks ? std::move(ticks) : TickSource(&GetTickCount)) {
    InitializeCriticalSection(&lock_);
    created_ = ticks_();
}

LogManager::~LogManager() { DeleteCriticalSection(&lock_); }

void LogManager::Write(const std::string& category, const std::string& text) {
    EnterCriticalSection(&lock_);
    try {
        const std::string folder = GetProgramFolder();
        if (ticks_() - created_ > kStartPause)
            write_ = GetFileAttributesW(Utf8ToWide(folder + "write.log").c_str()) != INVALID_FILE_ATTRIBUTES;
        SYSTEMTIME now;
        GetLocalTime(&now);
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%02d:%02d:%02d# ", now.wHour, now.wMinute, now.wSecond);
        if (write_) {
            const std::string line = prefix + text + "\r\n";
            AppendLine(SanitizePath(folder + category + ".log"), line);
            AppendLine(folder + "Pellrin.log", line);
        }
        const std::string console = prefix + category + ": " + text + "\n";
        std::fwrite(console.data(), 1, console.size(), stdout);
        std::fflush(stdout);
    } catch (...) {
    }
    LeaveCriticalSection(&lock_);
}

// Answers every message box of this process with OK from a thread of its own,
// keeping the texts of the boxes in the order they appeared.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    std::vector<std::string> Texts();

private:
    static BOOL CALLBACK Answer(HWND window, LPARAM self);
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::set<HWND> seen_;
    std::vector<std::string> texts_;
    std::thread thread_;
};

}  // namespace testsupport

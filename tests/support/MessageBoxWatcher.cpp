#include "tests/support/MessageBoxWatcher.h"

namespace testsupport {

MessageBoxWatcher::MessageBoxWatcher()
    : thread_([this] {
          for (; !stop_; Sleep(20)) EnumWindows(Answer, reinterpret_cast<LPARAM>(this));
      }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

BOOL CALLBACK MessageBoxWatcher::Answer(HWND w, LPARAM self) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char name[16] = {}, text[1024] = {};
    GetClassNameA(w, name, sizeof name);
    if (pid != GetCurrentProcessId() || std::string(name) != "#32770" || !IsWindowVisible(w)) return TRUE;
    GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
    MessageBoxWatcher* watcher = reinterpret_cast<MessageBoxWatcher*>(self);
    std::lock_guard<std::mutex> guard(watcher->mutex_);
    if (watcher->seen_.insert(w).second) watcher->texts_.push_back(text);
    PostMessageA(w, WM_COMMAND, IDOK, 0);
    return TRUE;
}

std::vector<std::string> MessageBoxWatcher::Texts() {
    std::lock_guard<std::mutex> guard(mutex_);
    return texts_;
}

}  // namespace testsupport

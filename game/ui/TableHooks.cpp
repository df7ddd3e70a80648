#include "game/ui/TableHooks.h"

#include <utility>

#include "game/ui/MciSound.h"
#include "msgbox/MyMessageBox.h"
#include "platform/Framework.h"

namespace {
TableBoxHook g_boxHook;
TableSoundSink g_soundSink;
TableShellSink g_shellSink;
TableFlashSink g_flashSink;
}  // namespace

int TableMessageBox(const char* text, const char* caption, UINT type, int seconds, CWnd* owner) {
    if (g_boxHook) return g_boxHook(text, caption, type, seconds, owner ? owner->m_hWnd : nullptr);
    return MyMessageBox(text, caption, type, seconds, owner);
}

void SetTableBoxHook(TableBoxHook hook) { g_boxHook = std::move(hook); }

void PlayTableSound(const std::string& path) {
    if (g_soundSink)
        g_soundSink(path);
    else
        PlayMciSound(path);
}

void SetTableSoundSink(TableSoundSink sink) { g_soundSink = std::move(sink); }

void ShellOpen(const std::string& address) {
    if (g_shellSink)
        g_shellSink(address);
    else
        ::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

void SetTableShellSink(TableShellSink sink) { g_shellSink = std::move(sink); }

void FlashTable(HWND window) {
    if (g_flashSink)
        g_flashSink(window);
    else
        ::FlashWindow(window, TRUE);
}

void SetTableFlashSink(TableFlashSink sink) { g_flashSink = std::move(sink); }

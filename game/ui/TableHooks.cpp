#include "game/ui/TableHooks.h"

#include <utility>

#include "game/core/MciSound.h"
#include "msgbox/MyMessageBox.h"

namespace {
TableBoxHook g_boxHook;
TableSoundSink g_soundSink;
}  // namespace

int TableMessageBox(const char* text, const char* caption, UINT type, int seconds, CWnd* owner) {
    if (g_boxHook) return g_boxHook(text, caption, type, seconds);
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

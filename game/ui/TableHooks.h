// The table's boxes and sounds go through these two calls, each with a
// replaceable hook in front of the real one (MyMessageBox, PlayMciSound), so
// that a test program can log them and answer the boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CWnd;

typedef std::function<int(const char* text, const char* caption, UINT type, int seconds)> TableBoxHook;
typedef std::function<void(const std::string& path)> TableSoundSink;

// The hook's answer, or MyMessageBox's when no hook is set.
int TableMessageBox(const char* text, const char* caption, UINT type, int seconds, CWnd* owner);
void SetTableBoxHook(TableBoxHook hook);

// Plays a sound file (a path relative to the current directory).
void PlayTableSound(const std::string& path);
void SetTableSoundSink(TableSoundSink sink);

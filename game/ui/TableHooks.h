// The table's boxes, sounds, shell opens and caption flashes go through these
// calls, each with a replaceable hook in front of the real one (MyMessageBox,
// PlayMciSound, ShellExecute, FlashWindow), so that a test program can log
// them and answer the boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CWnd;

// owner: the box's owner window, null for a box that has none.
typedef std::function<int(const char* text, const char* caption, UINT type, int seconds, HWND owner)> TableBoxHook;
typedef std::function<void(const std::string& path)> TableSoundSink;
typedef std::function<void(const std::string& address)> TableShellSink;
typedef std::function<void(HWND window)> TableFlashSink;

// The hook's answer, or MyMessageBox's when no hook is set.
int TableMessageBox(const char* text, const char* caption, UINT type, int seconds, CWnd* owner);
void SetTableBoxHook(TableBoxHook hook);

// Plays a sound file (a path relative to the current directory).
void PlayTableSound(const std::string& path);
void SetTableSoundSink(TableSoundSink sink);

// Opens an address with the shell (verb "open", SW_SHOW).
void ShellOpen(const std::string& address);
void SetTableShellSink(TableShellSink sink);

// Flashes the window's caption once (FlashWindow, invert).
void FlashTable(HWND window);
void SetTableFlashSink(TableFlashSink sink);

// Test helpers for windows: read a window's pixels back from its DC, save
// them as a PNG for a person to look at, and pump messages for a while.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows from the top

    // COLORREF-style 0x00BBGGRR, as GetPixel gives it.
    COLORREF At(int x, int y) const;
    int Red(int x, int y) const { return GetRValue(At(x, y)); }
    int Green(int x, int y) const { return GetGValue(At(x, y)); }
    int Blue(int x, int y) const { return GetBValue(At(x, y)); }
};

// The window's client area as its DC holds it.
Capture CaptureWindow(HWND hwnd);
// The pixels of a DC (a memory DC with a bitmap, a window DC...).
Capture CaptureDC(HDC dc, int width, int height);
// An icon drawn at size x size on white (empty for a null icon).
Capture CaptureIcon(HICON icon, int size);
// The icon resource id of a program file, drawn at size x size on white; empty
// when the file or the icon cannot be loaded.
Capture ProgramIcon(const std::string& program, int id, int size);
// A picture file (PNG, BMP, JPEG...) read through GDI+, with its colours and
// no alpha; empty when it cannot be read. The path is ASCII.
Capture PictureFile(const std::string& path);
// Writes name.png into the build's test-output folder; returns its path or "".
std::string SavePng(const Capture& capture, const std::string& name);
// Writes the PNG file at that path; returns it or "".
std::string SavePngTo(const Capture& capture, const std::string& path);

// Dispatches this thread's messages for ms milliseconds.
void PumpMessages(DWORD ms);
// Dispatches this thread's messages until done() holds (true) or the
// deadline passes (false).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Puts the mouse pointer at (x, y) on the screen and pumps until Wine reports
// it there for a while: the display's answer to an earlier move, handled
// late on a loaded machine, can put the pointer back where it was.
bool MoveCursorTo(int x, int y, DWORD timeoutMs = 10000);
// A person's click at (x, y) on the screen: the pointer moved there, then the
// left button pressed and released through the system's input queue, so it
// reaches whichever window the display has at that point.
bool ClickScreenAt(int x, int y);

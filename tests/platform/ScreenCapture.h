// What a person sees, for the tests and the loop: the screen as the display
// shows it, windows that cover others included, and the text tesseract reads
// in a picture. Under Wine a program sees no other window's pixels, so the X
// display's root window is read on the Unix side: a shell started from here
// runs python3 with libX11 (a picture from xwd is black wherever a window
// uses another visual) or tesseract, and leaves its exit status in a file.
#pragma once

#include <windows.h>

#include <string>

#include "tests/platform/WindowCapture.h"

// The whole screen; empty when it cannot be read (Wine without an X display,
// or without python3).
Capture CaptureScreen();
// The part of the picture inside the rectangle, clipped to the picture.
Capture Crop(const Capture& picture, const RECT& area);
// The picture enlarged by the factor with bilinear filtering (for OCR).
Capture Enlarge(const Capture& picture, int factor);

// A Windows path as the Unix side names it; "" outside Wine.
std::string UnixPath(const std::string& path);
// Runs a command line of /bin/sh under Wine and waits for its end, up to ms
// (stretched on a loaded machine): its exit status, or -1 when it cannot run
// (outside Wine) or did not end in time. Its output is discarded.
int RunUnixCommand(const std::string& command, int ms);

// Whether tesseract can be run here.
bool TesseractPresent();
// The text tesseract (English) reads in the picture, as sparse text: one
// line per piece found. False when it cannot run.
bool ReadPictureText(const Capture& picture, std::string& text);

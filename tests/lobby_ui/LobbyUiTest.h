// Shared by the lobby window tests: GDI+ started, the generated skin loaded
// into the lobby's skin object, and small window helpers.
#pragma once

#include <windows.h>

#include "tests/platform/WindowCapture.h"

#include <functional>
#include <string>

class CSkinRes;

// bin\Skin\Style1\Skin.ini beside the test program.
std::string SkinIniPath();
// The lobby skin, loaded from SkinIniPath() once.
CSkinRes* LoadedSkin();
// The colour at (x, y) of a picture of the generated skin, named from the
// skin's folder ("btn\\btn8.png"); CLR_INVALID when it cannot be read.
COLORREF SkinPicturePixel(const char* file, int x, int y);
// The whole window (frame included) as its window DC holds it.
struct Capture;
Capture CaptureWhole(HWND hwnd);
// Registers (or unregisters) ImageOle.dll beside the test with regsvr32;
// regsvr32's exit code.
unsigned long RegisterImageOle(bool on);

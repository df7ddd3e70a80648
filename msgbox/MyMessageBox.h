// The message box of Moxbell.dll.
//
// Shows a skinned modal box with the text (8-bit GBK, "\n" starts a line,
// empty lines are dropped) under the caption (may be NULL). type: MB_YESNO
// (bit 4) gives Yes and No instead of OK; both bits of 0x30 add the warning
// picture. With timeoutSeconds > 0 the box counts down and then answers by
// itself: No for a Yes/No box, else OK. parent (may be NULL) owns the box.
// Returns IDOK, IDCANCEL (Esc), IDYES or IDNO. A call made while a box is open
// hides that box, which then ends itself a second later.
#pragma once

#include <windows.h>

class CWnd;

#ifdef MOXBELL_BUILD
#define MOXBELL_API __declspec(dllexport)
#else
#define MOXBELL_API __declspec(dllimport)
#endif

extern "C" MOXBELL_API int MyMessageBox(const char* text, const char* caption, UINT type, int timeoutSeconds,
                                        CWnd* parent);

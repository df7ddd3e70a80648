// What a lobby window posts or sends to the main window (WM_USER+2009, the
// record's address in lParam) to have a message box shown; the main window shows
// it and deletes the record.
#pragma once

#include "platform/CString.h"

const unsigned kMessageBoxRequestMessage = 0x0400 + 2009;  // WM_USER+2009

struct MessageBoxRequest {
    CString text;
    CString caption;
    int buttonStyle = 0;
    int countDown = 0;
    int seconds = 0;
    int extraFlag = 0;
};

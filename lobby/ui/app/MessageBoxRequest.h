// A box the main lobby window shows for another window (WM_USER+2009, lParam
// a new record the receiver deletes).
#pragma once

#include "platform/CString.h"

constexpr unsigned kMsgShowMessageBox = 0x0400 + 2009;  // WM_USER+2009

struct MessageBoxRequest {
    CString text;
    CString caption;
    int style = 0;  // 1 asks for confirmation (IDOK confirms), 0 informs
    int countFlag = 0;
    int seconds = 0;
    int linkFlag = 0;
};

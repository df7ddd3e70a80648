// The hand cursor of links and picture buttons: cursor 106 of the Windows
// folder's winhlp32.exe, copied (the caller owns it); null when it cannot be loaded.
#pragma once

#include <windows.h>

HCURSOR AfxLoadHandCursor();

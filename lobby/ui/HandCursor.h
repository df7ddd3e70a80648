// The hand cursor of the lobby's buttons and links: cursor 106 of the
// Windows folder's winhlp32.exe, copied; null when it cannot be loaded.
#pragma once

#include <windows.h>

HCURSOR LoadLobbyHandCursor();

// The plain window class of our own child windows: double clicks, arrow
// cursor, no background brush (the window paints everything).
#pragma once

#include <windows.h>

// Registers the class once; its name.
LPCSTR AfxDefaultWndClass();

// Start-up services of a program: Winsock, control hosting, the rich edit
// library, and the framework's message box.
#pragma once

#include <windows.h>

#include "platform/CString.h"

// Starts Winsock 2.2 once per process; FALSE when it cannot be started.
BOOL AfxSocketInit();
// Readies ActiveX hosting: the "AtlAxWin" window class (platform/com/AtlAx.h).
void AfxEnableControlContainer();
// Loads the rich edit 2.0 library once; FALSE when it is missing.
BOOL AfxInitRichEdit2();

// The application's name: its CWinApp's name when given, else the program's
// file name without folder and extension.
CString AfxGetAppName();
// A system message box with the application's name as caption, owned by the
// main window when it belongs to the calling thread. Returns its answer.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// The same with the text of a string resource of the current module.
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = 0);

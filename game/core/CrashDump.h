// The process's unhandled-exception filter: writes a minidump beside the
// program through the DbgHelp library found in the program's own folder.
#pragma once

#include <windows.h>

#include "platform/UncaughtException.h"

// Names the dump after the program and the UTC time
// (fenlo.2009_3_7_14_5_9.dmp beside fenlo.exe), tells the player where it is,
// writes it and says that the program ends. Always 1 (the process ends).
LONG WINAPI UnhandledExceptionHandler(EXCEPTION_POINTERS* exception);

// Makes UnhandledExceptionHandler the process's unhandled-exception filter,
// and has a C++ exception of the program's that nothing catches, on any
// thread, reach it too (AfxRaiseUncaughtExceptions), so the dump shows the
// stack that threw; our DLLs do the same for theirs when they load.
void InstallCrashDump();

// The process's unhandled-exception filter: writes a minidump beside the
// program through the DbgHelp library found in the program's own folder.
#pragma once

#include <windows.h>

// Names the dump after the program and the UTC time
// (fenlo.2009_3_7_14_5_9.dmp beside fenlo.exe), tells the player where it is,
// writes it and says that the program ends. Always 1 (the process ends).
LONG WINAPI UnhandledExceptionHandler(EXCEPTION_POINTERS* exception);

// The code of the exception raised for a C++ exception that nothing caught.
const DWORD kUncaughtCppException = 0xE0435050;

// Makes UnhandledExceptionHandler the process's unhandled-exception filter,
// and has a C++ exception that nothing catches, on any thread, reach it too:
// where the runtime would end the program silently (std::terminate), it
// raises kUncaughtCppException at the point of the throw, so the dump shows
// the stack that threw.
void InstallCrashDump();

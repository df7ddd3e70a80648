// A C++ exception that nothing catches, made a structured exception that the
// process's unhandled-exception filter takes.
#pragma once

#include <windows.h>

// The code of the exception raised for a C++ exception that nothing caught.
const DWORD kUncaughtCppException = 0xE0435050;

// Sets this module's std::terminate handler to raise kUncaughtCppException
// where the runtime would end the program silently; for an exception that
// finds no handler, that is at the point of the throw, so the stack that
// threw is still there. Each module of ours links its own C++ runtime with
// its own handler (in the 32-bit build also an unwinder that sees only that
// module's frames): a program sets it at start, each of our DLLs when it
// loads (DllUncaught.cpp). A structured-exception handler between the throw
// and the thread's base may still catch what is raised.
void AfxRaiseUncaughtExceptions();

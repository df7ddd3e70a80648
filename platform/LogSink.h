// Where the framework reports what it cannot hand to anyone else (an
// exception caught in a window procedure...): the debugger output unless the
// program routes it to its own log.
#pragma once

typedef void (*AfxLogSink)(const char* line);

// Null restores the default (OutputDebugStringA). Process-wide.
void AfxSetLogSink(AfxLogSink sink);
void AfxLogLine(const char* line);

// Where the framework reports what it cannot hand to anyone else (an
// exception caught in a window procedure...): the debugger output unless the
// program routes it to its own log.
#pragma once

#include <string>

typedef void (*AfxLogSink)(const char* line);

// Null restores the default (OutputDebugStringA). Process-wide.
void AfxSetLogSink(AfxLogSink sink);
void AfxLogLine(const char* line);

// Inside a catch block: logs "exception in <where>: <the exception's text>".
void AfxLogCaughtException(const char* where);

// Runs call(), the body of a function the system calls into (a window
// procedure, a COM method): a C++ exception leaving it is logged with where()
// and the call answers answer() instead, as if nothing had handled it. No
// exception crosses the system's frames.
template <class Call, class Where, class Answer>
auto AfxStopExceptions(Call&& call, Where&& where, Answer&& answer) -> decltype(call()) {
    try {
        return call();
    } catch (...) {
        const std::string place = where();
        AfxLogCaughtException(place.c_str());
    }
    try {
        return answer();
    } catch (...) {
        return decltype(call())();
    }
}

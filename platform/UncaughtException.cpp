#include "platform/UncaughtException.h"

#include <cstdlib>
#include <exception>

namespace {

[[noreturn]] void RaiseUncaught() {
    ::RaiseException(kUncaughtCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort();  // only when a filter would carry on past it
}

}  // namespace

void AfxRaiseUncaughtExceptions() { std::set_terminate(RaiseUncaught); }

// Linked into each of our DLLs as an object, so that none is left without it:
// the DLL's C++ runtime constructs this when the DLL loads (process attach),
// and from then on an exception that nothing catches inside the DLL reaches
// the process's unhandled-exception filter instead of the runtime's abort.
#include "platform/UncaughtException.h"

namespace {

struct RaiseUncaughtOnLoad {
    RaiseUncaughtOnLoad() { AfxRaiseUncaughtExceptions(); }
} raiseUncaughtOnLoad;

}  // namespace

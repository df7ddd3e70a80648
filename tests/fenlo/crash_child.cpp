// A program that crashes at start with the client's unhandled-exception
// filter in place, so that a test can look at the dump it leaves.
#include "game/core/CrashDump.h"
#include "platform/App.h"

class CCrashApp : public CWinApp {
public:
    BOOL InitInstance() override {
        ::SetUnhandledExceptionFilter(UnhandledExceptionHandler);
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return FALSE;
    }
};

CCrashApp theApp;

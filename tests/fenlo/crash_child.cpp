// A program that crashes at start with the client's crash dump in place, so
// that a test can look at the dump it leaves: by an access violation, or with
// "throw" on its command line by a C++ exception that leaves InitInstance.
#include <cstring>
#include <stdexcept>

#include "game/core/CrashDump.h"
#include "platform/App.h"

class CCrashApp : public CWinApp {
public:
    BOOL InitInstance() override {
        InstallCrashDump();
        if (m_lpCmdLine && std::strstr(m_lpCmdLine, "throw")) throw std::runtime_error("start-up failed");
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return FALSE;
    }
};

CCrashApp theApp;

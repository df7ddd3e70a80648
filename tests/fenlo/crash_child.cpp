// A program that crashes at start with the client's crash dump in place, so
// that a test can look at the dump it leaves: by an access violation, with
// "throw" on its command line by a C++ exception that leaves InitInstance, or
// with "tessel" by one that Tessel.dll throws and nothing catches there.
#include <cstring>
#include <stdexcept>

#include "game/core/CrashDump.h"
#include "platform/App.h"
#include "xml/XMLTextReader.h"

namespace {

#ifdef __i386__
#define MEMBER_CALL __attribute__((thiscall))
#else
#define MEMBER_CALL
#endif

template <typename Proc>
Proc Export(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Tessel.dll's own SetXmlData (importers compile the header's twin in), on a
// reader the DLL constructs, given text with a tag left open: the throw
// starts inside the DLL, whose unwinder sees no frame of this program. The
// DLL is loaded here, so the other crashes need no Tessel.dll beside them.
void ThrowInsideTessel() {
    typedef void(MEMBER_CALL * Construct)(void* self);
    typedef void(MEMBER_CALL * SetXmlData)(void* self, const char* data, int length);
    HMODULE tessel = ::LoadLibraryA("Tessel.dll");
    const Construct construct = Export<Construct>(tessel, "_ZN13XMLTextReaderC1Ev");
    const SetXmlData set = Export<SetXmlData>(tessel, "_ZN13XMLTextReader10SetXmlDataEPKci");
    alignas(XMLTextReader) static unsigned char reader[sizeof(XMLTextReader)];
    if (!construct || !set) return;
    construct(reader);
    set(reader, "<open>", 6);
}

}  // namespace

class CCrashApp : public CWinApp {
public:
    BOOL InitInstance() override {
        InstallCrashDump();
        if (m_lpCmdLine && std::strstr(m_lpCmdLine, "throw")) throw std::runtime_error("start-up failed");
        if (m_lpCmdLine && std::strstr(m_lpCmdLine, "tessel")) ThrowInsideTessel();
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return FALSE;
    }
};

CCrashApp theApp;

// A stand-in UNZDLL.DLL with its version entry point only (no UnzDllExec).
#include "platform/zipdll/ZipDllApi.h"

extern "C" int ZIPDLL_CALL GetUnzDllVersion() { return 1; }

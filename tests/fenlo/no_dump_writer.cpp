// A DBGHELP.dll stand-in that lacks MiniDumpWriteDump.
#include <windows.h>

extern "C" __declspec(dllexport) int NotTheDumpWriter() { return 0; }

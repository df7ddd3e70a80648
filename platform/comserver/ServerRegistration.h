// DllRegisterServer and DllUnregisterServer of a module with a module script,
// a class script and a type library. Both run with the thread locale set to
// 0x0800 (language neutral, system default) and put it back afterwards; both
// stop at the first failure and return it.
//   register:   module script, class script, type library
//   unregister: class script, type library, module script
#pragma once

#include <windows.h>

#include "platform/comserver/RegScript.h"

struct ServerScripts {
    UINT moduleScript;
    UINT classScript;
    RegReplacements replacements;  // %MODULE% is added by itself
};

HRESULT RegisterServer(const ServerScripts& scripts);
HRESULT UnregisterServer(const ServerScripts& scripts);

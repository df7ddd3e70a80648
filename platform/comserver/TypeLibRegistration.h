// Registration of the type library kept in the module (resource TYPELIB 1).
#pragma once

#include <windows.h>

HRESULT RegisterModuleTypeLib(const wchar_t* modulePath);
HRESULT UnregisterModuleTypeLib(const wchar_t* modulePath);

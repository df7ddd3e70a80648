// The in-process server's module: its instance, its path and its lock count
// (objects alive plus IClassFactory::LockServer), which decides DllCanUnloadNow.
#pragma once

#include <windows.h>

#include <string>

class ComModule {
public:
    // From DllMain on process attach; false when the module's path cannot be had.
    static bool Init(HINSTANCE instance);
    static HINSTANCE Instance();
    static const std::string& Path();    // full path of the DLL, ANSI
    static const std::wstring& PathW();  // the same in UTF-16

    static LONG Lock();
    static LONG Unlock();
    // S_OK when nothing holds the module, else S_FALSE.
    static HRESULT CanUnloadNow();
};

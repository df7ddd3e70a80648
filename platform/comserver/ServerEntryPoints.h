// The five exported entry points of an in-process server of one class:
// MIRABO_SERVER_ENTRY_POINTS(clsid, creator, scripts) in one source file of
// the DLL; scripts is an expression giving its ServerScripts.
#pragma once

#include <windows.h>

#include "platform/comserver/ClassFactory.h"
#include "platform/comserver/ComModule.h"
#include "platform/comserver/ServerRegistration.h"

#define MIRABO_SERVER_ENTRY_POINTS(clsid, creator, scripts)                               \
    extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {            \
        if (reason == DLL_PROCESS_ATTACH) {                                               \
            DisableThreadLibraryCalls(instance);                                          \
            return ComModule::Init(instance) ? TRUE : FALSE;                              \
        }                                                                                 \
        return TRUE;                                                                      \
    }                                                                                     \
    STDAPI DllCanUnloadNow() { return ComModule::CanUnloadNow(); }                        \
    STDAPI DllGetClassObject(REFCLSID requested, REFIID iid, LPVOID* out) {               \
        return ClassFactory::GetClassObject(requested, clsid, creator, iid, out);         \
    }                                                                                     \
    STDAPI DllRegisterServer() { return RegisterServer(scripts); }                        \
    STDAPI DllUnregisterServer() { return UnregisterServer(scripts); }

// The DLL's entry points: an in-process server of one class, CIBrenwick.
#include <windows.h>

#include "browserhelper/BrenwickIds.h"
#include "browserhelper/CIBrenwick.h"
#include "browserhelper/resource.h"
#include "platform/comserver/ClassFactory.h"
#include "platform/comserver/ComModule.h"
#include "platform/comserver/ServerRegistration.h"

namespace {

ServerScripts Scripts() { return {IDR_BRENWICK_MODULE, IDR_BRENWICK_CLASS, {{"APPID", kBrenwickAppId}}}; }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return ComModule::Init(instance) ? TRUE : FALSE;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return ComModule::CanUnloadNow(); }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    return ClassFactory::GetClassObject(clsid, CLSID_IBrenwick, &CIBrenwick::Create, iid, out);
}

STDAPI DllRegisterServer() { return RegisterServer(Scripts()); }

STDAPI DllUnregisterServer() { return UnregisterServer(Scripts()); }

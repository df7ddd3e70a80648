// ImageOle.dll's entry points: an in-process server of one class, CGifPlayer.
#include <windows.h>

#include "platform/comserver/ClassFactory.h"
#include "platform/comserver/ComModule.h"
#include "platform/comserver/ServerRegistration.h"
#include "platform/imageole/GifPlayer.h"
#include "platform/imageole/ImageOleIds.h"
#include "resource.h"

namespace {
ServerScripts Scripts() { return {IDR_IMAGEOLE_MODULE, IDR_IMAGEOLE_CLASS, {}}; }
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
    return ClassFactory::GetClassObject(clsid, CLSID_GifPlayer, &CGifPlayer::Create, iid, out);
}

STDAPI DllRegisterServer() { return RegisterServer(Scripts()); }

STDAPI DllUnregisterServer() { return UnregisterServer(Scripts()); }

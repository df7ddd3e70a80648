#include "platform/comserver/ServerRegistration.h"

#include "platform/comserver/ComModule.h"
#include "platform/comserver/Registrar.h"
#include "platform/comserver/TypeLibRegistration.h"

namespace {

class NeutralThreadLocale {
public:
    NeutralThreadLocale() : saved_(GetThreadLocale()) {
        SetThreadLocale(MAKELCID(MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), SORT_DEFAULT));
    }
    ~NeutralThreadLocale() { SetThreadLocale(saved_); }

private:
    LCID saved_;
};

}  // namespace

HRESULT RegisterServer(const ServerScripts& scripts) {
    NeutralThreadLocale locale;
    HINSTANCE module = ComModule::Instance();
    HRESULT hr = UpdateRegistryFromResource(module, scripts.moduleScript, true, scripts.replacements);
    if (SUCCEEDED(hr)) hr = UpdateRegistryFromResource(module, scripts.classScript, true, scripts.replacements);
    if (SUCCEEDED(hr)) hr = RegisterModuleTypeLib(ComModule::PathW().c_str());
    return FAILED(hr) ? hr : S_OK;
}

HRESULT UnregisterServer(const ServerScripts& scripts) {
    NeutralThreadLocale locale;
    HINSTANCE module = ComModule::Instance();
    HRESULT hr = UpdateRegistryFromResource(module, scripts.classScript, false, scripts.replacements);
    if (SUCCEEDED(hr)) hr = UnregisterModuleTypeLib(ComModule::PathW().c_str());
    if (SUCCEEDED(hr)) hr = UpdateRegistryFromResource(module, scripts.moduleScript, false, scripts.replacements);
    return FAILED(hr) ? hr : S_OK;
}

#include "platform/comserver/TypeLibRegistration.h"

#include <oleauto.h>

#include "platform/comserver/ComPtr.h"

HRESULT RegisterModuleTypeLib(const wchar_t* modulePath) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath, REGKIND_NONE, library.Put());
    if (FAILED(hr)) return hr;
    return RegisterTypeLib(library.Get(), const_cast<wchar_t*>(modulePath), nullptr);
}

HRESULT UnregisterModuleTypeLib(const wchar_t* modulePath) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(modulePath, REGKIND_NONE, library.Put());
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    library->ReleaseTLibAttr(attr);
    return hr;
}

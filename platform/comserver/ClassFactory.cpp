#include "platform/comserver/ClassFactory.h"

const ComInterfaceEntry* ClassFactory::Interfaces() {
    static const ComInterfaceEntry table[] = {ComEntry<ClassFactory, IClassFactory>(IID_IClassFactory), {}};
    return table;
}

HRESULT ClassFactory::GetClassObject(REFCLSID requested, REFCLSID served, Creator creator, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(requested, served)) return CLASS_E_CLASSNOTAVAILABLE;
    ComObject<ClassFactory>* factory = new (std::nothrow) ComObject<ClassFactory>;
    if (!factory) return E_OUTOFMEMORY;
    factory->creator_ = creator;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return creator_(iid, out);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) ComModule::Lock();
    else ComModule::Unlock();
    return S_OK;
}

#include "platform/comserver/TypeLibDispatch.h"

#include "platform/comserver/ComModule.h"

HRESULT ModuleTypeInfo(REFIID iid, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    ComPtr<ITypeLib> library;
    const HRESULT hr = LoadTypeLibEx(ComModule::PathW().c_str(), REGKIND_NONE, library.Put());
    return FAILED(hr) ? hr : library->GetTypeInfoOfGuid(iid, info);
}

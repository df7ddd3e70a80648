// IDispatch of a dual interface, over its description in the type library
// kept in this module (resource TYPELIB 1).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "platform/comserver/ComPtr.h"

// The type information of one interface of the module's type library.
HRESULT ModuleTypeInfo(REFIID iid, ITypeInfo** info);

template <class Interface>
class TypeLibDispatch : public Interface {
public:
    explicit TypeLibDispatch(const IID& iid) : iid_(iid) {}

    STDMETHOD(GetTypeInfoCount)(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        ITypeInfo* held = nullptr;
        const HRESULT hr = Info(&held);
        if (SUCCEEDED(hr)) {
            held->AddRef();
            *info = held;
        }
        return hr;
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* info = nullptr;
        const HRESULT hr = Info(&info);
        return FAILED(hr) ? hr : DispGetIDsOfNames(info, names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
        ITypeInfo* info = nullptr;
        const HRESULT hr = Info(&info);
        return FAILED(hr) ? hr
                          : DispInvoke(static_cast<Interface*>(this), info, id, flags, params, result, exception, argError);
    }

private:
    // Loaded on first use; the object keeps it.
    HRESULT Info(ITypeInfo** info) {
        if (!info_) {
            const HRESULT hr = ModuleTypeInfo(iid_, info_.Put());
            if (FAILED(hr)) return hr;
        }
        *info = info_.Get();
        return S_OK;
    }

    const IID& iid_;
    ComPtr<ITypeInfo> info_;
};

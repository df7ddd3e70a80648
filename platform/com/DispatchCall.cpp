#include "platform/com/DispatchCall.h"

#include <vector>

#include "platform/com/BstrText.h"

namespace {

const BYTE kByRef = 0x40;

// Takes the next argument of type code off the list into arg; false for a
// code this helper does not know.
bool TakeArgument(BYTE code, va_list& args, VARIANT& arg) {
    if (code & kByRef) {
        VARTYPE vt = static_cast<VARTYPE>(code & ~kByRef);
        switch (vt) {
            case VT_I4:
                V_VT(&arg) = VT_BYREF | VT_I4;
                V_I4REF(&arg) = va_arg(args, long*);
                return true;
            case VT_BOOL:
                V_VT(&arg) = VT_BYREF | VT_BOOL;
                V_BOOLREF(&arg) = va_arg(args, VARIANT_BOOL*);
                return true;
            case VT_VARIANT:
                V_VT(&arg) = VT_BYREF | VT_VARIANT;
                V_VARIANTREF(&arg) = va_arg(args, VARIANT*);
                return true;
            default:
                return false;
        }
    }
    switch (code) {
        case VT_I2:
            V_VT(&arg) = VT_I2;
            V_I2(&arg) = static_cast<SHORT>(va_arg(args, int));
            return true;
        case VT_I4:
            V_VT(&arg) = VT_I4;
            V_I4(&arg) = va_arg(args, long);
            return true;
        case VT_R4:
            V_VT(&arg) = VT_R4;
            V_R4(&arg) = static_cast<float>(va_arg(args, double));
            return true;
        case VT_R8:
            V_VT(&arg) = VT_R8;
            V_R8(&arg) = va_arg(args, double);
            return true;
        case VT_BOOL:
            V_VT(&arg) = VT_BOOL;
            V_BOOL(&arg) = va_arg(args, int) ? VARIANT_TRUE : VARIANT_FALSE;
            return true;
        case VT_BSTR:
            V_VT(&arg) = VT_BSTR;
            V_BSTR(&arg) = AfxAllocBstr(va_arg(args, const char*));
            return V_BSTR(&arg) != nullptr;
        case VT_DISPATCH:
            V_VT(&arg) = VT_DISPATCH;
            V_DISPATCH(&arg) = va_arg(args, IDispatch*);
            if (V_DISPATCH(&arg)) V_DISPATCH(&arg)->AddRef();
            return true;
        case VT_UNKNOWN:
            V_VT(&arg) = VT_UNKNOWN;
            V_UNKNOWN(&arg) = va_arg(args, IUnknown*);
            if (V_UNKNOWN(&arg)) V_UNKNOWN(&arg)->AddRef();
            return true;
        case VT_VARIANT: {
            const VARIANT* value = va_arg(args, const VARIANT*);
            return value && SUCCEEDED(::VariantCopy(&arg, const_cast<VARIANT*>(value)));
        }
        default:
            return false;
    }
}

HRESULT StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
    if (vtRet == VT_EMPTY || !pvRet) return S_OK;
    if (vtRet == VT_VARIANT) {
        VARIANT* out = static_cast<VARIANT*>(pvRet);
        ::VariantClear(out);
        *out = result;
        V_VT(&result) = VT_EMPTY;
        return S_OK;
    }
    HRESULT hr = ::VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(hr)) return hr;
    switch (vtRet) {
        case VT_I2:
            *static_cast<short*>(pvRet) = V_I2(&result);
            break;
        case VT_I4:
            *static_cast<long*>(pvRet) = V_I4(&result);
            break;
        case VT_R4:
            *static_cast<float*>(pvRet) = V_R4(&result);
            break;
        case VT_R8:
            *static_cast<double*>(pvRet) = V_R8(&result);
            break;
        case VT_BOOL:
            *static_cast<BOOL*>(pvRet) = V_BOOL(&result) ? TRUE : FALSE;
            break;
        case VT_BSTR:
            *static_cast<CString*>(pvRet) = AfxBstrText(V_BSTR(&result));
            break;
        case VT_DISPATCH:
            *static_cast<IDispatch**>(pvRet) = V_DISPATCH(&result);
            V_VT(&result) = VT_EMPTY;
            break;
        case VT_UNKNOWN:
            *static_cast<IUnknown**>(pvRet) = V_UNKNOWN(&result);
            V_VT(&result) = VT_EMPTY;
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

}  // namespace

HRESULT AfxInvokeHelperV(IDispatch* disp, DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const BYTE* paramInfo,
                         va_list args) {
    if (!disp) return E_POINTER;
    // DISPPARAMS list the arguments last first.
    std::vector<VARIANT> list;
    HRESULT hr = S_OK;
    for (const BYTE* p = paramInfo; p && *p; ++p) {
        VARIANT arg;
        ::VariantInit(&arg);
        if (!TakeArgument(*p, args, arg)) {
            hr = DISP_E_BADVARTYPE;
            break;
        }
        list.insert(list.begin(), arg);
    }
    if (SUCCEEDED(hr)) {
        DISPPARAMS params = {list.empty() ? nullptr : list.data(), nullptr, static_cast<UINT>(list.size()), 0};
        DISPID putId = DISPID_PROPERTYPUT;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }
        VARIANT result;
        ::VariantInit(&result);
        EXCEPINFO error = {};
        UINT argError = 0;
        hr =
            disp->Invoke(dispid, IID_NULL, 0, flags, &params, vtRet == VT_EMPTY ? nullptr : &result, &error, &argError);
        if (hr == DISP_E_EXCEPTION) {
            ::SysFreeString(error.bstrSource);
            ::SysFreeString(error.bstrDescription);
            ::SysFreeString(error.bstrHelpFile);
        }
        if (SUCCEEDED(hr)) hr = StoreResult(result, vtRet, pvRet);
        ::VariantClear(&result);
    }
    for (VARIANT& arg : list) ::VariantClear(&arg);
    return hr;
}

HRESULT AfxInvokeHelper(IDispatch* disp, DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo,
                        ...) {
    va_list args;
    va_start(args, paramInfo);
    HRESULT hr = AfxInvokeHelperV(disp, dispid, flags, vtRet, pvRet, reinterpret_cast<const BYTE*>(paramInfo), args);
    va_end(args);
    return hr;
}

// Late-bound calls through IDispatch with the argument list described by a
// byte string, one VT_ code per argument:
//
//   CString result;
//   AfxInvokeHelper(disp, 0xC6, DISPATCH_METHOD, VT_BSTR, &result, VTS_BSTR, "request");
//
// Arguments are passed as: VTS_I2/I4/BOOL int or long, VTS_R4/R8 double,
// VTS_BSTR LPCSTR (program code page), VTS_DISPATCH IDispatch*, VTS_UNKNOWN
// IUnknown*, VTS_VARIANT const VARIANT*, and VTS_PI4/PBOOL/PVARIANT as
// long*, VARIANT_BOOL*, VARIANT* passed by reference. The result (vtRet) is
// written to pvRet as: VT_EMPTY nothing, VT_I2 short*, VT_I4 long*, VT_R4
// float*, VT_R8 double*, VT_BOOL BOOL*, VT_BSTR CString*, VT_DISPATCH
// IDispatch**, VT_UNKNOWN IUnknown** (AddRef'ed), VT_VARIANT VARIANT*.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdarg>

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
// By reference: the VT_ code with 0x40 set.
#define VTS_PI4 "\x43"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

// Invokes dispid on disp. Returns the call's HRESULT; a failed call or a
// result that does not convert to vtRet leaves pvRet untouched.
HRESULT AfxInvokeHelperV(IDispatch* disp, DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const BYTE* paramInfo,
                         va_list args);
HRESULT AfxInvokeHelper(IDispatch* disp, DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo,
                        ...);

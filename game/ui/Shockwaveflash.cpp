#include "game/ui/Shockwaveflash.h"

const CLSID& CShockwaveflash::GetClsid() {
    static const CLSID clsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    return clsid;
}

BOOL CShockwaveflash::Create(LPCSTR, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(GetClsid(), windowName, style, rect, parent, id);
}

HRESULT CShockwaveflash::SetMovie(LPCSTR path) {
    return InvokeHelper(kDispMovie, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BSTR, path);
}

HRESULT CShockwaveflash::Play() { return InvokeHelper(kDispPlay, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE); }

HRESULT CShockwaveflash::SetMenu(BOOL on) {
    return InvokeHelper(kDispMenu, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, on);
}

HRESULT CShockwaveflash::Close() { return InvokeHelper(kDispClose, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE); }

HRESULT CShockwaveflash::CallFunction(LPCSTR request, CString* result) {
    return InvokeHelper(kDispCallFunction, DISPATCH_METHOD, VT_BSTR, result, VTS_BSTR, request);
}

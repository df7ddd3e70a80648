#include "platform/com/AtlAx.h"

#include "platform/AppServices.h"

namespace {

typedef BOOL(WINAPI* AtlAxWinInitProc)();
typedef HRESULT(WINAPI* AtlAxAttachControlProc)(IUnknown*, HWND, IUnknown**);
typedef HRESULT(WINAPI* AtlAxGetControlProc)(HWND, IUnknown**);

struct AtlLibrary {
    AtlAxAttachControlProc attach = nullptr;
    AtlAxGetControlProc getControl = nullptr;
    bool ready = false;
};

template <typename Proc>
Proc Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

const AtlLibrary& Atl() {
    static const AtlLibrary atl = [] {
        AtlLibrary lib;
        HMODULE module = ::LoadLibraryA("atl.dll");
        if (!module) return lib;
        AtlAxWinInitProc init = Lookup<AtlAxWinInitProc>(module, "AtlAxWinInit");
        lib.attach = Lookup<AtlAxAttachControlProc>(module, "AtlAxAttachControl");
        lib.getControl = Lookup<AtlAxGetControlProc>(module, "AtlAxGetControl");
        lib.ready = init && lib.attach && lib.getControl && init();
        return lib;
    }();
    return atl;
}

}  // namespace

BOOL AfxAtlAxWinInit() { return Atl().ready ? TRUE : FALSE; }

HRESULT AfxAtlAxAttachControl(IUnknown* control, HWND hWnd, IUnknown** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    if (!Atl().ready) return E_NOTIMPL;
    if (!control || !::IsWindow(hWnd)) return E_INVALIDARG;
    return Atl().attach(control, hWnd, container);
}

HRESULT AfxAtlAxGetControl(HWND hWnd, IUnknown** control) {
    if (!control) return E_POINTER;
    *control = nullptr;
    if (!Atl().ready) return E_NOTIMPL;
    return Atl().getControl(hWnd, control);
}

void AfxEnableControlContainer() { AfxAtlAxWinInit(); }

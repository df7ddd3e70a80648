// The animated-GIF control: loads a GIF (IGifPlayer), is embedded as an OLE
// object (IOleObject, IViewObject2, in-place activation) and hands its
// current frame to a container that asks for data (IDataObject, CF_BITMAP).
// Once shown, a thread timer advances the frames and repaints the host window.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "platform/GifFrames.h"
#include "platform/comserver/ComObject.h"
#include "platform/comserver/ComPtr.h"
#include "platform/comserver/TypeLibDispatch.h"
#include "platform/imageole/ImageOleIds.h"

class CGifPlayer : public ComObjectRoot,
                   public TypeLibDispatch<IGifPlayer>,
                   public IOleObject,
                   public IViewObject2,
                   public IOleInPlaceObject,
                   public IDataObject {
public:
    CGifPlayer();
    ~CGifPlayer() override;
    static const ComInterfaceEntry* Interfaces();
    static HRESULT Create(REFIID iid, void** out);

    // IGifPlayer
    STDMETHOD(LoadFromFile)(BSTR path) override;
    STDMETHOD(IsAnimated)(VARIANT_BOOL* animated) override;

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* site) override;
    STDMETHOD(GetClientSite)(IOleClientSite** site) override;
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override;
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT) override;
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return OLE_S_USEREG; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* clsid) override;
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD aspect, SIZEL* size) override;
    STDMETHOD(Advise)(IAdviseSink*, DWORD* cookie) override;
    STDMETHOD(Unadvise)(DWORD) override { return S_OK; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* status) override;
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IViewObject2
    STDMETHOD(Draw)(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override { return GetExtent(aspect, size); }

    // IOleInPlaceObject
    STDMETHOD(GetWindow)(HWND* window) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(InPlaceDeactivate)() override;
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT, LPCRECT) override { return S_OK; }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }

    // IDataObject: the current frame as CF_BITMAP.
    STDMETHOD(GetData)(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(QueryGetData)(FORMATETC* format) override;
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(DUnadvise)(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    void StartAnimation();
    void StopAnimation();
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD);

    GifFrames frames_;
    ComPtr<IOleClientSite> site_;
    HWND host_ = nullptr;
    UINT_PTR timer_ = 0;
};

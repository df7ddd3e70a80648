#include "platform/com/DocHostFlags.h"

#include <mshtmhst.h>

const IID IID_AfxCustomDoc = {0x3050f3f0, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

namespace {

class CHostFlagsHandler final : public IDocHostUIHandler {
public:
    explicit CHostFlagsHandler(DWORD flags) : m_flags(flags) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDocHostUIHandler)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG refs = --m_refs;
        if (refs == 0) delete this;
        return refs;
    }

    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        if (!info) return E_POINTER;
        info->dwFlags = m_flags;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    // S_FALSE / E_NOTIMPL: the browser's own behaviour.
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override {
        if (key) *key = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override {
        if (target) *target = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** external) override {
        if (external) *external = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }

private:
    ULONG m_refs = 1;
    DWORD m_flags;
};

}  // namespace

HRESULT AfxApplyDocHostFlags(IUnknown* document, DWORD flags) {
    IAfxCustomDoc* custom = nullptr;
    if (!document || FAILED(document->QueryInterface(IID_AfxCustomDoc, reinterpret_cast<void**>(&custom))))
        return E_NOINTERFACE;
    CHostFlagsHandler* handler = new CHostFlagsHandler(flags);
    HRESULT hr = custom->SetUIHandler(handler);
    handler->Release();
    custom->Release();
    return hr;
}

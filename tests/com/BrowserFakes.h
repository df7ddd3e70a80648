// The browser's side of the web views' tests: its event arguments as it
// passes them, and a document with one element to bind a DHTML map to.
#pragma once

#include <windows.h>

#include <mshtmhst.h>
#include <ocidl.h>
#include <oleauto.h>

#include <cwchar>
#include <vector>

#include "platform/com/DocHostFlags.h"

namespace comtest {

// The browser's arguments, first to last, built into DISPPARAMS (last first).
class EventArgs {
public:
    ~EventArgs() {
        for (VARIANT& v : m_values) ::VariantClear(&v);
    }
    // A VT_BYREF|VT_VARIANT argument around a value, as the browser passes them.
    EventArgs& Ref(VARIANT value) {
        m_values.push_back(value);
        return Raw(VT_BYREF | VT_VARIANT, &m_values.back());
    }
    EventArgs& Text(const wchar_t* text) {
        VARIANT v;
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocString(text);
        return Ref(v);
    }
    EventArgs& Number(long n) {
        VARIANT v;
        V_VT(&v) = VT_I4;
        V_I4(&v) = n;
        return Ref(v);
    }
    EventArgs& Dispatch(IDispatch* d) {
        VARIANT v;
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = d;
        m_args.insert(m_args.begin(), v);
        return *this;
    }
    EventArgs& Cancel(VARIANT_BOOL* flag) { return Raw(VT_BYREF | VT_BOOL, flag); }
    HRESULT Fire(IDispatch* sink, DISPID dispid) {
        DISPPARAMS params = {m_args.data(), nullptr, static_cast<UINT>(m_args.size()), 0};
        return sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }

private:
    EventArgs& Raw(VARTYPE vt, void* p) {
        VARIANT v;
        V_VT(&v) = vt;
        V_BYREF(&v) = p;
        m_args.insert(m_args.begin(), v);
        return *this;
    }
    std::vector<VARIANT> m_args;
    std::vector<VARIANT> m_values = std::vector<VARIANT>();

public:
    EventArgs() { m_values.reserve(16); }
};

// A page of our own for the DHTML map: a document whose getElementById knows
// one element id ("ButtonOK" unless told), an element that keeps the sink
// advised on it.
class FakeElement : public IDispatch, public IConnectionPointContainer, public IConnectionPoint {
public:
    IDispatch* sink = nullptr;
    int unadvised = 0;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IConnectionPointContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        else
            return (*out = nullptr), E_NOINTERFACE;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint** point) override { return (*point = this), S_OK; }
    STDMETHODIMP GetConnectionInterface(IID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IUnknown* s, DWORD* cookie) override {
        s->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink));
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD) override {
        ++unadvised;
        if (sink) sink->Release();
        sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

// The document's ICustomDoc: keeps the UI handler it is given.
struct FakeCustomDoc : public IAfxCustomDoc {
    IDocHostUIHandler* handler = nullptr;
    ~FakeCustomDoc() {
        if (handler) handler->Release();
    }
    STDMETHODIMP QueryInterface(REFIID, void** out) override { return (*out = this), S_OK; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* h) override {
        h->AddRef();
        handler = h;
        return S_OK;
    }
};

class FakeDocument : public IDispatch {
public:
    explicit FakeDocument(const wchar_t* id = L"ButtonOK") : id_(id) {}
    FakeElement button;
    FakeCustomDoc custom;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_AfxCustomDoc) return (*out = &custom), S_OK;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return (*out = nullptr), E_NOINTERFACE;
        return (*out = this), S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
        return wcscmp(names[0], L"getElementById") == 0 ? (*id = 7, S_OK) : DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* result, EXCEPINFO*, UINT*) override {
        if (id != 7 || p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_BSTR) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_NULL;
        if (wcscmp(V_BSTR(&p->rgvarg[0]), id_) == 0) {
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = &button;
        }
        return S_OK;
    }

private:
    const wchar_t* id_;
};

}  // namespace comtest

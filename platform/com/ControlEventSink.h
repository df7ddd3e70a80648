// The receiving end of a control's events: an IDispatch connected to the
// control's default source interface, handing each Invoke to a handler.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <functional>

// The IID of the default source (event) interface of control, from
// IProvideClassInfo2 or, failing that, from its class's type information.
HRESULT AfxGetDefaultSourceIID(IUnknown* control, IID* iid);

class CControlEventSink final : public IDispatch {
public:
    typedef std::function<HRESULT(DISPID, DISPPARAMS*)> Handler;

    // A new sink advised on control's default source interface (one
    // reference, the caller's), or null when the control has no events.
    static CControlEventSink* Connect(IUnknown* control, Handler handler);
    // A new sink advised on source's connection point for iid, or null.
    static CControlEventSink* Advise(IUnknown* source, REFIID iid, Handler handler);
    // Unadvises and forgets the handler; calls that still arrive do nothing.
    void Disconnect();

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    CControlEventSink(REFIID iid, Handler handler) : m_iid(iid), m_handler(std::move(handler)) {}
    ~CControlEventSink();

    ULONG m_refs = 1;
    IID m_iid;
    Handler m_handler;
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};

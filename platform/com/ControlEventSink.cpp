#include "platform/com/ControlEventSink.h"

#include <string>

#include "platform/LogSink.h"

namespace {

// The [default, source] interface among the implemented ones of a coclass.
HRESULT SourceFromClassInfo(ITypeInfo* classInfo, IID* iid) {
    TYPEATTR* attr = nullptr;
    HRESULT hr = classInfo->GetTypeAttr(&attr);
    if (FAILED(hr)) return hr;
    hr = E_NOINTERFACE;
    for (UINT i = 0; i < attr->cImplTypes && hr == E_NOINTERFACE; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        ITypeInfo* info = nullptr;
        if (FAILED(classInfo->GetImplTypeFlags(i, &flags)) ||
            (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
                (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) ||
            FAILED(classInfo->GetRefTypeOfImplType(i, &ref)) || FAILED(classInfo->GetRefTypeInfo(ref, &info)))
            continue;
        TYPEATTR* source = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&source))) {
            *iid = source->guid;
            info->ReleaseTypeAttr(source);
            hr = S_OK;
        }
        info->Release();
    }
    classInfo->ReleaseTypeAttr(attr);
    return hr;
}

}  // namespace

HRESULT AfxGetDefaultSourceIID(IUnknown* control, IID* iid) {
    if (!control || !iid) return E_POINTER;
    IProvideClassInfo2* info2 = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info2)))) {
        HRESULT hr = info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, iid);
        info2->Release();
        if (SUCCEEDED(hr)) return hr;
    }
    IProvideClassInfo* info = nullptr;
    HRESULT hr = control->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&info));
    if (FAILED(hr)) return hr;
    ITypeInfo* classInfo = nullptr;
    hr = info->GetClassInfo(&classInfo);
    info->Release();
    if (FAILED(hr)) return hr;
    hr = SourceFromClassInfo(classInfo, iid);
    classInfo->Release();
    return hr;
}

CControlEventSink* CControlEventSink::Connect(IUnknown* control, Handler handler) {
    IID iid;
    if (FAILED(AfxGetDefaultSourceIID(control, &iid))) return nullptr;
    return Advise(control, iid, std::move(handler));
}

CControlEventSink* CControlEventSink::Advise(IUnknown* source, REFIID iid, Handler handler) {
    IConnectionPointContainer* container = nullptr;
    if (!source || FAILED(source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
        return nullptr;
    IConnectionPoint* point = nullptr;
    HRESULT hr = container->FindConnectionPoint(iid, &point);
    container->Release();
    if (FAILED(hr) || !point) return nullptr;
    CControlEventSink* sink = new CControlEventSink(iid, std::move(handler));
    if (FAILED(point->Advise(static_cast<IDispatch*>(sink), &sink->m_cookie))) {
        point->Release();
        sink->Release();
        return nullptr;
    }
    sink->m_point = point;
    return sink;
}

void CControlEventSink::Disconnect() {
    m_handler = nullptr;
    if (m_point) {
        IConnectionPoint* point = m_point;
        m_point = nullptr;
        point->Unadvise(m_cookie);
        point->Release();
    }
}

CControlEventSink::~CControlEventSink() { Disconnect(); }

STDMETHODIMP CControlEventSink::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, m_iid)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CControlEventSink::AddRef() { return ++m_refs; }

STDMETHODIMP_(ULONG) CControlEventSink::Release() {
    ULONG refs = --m_refs;
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP CControlEventSink::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP CControlEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CControlEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CControlEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                       EXCEPINFO*, UINT*) {
    if (result) ::VariantInit(result);
    if (!m_handler) return S_OK;
    // The handler may destroy the window that owns this sink. An exception
    // leaving it gets the answer of an event nobody handles.
    AddRef();
    Handler handler = m_handler;
    HRESULT hr = AfxStopExceptions([&] { return handler(dispid, params); },
                                   [&] { return "the handler of control event " + std::to_string(dispid); },
                                   [] { return S_OK; });
    Release();
    return hr;
}

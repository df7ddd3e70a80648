#include "platform/com/WebBrowserWnd.h"

#include <exdispid.h>

#include "platform/com/BstrText.h"

namespace {

// Argument i in call order, or null when the event has fewer.
VARIANT* ArgAt(DISPPARAMS* params, UINT i) {
    if (!params || !params->rgvarg || i >= params->cArgs) return nullptr;
    return &params->rgvarg[params->cArgs - 1 - i];
}

// The value behind VT_BYREF|VT_VARIANT arguments (the browser's usual
// layout; post data comes wrapped twice), or the argument itself.
VARIANT* ValueAt(DISPPARAMS* params, UINT i) {
    VARIANT* v = ArgAt(params, i);
    for (int depth = 0; v && V_VT(v) == (VT_BYREF | VT_VARIANT) && depth < 4; ++depth) v = V_VARIANTREF(v);
    return v;
}

IDispatch* DispatchAt(DISPPARAMS* params, UINT i) {
    VARIANT* v = ValueAt(params, i);
    return v && V_VT(v) == VT_DISPATCH ? V_DISPATCH(v) : nullptr;
}

VARIANT_BOOL* CancelAt(DISPPARAMS* params, UINT i) {
    VARIANT* v = ArgAt(params, i);
    return v && V_VT(v) == (VT_BYREF | VT_BOOL) ? V_BOOLREF(v) : nullptr;
}

DWORD NumberAt(DISPPARAMS* params, UINT i) {
    VARIANT* v = ValueAt(params, i);
    VARIANT n;
    ::VariantInit(&n);
    DWORD result = v && SUCCEEDED(::VariantChangeType(&n, v, 0, VT_I4)) ? static_cast<DWORD>(V_I4(&n)) : 0;
    ::VariantClear(&n);
    return result;
}

std::vector<BYTE> BytesAt(DISPPARAMS* params, UINT i) {
    std::vector<BYTE> bytes;
    VARIANT* v = ValueAt(params, i);
    if (!v || V_VT(v) != (VT_ARRAY | VT_UI1) || !V_ARRAY(v)) return bytes;
    SAFEARRAY* array = V_ARRAY(v);
    LONG low = 0, high = -1;
    void* data = nullptr;
    if (::SafeArrayGetDim(array) == 1 && SUCCEEDED(::SafeArrayGetLBound(array, 1, &low)) &&
        SUCCEEDED(::SafeArrayGetUBound(array, 1, &high)) && high >= low &&
        SUCCEEDED(::SafeArrayAccessData(array, &data))) {
        const BYTE* p = static_cast<const BYTE*>(data);
        bytes.assign(p, p + (high - low + 1));
        ::SafeArrayUnaccessData(array);
    }
    return bytes;
}

// Gives the handler a flag and writes its answer back when the browser passed one.
class CancelFlag {
public:
    explicit CancelFlag(VARIANT_BOOL* target) : m_target(target), m_value(target && *target ? TRUE : FALSE) {}
    ~CancelFlag() {
        if (m_target) *m_target = m_value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    BOOL* Get() { return &m_value; }

private:
    VARIANT_BOOL* m_target;
    BOOL m_value;
};

// A VARIANT holding text, freed on scope exit.
class TextVariant {
public:
    explicit TextVariant(LPCSTR text) {
        ::VariantInit(&m_v);
        if (text) {
            V_VT(&m_v) = VT_BSTR;
            V_BSTR(&m_v) = AfxAllocBstr(text);
        }
    }
    ~TextVariant() { ::VariantClear(&m_v); }
    VARIANT* Get() { return &m_v; }

private:
    VARIANT m_v;
};

}  // namespace

CWebBrowserWnd::~CWebBrowserWnd() {
    DestroyWindow();
    ReleaseBrowser();
}

LRESULT CWebBrowserWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ReleaseBrowser();
    return COleControlWnd::WindowProc(message, wParam, lParam);
}

void CWebBrowserWnd::ReleaseBrowser() {
    if (m_browser) {
        m_browser->Release();
        m_browser = nullptr;
    }
}

BOOL CWebBrowserWnd::Create(const RECT& rect, CWnd* parent, UINT id) {
    if (!CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    if (FAILED(GetControlUnknown()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser)))) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

HRESULT CWebBrowserWnd::Navigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR headers, const void* postData,
                                  DWORD postLength) {
    if (!m_browser) return E_FAIL;
    TextVariant address(url ? url : "");
    TextVariant target(targetFrame);
    TextVariant head(headers);
    VARIANT options;
    ::VariantInit(&options);
    V_VT(&options) = VT_I4;
    V_I4(&options) = static_cast<LONG>(flags);
    VARIANT post;
    ::VariantInit(&post);
    if (postData && postLength) {
        SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, postLength);
        void* data = nullptr;
        if (!array || FAILED(::SafeArrayAccessData(array, &data))) {
            if (array) ::SafeArrayDestroy(array);
            return E_OUTOFMEMORY;
        }
        memcpy(data, postData, postLength);
        ::SafeArrayUnaccessData(array);
        V_VT(&post) = VT_ARRAY | VT_UI1;
        V_ARRAY(&post) = array;
    }
    HRESULT hr = m_browser->Navigate2(address.Get(), &options, target.Get(), &post, head.Get());
    ::VariantClear(&post);
    return hr;
}

HRESULT CWebBrowserWnd::GoBack() { return m_browser ? m_browser->GoBack() : E_FAIL; }
HRESULT CWebBrowserWnd::GoForward() { return m_browser ? m_browser->GoForward() : E_FAIL; }
HRESULT CWebBrowserWnd::Refresh() { return m_browser ? m_browser->Refresh() : E_FAIL; }
HRESULT CWebBrowserWnd::Stop() { return m_browser ? m_browser->Stop() : E_FAIL; }

CString CWebBrowserWnd::GetLocationURL() const {
    BSTR url = nullptr;
    if (!m_browser || FAILED(m_browser->get_LocationURL(&url))) return CString();
    CString text = AfxBstrText(url);
    ::SysFreeString(url);
    return text;
}

HRESULT CWebBrowserWnd::OnControlEvent(DISPID dispid, DISPPARAMS* params) {
    if (!m_events) return S_OK;
    switch (dispid) {
        case DISPID_BEFORENAVIGATE2: {
            if (!params || params->cArgs < 7) break;
            CancelFlag cancel(CancelAt(params, 6));
            m_events->OnBrowserBeforeNavigate2(DispatchAt(params, 0), AfxVariantText(ValueAt(params, 1)),
                                               NumberAt(params, 2), AfxVariantText(ValueAt(params, 3)),
                                               BytesAt(params, 4), AfxVariantText(ValueAt(params, 5)), cancel.Get());
            break;
        }
        case DISPID_NAVIGATECOMPLETE2:
            if (params && params->cArgs >= 2)
                m_events->OnBrowserNavigateComplete2(DispatchAt(params, 0), AfxVariantText(ValueAt(params, 1)));
            break;
        case DISPID_DOCUMENTCOMPLETE:
            if (params && params->cArgs >= 2)
                m_events->OnBrowserDocumentComplete(DispatchAt(params, 0), AfxVariantText(ValueAt(params, 1)));
            break;
        case DISPID_NAVIGATEERROR: {
            if (!params || params->cArgs < 5) break;
            CancelFlag cancel(CancelAt(params, 4));
            m_events->OnBrowserNavigateError(DispatchAt(params, 0), AfxVariantText(ValueAt(params, 1)),
                                             AfxVariantText(ValueAt(params, 2)), NumberAt(params, 3), cancel.Get());
            break;
        }
        default:
            break;
    }
    return S_OK;
}

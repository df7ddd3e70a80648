#include "platform/com/OleControlWnd.h"

#include "platform/com/AtlAx.h"
#include "platform/com/BstrText.h"
#include "platform/com/ControlEventSink.h"
#include "platform/com/EventSinkMap.h"

COleControlWnd::~COleControlWnd() {
    DestroyWindow();
    ReleaseControl();
}

BOOL COleControlWnd::CreateControl(REFCLSID clsid, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                                   UINT id, const Prepare& prepare) {
    if (m_hWnd || m_control || !AfxAtlAxWinInit()) return FALSE;
    IUnknown* control = nullptr;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&control))))
        return FALSE;
    if (prepare) {
        IDispatch* dispatch = nullptr;
        control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        prepare(dispatch);
        if (dispatch) dispatch->Release();
    }
    if (!CreateEx(0, "AtlAxWin", nullptr, style, rect, parent, id)) {
        control->Release();
        return FALSE;
    }
    if (FAILED(AfxAtlAxAttachControl(control, m_hWnd, &m_container))) {
        control->Release();
        DestroyWindow();
        return FALSE;
    }
    m_control = control;
    control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_dispatch));
    m_sink = CControlEventSink::Connect(
        control, [this](DISPID dispid, DISPPARAMS* params) { return OnControlEvent(dispid, params); });
    if (windowName) SetWindowText(windowName);
    return TRUE;
}

BOOL COleControlWnd::CreateControl(LPCSTR progId, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                                   UINT id) {
    BSTR name = AfxAllocBstr(progId);
    CLSID clsid;
    HRESULT hr = name && progId && *progId ? ::CLSIDFromProgID(name, &clsid) : E_INVALIDARG;
    ::SysFreeString(name);
    return SUCCEEDED(hr) && CreateControl(clsid, windowName, style, rect, parent, id);
}

HRESULT COleControlWnd::InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo,
                                     ...) {
    if (!m_dispatch) return E_NOINTERFACE;
    va_list args;
    va_start(args, paramInfo);
    HRESULT hr =
        AfxInvokeHelperV(m_dispatch, dispid, flags, vtRet, pvRet, reinterpret_cast<const BYTE*>(paramInfo), args);
    va_end(args);
    return hr;
}

IDispatch* COleControlWnd::GetEventSink() const { return m_sink; }

HRESULT COleControlWnd::OnControlEvent(DISPID dispid, DISPPARAMS* params) {
    CWnd* parent = m_hWnd ? CWnd::FromHandlePermanent(::GetParent(m_hWnd)) : nullptr;
    return AfxDispatchControlEvent(parent, static_cast<UINT>(GetDlgCtrlID()), dispid, params);
}

LRESULT COleControlWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Our references go before the hosting window lets the control go.
    if (message == WM_DESTROY) ReleaseControl();
    return CWnd::WindowProc(message, wParam, lParam);
}

void COleControlWnd::ReleaseControl() {
    if (m_sink) {
        m_sink->Disconnect();
        m_sink->Release();
        m_sink = nullptr;
    }
    if (m_dispatch) {
        m_dispatch->Release();
        m_dispatch = nullptr;
    }
    if (m_control) {
        m_control->Release();
        m_control = nullptr;
    }
    if (m_container) {
        m_container->Release();
        m_container = nullptr;
    }
}

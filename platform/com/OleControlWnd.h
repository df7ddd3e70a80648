// A window that hosts one ActiveX control: an "AtlAxWin" window of ours with
// the control inside, its IDispatch for late-bound calls, and its events
// (default source interface) handed to the parent's event sink map.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>

#include "platform/Wnd.h"
#include "platform/com/DispatchCall.h"

class CControlEventSink;

class COleControlWnd : public CWnd {
public:
    COleControlWnd() = default;
    ~COleControlWnd() override;

    // Called with a new control's IDispatch (null when it has none) before
    // the control is put into its window: for properties a control reads
    // only as it is sited.
    typedef std::function<void(IDispatch* control)> Prepare;

    // Creates the control and its window as child id of parent. FALSE, with
    // no window and nothing held, when the control or the window cannot be
    // made. windowName becomes the window's text.
    BOOL CreateControl(REFCLSID clsid, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       const Prepare& prepare = Prepare());
    BOOL CreateControl(LPCSTR progId, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // A call through the control's IDispatch (see DispatchCall.h); E_NOINTERFACE without a control.
    HRESULT InvokeHelper(DISPID dispid, WORD flags, VARTYPE vtRet, void* pvRet, const char* paramInfo, ...);

    // Not AddRef'ed; null while no control is hosted.
    IUnknown* GetControlUnknown() const { return m_control; }
    IDispatch* GetControlDispatch() const { return m_dispatch; }
    // The sink connected to the control's events (null when it has none):
    // what the control calls when it fires one.
    IDispatch* GetEventSink() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // An event of the control. By default it goes to the parent window's
    // event sink map under this window's control id.
    virtual HRESULT OnControlEvent(DISPID dispid, DISPPARAMS* params);

private:
    void ReleaseControl();

    IUnknown* m_control = nullptr;
    IUnknown* m_container = nullptr;
    IDispatch* m_dispatch = nullptr;
    CControlEventSink* m_sink = nullptr;
};

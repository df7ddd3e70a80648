// The browser helper object: one per browser window. It sinks the browser's
// DWebBrowserEvents2 and turns a navigation to the start link into a start
// of the lobby (see LaunchLink.h).
#pragma once

#include <windows.h>
#include <exdisp.h>

#include "browserhelper/BrenwickIds.h"
#include "platform/comserver/ComObject.h"
#include "platform/comserver/ObjectWithSite.h"
#include "platform/comserver/TypeLibDispatch.h"

class CIBrenwick : public ComObjectRoot, public ObjectWithSite, public TypeLibDispatch<IIBrenwick> {
public:
    CIBrenwick();
    ~CIBrenwick() override;
    static const ComInterfaceEntry* Interfaces();
    static HRESULT Create(REFIID iid, void** out);

    // The site is not kept (GetSite gives E_FAIL): only its browser is.
    STDMETHOD(SetSite)(IUnknown* site) override;
    // The event sink: BeforeNavigate2 (DISPID 250) is watched, the rest
    // ignored. An exception is logged (AfxLogLine) and the event let through.
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

    BOOL ConnectBrowserEvents();

private:
    void DisconnectBrowserEvents();
    HRESULT OnEvent(DISPID id, DISPPARAMS* params);
    // Cancels the navigation and starts the lobby with the tail as its command line.
    void StartLobby(const std::string& tail);

    DWORD cookie_ = 0;
    IWebBrowser2* browser_ = nullptr;
};

// The one container of every web view: the WebBrowser control hosted in an
// "AtlAxWin" window, its navigation calls, and its navigation events decoded
// from their DISPPARAMS and handed to the view that owns it.
#pragma once

#include <windows.h>

#include <exdisp.h>

#include <vector>

#include "platform/com/OleControlWnd.h"

// What a web view hears from its browser. Arguments that are missing or of
// the wrong type arrive empty; a cancel flag the browser did not pass by
// reference is still given (as a local) but changes nothing.
class CWebBrowserEvents {
public:
    virtual void OnBrowserBeforeNavigate2(IDispatch* disp, LPCSTR url, DWORD flags, LPCSTR targetFrame,
                                          const std::vector<BYTE>& postData, LPCSTR headers, BOOL* cancel) = 0;
    virtual void OnBrowserNavigateComplete2(IDispatch* disp, LPCSTR url) = 0;
    virtual void OnBrowserDocumentComplete(IDispatch* disp, LPCSTR url) = 0;
    virtual void OnBrowserNavigateError(IDispatch* disp, LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) = 0;

protected:
    ~CWebBrowserEvents() = default;
};

class CWebBrowserWnd : public COleControlWnd {
public:
    explicit CWebBrowserWnd(CWebBrowserEvents* events) : m_events(events) {}
    ~CWebBrowserWnd() override;

    // Creates the browser as a visible child; FALSE, with nothing made, when
    // the control cannot be created.
    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Not AddRef'ed; null while no browser exists.
    IWebBrowser2* GetBrowser() const { return m_browser; }

    // Post data, when given, is sent as the body of a POST.
    HRESULT Navigate2(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                      const void* postData = nullptr, DWORD postLength = 0);
    HRESULT GoBack();
    HRESULT GoForward();
    HRESULT Refresh();
    HRESULT Stop();
    CString GetLocationURL() const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    HRESULT OnControlEvent(DISPID dispid, DISPPARAMS* params) override;

private:
    void ReleaseBrowser();

    CWebBrowserEvents* m_events;
    IWebBrowser2* m_browser = nullptr;
};

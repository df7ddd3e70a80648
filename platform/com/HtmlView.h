// A child window showing a web page: the WebBrowser control fills it, and its
// navigation events arrive as the overridables below.
#pragma once

#include "platform/com/WebBrowserWnd.h"

class CHtmlView : public CWnd, private CWebBrowserEvents {
public:
    CHtmlView() : m_wndBrowser(this) {}
    ~CHtmlView() override;

    // Creates the view (className null for our own class) and the browser in
    // it; FALSE, with no window left, when either cannot be made.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void Navigate2(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                   const void* postData = nullptr, DWORD postLength = 0);
    void GoBack() { m_wndBrowser.GoBack(); }
    void GoForward() { m_wndBrowser.GoForward(); }
    void Refresh() { m_wndBrowser.Refresh(); }
    void Stop() { m_wndBrowser.Stop(); }
    CString GetLocationURL() const { return m_wndBrowser.GetLocationURL(); }
    IWebBrowser2* GetBrowser() const { return m_wndBrowser.GetBrowser(); }
    CWebBrowserWnd& GetBrowserWnd() { return m_wndBrowser; }

    // Overridables: setting *cancel to TRUE stops the navigation.
    virtual void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR targetFrame, const std::vector<BYTE>& postData,
                                   LPCSTR headers, BOOL* cancel);
    virtual void OnNavigateComplete2(LPCSTR url);
    virtual void OnDocumentComplete(LPCSTR url);
    virtual void OnNavigateError(LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel);

    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    enum { kBrowserId = 0xE900 };
    CWebBrowserWnd m_wndBrowser;

private:
    void OnBrowserBeforeNavigate2(IDispatch*, LPCSTR url, DWORD flags, LPCSTR targetFrame,
                                  const std::vector<BYTE>& postData, LPCSTR headers, BOOL* cancel) override;
    void OnBrowserNavigateComplete2(IDispatch*, LPCSTR url) override;
    void OnBrowserDocumentComplete(IDispatch*, LPCSTR url) override;
    void OnBrowserNavigateError(IDispatch*, LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) override;
};

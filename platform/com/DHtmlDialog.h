// A dialog showing a page from an HTML resource of its module, with events
// of the page's elements bound by id in a DHTML event map:
//
//   BEGIN_DHTML_EVENT_MAP(CDlgWeb)
//       DHTML_EVENT_ONCLICK("ButtonOK", OnButtonOK)   // HRESULT OnButtonOK(IHTMLElement*)
//   END_DHTML_EVENT_MAP()
//
// The elements are looked up and connected when a document of the dialog's
// own browser completes (ConnectDHtmlEvents).
#pragma once

#include <vector>

#include "platform/Dialog.h"
#include "platform/com/WebBrowserWnd.h"

struct IHTMLElement;
class CControlEventSink;
class CDHtmlDialog;

struct DHtmlEventMapEntry {
    LPCSTR szName;  // element id; null ends the map
    DISPID dispid;
    HRESULT (*pfn)(CDHtmlDialog* dialog, IHTMLElement* element);
};

#define DECLARE_DHTML_EVENT_MAP() \
protected:                        \
    const DHtmlEventMapEntry* GetDHtmlEventMap() const override;
#define BEGIN_DHTML_EVENT_MAP(theClass)                            \
    const DHtmlEventMapEntry* theClass::GetDHtmlEventMap() const { \
        using ThisClass [[maybe_unused]] = theClass;               \
        static const DHtmlEventMapEntry entries[] = {
#define DHTML_EVENT(dispid, id, fn) \
    {id, dispid, [](CDHtmlDialog* d, IHTMLElement* e) -> HRESULT { return static_cast<ThisClass*>(d)->fn(e); }},
// DISPID_CLICK
#define DHTML_EVENT_ONCLICK(id, fn) DHTML_EVENT(-600, id, fn)
#define END_DHTML_EVENT_MAP() \
    { nullptr, 0, nullptr }   \
    }                         \
    ;                         \
    return entries;           \
    }

class CDHtmlDialog : public CDialog, private CWebBrowserEvents {
public:
    CDHtmlDialog(UINT templateId = 0, UINT htmlResId = 0, CWnd* parent = nullptr);
    ~CDHtmlDialog() override;

    // Creates the browser over the client area and loads the HTML resource.
    BOOL OnInitDialog() override;

    void Navigate(LPCSTR url, DWORD flags = 0, LPCSTR targetFrame = nullptr, LPCSTR headers = nullptr,
                  const void* postData = nullptr, DWORD postLength = 0);
    void GetCurrentUrl(CString& url) const { url = m_wndBrowser.GetLocationURL(); }
    // The document host flags (DOCHOSTUIFLAG_*) for the pages of this dialog,
    // given to each document as it completes.
    void SetHostFlags(DWORD flags) { m_dwHostFlags = flags; }
    DWORD GetHostFlags() const { return m_dwHostFlags; }
    CWebBrowserWnd& GetBrowserWnd() { return m_wndBrowser; }

    // Binds the event map to the elements of a document (its IDispatch finds
    // them by id) and gives it the host flags; what was bound before is let go first.
    void ConnectDHtmlEvents(IUnknown* document);
    void DisconnectDHtmlEvents();

    // Overridables for the dialog's browser.
    virtual void OnBeforeNavigate(IDispatch* disp, LPCSTR url);
    virtual void OnNavigateComplete(IDispatch* disp, LPCSTR url);
    virtual void OnDocumentComplete(IDispatch* disp, LPCSTR url);

    LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    enum { kBrowserId = 0xE804 };
    virtual const DHtmlEventMapEntry* GetDHtmlEventMap() const { return nullptr; }

    UINT m_nHtmlResID;
    DWORD m_dwHostFlags = 0;
    CWebBrowserWnd m_wndBrowser;

private:
    void OnBrowserBeforeNavigate2(IDispatch* disp, LPCSTR url, DWORD, LPCSTR, const std::vector<BYTE>&, LPCSTR,
                                  BOOL*) override;
    void OnBrowserNavigateComplete2(IDispatch* disp, LPCSTR url) override;
    void OnBrowserDocumentComplete(IDispatch* disp, LPCSTR url) override;
    void OnBrowserNavigateError(IDispatch*, LPCSTR, LPCSTR, DWORD, BOOL*) override {}

    std::vector<CControlEventSink*> m_elementSinks;
    std::vector<IHTMLElement*> m_elementHtml;
};

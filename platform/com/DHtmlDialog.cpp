#include "platform/com/DHtmlDialog.h"

#include <mshtml.h>

#include "platform/App.h"
#include "platform/com/BstrText.h"
#include "platform/com/ControlEventSink.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/DocHostFlags.h"

namespace {

// DIID_HTMLElementEvents2, which MinGW's uuid library lacks.
const IID kElementEvents = {0x3050f60f, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

// The document's element with this id (document.getElementById), AddRef'ed, or null.
IDispatch* ElementById(IUnknown* document, LPCSTR id) {
    IDispatch* doc = nullptr;
    if (!document || FAILED(document->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&doc)))) return nullptr;
    LPOLESTR name = const_cast<LPOLESTR>(L"getElementById");
    DISPID dispid = DISPID_UNKNOWN;
    IDispatch* element = nullptr;
    if (SUCCEEDED(doc->GetIDsOfNames(IID_NULL, &name, 1, 0, &dispid)))
        AfxInvokeHelper(doc, dispid, DISPATCH_METHOD, VT_DISPATCH, &element, VTS_BSTR, id);
    doc->Release();
    return element;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    IUnknown* ia = nullptr;
    IUnknown* ib = nullptr;
    bool same = a && b && SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ia))) &&
                SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ib))) && ia == ib;
    if (ia) ia->Release();
    if (ib) ib->Release();
    return same;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDHtmlDialog, CDialog)
ON_MESSAGE(WM_SIZE, OnSizeMessage)
ON_MESSAGE(WM_DESTROY, OnDestroyMessage)
END_MESSAGE_MAP()

CDHtmlDialog::CDHtmlDialog(UINT templateId, UINT htmlResId, CWnd* parent)
    : CDialog(templateId, parent), m_nHtmlResID(htmlResId), m_wndBrowser(this) {}

CDHtmlDialog::~CDHtmlDialog() {
    DestroyWindow();
    DisconnectDHtmlEvents();
}

BOOL CDHtmlDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect client;
    GetClientRect(&client);
    if (!m_wndBrowser.Create(client, this, kBrowserId)) return TRUE;
    if (m_nHtmlResID) {
        char module[MAX_PATH] = "";
        DWORD n = ::GetModuleFileNameA(AfxGetResourceHandle(), module, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            CString url;
            url.Format("res://%s/%u", module, m_nHtmlResID);
            Navigate(url);
        }
    }
    return TRUE;
}

void CDHtmlDialog::Navigate(LPCSTR url, DWORD flags, LPCSTR targetFrame, LPCSTR headers, const void* postData,
                            DWORD postLength) {
    m_wndBrowser.Navigate2(url, flags, targetFrame, headers, postData, postLength);
}

void CDHtmlDialog::ConnectDHtmlEvents(IUnknown* document) {
    DisconnectDHtmlEvents();
    AfxApplyDocHostFlags(document, m_dwHostFlags);
    const DHtmlEventMapEntry* map = GetDHtmlEventMap();
    for (const DHtmlEventMapEntry* e = map; e && e->szName; ++e) {
        IDispatch* element = ElementById(document, e->szName);
        if (!element) continue;
        IHTMLElement* html = nullptr;
        element->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(&html));
        auto handler = [this, e, html](DISPID dispid, DISPPARAMS*) -> HRESULT {
            return dispid == e->dispid ? e->pfn(this, html) : S_OK;
        };
        CControlEventSink* sink = CControlEventSink::Advise(element, kElementEvents, handler);
        element->Release();
        if (sink) {
            m_elementSinks.push_back(sink);
            if (html) m_elementHtml.push_back(html);
        } else if (html) {
            html->Release();
        }
    }
}

void CDHtmlDialog::DisconnectDHtmlEvents() {
    for (CControlEventSink* sink : m_elementSinks) {
        sink->Disconnect();
        sink->Release();
    }
    m_elementSinks.clear();
    for (IHTMLElement* html : m_elementHtml) html->Release();
    m_elementHtml.clear();
}

LRESULT CDHtmlDialog::OnSizeMessage(WPARAM, LPARAM lParam) {
    Default();
    if (m_wndBrowser.m_hWnd) m_wndBrowser.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT CDHtmlDialog::OnDestroyMessage(WPARAM, LPARAM) {
    DisconnectDHtmlEvents();
    return Default();
}

void CDHtmlDialog::OnBeforeNavigate(IDispatch*, LPCSTR) {}
void CDHtmlDialog::OnNavigateComplete(IDispatch*, LPCSTR) {}
void CDHtmlDialog::OnDocumentComplete(IDispatch*, LPCSTR) {}

void CDHtmlDialog::OnBrowserBeforeNavigate2(IDispatch* disp, LPCSTR url, DWORD, LPCSTR, const std::vector<BYTE>&,
                                            LPCSTR, BOOL*) {
    OnBeforeNavigate(disp, url);
}

void CDHtmlDialog::OnBrowserNavigateComplete2(IDispatch* disp, LPCSTR url) { OnNavigateComplete(disp, url); }

void CDHtmlDialog::OnBrowserDocumentComplete(IDispatch* disp, LPCSTR url) {
    // The page of the dialog's own browser (not one of its frames) is bound to the event map.
    IWebBrowser2* browser = m_wndBrowser.GetBrowser();
    if (browser && SameObject(disp, browser)) {
        IDispatch* document = nullptr;
        if (SUCCEEDED(browser->get_Document(&document)) && document) {
            ConnectDHtmlEvents(document);
            document->Release();
        }
    }
    OnDocumentComplete(disp, url);
}

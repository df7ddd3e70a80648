// Web views: a CHtmlView and a CDHtmlDialog created, laid out, navigated to a
// loopback web server, given the browser's events as the browser calls them,
// and closed.
// winsock2.h must come before windows.h
// clang-format off
#include "tests/support/HttpResponder.h"
// clang-format on

#include <exdispid.h>
#include <gtest/gtest.h>
#include <mshtmhst.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "platform/com/DHtmlDialog.h"
#include "platform/com/DocHostFlags.h"
#include "platform/com/HtmlView.h"
#include "tests/com/BrowserFakes.h"
#include "tests/com/ComTestKit.h"
namespace {

using comtest::ComTest;
using comtest::EventArgs;
using comtest::FakeDocument;

class CRecordingView : public CHtmlView {
public:
    std::vector<std::string> heard;
    void OnBeforeNavigate2(LPCSTR url, DWORD flags, LPCSTR target, const std::vector<BYTE>& post, LPCSTR headers,
                           BOOL* cancel) override {
        heard.push_back(std::string("before ") + url + " " + std::to_string(flags) + " " + target + " " +
                        std::string(post.begin(), post.end()) + " " + headers);
        *cancel = strstr(url, "javascript:") != nullptr;
    }
    void OnNavigateComplete2(LPCSTR url) override { heard.push_back(std::string("complete ") + url); }
    void OnDocumentComplete(LPCSTR url) override { heard.push_back(std::string("document ") + url); }
    void OnNavigateError(LPCSTR url, LPCSTR frame, DWORD status, BOOL* cancel) override {
        heard.push_back(std::string("error ") + url + " " + frame + " " + std::to_string(status));
        *cancel = TRUE;
    }
};

VARIANT PostData(const char* bytes) {
    VARIANT v;
    V_VT(&v) = VT_ARRAY | VT_UI1;
    V_ARRAY(&v) = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(strlen(bytes)));
    void* data = nullptr;
    ::SafeArrayAccessData(V_ARRAY(&v), &data);
    memcpy(data, bytes, strlen(bytes));
    ::SafeArrayUnaccessData(V_ARRAY(&v));
    return v;
}

// A web server on 127.0.0.1 that keeps the first request line it is sent.
struct PageServer {
    std::atomic<bool> got{false};
    std::string requestLine;
    testsupport::LoopbackServer server{[this](testsupport::Connection& c) {
        std::string head;
        if (!testsupport::ReadHttpRequest(c, head, 3000)) return;
        if (!got) {
            requestLine = head.substr(0, head.find("\r\n"));
            got = true;
        }
        c.Send(testsupport::HttpResponse(200, "<html><body>page</body></html>", "Content-Type: text/html\r\n"));
    }};
    std::string Url(const char* path) { return "http://127.0.0.1:" + std::to_string(server.Port()) + path; }
    // Wine's browser without an HTML engine may never fetch: wait a little, pumping.
    bool WaitRequest() {
        for (DWORD end = ::GetTickCount() + 1500; !got && ::GetTickCount() < end;) {
            comtest::ComTest::Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return got;
    }
};

TEST_F(ComTest, HtmlViewCreatesLaysOutNavigatesAndHearsItsBrowser) {
    CWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    CRecordingView view;
    ASSERT_TRUE(
        view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(10, 22, 310, 222), &host, 10299));
    ASSERT_NE(nullptr, view.GetBrowser());
    CWebBrowserWnd& browser = view.GetBrowserWnd();
    CRect inner;
    browser.GetClientRect(&inner);
    EXPECT_EQ(CSize(300, 200), inner.Size());
    view.MoveWindow(0, 0, 200, 100);
    browser.GetClientRect(&inner);
    EXPECT_EQ(CSize(200, 100), inner.Size());

    PageServer web;
    const char body[] = "membername=u&memberpassword=P";
    view.Navigate2(web.Url("/member").c_str(), 0, nullptr, "Content-Type: application/x-www-form-urlencoded\r\n", body,
                   sizeof body - 1);
    if (web.WaitRequest()) {
        EXPECT_EQ("POST /member HTTP/1.1", web.requestLine);
    }
    // The browser itself reports the navigation before it starts (Wine 8
    // hands over the post data's bytes wrongly: only their count is checked).
    ASSERT_EQ(1u, view.heard.size());
    const std::string head = "before " + web.Url("/member") + " 0  ";
    const std::string tail = " Content-Type: application/x-www-form-urlencoded\r\n";
    EXPECT_EQ(head, view.heard[0].substr(0, head.size()));
    EXPECT_EQ(head.size() + sizeof body - 1 + tail.size(), view.heard[0].size());
    EXPECT_EQ(tail, view.heard[0].substr(view.heard[0].size() - tail.size()));
    view.heard.clear();
    view.GoBack();
    view.GoForward();
    view.Refresh();
    view.Stop();
    (void)view.GetLocationURL();

    IDispatch* sink = browser.GetEventSink();
    ASSERT_NE(nullptr, sink);
    IDispatch* top = browser.GetControlDispatch();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, EventArgs()
                        .Dispatch(top)
                        .Text(L"http://a/b?c")
                        .Number(2)
                        .Text(L"_top")
                        .Ref(PostData("x=1"))
                        .Text(L"H: 1")
                        .Cancel(&cancel)
                        .Fire(sink, DISPID_BEFORENAVIGATE2));
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_EQ(S_OK, EventArgs()
                        .Dispatch(top)
                        .Text(L"javascript:loadfinish")
                        .Number(0)
                        .Text(L"")
                        .Text(L"")
                        .Text(L"")
                        .Cancel(&cancel)
                        .Fire(sink, DISPID_BEFORENAVIGATE2));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    EXPECT_EQ(S_OK, EventArgs().Dispatch(top).Text(L"http://a/b").Fire(sink, DISPID_NAVIGATECOMPLETE2));
    EXPECT_EQ(S_OK, EventArgs().Dispatch(top).Text(L"http://a/b").Fire(sink, DISPID_DOCUMENTCOMPLETE));
    cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK, EventArgs()
                        .Dispatch(top)
                        .Text(L"http://a/x")
                        .Text(L"main")
                        .Number(404)
                        .Cancel(&cancel)
                        .Fire(sink, DISPID_NAVIGATEERROR));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    // Short argument lists are ignored rather than read past their end.
    EXPECT_EQ(S_OK, EventArgs().Dispatch(top).Text(L"http://short").Fire(sink, DISPID_BEFORENAVIGATE2));
    EXPECT_EQ(S_OK, EventArgs().Fire(sink, DISPID_DOCUMENTCOMPLETE));

    EXPECT_EQ((std::vector<std::string>{"before http://a/b?c 2 _top x=1 H: 1", "before javascript:loadfinish 0   ",
                                        "complete http://a/b", "document http://a/b", "error http://a/x main 404"}),
              view.heard);

    view.DestroyWindow();
    EXPECT_EQ(nullptr, browser.m_hWnd);
    EXPECT_EQ(nullptr, view.GetBrowser());
    EXPECT_TRUE(::IsWindow(host));
}

class CRecordingDHtml : public CDHtmlDialog {
public:
    CRecordingDHtml() : CDHtmlDialog(200, 201) {}
    std::vector<std::string> heard;
    HRESULT OnButtonOK(IHTMLElement*) {
        heard.push_back("ButtonOK");
        return S_OK;
    }
    HRESULT OnButtonCancel(IHTMLElement*) {
        heard.push_back("ButtonCancel");
        return S_OK;
    }
    void OnBeforeNavigate(IDispatch*, LPCSTR url) override { heard.push_back(std::string("before ") + url); }
    void OnNavigateComplete(IDispatch*, LPCSTR url) override { heard.push_back(std::string("complete ") + url); }
    void OnDocumentComplete(IDispatch*, LPCSTR url) override { heard.push_back(std::string("document ") + url); }
    DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(CRecordingDHtml)
DHTML_EVENT_ONCLICK("ButtonOK", OnButtonOK)
DHTML_EVENT_ONCLICK("ButtonCancel", OnButtonCancel)
END_DHTML_EVENT_MAP()

TEST_F(ComTest, DHtmlDialogCreatesNavigatesAndBindsElementClicks) {
    CWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    CRecordingDHtml dlg;
    ASSERT_TRUE(dlg.Create(200, &host));
    CWebBrowserWnd& browser = dlg.GetBrowserWnd();
    ASSERT_NE(nullptr, browser.GetBrowser());
    CRect client, inner;
    dlg.GetClientRect(&client);
    browser.GetClientRect(&inner);
    EXPECT_EQ(client.Size(), inner.Size());
    dlg.SetHostFlags(5);
    EXPECT_EQ(5u, dlg.GetHostFlags());

    PageServer web;
    dlg.Navigate(web.Url("/ad?stageid=1").c_str());
    if (web.WaitRequest()) {
        EXPECT_EQ("GET /ad?stageid=1 HTTP/1.1", web.requestLine);
    }
    CString url;
    dlg.GetCurrentUrl(url);
    // The browser itself reports the page of the HTML resource, then ours.
    ASSERT_EQ(2u, dlg.heard.size());
    EXPECT_EQ(0u, dlg.heard[0].find("before res://"));
    EXPECT_EQ("/201", dlg.heard[0].substr(dlg.heard[0].size() - 4));
    EXPECT_EQ("before " + web.Url("/ad?stageid=1"), dlg.heard[1]);
    dlg.heard.clear();

    IDispatch* sink = browser.GetEventSink();
    ASSERT_NE(nullptr, sink);
    IDispatch* top = browser.GetControlDispatch();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EventArgs()
        .Dispatch(top)
        .Text(L"http://a/")
        .Number(0)
        .Text(L"")
        .Text(L"")
        .Text(L"")
        .Cancel(&cancel)
        .Fire(sink, DISPID_BEFORENAVIGATE2);
    EventArgs().Dispatch(top).Text(L"http://a/").Fire(sink, DISPID_NAVIGATECOMPLETE2);
    EventArgs().Dispatch(top).Text(L"http://a/").Fire(sink, DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ((std::vector<std::string>{"before http://a/", "complete http://a/", "document http://a/"}), dlg.heard);
    dlg.heard.clear();

    // Clicks on a bound element reach its entry; "ButtonCancel" is not on the page.
    FakeDocument doc;
    dlg.ConnectDHtmlEvents(&doc);
    ASSERT_NE(nullptr, doc.button.sink);
    IDispatch* click = doc.button.sink;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(S_OK, click->Invoke(DISPID_CLICK, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, click->Invoke(-601, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::vector<std::string>{"ButtonOK"}, dlg.heard);
    // The document reports the dialog's host flags.
    ASSERT_NE(nullptr, doc.custom.handler);
    DOCHOSTUIINFO info = {sizeof info, 0, 0, nullptr, nullptr};
    EXPECT_EQ(S_OK, doc.custom.handler->GetHostInfo(&info));
    EXPECT_EQ(5u, info.dwFlags);

    // Closing lets the element go.
    dlg.DestroyWindow();
    EXPECT_EQ(1, doc.button.unadvised);
    EXPECT_EQ(nullptr, browser.m_hWnd);
    EXPECT_TRUE(::IsWindow(host));
}

}  // namespace

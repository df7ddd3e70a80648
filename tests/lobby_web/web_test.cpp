// The lobby's web pages as a person and the browser meet them: the view's
// event sink driven by Invoke calls as the browser makes them, the page's
// strip buttons clicked, page commands reaching the main lobby window, and
// the advertisement page closing itself. Wine's browser renders nothing.
// clang-format off
#include "lobby/net/base/PrivateMessages.h"
#include "tests/support/HttpResponder.h"
// clang-format on

#include <exdispid.h>

#include <initializer_list>
#include <string>
#include <vector>
#include <gtest/gtest.h>

#include "lobby/ui/GameSemaphores.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/WebRules.h"
#include "lobby/ui/web/DlgAdvWeb.h"
#include "lobby/ui/web/DlgOrderWeb.h"
#include "lobby/ui/web/DlgWeb.h"
#include "lobby/ui/web/WebHost.h"
#include "tests/com/BrowserFakes.h"
#include "tests/lobby_ui/LobbyUiTest.h"
#include "tests/lobby_web/WebTestKit.h"
#include "tests/support/Patience.h"

using namespace webtest;

namespace {

VARIANT_BOOL BeforeNavigate(CMyHtmlView& view, const wchar_t* url) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    comtest::EventArgs().Dispatch(view.GetBrowserWnd().GetControlDispatch())
        .Text(url)
        .Number(0)
        .Text(L"")
        .Text(L"")
        .Text(L"")
        .Cancel(&cancel)
        .Fire(view.GetBrowserWnd().GetEventSink(), DISPID_BEFORENAVIGATE2);
    return cancel;
}

void Complete(CWebBrowserWnd& browser, const wchar_t* url) {
    comtest::EventArgs().Dispatch(browser.GetControlDispatch()).Text(url).Fire(browser.GetEventSink(), DISPID_NAVIGATECOMPLETE2);
}

void Error(CMyHtmlView& view, const wchar_t* url) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    comtest::EventArgs().Dispatch(view.GetBrowserWnd().GetControlDispatch())
        .Text(url)
        .Text(L"")
        .Number(404)
        .Cancel(&cancel)
        .Fire(view.GetBrowserWnd().GetEventSink(), DISPID_NAVIGATEERROR);
}

// Wine's browser has neither history nor a document: its GoBack, GoForward
// and Refresh fail and change nothing. While one of these lives, the
// entries of the browser's interface table for those three and Stop are
// recorders, so what the view asks of its browser is seen.
class BrowserCommands {
public:
    explicit BrowserCommands(IWebBrowser2* browser) : table_(*reinterpret_cast<void***>(browser)) {
        Patch({reinterpret_cast<void*>(&Back), reinterpret_cast<void*>(&Forward), reinterpret_cast<void*>(&Reload),
               reinterpret_cast<void*>(&Halt)},
              saved_);
        Seen().clear();
    }
    ~BrowserCommands() { Patch({saved_[0], saved_[1], saved_[2], saved_[3]}, nullptr); }
    static std::vector<std::string>& Seen() {
        static std::vector<std::string> seen;
        return seen;
    }

private:
    // IUnknown 3, IDispatch 4, then GoBack, GoForward, GoHome, GoSearch,
    // Navigate, Refresh, Refresh2, Stop.
    static constexpr int kSlots[4] = {7, 8, 12, 14};
    static HRESULT STDMETHODCALLTYPE Back(IWebBrowser2*) { return Note("back"); }
    static HRESULT STDMETHODCALLTYPE Forward(IWebBrowser2*) { return Note("forward"); }
    static HRESULT STDMETHODCALLTYPE Reload(IWebBrowser2*) { return Note("refresh"); }
    static HRESULT STDMETHODCALLTYPE Halt(IWebBrowser2*) { return Note("stop"); }
    static HRESULT Note(const char* what) {
        Seen().push_back(what);
        return S_OK;
    }
    void Patch(std::initializer_list<void*> entries, void** keep) {
        DWORD old = 0;
        ::VirtualProtect(table_, 16 * sizeof(void*), PAGE_READWRITE, &old);
        int i = 0;
        for (void* entry : entries) {
            if (keep) keep[i] = table_[kSlots[i]];
            table_[kSlots[i++]] = entry;
        }
        ::VirtualProtect(table_, 16 * sizeof(void*), old, &old);
    }
    void** table_;
    void* saved_[4] = {};
};

class WebPage : public ::testing::Test {
protected:
    void SetUp() override {
        InitOle();
        LoadedSkin();
    }
};

// The order page as the main window makes it: a child of the lobby window.
struct OrderPage {
    Recorder lobby;
    CDlgOrderWeb page;
    explicit OrderPage(int closeButton = 1) {
        page.SetCloseButton(closeButton);
        page.SetPageKey(7);
        page.Create(CDlgOrderWeb::IDD, CWnd::FromHandle(lobby.Hwnd()));
        page.MoveWindow(0, 0, 600, 400);
        page.ShowWindow(SW_SHOW);
    }
};

TEST_F(WebPage, TheViewHearsItsBrowserAndCommandsTheWindowAroundIt) {
    OrderPage o;
    o.page.Navigate("about:blank");
    CMyHtmlView& view = o.page.GetView();
    ASSERT_NE(nullptr, view.GetSafeHwnd()) << "the view is made on first use";
    ASSERT_NE(nullptr, view.GetBrowserWnd().GetEventSink());
    EXPECT_EQ(CDlgOrderWeb::kViewId, ::GetDlgCtrlID(view.GetSafeHwnd()));
    RECT r;
    ::GetWindowRect(view.GetSafeHwnd(), &r);
    ::MapWindowPoints(nullptr, o.page.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(22, r.top);
    EXPECT_EQ(600, r.right);

    EXPECT_EQ(VARIANT_TRUE, BeforeNavigate(view, L"javascript:loadfinish"));
    EXPECT_TRUE(view.IsLoaded());

    // An event address: cancelled, its command read by the page, sent on to the lobby.
    const std::wstring event = L"http://h/x/tarnelgame_on_mainweb_event('0',1234)";
    EXPECT_EQ(VARIANT_TRUE, BeforeNavigate(view, event.c_str()));
    EXPECT_EQ(VARIANT_TRUE, BeforeNavigate(view, L"http://h/tarnelgame_on_mainweb_event('1')"));
    EXPECT_EQ(VARIANT_TRUE, BeforeNavigate(view, L"http://h/tarnelgame_on_mainweb_event('0','1234')"));
    ASSERT_TRUE(PumpUntil([&] { return o.lobby.posted.size() >= 2; }));
    PumpMessages(100);
    ASSERT_EQ(2u, o.lobby.posted.size()) << "('0','1234') does nothing";
    EXPECT_EQ(kMsgMainCommand, o.lobby.posted[0].message);
    EXPECT_EQ(9u, o.lobby.posted[0].wParam);
    EXPECT_EQ(1234, o.lobby.posted[0].lParam);
    EXPECT_EQ(11u, o.lobby.posted[1].wParam);

    // Error then completion leaves a new page unloaded; a "#" move keeps a loaded one.
    EXPECT_EQ(VARIANT_FALSE, BeforeNavigate(view, L"http://h/other.asp"));
    EXPECT_FALSE(view.IsLoaded());
    Error(view, L"http://h/other.asp");
    Complete(view.GetBrowserWnd(), L"http://h/other.asp");
    EXPECT_FALSE(view.IsLoaded());
    EXPECT_EQ(VARIANT_FALSE, BeforeNavigate(view, L"http://h/third.asp"));
    Complete(view.GetBrowserWnd(), L"http://h/third.asp");
    EXPECT_TRUE(view.IsLoaded());
    const std::string here = std::string(view.GetLocationURL());
    const std::wstring moved(here.begin(), here.end());
    EXPECT_EQ(VARIANT_FALSE, BeforeNavigate(view, (moved + L"#part").c_str()));
    EXPECT_TRUE(view.IsLoaded());

    // Navigate by message: dropped once after the skip flag, the text freed either way.
    o.page.SetSkipNextNavigate(1);
    ASSERT_TRUE(PostOwned(o.page.GetSafeHwnd(), kWebPageText, 1, HeapText("about:blank")));
    ASSERT_TRUE(PumpUntil([&] { return view.GetSkipNextNavigate() == 0; }));

    // Refresh by message: only a loaded page whose address carries the member mark.
    BrowserCommands commands(view.GetBrowser());
    o.page.PostMessage(kMsgWebPage, 2, 0);
    PumpMessages(100);
    EXPECT_TRUE(BrowserCommands::Seen().empty()) << "not the member page";
    o.page.Navigate("about:blank?person_1");
    PumpMessages(100);
    Complete(view.GetBrowserWnd(), L"about:blank?person_1");
    ASSERT_TRUE(view.IsLoaded());
    o.page.PostMessage(kMsgWebPage, 2, 0);
    EXPECT_TRUE(PumpUntil([&] { return BrowserCommands::Seen() == std::vector<std::string>{"refresh"}; }));
}

TEST_F(WebPage, StripButtonsClickedEscapeSwallowedAndAShot) {
    OrderPage o;
    o.page.Navigate("http://127.0.0.1:9/member.asp", 0, nullptr, "membername=u", "Content-Type: x\r\n");
    ASSERT_NE(nullptr, o.page.GetView().GetSafeHwnd());
    BrowserCommands commands(o.page.GetView().GetBrowser());
    for (int id = 1022; id <= 1026; ++id) {
        HWND button = ::GetDlgItem(o.page.GetSafeHwnd(), id);
        ASSERT_TRUE(::IsWindowVisible(button)) << id;
        Click(button);
    }
    ASSERT_TRUE(PumpUntil([&] { return !o.lobby.posted.empty(); }));
    EXPECT_EQ(BrowserCommands::Seen(), (std::vector<std::string>{"back", "forward", "refresh", "stop"}));
    EXPECT_EQ(kMsgClosePage, o.lobby.posted[0].message);
    EXPECT_EQ(7, o.lobby.posted[0].lParam);

    MSG escape = {o.page.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(o.page.PreTranslateMessage(&escape));
    EXPECT_TRUE(::IsWindow(o.page.GetSafeHwnd()));

    o.page.RedrawWindow();
    const Capture shot = CaptureWindow(o.page.GetSafeHwnd());
    SavePng(shot, "lobby_web_order_page");
    // The strip is the skin's frame, not the white page of the lobby window.
    EXPECT_NE(RGB(255, 255, 255), shot.At(300, 10) & 0xFFFFFF);

    OrderPage member(0);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(member.page.GetSafeHwnd(), 1026))) << "the member page has no close";
}

TEST_F(WebPage, BannerViewFollowsAWatchedPageOnce) {
    Recorder banner;
    CDlgWeb web(CWnd::FromHandle(banner.Hwnd()));
    ASSERT_TRUE(web.Create(CDlgWeb::IDD, CWnd::FromHandle(banner.Hwnd())));
    web.PostMessage(kMsgWebWatch, reinterpret_cast<WPARAM>(HeapText("done.asp").release()),
                    reinterpret_cast<LPARAM>(HeapText("about:blank").release()));
    ASSERT_TRUE(PumpUntil([&] { return web.IsArmed(); }));
    CWebBrowserWnd& browser = web.GetBrowserWnd();
    ASSERT_NE(nullptr, browser.GetEventSink());
    Complete(browser, L"http://h/other.asp");
    EXPECT_TRUE(web.IsArmed());
    Complete(browser, L"http://h/done.asp?u=1");
    EXPECT_FALSE(web.IsArmed()) << "followed once";
    MSG escape = {web.GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(web.PreTranslateMessage(&escape));
    web.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(::IsWindow(web.GetSafeHwnd())) << "Enter does not close it";
    web.DestroyWindow();
}

// A window of the test's thread noting, for a message and a paint, whether
// the page's web view existed by then.
struct Witness {
    static std::vector<std::string>& Seen() {
        static std::vector<std::string> seen;
        return seen;
    }
    static CDlgOrderWeb* page;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        const char* view = page && page->GetView().GetSafeHwnd() ? " with the view" : " before the view";
        if (message == WM_APP) Seen().push_back(std::string("message") + view);
        if (message != WM_PAINT) return ::DefWindowProcA(hwnd, message, wParam, lParam);
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd, &ps);
        ::EndPaint(hwnd, &ps);
        Seen().push_back(std::string("paint") + view);
        return 0;
    }
};
CDlgOrderWeb* Witness::page = nullptr;

// The navigation asked for soon makes the view after what waits: the messages
// posted and the paints due by then (the lobby window drawn before the member
// page's view, which takes a while to make).
TEST_F(WebPage, NavigateSoonMakesTheViewAfterTheMessagesAndPaintsWaiting) {
    OrderPage o;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Witness::Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "MiraboWitness";
    ::RegisterClassA(&wc);
    HWND witness = ::CreateWindowExA(0, "MiraboWitness", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     wc.hInstance, nullptr);
    PumpMessages(50);
    Witness::page = &o.page;
    Witness::Seen().clear();
    ::PostMessageA(witness, WM_APP, 0, 0);
    ::InvalidateRect(witness, nullptr, FALSE);
    o.page.NavigateSoon("about:blank", 0, nullptr, nullptr, nullptr);
    EXPECT_EQ(nullptr, o.page.GetView().GetSafeHwnd()) << "not made at once";
    EXPECT_TRUE(PumpUntil([&] { return o.page.GetView().GetSafeHwnd() != nullptr; }));
    EXPECT_EQ(Witness::Seen(), (std::vector<std::string>{"message before the view", "paint before the view"}));
    Witness::page = nullptr;
    ::DestroyWindow(witness);
}

TEST_F(WebPage, NavigateBeforeTheDialogIsReadyIsIgnored) {
    CDlgOrderWeb page;
    page.Navigate("about:blank");
    EXPECT_EQ(nullptr, page.GetView().GetSafeHwnd());
}

// A thread timer steps in while the advertisement runs: measure it, then click its close button.
CDlgAdvWeb* running;
RECT* measured;
void CALLBACK MeasureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = running->GetSafeHwnd();
    if (!dialog) return;
    ::KillTimer(nullptr, id);
    ::GetWindowRect(dialog, measured);
    SavePng(CaptureWindow(dialog), "lobby_web_advertisement");
    Click(::GetDlgItem(dialog, IDOK));
}

TEST_F(WebPage, AdvertisementClosesItselfOrOnItsButton) {
    Recorder lobby;
    CDlgAdvWeb timed(CWnd::FromHandle(lobby.Hwnd()));
    timed.SetPage("about:blank", 300, 200, 1);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(IDOK, timed.DoModal());
    EXPECT_GE(::GetTickCount() - start, 900u);

    CDlgAdvWeb clicked(CWnd::FromHandle(lobby.Hwnd()));
    clicked.SetPage("about:blank", 320, 240, 60);
    RECT size = {};
    running = &clicked;
    measured = &size;
    ::SetTimer(nullptr, 0, 300, MeasureAndClose);
    const DWORD begun = ::GetTickCount();
    EXPECT_EQ(IDOK, clicked.DoModal());
    EXPECT_LT(::GetTickCount() - begun, static_cast<DWORD>(testsupport::Patience(10000)));
    EXPECT_EQ(320, size.right - size.left);
    EXPECT_EQ(240, size.bottom - size.top);
}

}  // namespace

TEST(GameClient, RunningWhileItsSemaphoreExistsAndTheProbeCreatesNone) {
    EXPECT_FALSE(IsGameClientRunning());
    EXPECT_FALSE(IsGameClientRunning()) << "probing made no semaphore";
    HANDLE client = ::CreateSemaphoreA(nullptr, 1, 1, "MiraboQOLT");
    ASSERT_NE(nullptr, client);
    EXPECT_NE(ERROR_ALREADY_EXISTS, ::GetLastError()) << "the client makes its own";
    EXPECT_TRUE(IsGameClientRunning());
    ::CloseHandle(client);
    EXPECT_FALSE(IsGameClientRunning());
}


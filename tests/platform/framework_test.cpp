// Windows, message maps, dialogs, module state and the application object.
#include "platform/Framework.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TempMap.h"
#include "tests/platform/WindowCapture.h"

namespace {

constexpr UINT WM_BASE_ONLY = WM_USER + 1;
constexpr UINT WM_BOTH = WM_USER + 2;
constexpr UINT WM_UNMAPPED = WM_USER + 3;
constexpr UINT IDD_TEST = 100;
constexpr int IDC_ACTION = 1001;

// A window class whose procedure records what reaches it: the "previous
// procedure" that unhandled messages must be passed on to.
std::vector<UINT> g_defaultSeen;

LRESULT CALLBACK RecordingProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_USER) {
        g_defaultSeen.push_back(m);
        return 77;
    }
    return DefWindowProcA(h, m, wp, lp);
}

const char* RecordingClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FrameworkTestRecording";
        RegisterClassA(&wc);
        registered = true;
    }
    return "FrameworkTestRecording";
}

class CBaseWnd : public CWnd {
public:
    std::vector<std::string> log;
    int OnCreate(LPCREATESTRUCT cs) {
        log.push_back("create");
        return CWnd::OnCreate(cs);
    }
    LRESULT OnBaseOnly(WPARAM wp, LPARAM) {
        log.push_back("base-only " + std::to_string(wp));
        return 1;
    }
    LRESULT OnBothInBase(WPARAM, LPARAM) {
        log.push_back("both in base");
        return 2;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_BASE_ONLY, OnBaseOnly)
    ON_MESSAGE(WM_BOTH, OnBothInBase)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
public:
    bool postNcDestroyed = false;
    LRESULT OnBoth(WPARAM, LPARAM) {
        log.push_back("both in derived");
        return 3;
    }
    void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        KillTimer(id);
    }
    void OnCommandA() { log.push_back("command 10"); }
    void OnCommandB() { log.push_back("command 11"); }
    void PostNcDestroy() override { postNcDestroyed = true; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_BOTH, OnBoth)
    ON_WM_TIMER()
    ON_COMMAND(10, OnCommandA)
    ON_BN_CLICKED(11, OnCommandB)
END_MESSAGE_MAP()

bool CreatePopup(CWnd& wnd, const char* cls = nullptr) {
    return wnd.CreateEx(0, cls ? cls : RecordingClass(), "test", WS_POPUP, CRect(0, 0, 100, 80), nullptr, 0);
}

}  // namespace

TEST(CWnd, MessageMapChainDerivedFirstThenBaseThenDefault) {
    CDerivedWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    // The hook attached the window before WM_CREATE was sent.
    ASSERT_EQ(wnd.log, std::vector<std::string>{"create"});
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);

    EXPECT_EQ(wnd.SendMessage(WM_BOTH), 3);
    EXPECT_EQ(wnd.SendMessage(WM_BASE_ONLY, 9), 1);
    g_defaultSeen.clear();
    EXPECT_EQ(wnd.SendMessage(WM_UNMAPPED), 77);  // passed on to the class procedure
    EXPECT_EQ(g_defaultSeen, std::vector<UINT>{WM_UNMAPPED});
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"create", "both in derived", "base-only 9"}));

    // Commands by id and notification code; other codes and ids go on.
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(10, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, BN_CLICKED));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, EN_CHANGE));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(12, 0));
    EXPECT_EQ(wnd.log.size(), 5u);
    EXPECT_EQ(wnd.log[3], "command 10");
    EXPECT_EQ(wnd.log[4], "command 11");

    HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.postNcDestroyed);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(CWnd, TimerReachesItsHandler) {
    CDerivedWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    wnd.SetTimer(42, 10);
    PumpMessages(150);
    ASSERT_EQ(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[1], "timer 42");
}

TEST(CWnd, SubclassingAndTemporaryWrappers) {
    HWND h = CreateWindowExA(0, RecordingClass(), "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    // A window that is not ours gets a temporary wrapper, the same one until idle.
    CWnd* temp = CWnd::FromHandle(h);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, h);
    EXPECT_EQ(CWnd::FromHandle(h), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
    AfxDeleteTempMaps();
    EXPECT_TRUE(IsWindow(h));  // wrappers never destroy what they wrap

    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(h));
    EXPECT_EQ(CWnd::FromHandle(h), &wnd);
    EXPECT_EQ(wnd.SendMessage(WM_BOTH), 3);
    CDerivedWnd twice;
    EXPECT_FALSE(twice.SubclassWindow(h));  // already ours
    EXPECT_EQ(wnd.UnsubclassWindow(), h);
    g_defaultSeen.clear();
    EXPECT_EQ(SendMessageA(h, WM_BOTH, 0, 0), 77);  // the old procedure is back
    EXPECT_EQ(g_defaultSeen.size(), 1u);
    DestroyWindow(h);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

TEST(CWnd, DestructorDestroysAWindowStillAlive) {
    HWND h;
    {
        CDerivedWnd wnd;
        ASSERT_TRUE(CreatePopup(wnd));
        h = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

namespace {

// A hook that logs the messages it sees and passes them on; WM_BASE_ONLY throws.
class CLogHook : public CSubclassWnd {
public:
    CLogHook(std::vector<std::string>& log, const char* name) : m_log(log), m_name(name) {}
    LRESULT OnBoth(WPARAM, LPARAM) {
        m_log.push_back(m_name);
        return Default();
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("hook failed"); }
    std::vector<std::string>& m_log;
    std::string m_name;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogHook, CSubclassWnd)
    ON_MESSAGE(WM_BOTH, OnBoth)
    ON_MESSAGE(WM_BASE_ONLY, OnThrow)
END_MESSAGE_MAP()

std::vector<std::string> g_logged;
void Record(const char* line) { g_logged.push_back(line); }

}  // namespace

TEST(CSubclassWnd, HooksOnAForeignWindowChainLatestFirst) {
    HWND h = CreateWindowExA(0, RecordingClass(), "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    const LONG_PTR own = GetWindowLongPtrA(h, GWLP_WNDPROC);
    std::vector<std::string> log;
    CLogHook a(log, "a"), b(log, "b");
    EXPECT_FALSE(a.HookWindow(reinterpret_cast<HWND>(0x1234)));
    ASSERT_TRUE(a.HookWindow(h));
    ASSERT_TRUE(b.HookWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);  // hooks do not make a window ours
    g_defaultSeen.clear();
    EXPECT_EQ(SendMessageA(h, WM_BOTH, 0, 0), 77);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(g_defaultSeen, std::vector<UINT>{WM_BOTH});
    // The bottom hook leaves first: the one above takes over the window's procedure.
    a.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_FALSE(a.IsHooked());
    EXPECT_EQ(SendMessageA(h, WM_BOTH, 0, 0), 77);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "b"}));
    b.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_WNDPROC), own);
    // Destroying the window unhooks every hook.
    a.HookWindow(h);
    b.HookWindow(h);
    DestroyWindow(h);
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
}

TEST(CSubclassWnd, HookOnOurWindowGoesFirstStopsItsExceptionsAndLeavesWithIt) {
    CDerivedWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    std::vector<std::string> log;
    CLogHook hook(log, "hook");
    ASSERT_TRUE(hook.HookWindow(&wnd));
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.SendMessage(WM_BOTH), 3);  // Default() reaches the window's own map
    EXPECT_EQ(log, std::vector<std::string>{"hook"});
    EXPECT_EQ(wnd.log.back(), "both in derived");

    // A throwing hook: logged, and the message gets the answer of the window below it.
    AfxSetLogSink(&Record);
    g_logged.clear();
    EXPECT_EQ(wnd.SendMessage(WM_BASE_ONLY, 5), 1);
    AfxSetLogSink(nullptr);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("0x0401"), std::string::npos) << g_logged[0];
    EXPECT_NE(g_logged[0].find("hook failed"), std::string::npos);
    EXPECT_EQ(wnd.log.back(), "base-only 5");

    // The window's own object letting it go takes its hooks along.
    HWND h = wnd.m_hWnd;
    EXPECT_EQ(wnd.UnsubclassWindow(), h);
    EXPECT_FALSE(hook.IsHooked());
    hook.HookWindow(h);
    EXPECT_FALSE(wnd.SubclassWindow(h));  // a hooked window cannot be taken over
    DestroyWindow(h);
    EXPECT_FALSE(hook.IsHooked());
}

namespace {

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(CWnd* parent = nullptr) : CDialog(IDD_TEST, parent) {}
    int endInInit = 0;    // EndDialog from OnInitDialog with this result
    bool wasVisible = false;
    CButton action;
    std::vector<std::string> log;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        log.push_back("init");
        if (endInInit) EndDialog(endInInit);
        SetTimer(1, 20);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_ACTION, action); }
    void OnAction() { EndDialog(33); }
    void OnTimer(UINT_PTR) {
        if (IsWindowVisible()) wasVisible = true;
        log.push_back("tick");
        // A step returning false is tried again on the next tick.
        if (!script.empty() && script.front()(this)) script.erase(script.begin());
    }
    std::vector<bool (*)(CTestDlg*)> script;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(IDC_ACTION, OnAction)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// Keys go where the focus is, once the dialog has it (activation may come late).
bool Key(CTestDlg* dlg, UINT vk) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(dlg->m_hWnd, focus)) return false;
    PostMessageA(focus, WM_KEYDOWN, vk, 1);
    PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
    return true;
}

// Counts the keys its PreTranslateMessage sees, and eats F2.
class CKeyButton : public CButton {
public:
    int seen = 0;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return FALSE;
        ++seen;
        return msg->wParam == VK_F2;
    }
};

}  // namespace

TEST(CDialog, DoModalRunsUntilEndDialog) {
    CTestDlg dlg;
    // The first step waits for the show: on a loaded machine the loop may find a tick waiting
    // at its first looks and go idle only later.
    dlg.script = {[](CTestDlg* d) { return d->IsWindowVisible() != FALSE; },
                  [](CTestDlg* d) { return d->action.PostMessage(BM_CLICK) != 0; }};
    EXPECT_EQ(dlg.DoModal(), 33);
    EXPECT_TRUE(dlg.wasVisible);  // shown once the loop went idle
    EXPECT_EQ(dlg.log.front(), "init");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.action.m_hWnd, nullptr);  // the bound control went with the dialog
}

TEST(CDialog, DialogKeysGiveOkAndCancel) {
    CTestDlg esc;
    esc.script = {[](CTestDlg*) { return true; }, [](CTestDlg* d) { return Key(d, VK_ESCAPE); }};
    EXPECT_EQ(esc.DoModal(), IDCANCEL);

    CTestDlg enter;
    enter.script = {[](CTestDlg*) { return true; }, [](CTestDlg* d) { return Key(d, VK_RETURN); }};
    EXPECT_EQ(enter.DoModal(), IDOK);
}

TEST(CDialog, EndDialogDuringInitSkipsTheLoop) {
    CTestDlg dlg;
    dlg.endInInit = 3;
    EXPECT_EQ(dlg.DoModal(), 3);
    EXPECT_FALSE(dlg.wasVisible);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"init"});
}

TEST(CDialog, MissingTemplateFails) {
    CDialog dlg(4321);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(CDialog, PreTranslateMessageWalksFromTheControlUp) {
    static CKeyButton* button;
    CKeyButton keys;
    button = &keys;
    CTestDlg dlg;
    dlg.script = {
        [](CTestDlg* d) {
            if (!button->m_hWnd) button->SubclassDlgItem(IDCANCEL, d);
            button->SetFocus();
            return GetFocus() == button->m_hWnd;
        },
        [](CTestDlg* d) { return Key(d, VK_F2); },  // eaten by the button
        [](CTestDlg* d) { return Key(d, VK_ESCAPE); }};
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(keys.seen, 2);
}

TEST(CDialog, OwnerIsDisabledWhileOpenAndCentredOver) {
    HWND ownerWnd = CreateWindowExA(0, RecordingClass(), "owner", WS_POPUP | WS_VISIBLE, 200, 150, 400, 300,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    CWnd owner;
    owner.Attach(ownerWnd);
    static HWND s_owner;
    static bool s_disabled, s_centred;
    s_owner = ownerWnd;
    s_disabled = s_centred = false;
    CTestDlg dlg(&owner);
    dlg.script = {[](CTestDlg* d) {
        s_disabled = !IsWindowEnabled(s_owner);
        CRect me, o;
        d->GetWindowRect(&me);
        GetWindowRect(s_owner, &o);
        s_centred = std::abs(me.CenterPoint().x - o.CenterPoint().x) <= 1 &&
                    std::abs(me.CenterPoint().y - o.CenterPoint().y) <= 1;
        d->EndDialog(IDOK);
        return true;
    }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(s_disabled);
    EXPECT_TRUE(s_centred);
    EXPECT_TRUE(IsWindowEnabled(ownerWnd));
    owner.Detach();
    DestroyWindow(ownerWnd);
}

namespace {

int g_idleWork = 0;  // temporary maps dropped
void CountIdleWork() { ++g_idleWork; }

// Only WM_NULL is a reason for idle work (the card-game client names the
// mouse and timer messages that are none).
class CIdleRuleApp : public CWinApp {
public:
    static std::vector<UINT> asked;
    BOOL IsIdleMessage(MSG* msg) override {
        asked.push_back(msg->message);
        return msg->message == WM_NULL;
    }
};
std::vector<UINT> CIdleRuleApp::asked;

}  // namespace

// The modal loop asks the application before its idle work: after the
// dialog's timer ticks the emptied queue starts none, after WM_NULL it does.
TEST(CDialog, IdleWorkOnlyAfterWhatTheApplicationCallsIdle) {
    CIdleRuleApp app;
    afx_detail::RegisterTempMapCleaner(&CountIdleWork);
    static int s_before, s_afterTicks, s_afterNull;
    CTestDlg dlg;
    dlg.script = {[](CTestDlg* d) { return d->IsWindowVisible() != FALSE; },  // shown at the first idle moment
                  [](CTestDlg*) { return s_before = g_idleWork, true; },
                  [](CTestDlg*) { return true; },
                  [](CTestDlg* d) {
                      s_afterTicks = g_idleWork;
                      return d->PostMessage(WM_NULL) != 0;
                  },
                  [](CTestDlg* d) {
                      s_afterNull = g_idleWork;
                      d->EndDialog(IDOK);
                      return true;
                  }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_GT(s_before, 0);
    EXPECT_EQ(s_afterTicks, s_before) << "ticks start no idle work";
    EXPECT_GT(s_afterNull, s_afterTicks);
    EXPECT_NE(std::find(app.asked.begin(), app.asked.end(), static_cast<UINT>(WM_TIMER)), app.asked.end());
}

TEST(ModuleState, ManageStateSwitchesResourcesForAScope) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(AfxGetInstanceHandle(), self);
    EXPECT_EQ(AfxGetResourceHandle(), self);
    AFX_MODULE_STATE other = {self, reinterpret_cast<HINSTANCE>(0x1234), nullptr};
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x1234));
        EXPECT_EQ(AfxGetApp(), nullptr);
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(AfxGetResourceHandle(), self);
        }
        EXPECT_EQ(AfxGetModuleState(), &other);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
}

namespace {

class CTestApp : public CWinApp {
public:
    int exitCode = 5;
    int ExitInstance() override { return exitCode; }
};

}  // namespace

TEST(CWinApp, RunPumpsUntilQuitAndFiltersIdleMessages) {
    CTestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    MSG paint{nullptr, WM_PAINT, 0, 0, 0, {0, 0}};
    MSG move{nullptr, WM_MOUSEMOVE, 0, 0, 0, {5, 5}};
    EXPECT_FALSE(app.IsIdleMessage(&paint));
    EXPECT_TRUE(app.IsIdleMessage(&move));
    EXPECT_FALSE(app.IsIdleMessage(&move));  // the same place again

    CDerivedWnd main;
    ASSERT_TRUE(CreatePopup(main));
    app.m_pMainWnd = &main;
    EXPECT_EQ(AfxGetMainWnd(), &main);
    main.PostMessage(WM_BOTH);
    PostQuitMessage(0);
    EXPECT_EQ(app.Run(), 5);
    EXPECT_EQ(main.log.back(), "both in derived");
    app.m_pMainWnd = nullptr;
}

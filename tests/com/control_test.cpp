// ActiveX hosting: creation by ProgID and class id, late-bound calls read back
// from the recording control's log, events through the event sink map, and
// creation that fails, also without atl.dll.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "platform/AppServices.h"
#include "platform/LogSink.h"
#include "platform/com/AtlAx.h"
#include "platform/com/EventSinkMap.h"
#include "platform/com/OleControlWnd.h"
#include "tests/com/ComTestKit.h"
#include "tests/support/ChildProcess.h"

namespace {

using comtest::ComTest;
constexpr UINT kMovieId = 1054;

class CHostWnd : public CWnd {
public:
    std::vector<std::string> heard;
    void OnCommand(LPCSTR command, long count) { heard.push_back(std::string(command) + "/" + std::to_string(count)); }
    void OnNumbers(short s, double d, bool b) {
        heard.push_back(std::to_string(s) + "/" + std::to_string(d) + "/" + (b ? "true" : "false"));
    }
    void OnCancelable(VARIANT_BOOL* cancel) {
        heard.push_back("cancel");
        *cancel = VARIANT_TRUE;
    }
    void OnBroken(long) { throw std::runtime_error("event handler failed"); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHostWnd, CWnd)
ON_EVENT(CHostWnd, kMovieId, 150, OnCommand)
ON_EVENT(CHostWnd, kMovieId, 151, OnNumbers)
ON_EVENT(CHostWnd, kMovieId, 152, OnCancelable)
ON_EVENT(CHostWnd, kMovieId, 153, OnBroken)
END_EVENTSINK_MAP()

bool SameObject(IUnknown* a, IUnknown* b) {
    IUnknown *ia = nullptr, *ib = nullptr;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ia));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ib));
    bool same = ia && ia == ib;
    if (ia) ia->Release();
    if (ib) ib->Release();
    return same;
}

HRESULT RecordingCanUnloadNow() {
    HMODULE dll = ::GetModuleHandleA("RecordingControl.dll");
    auto canUnload =
        reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
    return canUnload ? canUnload() : E_FAIL;
}

TEST_F(ComTest, HostsControlByProgIdAndClassIdInAtlAxWin) {
    CHostWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    COleControlWnd byProgId, byClsid;
    ASSERT_TRUE(byProgId.CreateControl(comtest::kRecordingProgId, "flash", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100),
                                       &host, kMovieId));
    ASSERT_TRUE(byClsid.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 100, 200, 200), &host, 7));
    for (COleControlWnd* w : {&byProgId, &byClsid}) {
        char cls[32] = "";
        ::GetClassNameA(*w, cls, sizeof cls);
        EXPECT_STREQ("AtlAxWin", cls);
        EXPECT_EQ(host.m_hWnd, ::GetParent(*w));
        ASSERT_NE(nullptr, w->GetControlDispatch());
        ASSERT_NE(nullptr, w->GetEventSink());
        IUnknown* hosted = nullptr;
        ASSERT_TRUE(SUCCEEDED(AfxAtlAxGetControl(*w, &hosted)));
        EXPECT_TRUE(SameObject(hosted, w->GetControlUnknown()));
        hosted->Release();
    }
    EXPECT_EQ(kMovieId, static_cast<UINT>(byProgId.GetDlgCtrlID()));
    EXPECT_TRUE(byProgId.IsWindowVisible());
    EXPECT_FALSE(byClsid.IsWindowVisible());

    // Closing the host destroys the control windows and lets every object go.
    host.DestroyWindow();
    EXPECT_EQ(nullptr, byProgId.m_hWnd);
    EXPECT_EQ(nullptr, byProgId.GetControlDispatch());
    EXPECT_EQ(S_OK, RecordingCanUnloadNow());
}

TEST_F(ComTest, InvokeHelperPassesArgumentsAndResults) {
    CHostWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    COleControlWnd movie;
    ASSERT_TRUE(movie.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, kMovieId));

    EXPECT_EQ(S_OK, movie.InvokeHelper(0x66, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BSTR, "c:\\游戏\\group.swf"));
    EXPECT_EQ(S_OK, movie.InvokeHelper(0x70, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE));
    EXPECT_EQ(S_OK, movie.InvokeHelper(0x87, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, VTS_BOOL, FALSE));
    long number = 0;
    EXPECT_EQ(S_OK, movie.InvokeHelper(5, DISPATCH_METHOD, VT_I4, &number, VTS_I4 VTS_R8 VTS_I2, 42L, 2.5, 7));
    EXPECT_EQ(42, number);
    CString text;
    EXPECT_EQ(S_OK, movie.InvokeHelper(0xC6, DISPATCH_METHOD, VT_BSTR, &text, VTS_BSTR, "<invoke name=\"setText\"/>"));
    EXPECT_STREQ("<invoke name=\"setText\"/>", text);
    // A result that does not convert is an error and leaves the output alone.
    number = -1;
    EXPECT_TRUE(FAILED(movie.InvokeHelper(6, DISPATCH_METHOD, VT_I4, &number, VTS_BSTR, "abc")));
    EXPECT_EQ(-1, number);
    // An unknown argument code calls nothing.
    EXPECT_EQ(DISP_E_BADVARTYPE, movie.InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, nullptr, "\x30", 1));

    EXPECT_EQ(
        (std::vector<std::string>{"site", "102 4 [8:c:\\游戏\\group.swf]", "112 1 ", "135 4 [b:0]", "5 1 [3:42][5:2.5][2:7]",
                                  "198 1 [8:<invoke name=\"setText\"/>]", "6 1 [8:abc]"}),
        LogLines());
}

TEST_F(ComTest, EventsReachTheParentsEventSinkMap) {
    CHostWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    COleControlWnd movie, other;
    ASSERT_TRUE(movie.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, kMovieId));
    ASSERT_TRUE(other.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 99));

    EXPECT_EQ(S_OK, movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_I4, 150L,
                                       "press", 3L));
    EXPECT_EQ(S_OK, movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr,
                                       VTS_I4 VTS_I4 VTS_BSTR VTS_BOOL, 151L, 12L, "2.5", TRUE));
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(S_OK,
              movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_PBOOL, 152L, &cancel));
    EXPECT_EQ(VARIANT_TRUE, cancel);
    // Too few arguments, a mistyped one, an event without an entry, or
    // another control's event reach no handler.
    movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR, 150L, "short");
    movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_BSTR, 150L, "x", "y");
    movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_I4, 152L, 1L);
    movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4, 160L);
    other.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_I4, 150L, "other", 1L);

    EXPECT_EQ((std::vector<std::string>{"press/3", "12/2.500000/true", "cancel"}), host.heard);
}

namespace {
std::vector<std::string> g_logged;
void Record(const char* line) { g_logged.push_back(line); }
}  // namespace

TEST_F(ComTest, AThrowingEventHandlerIsLoggedAndTheControlGoesOn) {
    CHostWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    COleControlWnd movie;
    ASSERT_TRUE(movie.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, kMovieId));
    AfxSetLogSink(&Record);
    g_logged.clear();
    movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_I4, 153L, 1L);
    AfxSetLogSink(nullptr);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("control event 153"), std::string::npos) << g_logged[0];
    EXPECT_NE(g_logged[0].find("event handler failed"), std::string::npos);
    EXPECT_EQ(S_OK, movie.InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_I4, 150L,
                                       "after", 1L));
    EXPECT_EQ(std::vector<std::string>{"after/1"}, host.heard);
}

TEST_F(ComTest, FailedCreationLeavesNothingAndTheWindowWorking) {
    CHostWnd host;
    ASSERT_TRUE(comtest::CreateHostWindow(host));
    const CLSID unknown = {0x6E0B5D2F, 0x3C2A, 0x4F7E, {0x9A, 0x41, 0x52, 0xD8, 0xC3, 0xE1, 0xB7, 0x00}};
    COleControlWnd control;
    EXPECT_FALSE(control.CreateControl(unknown, "flash", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &host, kMovieId));
    EXPECT_FALSE(
        control.CreateControl("Mirabo.NoSuchControl", nullptr, WS_CHILD, CRect(0, 0, 50, 50), &host, kMovieId));
    EXPECT_FALSE(control.CreateControl("", nullptr, WS_CHILD, CRect(0, 0, 50, 50), &host, kMovieId));
    EXPECT_EQ(nullptr, control.m_hWnd);
    EXPECT_EQ(nullptr, control.GetControlDispatch());
    EXPECT_EQ(nullptr, ::GetWindow(host, GW_CHILD));
    EXPECT_EQ(E_NOINTERFACE, control.InvokeHelper(0x70, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_NONE));

    // The host still answers, and the same object can still host a control.
    host.SetWindowText("still here");
    CString title;
    host.GetWindowText(title);
    EXPECT_STREQ("still here", title);
    EXPECT_TRUE(
        control.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &host, kMovieId));
    EXPECT_FALSE(control.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &host, 5));
}

// A copy of this program under this name runs without atl.dll: Wine's loader
// disables it for that program alone.
constexpr char kWithoutAtl[] = "com_without_atl.exe";

std::string OwnPath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Without atl.dll nothing can be hosted: the calls say so, hold nothing and
// leave the window working. The test runs its checks in a copy of this
// program that cannot load the library.
TEST(ComWithoutAtl, NothingIsHostedAndTheCallsSaySo) {
    const std::string self = OwnPath();
    if (self.substr(self.rfind('\\') + 1) == kWithoutAtl) {
        EXPECT_FALSE(AfxAtlAxWinInit());
        AfxEnableControlContainer();
        CHostWnd host;
        ASSERT_TRUE(comtest::CreateHostWindow(host));
        COleControlWnd control;
        EXPECT_FALSE(control.CreateControl(comtest::kRecordingClsid, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &host,
                                           kMovieId));
        EXPECT_EQ(nullptr, control.m_hWnd);
        EXPECT_EQ(nullptr, ::GetWindow(host, GW_CHILD));
        IUnknown* got = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(E_NOTIMPL, AfxAtlAxGetControl(host, &got));
        EXPECT_EQ(nullptr, got);
        EXPECT_EQ(E_NOTIMPL, AfxAtlAxAttachControl(reinterpret_cast<IUnknown*>(&host), host, &got));
        host.SetWindowText("still here");
        CString title;
        host.GetWindowText(title);
        EXPECT_STREQ("still here", title);
        return;
    }
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "mirabo_without_atl_" + std::to_string(::GetCurrentProcessId());
    const std::string copy = folder + "\\" + kWithoutAtl;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(self.c_str(), copy.c_str(), FALSE));
    const std::string app = std::string("Software\\Wine\\AppDefaults\\") + kWithoutAtl;
    const std::string overrides = app + "\\DllOverrides";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                               &key, nullptr));
    ::RegSetValueExA(key, "atl", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);  // disabled
    ::RegCloseKey(key);
    DWORD exitCode = STILL_ACTIVE;
    {
        testsupport::ChildProcess child(copy, "--gtest_filter=ComWithoutAtl.*", folder);
        EXPECT_TRUE(child.WaitExit(60000));
        exitCode = child.ExitCode();
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, overrides.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, app.c_str());
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(0u, exitCode) << "the checks failed in the copy without atl.dll";
}

}  // namespace

namespace {

// The application object starts OLE (single-threaded) on its thread for the
// program's life and stops it at exit.
class COleProbeApp : public CWinApp {
public:
    HRESULT duringRun = E_FAIL;
    BOOL InitInstance() override {
        duringRun = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(duringRun)) ::CoUninitialize();
        return FALSE;
    }
};

TEST(ComApp, OleRunsOnTheApplicationThreadUntilExit) {
    HRESULT afterExit = E_FAIL;
    COleProbeApp app;
    std::thread([&] {
        AfxWinMain(::GetModuleHandleA(nullptr), const_cast<LPSTR>(""), SW_HIDE);
        afterExit = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterExit)) ::CoUninitialize();
    }).join();
    EXPECT_EQ(RPC_E_CHANGED_MODE, app.duringRun);
    EXPECT_EQ(S_OK, afterExit);
}

}  // namespace

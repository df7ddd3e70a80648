// The hyperlink control on a real static: clicks, tooltip, underline, and
// opening through the web-page class's open command of a private HKCR.
#include "platform/Framework.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/WindowCapture.h"

namespace {

constexpr int IDC_LINK = 1029;

class CLinkParent : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> clicks;
    LRESULT OnLinkClicked(WPARAM wp, LPARAM lp) {
        clicks.emplace_back(wp, lp);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLinkParent, CWnd)
    ON_MESSAGE(WM_HYPERLINK_CLICKED, OnLinkClicked)
END_MESSAGE_MAP()

// HKEY_CLASSES_ROOT of this process only, redirected to a fresh key: with
// record_args.exe as the web-page class's open command, or empty.
class PrivateClasses {
public:
    explicit PrivateClasses(bool withPageClass) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kRoot, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &root_,
                        nullptr);
        if (withPageClass) {
            char exe[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, exe, MAX_PATH);
            std::string dir(exe);
            dir.resize(dir.find_last_of('\\'));
            std::string command = "\"" + dir + "\\record_args.exe\" \"%1\"";
            SetDefault(".htm", "MiraboTestPage");
            SetDefault("MiraboTestPage\\shell\\open\\command", command);
        }
        RegOverridePredefKey(HKEY_CLASSES_ROOT, root_);
    }
    ~PrivateClasses() {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        for (const char* k : {"MiraboTestPage\\shell\\open\\command", "MiraboTestPage\\shell\\open",
                              "MiraboTestPage\\shell", "MiraboTestPage", ".htm"})
            RegDeleteKeyA(root_, k);
        RegCloseKey(root_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kRoot);
    }

private:
    void SetDefault(const char* sub, const std::string& value) {
        HKEY key = nullptr;
        RegCreateKeyExA(root_, sub, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    static constexpr const char* kRoot = "Software\\MiraboTestClasses";
    HKEY root_ = nullptr;
};

const char* ParentClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "HyperLinkTestParent";
        RegisterClassA(&wc);
        registered = true;
    }
    return "HyperLinkTestParent";
}

class HyperLink : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        ASSERT_TRUE(parent.CreateEx(0, ParentClass(), "links", WS_POPUP | WS_VISIBLE, CRect(300, 300, 600, 400),
                                    nullptr, 0));
    }
    void MakeLink(CHyperLink& link, const char* text, int id = IDC_LINK) {
        HWND h = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 20, 250, 30, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(link.SubclassWindow(h));
    }
    static void Click(CHyperLink& link) {
        link.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        link.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    CLinkParent parent;
};

struct WindowSearch {
    const char* cls;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, search->cls) != 0 || (!IsWindowVisible(h) && lstrcmpiA(cls, "#32770") == 0)) return TRUE;
    search->found = h;
    return FALSE;
}

// A window of that class made by the thread (a dialog only once visible).
HWND FindThreadWindow(DWORD thread, const char* cls) {
    WindowSearch search{cls, nullptr};
    EnumThreadWindows(thread, &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ToolTipText(HWND link) {
    HWND tip = FindThreadWindow(GetCurrentThreadId(), TOOLTIPS_CLASSA);
    char text[256] = "";
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = link;
    ti.uId = 1;
    ti.lpszText = text;
    if (tip) SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

bool Underlined(CHyperLink& link) {
    LOGFONTA lf{};
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(link.SendMessage(WM_GETFONT));
    return font && GetObjectA(font, sizeof lf, &lf) && lf.lfUnderline;
}

// Any pixel of the link in (about) the given pure colour.
bool Shows(CHyperLink& link, COLORREF c) {
    Capture shot = CaptureWindow(link.m_hWnd);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            COLORREF p = shot.At(x, y);
            if (abs(GetRValue(p) - GetRValue(c)) < 60 && abs(GetGValue(p) - GetGValue(c)) < 60 &&
                abs(GetBValue(p) - GetBValue(c)) < 60)
                return true;
        }
    return false;
}

}  // namespace

TEST_F(HyperLink, ModeOnePostsItsIdToTheParentAndStaysUnvisited) {
    CHyperLink link;
    MakeLink(link, "注册成为新用户");
    link.SetMode(CHyperLink::kNotifyParent);
    Click(link);
    ASSERT_TRUE(PumpUntil([&] { return !parent.clicks.empty(); }));
    EXPECT_EQ(parent.clicks[0].first, 0u);
    EXPECT_EQ(parent.clicks[0].second, IDC_LINK);
    EXPECT_FALSE(link.GetVisited());
}

TEST_F(HyperLink, TextWithoutAddressIsShownAndOpenedAsOneArgument) {
    PrivateClasses classes(true);
    char record[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, record);
    lstrcatA(record, "mirabo_record_args.txt");
    DeleteFileA(record);
    SetEnvironmentVariableA("MIRABO_RECORD_ARGS", record);

    CHyperLink link;
    MakeLink(link, "no such page here");
    EXPECT_STREQ(link.GetURL(), "no such page here");
    EXPECT_EQ(ToolTipText(link.m_hWnd), "no such page here");

    Click(link);
    std::vector<std::string> args;
    ASSERT_TRUE(PumpUntil([&] {
        std::ifstream in(record);
        std::string line;
        args.clear();
        while (std::getline(in, line)) args.push_back(line);
        return !args.empty();
    }, 10000));
    EXPECT_EQ(args, std::vector<std::string>{"no such page here"});
    EXPECT_TRUE(link.GetVisited());
    DeleteFileA(record);
}

TEST_F(HyperLink, UnderlineModeOneStaysAfterTheMouseLeaves) {
    CHyperLink always, hover;
    MakeLink(always, "always", IDC_LINK);
    MakeLink(hover, "hover", IDC_LINK + 1);
    hover.MoveWindow(20, 60, 100, 20);
    always.SetUnderline(CHyperLink::kUnderlineAlways);
    for (CHyperLink* link : {&always, &hover}) {
        link->SetColours(RGB(0, 0, 255), RGB(85, 26, 139), RGB(255, 0, 0));
        CRect r;
        link->GetWindowRect(&r);
        ASSERT_TRUE(MoveCursorTo(r.left + 2, r.top + 2));
        link->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_TRUE(PumpUntil([&] { return Shows(*link, RGB(255, 0, 0)); }));  // hover colour
        EXPECT_TRUE(Underlined(*link));
        ASSERT_TRUE(MoveCursorTo(0, 0));
        ASSERT_TRUE(PumpUntil([&] { return !Shows(*link, RGB(255, 0, 0)) && Shows(*link, RGB(0, 0, 255)); }));
    }
    EXPECT_TRUE(Underlined(always));
    EXPECT_FALSE(Underlined(hover));
}

TEST_F(HyperLink, FailedOpenShowsTheBoxWithTheCode) {
    PrivateClasses classes(false);  // no web-page class to fall back on
    CHyperLink link;
    MakeLink(link, "no such page here");

    DWORD self = GetCurrentThreadId();
    std::string boxText;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        for (DWORD end = GetTickCount() + 10000; !done && static_cast<LONG>(end - GetTickCount()) > 0; Sleep(20)) {
            HWND box = FindThreadWindow(self, "#32770");
            if (!box) continue;
            char text[512] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            boxText = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            done = true;
        }
    });
    Click(link);
    bool shown = PumpUntil([&] { return done.load(); }, 12000);
    done = true;
    watcher.join();
    ASSERT_TRUE(shown);
    EXPECT_EQ(boxText, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_FALSE(link.GetVisited());
}

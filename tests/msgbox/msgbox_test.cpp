// Opens real message boxes from Moxbell.dll and drives them from a thread
// timer that runs inside their modal loop, as a caller's timer would.
#include "msgbox/MyMessageBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Framework.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/Patience.h"

namespace {

BOOL CALLBACK AddVisibleBox(HWND h, LPARAM lp) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof(cls));
    if (IsWindowVisible(h) && std::string(cls) == "#32770") reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> VisibleBoxes() {
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), &AddVisibleBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// Steps run one per tick of a 15 ms thread timer; a step returns true when
// it is done. A step that opens a nested box calls Release() first, so the
// following steps drive the nested box.
class Script {
public:
    using Step = std::function<bool()>;

    explicit Script(std::vector<Step> steps) : steps_(std::move(steps)), start_(GetTickCount()) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 15, &Script::Tick);
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    void Release() {
        next_ = running_ + 1;
        busy_ = false;
    }
    bool Finished() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* s = current_;
        if (!s) return;
        const DWORD elapsed = GetTickCount() - s->start_;
        if (elapsed > 10000 && elapsed > static_cast<DWORD>(testsupport::Patience(10000))) {
            // A box the steps did not close: end it so the test fails instead of hanging.
            for (HWND box : VisibleBoxes()) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (s->busy_ || s->Finished()) return;
        s->busy_ = true;
        size_t i = s->running_ = s->next_;
        bool done = s->steps_[i]();
        if (done && s->next_ == i) s->next_ = i + 1;
        s->busy_ = false;
    }

    static Script* current_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    size_t running_ = 0;
    bool busy_ = false;
    UINT_PTR timer_ = 0;
    DWORD start_;
};

Script* Script::current_ = nullptr;

int RunBox(const char* text, const char* caption, UINT type, int timeout, std::vector<Script::Step> steps,
           CWnd* parent = nullptr) {
    Script script(std::move(steps));
    int result = MyMessageBox(text, caption, type, timeout, parent);
    EXPECT_TRUE(script.Finished()) << "not every step ran before the box closed";
    return result;
}

// Waits for exactly one visible box, painted, and keeps it.
Script::Step WaitForBox(HWND* box) {
    return [box] {
        std::vector<HWND> boxes = VisibleBoxes();
        if (boxes.size() != 1) return false;
        *box = boxes[0];
        UpdateWindow(*box);
        return true;
    };
}

// Keys go where the focus is, once the box has it (activation may come late).
Script::Step PressKey(UINT vk) {
    return [vk] {
        HWND focus = GetFocus();
        std::vector<HWND> boxes = VisibleBoxes();
        if (!focus || boxes.size() != 1 || !IsChild(boxes[0], focus)) return false;
        PostMessageA(focus, WM_KEYDOWN, vk, 1);
        PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
        return true;
    };
}

Script::Step ClickButton(HWND* box, int id) {
    return [box, id] {
        HWND button = GetDlgItem(*box, id);
        PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 9));
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 9));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 9));
        return true;
    };
}

// Activation may come late on a loaded machine: waits (within the script's
// deadline) until the focus is inside the box.
Script::Step WaitForFocusIn(HWND* box) {
    return [box] { return IsChild(*box, GetFocus()) != FALSE; };
}

// A box opened, waited for with its focus, looked at by inspect, then closed with Esc.
void Inspect(const char* text, const char* caption, UINT type, int timeout, std::function<void(HWND)> inspect) {
    HWND box = nullptr;
    RunBox(text, caption, type, timeout,
           {WaitForBox(&box), WaitForFocusIn(&box), [&] { inspect(box); return true; }, PressKey(VK_ESCAPE)});
}

// Line height of the box's font, measured the way the box measures it: Arial
// of a 14-pixel cell, whose em on Windows is 13 pixels.
int LineHeight(const char* text, int* width = nullptr) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-13, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 4, 32, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, DT_CALCRECT);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    if (width) *width = r.right;
    return r.bottom;
}

CSize WindowSize(HWND h) {
    CRect r;
    GetWindowRect(h, &r);
    return r.Size();
}

bool IsDark(COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; }

// Top of the first text line of a box of height H with n lines.
int FirstLineY(int H, int n) { return 34 + (H - 19 - 34 - 34 - n * 17) / 2 + 9; }

// Leftmost dark pixel in the rows of the first line, from x = fromX.
int LeftmostText(const Capture& c, int n, int fromX) {
    int y0 = FirstLineY(c.height, n);
    for (int x = fromX; x < c.width - 8; ++x)
        for (int y = y0; y < y0 + 14; ++y)
            if (IsDark(c.At(x, y))) return x;
    return -1;
}

}  // namespace

TEST(MyMessageBox, ButtonsAndKeysGiveTheirResults) {
    HWND box = nullptr;
    EXPECT_EQ(RunBox("回车", "提示", MB_OK, 0, {WaitForBox(&box), PressKey(VK_RETURN)}), IDOK);
    EXPECT_EQ(RunBox("空格", "提示", MB_OK, 0, {WaitForBox(&box), PressKey(VK_SPACE)}), IDOK);
    EXPECT_EQ(RunBox("点击", "提示", MB_OK, 0, {WaitForBox(&box), ClickButton(&box, IDOK)}), IDOK);
    EXPECT_EQ(RunBox("取消", "提示", MB_OK, 0, {WaitForBox(&box), PressKey(VK_ESCAPE)}), IDCANCEL);

    // Yes has the focus: Enter answers Yes, not the dialog's default OK.
    EXPECT_EQ(RunBox("是否", nullptr, MB_YESNO, 0, {WaitForBox(&box), PressKey(VK_RETURN)}), IDYES);
    EXPECT_EQ(RunBox("是否", nullptr, MB_YESNO, 0, {WaitForBox(&box), ClickButton(&box, IDNO)}), IDNO);
    EXPECT_EQ(RunBox("是否", nullptr, MB_YESNO, 0, {WaitForBox(&box), PressKey(VK_ESCAPE)}), IDCANCEL);
    // Tab moves the focus to No.
    EXPECT_EQ(RunBox("是否", nullptr, MB_YESNO, 0,
                     {WaitForBox(&box), PressKey(VK_TAB),
                      [&] { return GetDlgCtrlID(GetFocus()) == IDNO; }, PressKey(VK_SPACE)}),
              IDNO);
}

// Export ordinal 1 is the box: loaded by it, it shows and answers.
TEST(MyMessageBox, OrdinalOneIsTheBox) {
    HMODULE moxbell = LoadLibraryA("Moxbell.dll");
    ASSERT_NE(moxbell, nullptr);
    typedef int (*BoxProc)(const char*, const char*, UINT, int, CWnd*);
    const BoxProc box = reinterpret_cast<BoxProc>(reinterpret_cast<void*>(GetProcAddress(moxbell, MAKEINTRESOURCEA(1))));
    ASSERT_EQ(box, &MyMessageBox);
    HWND shown = nullptr;
    bool yesNo = false;
    Script script({WaitForBox(&shown), [&] {
                       yesNo = IsWindowVisible(GetDlgItem(shown, IDYES)) && IsWindowVisible(GetDlgItem(shown, IDNO));
                       return true;
                   },
                   PressKey(VK_RETURN)});
    EXPECT_EQ(box("序号一", "按序号", MB_YESNO, 0, nullptr), IDYES);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(yesNo);
    FreeLibrary(moxbell);
}

TEST(MyMessageBox, OnlyTheButtonsOfTheBoxTypeAreShown) {
    auto shown = [](HWND box, int id) {
        HWND b = GetDlgItem(box, id);
        return IsWindowVisible(b) && IsWindowEnabled(b);
    };
    // The focus is taken where it first lands in the box: on a loaded
    // machine the activation may still move on before a later step.
    HWND box = nullptr;
    int focused = 0;
    RunBox("ok", nullptr, MB_OK, 0,
           {WaitForBox(&box),
            [&] {
                const HWND focus = GetFocus();
                if (!IsChild(box, focus)) return false;
                focused = GetDlgCtrlID(focus);
                return true;
            },
            [&] {
                EXPECT_TRUE(shown(box, IDOK));
                for (int id : {IDCANCEL, IDYES, IDNO, IDRETRY}) EXPECT_FALSE(shown(box, id)) << id;
                return true;
            },
            PressKey(VK_ESCAPE)});
    EXPECT_EQ(focused, IDOK);
    Inspect("yes/no", nullptr, MB_YESNO | MB_ICONQUESTION, 0, [&](HWND box) {
        EXPECT_TRUE(shown(box, IDYES));
        EXPECT_TRUE(shown(box, IDNO));
        for (int id : {IDOK, IDCANCEL, IDRETRY}) EXPECT_FALSE(shown(box, id)) << id;
        CRect yes, no;
        GetWindowRect(GetDlgItem(box, IDYES), &yes);
        GetWindowRect(GetDlgItem(box, IDNO), &no);
        EXPECT_EQ(no.left - yes.left, 71 + 14);
        EXPECT_EQ(yes.Size(), CSize(71, 19));
    });
}

TEST(MyMessageBox, CountDownEndsTheBoxByTheClock) {
    HWND box = nullptr;
    DWORD t0 = GetTickCount();
    EXPECT_EQ(RunBox("倒计时", nullptr, MB_YESNO, 1, {WaitForBox(&box)}), IDNO);
    DWORD took = GetTickCount() - t0;
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, static_cast<DWORD>(testsupport::Patience(3000)));

    EXPECT_EQ(RunBox("倒计时", nullptr, MB_OK, 1, {WaitForBox(&box)}), IDOK);

    // The thread is blocked for longer than the count-down: few timer events
    // arrive, yet the box ends at once, since it counts milliseconds.
    t0 = GetTickCount();
    EXPECT_EQ(RunBox("忙", nullptr, MB_OK, 2, {WaitForBox(&box), [] { Sleep(2100); return true; }}), IDOK);
    EXPECT_LT(GetTickCount() - t0, static_cast<DWORD>(testsupport::Patience(3200)));
}

TEST(MyMessageBox, NoCountDownWithoutTimeout) {
    // A box with a time-out of 0 or less waits: still open after 1.5 s.
    for (int timeout : {0, -5}) {
        HWND box = nullptr;
        DWORD t0 = 0;
        int r = RunBox("等待", nullptr, MB_YESNO, timeout,
                       {WaitForBox(&box), [&] { t0 = GetTickCount(); return true; },
                        [&] { return GetTickCount() - t0 > 1500; },
                        [&] { EXPECT_TRUE(IsWindowVisible(box)); return true; }, PressKey(VK_RETURN)});
        EXPECT_EQ(r, IDYES) << timeout;
    }
}

TEST(MyMessageBox, WindowSizeFollowsTextButtonsAndPicture) {
    int w = 0;
    const int h = LineHeight("好", &w);
    const int lines = h + 3;
    struct Case {
        const char* text;
        UINT type;
        int timeout;
        int width, height;
    } cases[] = {
        {"好", MB_OK, 0, std::max(w + 28, 71 + 28) + 16, lines + 19 + 28 + 41},
        {"好", MB_YESNO, 0, 184 + 16, lines + 19 + 28 + 41},
        {"好", MB_OK, 10, std::max(w + 28, 71 + 28) + 16, lines + 19 + 28 + 28 + 41},
        // Warning picture: 63 more pixels wide, at least the picture's height.
        {"好", 0x30, 0, std::max(w + 28 + 63, 71 + 28) + 16, 45 + 19 + 28 + 41},
        {"好", 0x34, 0, 184 + 16, 45 + 19 + 28 + 41},
        {"好", 0x30, 10, std::max(w + 28 + 63, 71 + 28) + 16, lines + 19 + 28 + 28 + 41},
        // Both bits are needed for the picture.
        {"好", 0x20, 0, std::max(w + 28, 71 + 28) + 16, lines + 19 + 28 + 41},
        {"好", 0x10, 0, std::max(w + 28, 71 + 28) + 16, lines + 19 + 28 + 41},
        // Two breaks in a row make two lines; a trailing break adds none.
        {"好\n\n好\n", MB_OK, 0, std::max(w + 28, 71 + 28) + 16, 2 * lines + 19 + 28 + 41},
        {"", MB_OK, 0, 71 + 28 + 16, 19 + 28 + 41},
    };
    for (const Case& c : cases) {
        Inspect(c.text, nullptr, c.type, c.timeout, [&](HWND box) {
            EXPECT_EQ(WindowSize(box), CSize(c.width, c.height))
                << "text '" << c.text << "' type " << c.type << " timeout " << c.timeout;
        });
    }

    // A long line widens the box.
    const char* longText = "网络连接已经断开，请检查您的网络设置以后再重新进入游戏";
    int lw = 0;
    LineHeight(longText, &lw);
    Inspect(longText, nullptr, MB_YESNO, 0,
            [&](HWND box) { EXPECT_EQ(WindowSize(box).cx, std::max(lw + 28, 184) + 16); });
}

TEST(MyMessageBox, RegionFollowsTheFrameAndMaskedCorners) {
    Inspect("形状", "提示", MB_OK, 0, [](HWND box) {
        CSize size = WindowSize(box);
        const int W = size.cx, H = size.cy;
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(box, rgn), ERROR);
        // Rounded corners: the outermost corner pixels are magenta in the skin.
        for (POINT p : {POINT{0, 0}, POINT{W - 1, 0}, POINT{0, H - 1}, POINT{W - 1, H - 1}})
            EXPECT_FALSE(PtInRegion(rgn, p.x, p.y)) << p.x << "," << p.y;
        for (POINT p : {POINT{W / 2, 0}, POINT{0, H / 2}, POINT{W - 1, H / 2}, POINT{W / 2, H - 1},
                        POINT{W / 2, H / 2}, POINT{7, 7}, POINT{W - 8, H - 7}})
            EXPECT_TRUE(PtInRegion(rgn, p.x, p.y)) << p.x << "," << p.y;
        RECT bounds;
        GetRgnBox(rgn, &bounds);
        EXPECT_EQ(CRect(bounds), CRect(0, 0, W, H));
        DeleteObject(rgn);
    });
}

TEST(MyMessageBox, PaintsFrameTextCountDownAndPicture) {
    Inspect("白色的内部", nullptr, MB_OK, 0, [](HWND box) {
        Capture c = CaptureWindow(box);
        const int W = c.width, H = c.height;
        EXPECT_EQ(c.At(W / 2, 38), RGB(255, 255, 255));
        EXPECT_EQ(c.At(12, H - 10), RGB(255, 255, 255));
        EXPECT_EQ(c.At(W - 12, H - 10), RGB(255, 255, 255));
        // The title band turns towards orange from a third of the width on.
        const int y = 15;
        EXPECT_NEAR(c.Red(10, y), 55, 12);
        EXPECT_NEAR(c.Blue(10, y), 175, 12);
        EXPECT_GT(c.Red(W / 2, y), c.Red(W / 3 - 2, y) + 10);
        EXPECT_GT(c.Red(W - 12, y), c.Red(W / 2, y) + 40);
        EXPECT_LT(c.Blue(W - 12, y), c.Blue(10, y) - 80);
        // The first line starts 22 pixels in.
        int x = LeftmostText(c, 1, 8);
        EXPECT_GE(x, 22);
        EXPECT_LE(x, 25);
        SavePng(c, "msgbox_ok");
    });

    Inspect("标题", "系统提示", MB_OK, 0, [](HWND box) {
        Capture c = CaptureWindow(box);
        int white = 0;  // the caption's white strokes in the band's middle
        for (int y = 6; y < 30; ++y)
            for (int x = c.width / 2 - 30; x < c.width / 2 + 30; ++x) white += c.At(x, y) == RGB(255, 255, 255);
        EXPECT_GT(white, 10);
    });

    Inspect("倒计时", nullptr, MB_YESNO, 9, [](HWND box) {
        Capture c = CaptureWindow(box);
        int minX = c.width, maxX = -1;
        for (int y = 34; y < c.height - 40; ++y)
            for (int x = 8; x < c.width - 8; ++x)
                if (c.Red(x, y) > 200 && c.Green(x, y) < 80 && c.Blue(x, y) < 80) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
        ASSERT_GE(maxX, 0) << "no red count-down";
        EXPECT_NEAR((minX + maxX) / 2, c.width / 2, 4);
        SavePng(c, "msgbox_countdown");
    });

    Inspect("警告", "警告", 0x34, 0, [](HWND box) {
        Capture c = CaptureWindow(box);
        // The picture at (22, 48), yellow inside its triangle.
        COLORREF px = c.At(22 + 12, 48 + 38);
        EXPECT_GT(GetRValue(px), 200);
        EXPECT_LT(GetBValue(px), 80);
        EXPECT_EQ(c.At(22 + 2, 48 + 2), RGB(255, 255, 255));
        // The text moved 63 pixels to the right.
        int x = LeftmostText(c, 1, 22 + 49);
        EXPECT_GE(x, 22 + 63);
        EXPECT_LE(x, 22 + 63 + 3);
        SavePng(c, "msgbox_warning");
    });
}

TEST(MyMessageBox, CentresOverItsOwnerAndDisablesIt) {
    HWND ownerWnd = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 500, 400, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(ownerWnd);
    CWnd owner;
    owner.Attach(ownerWnd);
    HWND box = nullptr;
    int r = RunBox("居中", nullptr, MB_OK, 0,
                   {WaitForBox(&box),
                    [&] {
                        CRect b, o;
                        GetWindowRect(box, &b);
                        GetWindowRect(ownerWnd, &o);
                        EXPECT_NEAR(b.CenterPoint().x, o.CenterPoint().x, 1);
                        EXPECT_NEAR(b.CenterPoint().y, o.CenterPoint().y, 1);
                        EXPECT_EQ(GetWindow(box, GW_OWNER), ownerWnd);
                        EXPECT_FALSE(IsWindowEnabled(ownerWnd));
                        return true;
                    },
                    PressKey(VK_RETURN)},
                   &owner);
    EXPECT_EQ(r, IDOK);
    EXPECT_TRUE(IsWindowEnabled(ownerWnd));
    owner.Detach();
    DestroyWindow(ownerWnd);
}

TEST(MyMessageBox, NestedCallHidesTheOpenBoxWhichExpiresAfterIt) {
    for (DWORD secondOpenMs : {300u, 1600u}) {
        HWND ownerWnd = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
        CWnd owner;
        owner.Attach(ownerWnd);
        std::vector<std::string> order;
        HWND first = nullptr, second = nullptr;
        DWORD hiddenAt = 0, secondShownAt = 0;
        Script* script = nullptr;
        std::vector<Script::Step> steps = {
            WaitForBox(&first),
            [&] {
                // The caller's timer asks again while the first box is open.
                hiddenAt = GetTickCount();
                script->Release();
                int r = MyMessageBox("第二个", nullptr, MB_OK, 0, &owner);
                order.push_back("second=" + std::to_string(r));
                return true;
            },
            [&] {
                std::vector<HWND> boxes = VisibleBoxes();
                if (boxes.size() != 1 || boxes[0] == first) return false;
                second = boxes[0];
                secondShownAt = GetTickCount();
                EXPECT_FALSE(IsWindowVisible(first));
                return true;
            },
            [&] { return GetTickCount() - secondShownAt >= secondOpenMs; },
            [&] {
                // Even after the first box has expired the owner stays disabled.
                EXPECT_FALSE(IsWindowEnabled(ownerWnd));
                return true;
            },
            PressKey(VK_RETURN),
        };
        Script s(std::move(steps));
        script = &s;
        int r = MyMessageBox("第一个", nullptr, MB_YESNO, 0, &owner);
        DWORD firstEnded = GetTickCount();
        order.push_back("first=" + std::to_string(r));
        ASSERT_EQ(order.size(), 2u);
        EXPECT_EQ(order[0], "second=1");
        EXPECT_EQ(order[1], "first=7");
        EXPECT_GE(firstEnded - hiddenAt, 900u) << secondOpenMs;
        EXPECT_TRUE(IsWindowEnabled(ownerWnd));
        owner.Detach();
        DestroyWindow(ownerWnd);
    }

    // An OK box hidden this way answers OK.
    HWND first = nullptr;
    Script* script = nullptr;
    Script s({WaitForBox(&first), [&] {
                  script->Release();
                  MyMessageBox("第二个", nullptr, MB_OK, 0, nullptr);
                  return true;
              },
              [&] {
                  std::vector<HWND> boxes = VisibleBoxes();
                  return boxes.size() == 1 && boxes[0] != first;
              },
              PressKey(VK_RETURN)});
    script = &s;
    EXPECT_EQ(MyMessageBox("第一个", nullptr, MB_OK, 30, nullptr), IDOK);
}

// A server's text is cut to 160 bytes a line and 1000 in all, never inside a
// two-byte character: a 40 000-byte line made a box so wide that drawing its
// frame kept the caller's window from answering for over a second.
TEST(MyMessageBox, ALongTextIsCutAtACharacter) {
    auto sizeOf = [](const std::string& text) {
        CSize size;
        Inspect(text.c_str(), nullptr, MB_OK, 0, [&](HWND box) { size = WindowSize(box); });
        return size;
    };
    auto lines = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) text += "7\n";
        return text;
    };
    EXPECT_EQ(sizeOf(std::string(40000, '7')), sizeOf(std::string(160, '7')));
    EXPECT_EQ(sizeOf(lines(20000)), sizeOf(lines(500)));
    std::string pairs = "7";
    for (int i = 0; i < 200; ++i) pairs += "\xB0\xA1";
    EXPECT_EQ(sizeOf(pairs), sizeOf(pairs.substr(0, 159)));
    EXPECT_NE(sizeOf(pairs.substr(0, 159)), sizeOf(pairs.substr(0, 157)));
}

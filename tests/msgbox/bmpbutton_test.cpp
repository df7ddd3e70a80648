// The message box's bitmap button and its two bitmap helpers.
#include "msgbox/BmpButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "tests/platform/WindowCapture.h"

namespace {

constexpr COLORREF M = RGB(255, 0, 255);

// A 24-bit bitmap from COLORREF rows.
HBITMAP MakeBitmap(int w, int h, std::function<COLORREF(int, int)> color) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(dc, x, y, color(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bmp;
}

COLORREF PixelOf(HBITMAP bmp, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

// A face of 40 x 20 in one colour with magenta 2 x 2 corners.
CBitmap* Face(COLORREF color) {
    auto* b = new CBitmap;
    b->Attach(MakeBitmap(40, 20, [color](int x, int y) {
        bool corner = (x < 2 || x >= 38) && (y < 2 || y >= 18);
        return corner ? M : color;
    }));
    return b;
}

// A parent window that counts the click commands of its buttons.
struct Parent {
    HWND hwnd = nullptr;
    static int clicks;
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++clicks;
        return DefWindowProcA(h, m, wp, lp);
    }
    Parent() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BmpButtonTestParent";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                               nullptr, wc.hInstance, nullptr);
        clicks = 0;
    }
    ~Parent() { DestroyWindow(hwnd); }
    // A push button subclassed into button, at (x, y) of the client area.
    void Add(CBmpButton& button, int id, int x, int y) {
        HWND b = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, 60, 30, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                                 nullptr);
        ASSERT_TRUE(button.SubclassWindow(b));
    }
};
int Parent::clicks = 0;

void Mouse(CBmpButton& b, UINT message, int x, int y) {
    b.SendMessage(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

struct Faces {
    std::unique_ptr<CBitmap> normal{Face(RGB(200, 60, 20))};
    std::unique_ptr<CBitmap> hover{Face(RGB(250, 150, 80))};
    std::unique_ptr<CBitmap> pressed{Face(RGB(120, 30, 10))};
    void On(CBmpButton& b) { b.SetBitmaps(normal.get(), hover.get(), pressed.get(), nullptr); }
};

}  // namespace

TEST(CreateRegionFromBitmap, LeavesOutExactlyTheKeyColour) {
    // Row 0 all key; row 1 mixes key, colours and a near-key colour.
    const COLORREF row1[] = {M, RGB(1, 2, 3), RGB(1, 2, 3), M, RGB(254, 0, 255), M, RGB(255, 1, 255)};
    HBITMAP bmp = MakeBitmap(7, 3, [&](int x, int y) { return y == 0 ? M : y == 1 ? row1[x] : RGB(0, 0, 0); });
    HRGN all = CreateRegionFromBitmap(bmp, M, 0);
    ASSERT_TRUE(all);
    for (int x = 0; x < 7; ++x) {
        EXPECT_FALSE(PtInRegion(all, x, 0)) << x;
        EXPECT_EQ(PtInRegion(all, x, 1) != 0, row1[x] != M) << x;
        EXPECT_TRUE(PtInRegion(all, x, 2)) << x;
    }
    RECT box;
    GetRgnBox(all, &box);
    EXPECT_EQ(CRect(box), CRect(0, 1, 7, 3));

    // Only the first two rows when asked.
    HRGN two = CreateRegionFromBitmap(bmp, M, 2);
    EXPECT_FALSE(PtInRegion(two, 0, 2));
    EXPECT_TRUE(PtInRegion(two, 1, 1));
    DeleteObject(all);
    DeleteObject(two);
    DeleteObject(bmp);

    EXPECT_EQ(CreateRegionFromBitmap(nullptr, M, 0), nullptr);
}

TEST(MakeGrayBitmap, GreysEveryColourButTheKey) {
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(10, 200, 30), M, RGB(254, 0, 255), RGB(255, 255, 255)};
    CBitmap source, grey;
    source.Attach(MakeBitmap(5, 1, [&](int x, int) { return colours[x]; }));
    MakeGrayBitmap(&source, &grey);
    ASSERT_EQ(grey.GetSize(), CSize(5, 1));
    for (int x = 0; x < 5; ++x) {
        COLORREF c = colours[x];
        if (c == M) {
            EXPECT_EQ(PixelOf(grey, x, 0), M);
            continue;
        }
        int g = static_cast<int>(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
        EXPECT_EQ(PixelOf(grey, x, 0), RGB(g, g, g)) << x;
    }
}

TEST(CBmpButton, TakesTheShapeAndSizeOfItsFace) {
    Parent parent;
    CBmpButton button;
    parent.Add(button, 100, 30, 40);
    EXPECT_EQ(button.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    Faces faces;
    faces.On(button);

    CRect r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.Size(), CSize(40, 20));
    CPoint at = r.TopLeft();
    ScreenToClient(parent.hwnd, &at);
    EXPECT_EQ(at, CPoint(30, 40));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(button, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(PtInRegion(rgn, 20, 10));
    DeleteObject(rgn);

    // Painted from the face, magenta left out.
    button.Invalidate(TRUE);
    button.UpdateWindow();
    Capture c = CaptureWindow(button);
    EXPECT_EQ(c.At(20, 10), RGB(200, 60, 20));
    EXPECT_NE(c.At(0, 0), M);
}

TEST(CBmpButton, FacesFollowTheMouseAndEnabling) {
    Parent parent;
    CBmpButton button;
    parent.Add(button, 100, 0, 0);
    Faces faces;
    faces.On(button);
    EXPECT_EQ(button.GetCurrentFace(), faces.normal.get());

    Mouse(button, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(button.GetCurrentFace(), faces.hover.get());
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(button.GetCurrentFace(), faces.normal.get());

    Mouse(button, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button.GetCurrentFace(), faces.pressed.get());
    Mouse(button, WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(button.GetCurrentFace(), faces.hover.get());
    EXPECT_EQ(Parent::clicks, 1);

    // Released outside: back to normal, no click.
    Mouse(button, WM_LBUTTONDOWN, 5, 5);
    Mouse(button, WM_LBUTTONUP, 100, 100);
    EXPECT_EQ(button.GetCurrentFace(), faces.normal.get());
    EXPECT_EQ(Parent::clicks, 1);

    // Disabled: the grey face it made, and no face changes.
    button.EnableButton(FALSE);
    CBitmap* grey = button.GetCurrentFace();
    ASSERT_NE(grey, nullptr);
    EXPECT_NE(grey, faces.normal.get());
    EXPECT_EQ(PixelOf(*grey, 20, 10), RGB(97, 97, 97));  // 0.299*200 + 0.587*60 + 0.114*20
    EXPECT_FALSE(button.IsWindowEnabled());
    Mouse(button, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(button.GetCurrentFace(), grey);
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(button.GetCurrentFace(), grey);
    button.EnableButton(TRUE);
    EXPECT_EQ(button.GetCurrentFace(), faces.normal.get());
}

TEST(CBmpButton, HandCursorOnceTheMouseHasBeenOver) {
    Parent parent;
    CBmpButton button;
    parent.Add(button, 100, 0, 0);
    Faces faces;
    faces.On(button);
    EXPECT_EQ(button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              FALSE);
    Mouse(button, WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
    EXPECT_EQ(button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
}

BOOL CALLBACK FindTooltip(HWND h, LPARAM lp) {
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof(cls));
    if (std::string(cls) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(lp) = h;
    return TRUE;
}

TEST(CBmpButton, TooltipHoldsOneToolWhoseTextIsUpdated) {
    Parent parent;
    CBmpButton button;
    parent.Add(button, 100, 0, 0);
    Faces faces;
    faces.On(button);
    button.SetTooltipText("关闭音效");
    button.SetTooltipText("打开音效");
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&tip));
    ASSERT_TRUE(tip);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[64] = {};
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = button.m_hWnd;
    ti.uId = 1;
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, "打开音效");
}

TEST(CBmpButton, GroupKeepsAtMostOneChecked) {
    Parent parent;
    CBmpButton a, b;
    parent.Add(a, 101, 0, 0);
    parent.Add(b, 102, 50, 0);
    Faces faces;
    faces.On(a);
    faces.On(b);
    a.SetGroupID(7);
    b.SetGroupID(7);

    Mouse(a, WM_LBUTTONDOWN, 5, 5);
    Mouse(a, WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(a.GetCheck());
    EXPECT_EQ(a.GetCurrentFace(), faces.pressed.get());
    // A checked grouped button keeps its pressed face when the mouse leaves.
    a.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(a.GetCurrentFace(), faces.pressed.get());

    Mouse(b, WM_LBUTTONDOWN, 5, 5);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(a.GetCheck());
    EXPECT_EQ(a.GetCurrentFace(), faces.normal.get());
    EXPECT_TRUE(b.GetCheck());

    // Clicking the checked button unchecks it: none is left checked.
    Mouse(b, WM_LBUTTONDOWN, 5, 5);
    Mouse(b, WM_LBUTTONUP, 5, 5);
    EXPECT_FALSE(b.GetCheck());
    EXPECT_FALSE(a.GetCheck());

    a.SetCheck(TRUE);
    EXPECT_TRUE(a.GetCheck());
    b.SetCheck(TRUE);
    EXPECT_FALSE(a.GetCheck());
    EXPECT_TRUE(b.GetCheck());
}

TEST(CBmpButton, DestroyedButtonLeavesItsGroup) {
    // The first button lives in a buffer we can watch after its destruction.
    alignas(CBmpButton) unsigned char storage[sizeof(CBmpButton)];
    auto* gone = new (storage) CBmpButton;
    gone->SetGroupID(42);
    gone->SetCheck(TRUE);
    gone->~CBmpButton();
    std::memset(storage, 0xFF, sizeof(storage));

    CBmpButton next;
    next.SetGroupID(42);
    next.SetCheck(TRUE);  // must not uncheck the destroyed button
    for (unsigned char byte : storage) ASSERT_EQ(byte, 0xFF);
    EXPECT_TRUE(next.GetCheck());
}

TEST(CBmpButton, CaptionIsCentredOnceAndKept) {
    Parent parent;
    CBmpButton button;
    parent.Add(button, 100, 0, 0);
    Faces faces;
    faces.On(button);
    button.SetButtonText("确定");
    button.Invalidate(TRUE);
    button.UpdateWindow();
    Capture c = CaptureWindow(button);
    // Dark caption strokes in the middle, none near the edges.
    int minX = 40, maxX = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            if (c.Red(x, y) < 60 && c.Green(x, y) < 60 && c.Blue(x, y) < 60) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0) << "no caption drawn";
    EXPECT_NEAR((minX + maxX) / 2, 20, 3);
    EXPECT_EQ(button.GetButtonText(), "确定");
}

// The table on screen: its window, buttons and menu after set-up, the
// configuration checks, and the render pass read back from the back buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/core/ClientLoading.h"
#include "game/core/GameClock.h"
#include "game/core/NetEngineEx.h"
#include "game/core/TableSide.h"
#include "game/core/table/SeatFields.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/GameImages.h"
#include "game/ui/GameTableSide.h"
#include "lobby/net/base/CopyData.h"
#include "tests/fenlo/PictureFiles.h"
#include "tests/fenlo/TableHarness.h"
#include "tests/platform/ScreenCapture.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/recording/RecordingControl.h"

using namespace fenlo_test;

namespace {

CGameImages& Images() { return *GetGameImages(); }
int Wd(int entry) { return Images().Width(entry); }
int Ht(int entry) { return Images().Height(entry); }
// The colour of an entry's picture at (x, y).
COLORREF Pic(int entry, int x, int y) { return PixelOf(Images().Get(entry), x, y); }
// Whether the opaque pixels of the entry's rectangle (sx, sy, w, h) show at (x, y).
bool Shows(const Capture& c, int x, int y, int entry, int sx, int sy, int w, int h) {
    return ShowsPicture(c, x, y, Images().Get(entry), sx, sy, w, h);
}

// A render pass of the table's dirty list (into a target that is not looked at).
void RenderPass(TableHarness& h) {
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(target, bitmap);
    h.table->Render(CDC::FromHandle(target));
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

// The back buffer after a full render pass; saved under the test output as name.
Capture RenderAll(TableHarness& h, const std::string& name = "") {
    h.table->InvalidateAll();
    RenderPass(h);
    Capture c = h.BackBuffer();
    if (!name.empty()) SavePng(c, name);
    return c;
}

RECT ChildRect(TableHarness& h, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(*h.table, id), &r);
    MapWindowPoints(nullptr, *h.table, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Grey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// Pixels of the capture inside the rectangle that satisfy the test.
template <typename Test>
int CountIn(const Capture& c, int left, int top, int right, int bottom, Test test) {
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, c.height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, c.width); ++x) n += test(c.At(x, y)) ? 1 : 0;
    return n;
}

TEST(TableLook, OpensAtTheBackgroundsSizeWithItsButtonsWhereTheFormulasPutThem) {
    TableHarness h;
    const RECT& c = h.table->TableRect();
    const int W = c.right, H = c.bottom;
    EXPECT_EQ(W, 1040);
    EXPECT_EQ(H, 720);
    char title[64];
    GetWindowTextA(*h.table, title, sizeof title);
    EXPECT_STREQ(title, "Mirabo斗地主");
    EXPECT_NE(h.table->GetStyle() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION)) << "it draws its own caption band";

    const int wA = Wd(273), hA = Ht(273), wB = Wd(265), u = wB + wB / 2, hP = Ht(209), wR = Wd(237);
    const int wG = Wd(298), hG = Ht(298), wC = Wd(320), hC = Ht(320), y = H - hP - 196;
    const int x0 = (W - 4 * wB - 200) / 2, x1 = (W - (3 * wB) / 2 - 4 * wB - 200) / 2, x2 = (W - wB / 2 - 2 * wB - 200) / 2;
    const int xr = (W - wG - 200) / 2 - wC - 50, yr = (H - hG) / 2 - hC - 15 + hG;
    struct Place {
        int id, x, y, face;
    } places[] = {{IDC_AUTO_PLAY, wA + 30, H - hA - 10, 273}, {IDC_CANCEL_AUTO, wA + 30, H - hA - 10, 278},
                  {IDC_SORT, 2 * wA + 40, H - hA - 10, 294},  {IDC_NEXT_PAIR, -1000, -1000, 265},
                  {IDC_READY, (W - wR - 200) / 2, y, 237},    {IDC_PLAY, x0, y, 213},
                  {IDC_PASS, x0 + u, y, 209},                 {IDC_HINT, x0 + 2 * u, y, 217},
                  {IDC_BID1, x1, y, 221},                     {IDC_NO_BID, x1 + 3 * u, y, 233},
                  {IDC_REDOUBLE, x2, y, 249},                 {IDC_CONTEST_NO, x2 + wB + wB / 2, y, 261},
                  {IDC_BACK_TO_LOBBY, xr + wG, yr, 324},      {IDC_CONTINUE, xr + wG - wC - 5, yr, 320}};
    for (const Place& p : places) {
        const RECT r = ChildRect(h, p.id);
        EXPECT_EQ(r.left, p.x) << p.id;
        EXPECT_EQ(r.top, p.y) << p.id;
        EXPECT_EQ(r.right - r.left, Wd(p.face)) << p.id;
        EXPECT_EQ(r.bottom - r.top, Ht(p.face)) << p.id;
    }
    const RECT close = ChildRect(h, IDC_CLOSE), minimise = ChildRect(h, IDC_MINIMIZE);
    const int wc = close.right - close.left;
    EXPECT_EQ(close.left, W - wc - 10);
    EXPECT_EQ(minimise.left, W - 2 * wc - 11);
    EXPECT_EQ(close.top, 2);
    EXPECT_TRUE(h.table->Visible(IDC_CLOSE) && h.table->Visible(IDC_MINIMIZE));

    for (int id : {IDC_READY, IDC_PLAY, IDC_PASS, IDC_HINT, IDC_BID1, IDC_BID2, IDC_BID3, IDC_NO_BID, IDC_DOUBLE,
                   IDC_NO_DOUBLE, IDC_REDOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_YES, IDC_CONTEST_NO, IDC_LEAVE,
                   IDC_CONTINUE, IDC_BACK_TO_LOBBY, IDC_CANCEL_AUTO, IDC_SORT, IDC_NEXT_PAIR, IDC_NEXT_TRIPLE,
                   IDC_SOUND_OFF, IDC_AUTO_PLAY}) {
        EXPECT_FALSE(h.table->Visible(id)) << id;
        EXPECT_EQ(h.table->Enabled(id), id == IDC_AUTO_PLAY) << id;
    }
    // Auto play: its own region and disabled face.
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(GetDlgItem(*h.table, IDC_AUTO_PLAY), shape), ERROR);
    DeleteObject(shape);
    auto* autoPlay = static_cast<CXImgButton*>(h.table->GetDlgItem(IDC_AUTO_PLAY));
    EXPECT_EQ(autoPlay->GetDisabledFace(), Images().Get(276)) << "276 is its disabled face, 277 its region";
    EXPECT_EQ(h.table->CounterPosition().x, W - Wd(206) - 220);
}

// Wine would draw a native caption above the band the table draws: the
// template in fenlo.exe has none.
TEST(TableLook, TheTablesTemplateHasNoCaption) {
    HMODULE exe = LoadLibraryExA((testsupport::OwnFolder() + "fenlo.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(IDD_FENLO_DIALOG), MAKEINTRESOURCEA(5));  // RT_DIALOG
    const BYTE* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : nullptr;
    ASSERT_TRUE(bytes && SizeofResource(exe, found) >= 16);
    DWORD head, style;
    std::memcpy(&head, bytes, 4);
    std::memcpy(&style, bytes + 12, 4);
    EXPECT_EQ(head, 0xFFFF0001u) << "a DIALOGEX, whose style lies at offset 12";
    EXPECT_NE(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    FreeLibrary(exe);
}

TEST(TableLook, SystemMenuAndItsMinimiseCommand) {
    TableHarness h;
    HMENU menu = GetSystemMenu(*h.table, FALSE);
    char text[64];
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(SC_RESTORE));
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "还原(&R)");
    EXPECT_EQ(GetMenuItemID(menu, 1), 0xF010u);
    GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "最小化(&N)");
    EXPECT_TRUE(h.table->GetStyle() & WS_MINIMIZEBOX);

    h.table->ShowWindow(SW_SHOWNOACTIVATE);
    // A move with the mouse (0xF012) gets the default handling: an Escape ends it.
    PostMessageA(*h.table, WM_SYSCOMMAND, 0xF012, 0);
    PostMessageA(*h.table, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessages(300);
    EXPECT_FALSE(IsIconic(*h.table));
    SendMessageA(*h.table, WM_SYSCOMMAND, 0xF010, 0);
    EXPECT_TRUE(IsIconic(*h.table));
    h.table->ShowWindow(SW_RESTORE);
    SendMessageA(*h.table, WM_COMMAND, IDC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(*h.table));
    h.table->ShowWindow(SW_HIDE);
}

TEST(TableLook, TheSidePanelFollowsTheTable) {
    TableHarness h;
    CDlgRight* panel = h.table->SidePanel();
    ASSERT_TRUE(panel && panel->m_hWnd) << "created at set-up";
    RECT before;
    panel->GetWindowRect(&before);
    const int width = before.right - before.left;
    h.table->SetWindowPos(nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    panel->GetWindowRect(&r);
    EXPECT_EQ(r.left, 50 + 1040 - width - 6);
    EXPECT_EQ(r.top, 60 + 23);
    EXPECT_EQ(r.right - r.left, width) << "its size is kept";
}

// Shown, and again brought to the front, the table keeps its side panel above
// it by its ticks: the screen shows the panel's own pixels where it lies.
TEST(TableLook, TheSidePanelStandsAboveTheShownTableOnTheScreen) {
    if (CaptureScreen().width == 0) GTEST_SKIP() << "the screen cannot be read here (no X display or no python3)";
    TableHarness h;
    CDlgRight* panel = h.table->SidePanel();
    ASSERT_TRUE(panel && panel->m_hWnd);
    h.table->SetWindowPos(nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto panelShown = [&] {
        h.Tick();
        RECT r;
        panel->GetWindowRect(&r);
        const Capture own = CaptureWindow(*panel), screen = Crop(CaptureScreen(), r);
        int same = 0;
        for (int y = 0; y < std::min(own.height, screen.height); ++y)
            for (int x = 0; x < std::min(own.width, screen.width); ++x) same += own.At(x, y) == screen.At(x, y);
        return same > own.width * own.height * 9 / 10;
    };
    h.table->ShowWindow(SW_SHOW);
    EXPECT_TRUE(PumpUntil(panelShown, 5000)) << "as the table shows";
    ::SetWindowPos(*h.table, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil(panelShown, 5000)) << "as the table comes to the front";
    h.table->ShowWindow(SW_HIDE);
}

// The named windows as they stand from the top of the screen down, the
// others left out.
std::string Stacking(const std::vector<std::pair<HWND, const char*>>& named) {
    std::string order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        for (const auto& n : named)
            if (n.first == w) order += (order.empty() ? "" : " ") + std::string(n.second);
    return order;
}

// Ticks and pumps until that stacking has held for a while: Wine restacks
// windows as the X server has them when it handles the server's late answers
// (exposures) to windows shown or raised, and the table's ticks answer that.
bool SettleStacking(TableHarness& h, const std::vector<std::pair<HWND, const char*>>& named) {
    std::string last;
    int steady = 0;
    return PumpUntil([&] {
        h.Tick();
        const std::string now = Stacking(named);
        steady = now == last ? steady + 1 : 0;
        last = now;
        return steady >= 10;
    });
}

// Another program's window laid over the table, the table keeping the
// foreground: the side panel, the effect movie and the result dialog stay
// between the two through the exit box, the table's coming to the front and
// its ticks (the screen shows that window over the panel), and a tick puts
// one raised over that window back under it. Our own window above them stays
// above; with the other program gone they stand on top again, under it.
TEST(TableLook, TheFloatingWindowsStayUnderAnotherProgramsWindowOverTheTable) {
    const std::string folder = testsupport::OwnFolder();
    struct FlashPlayer {  // the recording control as the effect movie's player
        bool ok;
        explicit FlashPlayer(const std::string& dll) : ok(RegisterRecordingControl(flash::kClsid, nullptr, dll)) {}
        ~FlashPlayer() { UnregisterRecordingControl(flash::kClsid, nullptr); }
    } player(folder + "RecordingControl.dll");
    ASSERT_TRUE(player.ok);
    // Wine raises the window that a pointer event lands in: the pointer off the windows.
    ASSERT_TRUE(MoveCursorTo(1279, 799));
    TableHarness h;
    h.table->ShowWindow(SW_SHOW);
    h.Deal();
    h.Feed(Doc("GameResult",
               "<player id=\"alice\" money=\"50\"/><player id=\"bob\" money=\"-100\"/>"
               "<player id=\"carol\" money=\"50\"/>"));
    h.Run(3000);
    ASSERT_TRUE(h.table->ResultDialog() && h.table->ResultDialog()->IsWindowVisible());
    h.table->ShowEffectMovie(0);
    ASSERT_TRUE(h.table->EffectMovie() && h.table->EffectMovie()->IsWindowVisible());
    std::vector<std::pair<HWND, const char*>> named = {{*h.table->ResultDialog(), "result"},
                                                       {*h.table->EffectMovie(), "effect"},
                                                       {*h.table->SidePanel(), "panel"},
                                                       {*h.table, "table"}};
    ASSERT_TRUE(SettleStacking(h, named));
    ASSERT_EQ(Stacking(named), "result effect panel table");

    auto other = std::make_unique<testsupport::ChildProcess>(folder + "fenlo_cover_window.exe", "", folder);
    HWND cover = other->WaitWindow("MiraboCover");
    ASSERT_TRUE(cover);
    RECT r;
    h.table->GetWindowRect(&r);
    SetWindowPos(cover, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    ASSERT_EQ(GetForegroundWindow(), h.table->m_hWnd);
    named.emplace(named.begin(), cover, "cover");
    const std::string between = "cover result effect panel table";
    ASSERT_TRUE(SettleStacking(h, named));
    ASSERT_EQ(Stacking(named), between);

    h.answers = {IDNO};
    h.table->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    TableHarness::Pump();
    ASSERT_TRUE(h.Boxed("您确定退出本桌游戏吗"));
    EXPECT_EQ(Stacking(named), between) << "the exit box";
    h.table->BringToFront();
    EXPECT_EQ(Stacking(named), between) << "brought to the front";
    const auto panelCovered = [&] {  // by the other window's grey, on the screen
        RECT p;
        h.table->SidePanel()->GetWindowRect(&p);
        const Capture c = Crop(CaptureScreen(), p);
        return c.width > 0 && CountIn(c, 0, 0, c.width, c.height, [](COLORREF k) {
                                  return (k & 0xFFFFFF) == RGB(128, 128, 128);
                              }) == c.width * c.height;
    };
    if (CaptureScreen().width > 0) EXPECT_TRUE(PumpUntil(panelCovered)) << "the other window covers the panel";
    h.Tick();
    EXPECT_EQ(Stacking(named), between) << "a tick";
    {
        // A movie shown meanwhile stands over the table, not over the other
        // window, before any tick, and is not activated.
        h.table->ShowEffectMovie(1);
        CWnd* movie = h.table->EffectMovie();
        ASSERT_TRUE(movie && movie->m_hWnd && movie->IsWindowVisible());
        EXPECT_EQ(Stacking({{cover, "cover"}, {movie->m_hWnd, "movie"}, {*h.table, "table"}}), "cover movie table");
        EXPECT_NE(GetForegroundWindow(), movie->m_hWnd);
        for (auto& n : named)
            if (std::string(n.second) == "effect") n.first = movie->m_hWnd;
    }
    SetWindowPos(*h.table->SidePanel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(SettleStacking(h, named));
    EXPECT_EQ(Stacking(named), between) << "ticks after the panel was raised over the other window";

    HWND box = CreateWindowExA(0, "STATIC", "box", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    named.emplace_back(box, "box");
    h.table->BringToFront();
    h.Tick();
    EXPECT_EQ(Stacking(named), "box " + between) << "our own window stays above";
    other.reset();
    h.table->BringToFront();
    EXPECT_EQ(Stacking(named), "box result effect panel table") << "the other program gone";
    DestroyWindow(box);
    h.table->ShowWindow(SW_HIDE);
}

// Windows titled as the lobby's, recording the table's reports.
struct Lobby {
    static std::vector<std::pair<ULONG_PTR, double>> records;
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_COPYDATA) {
            const COPYDATASTRUCT* d = reinterpret_cast<COPYDATASTRUCT*>(lp);
            if (d->cbData == sizeof(GameCopyData))
                records.emplace_back(d->dwData, static_cast<const GameCopyData*>(d->lpData)->money);
            return TRUE;
        }
        return DefWindowProcA(w, m, wp, lp);
    }
    HWND window;
    Lobby() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "LookLobby";
        wc.hInstance = GetModuleHandleA(nullptr);
        RegisterClassA(&wc);
        window = CreateWindowA("LookLobby", "游戏大厅", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        records.clear();
    }
    ~Lobby() { DestroyWindow(window); }
};
std::vector<std::pair<ULONG_PTR, double>> Lobby::records;

// A table opened with its pictures from that folder, until it has ended or
// finished its set-up; its boxes (which have no owner) are kept.
TestTable* OpenTable(const std::string& pictures, std::vector<std::string>& boxes) {
    SetTableBoxHook([&boxes](const char* text, const char*, UINT, int, HWND owner) {
        EXPECT_EQ(owner, nullptr) << "a set-up box has no owner: " << text;
        boxes.push_back(text ? text : "");
        return IDOK;
    });
    SetCurrentDirectoryA(pictures.c_str());
    auto* table = new TestTable;
    table->Create(IDD_FENLO_DIALOG);
    testsupport::WaitFor(
        [&] {
            PumpMessages(10);
            return table->Ended() || table->SetupComplete();
        },
        10000);
    SetCurrentDirectoryA(TableHarness::Folder().Path().c_str());
    return table;
}

TEST(TableLook, EachConfigurationFaultEndsTheTableAfterReportingNoMoney) {
    const std::string ping = std::string("ping=") + kPing + "\r\n";
    const std::string good = "time1=0\r\ntime2=20000\r\nsoundon=0\r\nadvulr=x\r\n";
    struct Case {
        std::string settings;
        const char* field;  // null: accepted
    } cases[] = {{good, "ping"},
                 {ping + "time2=20000\r\nsoundon=1\r\nadvulr=x\r\n", "time1"},
                 {ping + "time1=-5\r\ntime2=20000\r\nsoundon=1\r\nadvulr=x\r\n", "time1"},
                 {ping + "time1=1\r\ntime2=-1\r\nsoundon=1\r\nadvulr=x\r\n", "time2"},
                 {ping + "time1=1\r\ntime2=1\r\nsoundon=2\r\nadvulr=x\r\n", "soundon"},
                 {ping + "time1=1\r\ntime2=1\r\nsoundon=1\r\n", "advulr"},
                 {ping + good, nullptr}};
    InstallGameTableSide();
    Lobby lobby;
    for (const Case& c : cases) {
        TableHarness::WriteSettings(c.settings);
        std::vector<std::string> boxes;
        Lobby::records.clear();
        TestTable* table = OpenTable(TableHarness::PictureFolder(), boxes);
        if (c.field) {
            EXPECT_TRUE(table->Ended()) << c.field;
            ASSERT_EQ(boxes.size(), 1u) << c.field;
            EXPECT_EQ(boxes[0], std::string("错误:\n打开config.ini文件时缺少了") + c.field + "字段,\n强烈建议您重新安装!");
            ASSERT_FALSE(Lobby::records.empty()) << c.field;
            EXPECT_EQ(Lobby::records.back().first, 1u) << "set-up not complete";
            EXPECT_EQ(Lobby::records.back().second, -1.0) << c.field;
        } else {
            EXPECT_TRUE(table->SetupComplete());
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(table->State().soundOn, 0) << "soundon=0 starts with sound off";
        }
        table->DestroyWindow();
        delete table;
    }
    SetTableBoxHook(nullptr);
}

TEST(TableLook, NothingIsDrawnWithoutDirtyRectanglesAndTheGateIsStrict) {
    TableHarness h;
    h.Game().Dirty().Clear();
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = SelectObject(target, bitmap);
    RECT all = {0, 0, 50, 50};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    h.table->Render(CDC::FromHandle(target));
    EXPECT_EQ(GetPixel(target, 10, 10), RGB(255, 255, 255)) << "an empty list draws nothing";
    h.Game().Dirty().Add(10, 10, 10, 10);
    h.table->Render(CDC::FromHandle(target));
    EXPECT_NE(GetPixel(target, 15, 15), RGB(255, 255, 255)) << "the dirty rectangle is copied";
    EXPECT_EQ(GetPixel(target, 25, 25), RGB(255, 255, 255)) << "nothing else";
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);

    EXPECT_TRUE(h.table->IntersectsDirty(19, 19, 5, 5));
    EXPECT_FALSE(h.table->IntersectsDirty(20, 10, 5, 5)) << "touching edges do not overlap";
    EXPECT_FALSE(h.table->IntersectsDirty(5, 20, 5, 5));
    EXPECT_FALSE(h.table->IntersectsDirty(0, 0, 10, 10));
}

// A pass with a few dirty rectangles draws nothing outside them, not even
// into the back buffer: the cards across the rectangle's edge are cut at it.
TEST(TableLook, APassDrawsOnlyWithinItsDirtyRectangles) {
    TableHarness h;
    h.Deal();
    const Capture before = RenderAll(h);
    const COLORREF marker = RGB(255, 0, 255);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, h.table->BackBuffer().m_hObject);
        HBRUSH brush = CreateSolidBrush(marker);
        RECT all = {0, 0, before.width, before.height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    const int W = before.width, H = before.height;
    const RECT dirty = {W / 2 - 40, H - 150, W / 2 + 40, H - 120};  // across the own hand's cards
    h.Game().Dirty().Clear();
    h.Game().Dirty().Add(dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top);
    RenderPass(h);
    const Capture after = h.BackBuffer();
    int outside = 0, inside = 0, same = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const bool in = x >= dirty.left && x < dirty.right && y >= dirty.top && y < dirty.bottom;
            if (!in) outside += after.At(x, y) != marker;
            if (in) inside += after.At(x, y) != marker, same += after.At(x, y) == before.At(x, y);
        }
    EXPECT_EQ(outside, 0) << "pixels drawn outside the dirty rectangle";
    EXPECT_EQ(inside, (dirty.right - dirty.left) * (dirty.bottom - dirty.top));
    EXPECT_EQ(same, inside) << "the rectangle as the full pass drew it";
}

TEST(TableLook, ReadyPromptsThenADealtHandWithARaisedCard) {
    TableHarness h;
    const int W = 1040, H = 720;
    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"100\"/>" + Player("alice", 0, 1000, true) + Player("bob", 1) +
                                     Player("carol", 2, 500, true)));
    Capture c = RenderAll(h, "table_phase1_ready");
    const int w = Wd(180), hh = Ht(180);
    EXPECT_EQ(c.At((W - w - 200) / 2 + w / 2, H - hh - 194 + hh / 2), Pic(180, w / 2, hh / 2)) << "own ready";
    EXPECT_EQ(c.At(Wd(64) + 36 + w / 2, (H - hh) / 2 + hh / 2), Pic(180, w / 2, hh / 2)) << "carol, on the left";
    EXPECT_NE(c.At(W - Wd(120) - w - 236 + w / 2, (H - hh) / 2 + hh / 2), Pic(180, w / 2, hh / 2)) << "bob not ready";

    h.Feed(Doc("GameStart"));
    h.Run(1500);
    std::string cards = "<player id=\"alice\"/>";
    for (int i = 0; i < 17; ++i)
        cards += "<card number=\"" + std::to_string(3 + i / 4) + "\" suit=\"" + std::to_string(i % 4) + "\"/>";
    h.Feed(Doc("SendCard", cards));
    h.Run(2000);
    c = RenderAll(h, "table_phase4_dealing");
    int x = 0, y = 0;
    ASSERT_EQ(h.Game().Deal().step, 80);
    EXPECT_EQ(c.At((W - 271) / 2 + 35, (H - 96) / 2 - 48 + 48), Pic(61, 35, 48)) << "the deck";
    ASSERT_TRUE(h.Game().DealCardPosition(25, &x, &y)) << "card 25 flies from step 78";
    EXPECT_EQ(c.At(x + 35, y + 48), Pic(61, 35, 48));
    h.Run(2400);
    c = RenderAll(h, "table_phase4_dealt");
    const int n = 17, x0 = (W - n * 18 - 253) / 2;
    EXPECT_EQ(c.At(x0 + 16 * 18 + 35, H - 176 + 60), Pic(7 + 4 * 4, 35, 60)) << "the last card: 7 of suit 0";
    EXPECT_EQ(c.At(x0 + 5, H - 176 + 40), Pic(7, 5, 40)) << "the first card: 3 of suit 0";
    EXPECT_EQ(c.At(W - 291 + 35, (H - 96) / 2 + 48), Pic(61, 35, 48)) << "bob's back";
    const int bx = (W - 449) / 2;
    EXPECT_EQ(c.At(bx + 89 * 2 + 35, 25 + 48), Pic(62, 35, 48)) << "the third bottom card, still unknown";

    (*(--h.State().ownHand->CardsEnd()))->SetSelected(1);
    c = RenderAll(h, "table_phase4_raised");
    EXPECT_EQ(c.At(x0 + 16 * 18 + 35, H - 194 + 3), Pic(7 + 4 * 4, 35, 3)) << "a selected card is 18 pixels higher";
}

// The table shown: a card raised by a click, then lowered by another, each
// press and release a tick apart as a person's are. What the table's own
// passes put on the window (only their dirty rectangles reach it) is then
// what a full render draws, where the card lay and where it stood.
TEST(TableLook, AClickedCardLeavesNoOldPixelsOnTheShownTable) {
    TableHarness h;
    h.Deal();
    h.table->ShowWindow(SW_SHOWNOACTIVATE);
    h.table->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    h.Tick();
    const int W = h.table->TableRect().right, H = h.table->TableRect().bottom, n = 17;
    const RECT card = CPavlenDlg::CardRect(n - 1, n, false, W, H);  // the rightmost: all of it shows
    for (const char* click : {"raised", "lowered"}) {
        h.Mouse(WM_LBUTTONDOWN, card.left + 40, H - 150);
        h.Tick();
        h.Mouse(WM_LBUTTONUP, card.left + 40, H - 150);
        h.Tick();
        const Capture shown = CaptureWindow(*h.table);
        const Capture full = RenderAll(h);
        int stale = 0;
        for (int y = H - 220; y < H - 60; ++y)
            for (int x = card.left; x < card.right; ++x) stale += shown.At(x, y) != full.At(x, y);
        EXPECT_EQ(stale, 0) << click;
        if (stale) SavePng(shown, std::string("table_click_") + click);
        h.Tick();
    }
    EXPECT_FALSE((*(--h.State().ownHand->CardsEnd()))->IsSelected());
    h.table->ShowWindow(SW_HIDE);
}

TEST(TableLook, PlayedCardsPassCountsClockAndOverlay) {
    TableHarness h;
    const int W = 1040, H = 720;
    h.SeatThree();
    CTableState& s = h.State();
    CPlayerInfo* bob = s.GetNextPlayer();
    CPlayerInfo* carol = s.GetPrevPlayer();
    bob->cardCount = 17;
    carol->cardCount = 4;
    bob->lastPlay = new CCardSet;  // an empty play: pass
    carol->lastPlay = new CCardSet;
    carol->lastPlay->AddCard(s.Card(9, 2));
    h.Game().SetPhase(14);
    h.Game().PlacePlayerPrompt("bob");
    h.Game().StartClock(12345);
    Capture c = RenderAll(h, "table_phase14_play");
    const int pw = Wd(181), ph = Ht(181);
    EXPECT_EQ(c.At(W - 367 + pw - 8, (H - ph) / 2 + ph / 2), Pic(181, pw - 8, ph / 2)) << "bob passed";
    EXPECT_EQ(c.At(111 + 35, (H - 96) / 2 + 60), Pic(7 + 6 * 4 + 2, 35, 60)) << "carol's nine";

    const int iconW = Wd(350), g = Wd(349) / 10, top = (H - 96) / 2 + 96;
    auto digit = [&](int entry, int d, int w, int x, int y) { return Shows(c, x, y, entry, d * w, 0, w, Ht(entry)); };
    EXPECT_TRUE(digit(349, 7, g, W - iconW - 220 - g, top)) << "units of 17";
    EXPECT_TRUE(digit(349, 1, g, W - iconW - 220 - 2 * g, top)) << "tens of 17";
    EXPECT_TRUE(digit(349, 4, g, iconW + g + 20 - g, top)) << "carol's 4";

    const POINT at = h.table->ClockPosition();
    const int tw = Wd(311) / 2;
    EXPECT_EQ(at.x, W - tw - 336);
    // The clock's upper half, above the digits.
    EXPECT_TRUE(Shows(c, at.x, at.y, 311, tw, 0, tw, Ht(311) / 2)) << "frame (12345 / 800) % 2 = 1";
    const int x0 = at.x + Wd(311) / 4 - 7, dy = at.y + Ht(311) / 2;
    EXPECT_TRUE(digit(312, 1, 11, x0, dy)) << "tens glyph 1";
    EXPECT_TRUE(digit(312, 2, 11, x0 + 11, dy)) << "units glyph 2";

    const COLORREF plain = c.At(500, 300);
    h.State().phase = 16;
    c = RenderAll(h, "table_phase16_lost");
    const COLORREF dim = c.At(500, 300);
    EXPECT_NEAR(GetGValue(dim), (GetGValue(plain) + 10) / 2, 3) << "half over RGB(10, 10, 10)";
}

TEST(TableLook, NetworkQualityPictureByRoundTrip) {
    TableHarness h;
    h.SeatThree();
    const std::pair<int, int> cases[] = {{79, 200}, {80, 201}, {799, 204}, {800, 205}, {-1, 205}};
    for (const auto& k : cases) {
        h.Game().Watch().roundTrip = k.first;
        const Capture c = RenderAll(h);
        const int row = 5 + Ht(k.second) / 2;
        int found = 0;
        for (int x = 10; x < 300; ++x)
            for (int e = 200; e <= 205; ++e)
                if (c.At(x, row) == Pic(e, Wd(e) / 2, Ht(e) / 2)) found = found ? found : e;
        EXPECT_EQ(found, k.second) << k.first << " ms";
    }
}

TEST(TableLook, EffectsRunOneAtATimeByTheClock) {
    TableHarness h;
    h.SeatThree();
    h.Game().SetPhase(14);
    h.Run(100);  // the seating's own full redraw
    h.table->QueueEffect(0);
    h.table->QueueEffect(9);
    h.Tick();
    const int fw = Wd(316) / 6, W = 1040, H = 720;
    const int fx = (W - fw - 200) / 2, fy = (H - Ht(316)) / 2 - 80;
    EXPECT_FALSE(h.Game().Dirty().Full()) << "a film step marks only its frame";
    bool marked = false;
    for (const DirtyRect& d : h.Game().Dirty().Rects())
        marked = marked || (d.left == fx && d.top == fy && d.right == fx + fw && d.bottom == fy + Ht(316));
    EXPECT_TRUE(marked);
    Capture c = RenderAll(h, "table_effect_bomb");
    EXPECT_EQ(h.Game().Effects().Frame(), 0);
    EXPECT_TRUE(Shows(c, fx, fy, 316, 0, 0, fw, Ht(316))) << "bomb frame 0";
    int ticks = 0;
    while (!h.Game().Effects().Empty() && h.Game().Effects().Codes().front() == 0 && ticks < 200) h.Tick(), ++ticks;
    EXPECT_NEAR(ticks * 25, 1375, 50) << "steps above 100 ms to frame 2, then above 200 ms to the end";
    EXPECT_EQ(h.State().bombs, 1) << "a bomb finished outside the result counts";
    ASSERT_FALSE(h.Game().Effects().Empty());
    EXPECT_EQ(h.Game().Effects().Codes().front(), 9) << "the plane starts only now";
    for (int i = 0; i < 100 && h.Game().Effects().planeY > H - Ht(315) - 20; ++i) h.Tick();
    c = RenderAll(h, "table_effect_plane");
    const int planeY = h.Game().Effects().planeY;
    EXPECT_LT(planeY, H);
    EXPECT_TRUE(Shows(c, (W - Wd(315) - 200) / 2, planeY, 315, 0, 0, Wd(315), Ht(315)));
    EXPECT_TRUE(Shows(c, 20, 20, 314, 0, 0, Wd(314), Ht(314))) << "one bomb icon";
}

TEST(TableLook, AnAvatarOutOfRangeAndAFramePastTheStripDrawTheSafeThing) {
    TableHarness h;
    const int W = 1040, H = 720;
    h.SeatThree();
    h.State().Own()->avatar = 7;
    Capture c = RenderAll(h);
    const int ax = 140 - Wd(304), ay = H - Ht(273) - 40;
    EXPECT_EQ(c.At(ax + 5, ay + 30), Pic(304, 5, 30)) << "avatar 0";

    h.table->QueueEffect(100);
    for (int i = 0; i < 400 && h.Game().Effects().Frame() != 7; ++i) h.Tick();
    ASSERT_EQ(h.Game().Effects().Frame(), 7);
    c = RenderAll(h, "table_spring_last_step");
    const int fw = Wd(317) / 7, fx = (W - fw - 200) / 2, fy = (H - Ht(317)) / 2 - 80;
    for (int k = 0; k < 7; ++k)
        EXPECT_FALSE(Shows(c, fx, fy, 317, k * fw, 0, fw, Ht(317))) << "frame 7 of 7 draws nothing";
}

TEST(TableLook, TheNoticeScrollsThroughItsBandForItsPasses) {
    TableHarness h;
    const int left = (1040 - 449) / 2;
    h.table->SetNotice("Notice from the lobby", 1);
    h.Run(1000);
    Capture c = RenderAll(h, "table_notice");
    int lit = 0;
    for (int x = left; x < left + 249; ++x)
        for (int y = 131; y < 131 + 14; ++y) lit += c.At(x, y) == RGB(189, 247, 255);
    EXPECT_GT(lit, 0) << "the text has come into the band";
    for (int x = 0; x < 1040; ++x) EXPECT_NE(c.At(x, 125), RGB(189, 247, 255)) << "nothing outside the band";
    h.Run(30000);
    c = RenderAll(h);
    lit = 0;
    for (int x = left; x < left + 249; ++x) lit += c.At(x, 131 + 7) == RGB(189, 247, 255);
    EXPECT_EQ(lit, 0) << "its one pass is over";
}

TEST(TableLook, DealPositionsAtChosenSteps) {
    TableHarness h;
    h.SeatThree();
    const int W = 1040, H = 720;
    CDealClock& deal = h.Game().Deal();
    int x, y;
    deal.step = 3;
    ASSERT_TRUE(h.Game().DealCardPosition(0, &x, &y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair((W - 271) / 2, (H - 96) / 2 - 48)) << "leaves the deck";
    deal.step = 9;
    EXPECT_FALSE(h.Game().DealCardPosition(0, &x, &y)) << "landed after six steps";
    deal.step = 3 * 51 + 3 + 3;
    ASSERT_TRUE(h.Game().DealCardPosition(51, &x, &y));
    EXPECT_EQ(x, (W - 271) / 2 + ((W - 249) / 2 - (W - 271) / 2) / 2) << "half way to the first bottom place";
    EXPECT_EQ(y, (H - 96) / 2 - 48 + (18 - ((H - 96) / 2 - 48)) / 2);
    EXPECT_FALSE(h.Game().DealCardPosition(54, &x, &y));
}

// However a game button was disabled, it wears its disabled face, and a click
// on it reaches nothing.
TEST(TableLook, DisabledButtonsWearTheirDisabledFacesAndTakeNoClick) {
    TableHarness h;
    h.Deal();
    const int aw = Wd(273), ah = Ht(273);
    ASSERT_TRUE(h.table->Visible(IDC_AUTO_PLAY));
    EXPECT_FALSE(h.table->Enabled(IDC_AUTO_PLAY));
    EXPECT_EQ(h.Face(IDC_AUTO_PLAY).At(aw / 2, ah / 2), Pic(276, aw / 2, ah / 2)) << "AutoPlayDisable.png";

    h.Feed(Doc("JiaoFen", "<player id=\"bob\" score=\"2\"/>"));
    h.Feed(Turn("BeginJiaoFen", "alice", 15));
    const int bw = Wd(221), bh = Ht(221);
    const struct {
        int id, face;
        bool live;
    } bids[] = {{IDC_BID1, 221, false}, {IDC_BID2, 225, false}, {IDC_BID3, 229, true}, {IDC_NO_BID, 233, true}};
    for (const auto& b : bids) {
        ASSERT_TRUE(h.table->Visible(b.id)) << b.id;
        EXPECT_EQ(h.table->Enabled(b.id), b.live) << b.id;
        const Capture face = h.Face(b.id);
        if (b.live) {
            EXPECT_EQ(face.At(bw / 2, bh / 2), Pic(b.face, bw / 2, bh / 2)) << b.id;
        } else {
            EXPECT_TRUE(Grey(face.At(bw / 2, bh / 2))) << b.id << " " << std::hex << face.At(bw / 2, bh / 2);
            EXPECT_NE(face.At(bw / 2, bh / 2), Pic(b.face, bw / 2, bh / 2)) << b.id;
        }
    }
    h.requests.clear();
    h.Click(IDC_BID1);
    h.Click(IDC_BID2);
    EXPECT_EQ(h.Sent("JiaoFen"), 0) << "a bid at or below the highest is not taken";
    h.Click(IDC_BID3);
    EXPECT_EQ(h.Sent("JiaoFen"), 1);

    // Nothing in the hand beats the rocket: play is shown disabled.
    h.Feed(Doc("ChuPai", "<player id=\"carol\"/><card number=\"16\" suit=\"0\"/><card number=\"17\" suit=\"0\"/>"));
    h.Feed(Turn("BeginChuPai", "alice", 20));
    ASSERT_TRUE(h.table->Visible(IDC_PLAY));
    EXPECT_FALSE(h.table->Enabled(IDC_PLAY));
    EXPECT_TRUE(Grey(h.Face(IDC_PLAY).At(Wd(213) / 2, Ht(213) / 2)));
    EXPECT_EQ(h.Face(IDC_PASS).At(Wd(209) / 2, Ht(209) / 2), Pic(209, Wd(209) / 2, Ht(209) / 2));
    h.requests.clear();
    CCard* first = *h.State().ownHand->CardsBegin();
    first->SetSelected(1);
    h.Click(IDC_PLAY);
    EXPECT_EQ(h.Sent("ChuPai"), 0);
    h.Click(IDC_PASS);
    EXPECT_EQ(h.Sent("ChuPai"), 1);
}

// Offline, the timer draws the reconnect text itself: its dots grow on the
// back buffer with no WM_PAINT (the hosted table is never shown).
TEST(TableLook, TheReconnectTextGrowsOnTheBackBufferTickByTick) {
    TableHarness h;
    const int W = 1040, H = 720;
    h.SeatThree();
    h.Run(100);
    h.Session()->GetConnection()->ClearAlive();
    h.Tick();
    ASSERT_EQ(h.State().phase, 16);
    ASSERT_EQ(h.Game().StatusText(), "正在重新连接,请稍候");
    auto red = [](COLORREF c) { return GetRValue(c) > 90 && GetGValue(c) < 40 && GetBValue(c) < 40; };
    std::vector<int> inked;
    for (int i = 0; i < 3; ++i) {
        h.Run(1500);
        inked.push_back(CountIn(h.BackBuffer(), (W - 200) / 2 - 80, H / 2, (W - 200) / 2 + 420, H / 2 + 20, red));
    }
    SavePng(h.BackBuffer(), "table_reconnect_text");
    EXPECT_GT(inked[0], 0) << "the text is drawn";
    EXPECT_LT(inked[0], inked[1]) << "more dots";
    EXPECT_LT(inked[1], inked[2]) << "more dots";
}

const char* const kFramePictures[] = {"desk\\bg.jpg",        "button\\MinizUp.bmp",  "button\\MinizOn.bmp",
                                      "button\\CloseUp.bmp", "button\\CloseOn.bmp",  "button\\SoundUp.png",
                                      "button\\SoundOn.png", "button\\SilentUp.png", "button\\SilentOn.png",
                                      "desk\\RigthBg.png",   "desk\\PeopleNum.png",  "desk\\PeopleNum2.png"};

// The frame pictures in a folder of their own, all but one.
struct FramePictures {
    std::string root;
    explicit FramePictures(const char* missing) {
        root = TableHarness::Folder() / "frame";
        for (const char* dir : {"", "\\fenlo", "\\fenlo\\image", "\\fenlo\\image\\desk", "\\fenlo\\image\\button"})
            CreateDirectoryA((root + dir).c_str(), nullptr);
        for (const char* file : kFramePictures)
            if (file != missing)
                CopyFileA((TableHarness::PictureFolder() + "\\fenlo\\image\\" + file).c_str(),
                          (root + "\\fenlo\\image\\" + file).c_str(), FALSE);
    }
    ~FramePictures() { RemoveTree(root); }
};

// A picture table that cannot be made: the loader reports its failure.
struct NoPictures : CTableSide {
    CTablePictures* CreatePictures() override { return nullptr; }
    int ShowBox(const char*, int) override { return IDOK; }
};

// Each missing frame picture, and a failed picture table, end the table
// with a box of no owner and no money for the lobby.
TEST(TableLook, AMissingFramePictureOrAFailedLoaderEndsTheTable) {
    TableHarness::WriteSettings(kTableSettings);
    Lobby lobby;
    NoPictures failing;
    GetGameSession()->firstReplyStamp = 0;  // no slow-network question while the table waits
    const size_t n = sizeof kFramePictures / sizeof kFramePictures[0];
    for (size_t i = 0; i <= n; ++i) {
        const char* missing = i < n ? kFramePictures[i] : nullptr;
        FramePictures pictures(missing);
        if (missing)
            InstallGameTableSide();
        else
            SetTableSide(&failing);
        std::vector<std::string> boxes;
        Lobby::records.clear();
        TestTable* table = OpenTable(pictures.root, boxes);
        const std::string name = missing ? missing : "the loader";
        EXPECT_TRUE(table->Ended()) << name;
        EXPECT_FALSE(table->SetupComplete()) << name;
        EXPECT_EQ(boxes, std::vector<std::string>(
                             {missing ? "安装目录下可能缺少了文件,强烈建议您重新安装!" : CLoading::kFailureText}))
            << name;
        ASSERT_FALSE(Lobby::records.empty()) << name;
        EXPECT_EQ(Lobby::records.back().first, 1u) << name;
        EXPECT_EQ(Lobby::records.back().second, -1.0) << name;
        table->DestroyWindow();
        delete table;
    }
    InstallGameTableSide();
    SetTableBoxHook(nullptr);
}

// Avatars by the seats' sex values; a side seat's turn time beside drop.png
// from the bid on; the multiplier of two doubles.
TEST(TableLook, AvatarsBySexTurnTimesAndTheDoublingMultiplier) {
    TableHarness h;
    const int W = 1040, H = 720;
    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"100\"/>" + Player("alice", 0) +
                                     "<player id=\"bob\" seat=\"1\" money=\"1\" ready=\"False\" ip=\"1\" "
                                     "IPLocation=\"\" IPDetail=\"\" sex=\"1\" nickName=\"Bob\"/>" +
                                     "<player id=\"carol\" seat=\"2\" money=\"1\" ready=\"False\" ip=\"1\" "
                                     "IPLocation=\"\" IPDetail=\"\" sex=\"2\" nickName=\"Carol\"/>"));
    h.Feed(Turn("BeginJiaoFen", "bob", 15));
    h.Run(1000);
    Capture c = RenderAll(h, "table_seats_turn_time");
    const int top = (H - 96) / 2;
    EXPECT_EQ(c.At(W - 220 - Wd(305) + 5, top - Ht(305) - 24 + 40), Pic(305, 5, 40)) << "bob: mm.png";
    EXPECT_EQ(c.At(20 + 5, top - Ht(304) - 24 + 40), Pic(304, 5, 40)) << "carol: gg.png";

    const int dw = Wd(208), dh = Ht(208), dy = H / 2 + 48 + Ht(349);
    const int bobX = W - dw - 220, carolX = 20, textY = dy + (dh - 12) / 2;
    EXPECT_EQ(c.At(bobX + dw / 2, dy + dh / 2), Pic(208, dw / 2, dh / 2)) << "bob's drop.png";
    EXPECT_EQ(c.At(carolX + dw / 2, dy + dh / 2), Pic(208, dw / 2, dh / 2)) << "carol's drop.png";
    auto white = [](COLORREF p) { return p == RGB(255, 255, 255); };
    EXPECT_GT(CountIn(c, bobX + dw + 2, textY, bobX + dw + 40, dy + dh, white), 0) << "bob's seconds";
    EXPECT_EQ(CountIn(c, carolX + dw + 2, textY, carolX + dw + 40, dy + dh, white), 0) << "carol is not on turn";
    EXPECT_EQ(h.State().FindPlayerByName("bob")->ClockLeft(static_cast<int>(TableHarness::now)), 13000)
        << "15 s, a second less, 1 s gone";
    h.Feed(Doc("JiaoFen", "<player id=\"bob\" score=\"1\"/>"));
    h.Tick();
    c = h.BackBuffer();
    EXPECT_EQ(CountIn(c, bobX + dw + 2, textY, bobX + dw + 40, dy + dh, white), 0) << "bob's turn is over";

    const int iconY = H - Ht(351) - 10, g = Wd(348) / 10, units = 250 + Wd(351) + 4 + 3 * g - g;
    for (int doubles : {0, 1, 2}) {
        h.State().doubleCount = doubles;
        c = RenderAll(h);
        const int digit = 1 << doubles;
        EXPECT_EQ(c.At(units + g / 2, iconY + 3), Pic(348, digit * g + g / 2, 3)) << doubles << " doubles";
    }
}

// The VIP room number in the top left, and a table narrower than the
// buttons' 200-pixel offset: the ready button lies left of the client area
// by the formula, not far off to the right.
TEST(TableLook, TheVipRoomNumberAndANarrowTablesReadyButton) {
    TableHarness h;
    h.SeatThree();
    const Capture plain = RenderAll(h);
    CGameSession* s = h.Session();
    s->vipFlag = 1;
    s->vipGameId = "8086";
    const Capture vip = RenderAll(h, "table_vip_number");
    s->vipFlag = 0;
    s->vipGameId.clear();
    int changed = 0;
    for (int y = 64; y < 80; ++y)
        for (int x = 10; x < 160; ++x) changed += vip.At(x, y) != plain.At(x, y);
    EXPECT_GT(changed, 20) << "VIP房号：8086 drawn at (10, 64)";

    const int wR = Wd(237), wB = Wd(265), narrow = 150;
    h.table->LayOutFor(narrow, 720);
    EXPECT_EQ(ChildRect(h, IDC_READY).left, (narrow - wR - 200) / 2);
    EXPECT_LT(ChildRect(h, IDC_READY).left, 0);
    EXPECT_EQ(ChildRect(h, IDC_PLAY).left, (narrow - 4 * wB - 200) / 2);
    h.table->LayOutFor(1040, 720);
}

}  // namespace

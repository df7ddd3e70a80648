// The skinned list (sorting, header, selected rows, picture scroll bars) and
// the skinned rich edit (scroll range, wheel, paging, storages, links).
#include <gtest/gtest.h>

#include <string>

#include "game/ui/SkinListCompare.h"
#include "game/ui/SkinListCtrl.h"
#include "game/ui/SkinRichEditCtrl.h"
#include "tests/fenlo/PanelTestKit.h"
#include "tests/platform/WindowCapture.h"

using paneltest::ListArt;

TEST(SkinListCompare, NumbersDatesAndTextByTheFirstCell) {
    EXPECT_EQ(-1, SkinListCompare("-3", "9", 1));
    EXPECT_EQ(-1, SkinListCompare("9", "10", 1));
    EXPECT_EQ(1, SkinListCompare("9", "10", 0));
    EXPECT_EQ(0, SkinListCompare(" 7.5", "7", 1));
    EXPECT_EQ(-1, SkinListCompare("01/04/2007", "12/03/2008", 1));
    EXPECT_EQ(1, SkinListCompare("01/04/2008", "12/03/2008", 1));  // month before day
    EXPECT_EQ(1, SkinListCompare("01/04/2007", "12/03/2008", 0));
    // Two points: text, so "1.2.3" > "1.10" byte-wise.
    EXPECT_EQ(1, SkinListCompare("1.2.3", "1.10", 1));
    EXPECT_EQ(1, SkinListCompare("abc", "Abd", 1));
    // Only the first cell decides: a number against text, an empty cell is text.
    EXPECT_EQ(1, SkinListCompare("5", "x", 1));
    EXPECT_EQ(-1, SkinListCompare("", "1", 1));
    EXPECT_EQ(1, SkinListCompare("01/01/2000", "1", 1));  // a short second date reads as zeros
}

namespace {

class SkinListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(paneltest::CreateHost(host));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(10, 10, 250, 150), &host,
                                1088));
        list.FlatScrollSetup();
        list.AttachSkin(art.pictures);
        list.SetBkColor(0x9C6110);
        list.SetTextBkColor(0x9C6110);
        list.SetTextColor(0xFFF7BD);
        list.InsertColumn(0, "rank", LVCFMT_LEFT, 60);
        list.InsertColumn(1, "nick", LVCFMT_LEFT, 80);
        list.InsertColumn(2, "games", LVCFMT_LEFT, 60);
    }
    void TearDown() override { host.DestroyWindow(); }
    void Fill(const char* const (*rows)[2], int n) {
        for (int i = 0; i < n; ++i) {
            list.AddItem(i, rows[i][0]);
            list.SetItemText(i, 1, rows[i][1]);
        }
    }
    std::string Column(int column) {
        std::string s;
        for (int i = 0; i < list.GetItemCount(); ++i) s += list.StoredText(i, column) + ",";
        return s;
    }
    CRect HeaderItem(int i) {
        CRect r;
        list.Header().GetItemRect(i, &r);
        return r;
    }

    CWnd host;
    paneltest::Art artStore;
    ListArt art{artStore};
    CSkinListCtrl list;
};

}  // namespace

TEST_F(SkinListTest, HeaderClicksSortAndColumnsCannotBeResized) {
    const char* const rows[][2] = {{"10", "b"}, {"9", "c"}, {"-3", "a"}};
    Fill(rows, 3);
    EXPECT_EQ(20, HeaderItem(0).Height());  // the span picture's height
    const CRect c0 = HeaderItem(0), c1 = HeaderItem(1);
    HWND header = list.Header().m_hWnd;
    paneltest::Click(header, c0.CenterPoint().x, c0.CenterPoint().y);
    ASSERT_TRUE(PumpUntil([&] { return list.SortColumn() == 0; }));
    EXPECT_EQ("-3,9,10,", Column(0));
    paneltest::Click(header, c0.CenterPoint().x, c0.CenterPoint().y);
    ASSERT_TRUE(PumpUntil([&] { return list.SortAscending() == 0; }));
    EXPECT_EQ("10,9,-3,", Column(0));
    paneltest::Click(header, c1.CenterPoint().x, c1.CenterPoint().y);
    ASSERT_TRUE(PumpUntil([&] { return list.SortColumn() == 1; }));
    EXPECT_EQ(1, list.SortAscending());
    EXPECT_EQ("a,b,c,", Column(1));
    // Dragging or double-clicking the divider leaves the widths alone.
    const int x = c0.right - 1, y = c0.CenterPoint().y;
    ::PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y));
    ::PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y));
    ::PostMessageA(header, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages(200);
    EXPECT_EQ(60, list.GetColumnWidth(0));
    EXPECT_EQ(80, list.GetColumnWidth(1));
}

TEST_F(SkinListTest, CellsOfLaterColumnsAndSelectedRowColours) {
    const char* const rows[][2] = {{"1", "one"}, {"2", "two"}};
    Fill(rows, 2);
    list.AddItem(2, "3");
    EXPECT_STREQ("3", list.GetItemText(2, 1));  // shown in column 1 until it is set
    list.InsertColumn(3, "late", LVCFMT_LEFT, 30);
    EXPECT_EQ(1, list.SetItemText(0, 3, "z"));  // grows the stored cells
    EXPECT_EQ("z", list.StoredText(0, 3));
    EXPECT_EQ(0, list.SetItemText(7, 1, "nope"));

    list.SetSelectedColours(0xFFF7BD, 0xC68E18);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.Invalidate();
    list.UpdateWindow();
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    const Capture shot = CaptureWindow(list);
    int selected = 0, highlight = 0;
    for (int x = row.left; x < row.right && x < shot.width; ++x) {
        const COLORREF c = shot.At(x, row.CenterPoint().y);
        selected += c == 0xC68E18;
        highlight += c == ::GetSysColor(COLOR_HIGHLIGHT);
    }
    EXPECT_GT(selected, 20);
    EXPECT_EQ(0, highlight);
    EXPECT_TRUE(list.GetItemState(0, LVIS_SELECTED) & LVIS_SELECTED);  // the state came back
}

TEST_F(SkinListTest, ScrollBarPicturesAndAHeldArrowRepeats) {
    CSkinVerticleScrollbar& bar = list.VerticalBar();
    CRect r;
    bar.GetClientRect(&r);
    EXPECT_EQ(14, r.Width());
    EXPECT_EQ(140 + 10, r.Height());  // the list's height and the corner below it
    // Nothing to scroll: no thumb, and clicks do no arithmetic.
    paneltest::Click(bar, 7, r.Height() / 2);
    PumpMessages(100);
    Capture empty = CaptureWindow(bar);
    EXPECT_EQ(ListArt::kTop, empty.At(5, 1));
    EXPECT_EQ(ListArt::kUp, empty.At(5, 4 + 6));
    EXPECT_EQ(ListArt::kVSpan, empty.At(5, 40));
    EXPECT_EQ(ListArt::kDown, empty.At(5, r.Height() - 4 - 6));
    EXPECT_EQ(ListArt::kBottom, empty.At(5, r.Height() - 2));

    for (int i = 0; i < 60; ++i) list.AddItem(i, std::to_string(i).c_str());
    list.RefreshBars();
    PumpMessages(50);
    Capture full = CaptureWindow(bar);
    EXPECT_EQ(ListArt::kThumb, full.At(5, bar.ThumbPos() + 10));

    // Hold the down arrow one second: lines every 50 ms after 250 ms, one
    // more on release; a busy machine may deliver fewer ticks, never more.
    const int y = r.Height() - 4 - 6;
    const DWORD start = ::GetTickCount();
    ::PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, y));
    PumpUntil([&] { return ::GetTickCount() - start >= 1000; }, 3000);
    const int held = static_cast<int>(::GetTickCount() - start);
    ::PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(7, y));
    PumpMessages(50);
    const int top = list.GetTopIndex();
    EXPECT_GE(top, 6);  // 16 on an idle machine
    EXPECT_LE(top, 2 + (held - 250) / 50);
    EXPECT_GT(bar.ThumbPos(), 4 + 12);
}

namespace {

class SkinEditTest : public SkinListTest {
protected:
    void SetUp() override {
        SkinListTest::SetUp();
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_VSCROLL,
                                CRect(10, 180, 250, 260), &host, 1097));
        edit.AttachSkin(art.pictures + 3);
    }
    void AddLines(int n) {
        for (int i = 0; i < n; ++i) {
            edit.SetSel(-1, -1);
            edit.ReplaceSel(("line " + std::to_string(lines++) + "\r\n").c_str());
        }
        PumpMessages(20);
    }
    CSkinRichEditCtrl edit;
    int lines = 0;
};

}  // namespace

TEST_F(SkinEditTest, ThumbOnlyOnOverflowWheelAndPaging) {
    EXPECT_FALSE(edit.HorizontalBar().m_hWnd);
    CSkinVScrollbar& bar = edit.VerticalBar();
    CRect r;
    bar.GetClientRect(&r);
    AddLines(2);
    EXPECT_EQ(0, edit.ScrollRange());
    paneltest::Click(bar, 7, r.Height() / 2);  // cannot scroll: nothing happens
    PumpMessages(50);
    EXPECT_EQ(ListArt::kVSpan, CaptureWindow(bar).At(5, 30));
    EXPECT_EQ(ListArt::kUp, CaptureWindow(bar).At(5, 2));

    AddLines(30);
    ASSERT_GT(edit.ScrollRange(), 0);
    EXPECT_EQ(ListArt::kThumb, CaptureWindow(bar).At(5, bar.ThumbPos() + 10));

    edit.LineScroll(-100);
    edit.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(1, edit.GetFirstVisibleLine());
    edit.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(0, edit.GetFirstVisibleLine());

    // Paging down stops with the last page in view.
    for (int i = 0; i < 10; ++i) edit.PageDown();
    EXPECT_EQ(edit.ScrollRange(), edit.GetFirstVisibleLine());
    edit.PageUp();
    EXPECT_LT(edit.GetFirstVisibleLine(), edit.ScrollRange());
}

TEST_F(SkinEditTest, StoragesAreNamedInOrder) {
    ASSERT_TRUE(edit.CallbackRegistered());
    IRichEditOleCallback* callback = edit.OleCallback();
    ASSERT_NE(nullptr, callback);
    for (const wchar_t* expected : {L"REOLEStorage1", L"REOLEStorage2"}) {
        IStorage* storage = nullptr;
        ASSERT_EQ(S_OK, callback->GetNewStorage(&storage));
        STATSTG stat = {};
        ASSERT_EQ(S_OK, storage->Stat(&stat, STATFLAG_DEFAULT));
        EXPECT_STREQ(expected, stat.pwcsName);
        ::CoTaskMemFree(stat.pwcsName);
        storage->Release();
    }
    HMENU menu = reinterpret_cast<HMENU>(1);
    EXPECT_EQ(S_OK, callback->GetContextMenu(0, nullptr, nullptr, &menu));
    EXPECT_EQ(nullptr, menu);
    EXPECT_EQ(E_NOTIMPL, callback->GetClipboardData(nullptr, 0, nullptr));
}

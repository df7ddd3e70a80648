// The sortable list under a real parent: header clicks re-sort the rows and
// toggle the order, rows alternate their colours on screen, and the column
// widths come back from the registry unless the record's count differs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/SortListCtrl.h"

namespace {

CWinApp g_app("LobbyPanelsTest");

struct SortList : ::testing::Test {
    void SetUp() override {
        LoadedSkin();
        g_app.SetRegistryKey("MiraboTest");
        ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(40, 40, 340, 240), nullptr, 0));
        Make(list);
    }
    void TearDown() override { parent.DestroyWindow(); }
    void Make(CSortListCtrl& l) {
        ASSERT_TRUE(l.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200),
                               &parent, 1017));
        ASSERT_EQ(l.SetColumns("名,90;数,60;"), 1);
        l.SetRowColors(RGB(200, 0, 0), RGB(0, 0, 200));
    }
    std::vector<std::string> Column(int c) {
        std::vector<std::string> out;
        for (int i = 0; i < list.GetItemCount(); ++i) out.push_back(static_cast<LPCSTR>(list.GetItemText(i, c)));
        return out;
    }
    void ClickHeader(int column) {
        CRect r;
        list.Header().GetItemRect(column, &r);
        const LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
        list.Header().PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        list.Header().PostMessage(WM_LBUTTONUP, 0, at);
    }
    CWnd parent;
    CSortListCtrl list;
};

}  // namespace

TEST_F(SortList, HeaderClicksSortAndToggle) {
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnWidth(0), 90);
    EXPECT_EQ(list.GetColumnWidth(1), 60);
    EXPECT_EQ(list.AddItem({"b", "10"}), 0);
    list.AddItem({"a", "9"});
    list.AddItem({"c", "100"});
    EXPECT_EQ(list.AddItem({"only one"}), -1);
    EXPECT_FALSE(list.SetItemValue(3, 1));
    EXPECT_TRUE(list.SetItemValue(2, 7));

    ClickHeader(1);
    ASSERT_TRUE(PumpUntil([&] { return Column(1) == std::vector<std::string>{"9", "10", "100"}; }));
    EXPECT_TRUE(list.IsAscending());
    ClickHeader(1);
    ASSERT_TRUE(PumpUntil([&] { return Column(1) == std::vector<std::string>{"100", "10", "9"}; }));
    EXPECT_FALSE(list.IsAscending());
    EXPECT_EQ(list.GetItemValue(0), 7);  // the value travels with its row
    ClickHeader(0);
    ASSERT_TRUE(PumpUntil([&] { return Column(0) == std::vector<std::string>{"a", "b", "c"}; }));

    // Alternating row colours, read back from the screen.
    PumpMessages(100);
    CRect row0, row1;
    list.GetItemRect(0, &row0, LVIR_LABEL);
    list.GetItemRect(1, &row1, LVIR_LABEL);
    Capture shot = CaptureWindow(list.m_hWnd);
    SavePng(shot, "sortlist");
    EXPECT_EQ(shot.At(row0.right - 3, row0.CenterPoint().y), RGB(0, 0, 200));
    EXPECT_EQ(shot.At(row1.right - 3, row1.CenterPoint().y), RGB(200, 0, 0));
}

TEST_F(SortList, ColumnWidthsFromTheRegistry) {
    list.SetColumnWidth(0, 123);
    list.SaveColumnWidths();
    CSortListCtrl second;
    list.DestroyWindow();
    Make(second);
    second.LoadColumnWidths();
    EXPECT_EQ(second.GetColumnWidth(0), 123);
    EXPECT_EQ(second.GetColumnWidth(1), 60);

    int other[] = {3, 10, 20, 30};  // a record of another count is ignored
    g_app.WriteProfileBinary("ListCtrls", "1017", reinterpret_cast<LPBYTE>(other), sizeof other);
    second.SetColumnWidth(0, 90);
    second.LoadColumnWidths();
    EXPECT_EQ(second.GetColumnWidth(0), 90);
}

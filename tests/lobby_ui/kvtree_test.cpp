// The game tree's nodes and control, and the page map, in a window of their own.
#include <gtest/gtest.h>

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdlib>

#include "lobby/ui/KvTreeCtrl.h"
#include "lobby/ui/PageWndMap.h"
#include "tests/platform/WindowCapture.h"

TEST(TreeData, RoomIdsTotalsAndRemoval) {
    CTreeDataList list;
    CTreeData* node = list.AddData(11, 0xFFFFFF, "group");
    for (int id : {12, 15, 11}) node->AddRoom(id, "r", id);
    std::string ids;
    EXPECT_EQ(node->GetRoomIds(ids), 3);
    EXPECT_EQ(ids, "12,15,11");
    EXPECT_EQ(node->GetTotalCount(), 38);
    // Counts from a server neither go below 0 nor wrap past INT_MAX.
    EXPECT_EQ(SumOfCounts({2147483647, 2147483647, -5}), 2147483647);
    EXPECT_EQ(SumOfCounts({-5, 3}), 3);
    CTreeData* found = nullptr;
    EXPECT_NE(list.FindRoom(15, &found), nullptr);
    EXPECT_EQ(found, node);
    EXPECT_EQ(node->RemoveRoom(15), 1);
    EXPECT_EQ(node->RemoveRoom(15), 0);
    EXPECT_EQ(list.FindRoom(15, &found), nullptr);
    EXPECT_EQ(list.RemoveData(11), 1);
    EXPECT_EQ(list.FindData(11), nullptr);
}

namespace {
class Host : public CWnd {};

HTREEITEM Add(CKvTreeCtrl& tree, HTREEITEM parent, int id, COLORREF colour, const std::string& name,
              const char* text = nullptr) {
    CTreeData* node = tree.AddData(id, colour, name);
    HTREEITEM item = tree.InsertItem(text ? text : name.c_str(), 0, 0, parent);
    tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(node));
    return item;
}
}  // namespace

TEST(KvTreeCtrl, FindsSortsPathsAndColoursItsItems) {
    Host host;
    ASSERT_TRUE(host.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(40, 40, 340, 300), nullptr, 0));
    CKvTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, CRect(0, 0, 300, 260), &host, 1000));
    tree.SetBkColor(RGB(0, 0, 0));
    tree.SetTextColor(RGB(255, 255, 255));  // as the lobby's
    HTREEITEM game = Add(tree, TVI_ROOT, 60001, RGB(255, 255, 255), "Game");
    HTREEITEM entry = Add(tree, game, 90001, RGB(255, 255, 255), "Entry");
    Add(tree, entry, 14, RGB(0, 0, 255), "Later", "Later(1)");
    HTREEITEM group = Add(tree, entry, 11, RGB(255, 0, 0), "Group", "Group(3)");
    tree.FindData(11)->AddRoom(12, "r", 3);
    tree.SortChildren(entry);
    tree.Expand(game, TVE_EXPAND);
    tree.Expand(entry, TVE_EXPAND);

    EXPECT_EQ(tree.FindItem(11), group);
    EXPECT_EQ(tree.FindItem(99), nullptr);
    EXPECT_EQ(tree.GetChildItem(entry), group) << "sorted by node id";
    std::string path;
    EXPECT_EQ(tree.GetItemPath(12, path), 1);
    EXPECT_EQ(path, "Game\\Entry\\Group") << "the group's plain name, not its text";
    EXPECT_EQ(tree.GetItemPath(13, path), 0);

    // Each item's text in its node's colour.
    tree.SelectItem(game);
    host.UpdateWindow();
    tree.RedrawWindow();
    CRect r;
    tree.GetItemRect(group, &r, TRUE);
    const Capture shot = CaptureWindow(tree.GetSafeHwnd());
    bool red = false;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) red = red || shot.At(x, y) == RGB(255, 0, 0);
    EXPECT_TRUE(red) << "custom-drawn text colour";

    // The selected item without the focus: its text stands out from the box
    // under it (the tree's white text on the light button face did not).
    tree.ModifyStyle(0, TVS_SHOWSELALWAYS);
    tree.SelectItem(entry);
    ::SetFocus(host.GetSafeHwnd());
    ASSERT_NE(::GetFocus(), tree.GetSafeHwnd());
    tree.RedrawWindow();
    tree.GetItemRect(entry, &r, TRUE);
    const Capture selected = CaptureWindow(tree.GetSafeHwnd());
    auto light = [&](int x, int y) {
        const COLORREF c = selected.At(x, y);
        return (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10;
    };
    const int box = light(r.left + 1, r.top + 1);
    int strokes = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
        for (int x = r.left + 2; x < r.right - 2; ++x) strokes += std::abs(light(x, y) - box) > 100;
    EXPECT_GT(strokes, 10) << "box lightness " << box;
    tree.DestroyWindow();
    host.DestroyWindow();
}

TEST(PageWndMap, OwnsShowsAndDestroysPages) {
    Host host;
    ASSERT_TRUE(host.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 200, 200), nullptr, 0));
    CPageWndMap map;
    EXPECT_EQ(map.AddPage(1, nullptr), -1);
    CWnd* one = new CWnd();
    CWnd* two = new CWnd();
    ASSERT_TRUE(one->CreateEx(0, "STATIC", "", WS_CHILD, CRect(0, 0, 10, 10), &host, 1));
    ASSERT_TRUE(two->CreateEx(0, "STATIC", "", WS_CHILD, CRect(0, 0, 10, 10), &host, 2));
    HWND first = one->GetSafeHwnd();
    EXPECT_EQ(map.AddPage(1, one), 1);
    EXPECT_EQ(map.AddPage(2, two), 2);
    EXPECT_TRUE(map.ShowPage(2));
    EXPECT_TRUE(two->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(first, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(map.ShowPage(3));
    EXPECT_EQ(map.RemovePage(1), 1);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(map.RemovePage(1), 0);
    map.DestroyAll();
    EXPECT_EQ(map.GetPage(2), nullptr);
    host.DestroyWindow();
}

// The tab strip under a parent that logs 0x8A17: tabs 95 wide overlapping
// by 17, a click selects, a double click or the menu command closes and
// selects the neighbour first, the member page's tab never closes, a
// running game refuses.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>
#include <utility>
#include <vector>

#include "LobbyUiTest.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/SkinTabCtrl.h"

namespace {

class Parent : public CWnd {
public:
    LRESULT OnStrip(WPARAM w, LPARAM l) {
        log.emplace_back(static_cast<int>(w), static_cast<int>(l));
        return 0;
    }
    std::vector<std::pair<int, int>> log;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Parent, CWnd)
    ON_MESSAGE(kMsgTabStrip, OnStrip)
END_MESSAGE_MAP()

struct Rules : CTabCloseRules {
    BOOL CanCloseRoom(int key) override { return key != gameKey; }
    BOOL IsRoomSwitching() override { return FALSE; }
    int GetMemberPageKey() override { return 0; }
    void PostMessageBox(LPCSTR text, LPCSTR) override { boxes.push_back(text); }
    int gameKey = -1;
    std::vector<std::string> boxes;
};

using Log = std::vector<std::pair<int, int>>;

struct TabStrip : ::testing::Test {
    void SetUp() override {
        CSkinRes* skin = LoadedSkin();
        ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(40, 300, 440, 352), nullptr, 0));
        font.Attach(::GetStockObject(DEFAULT_GUI_FONT));
        ASSERT_TRUE(strip.Create(CRect(0, 0, 400, 52), &parent, &font));
        EXPECT_FALSE(strip.SetImages(nullptr, skin->GetTabBmp2Image()));
        strip.SetImages(skin->GetTabBmp1Image(), skin->GetTabBmp2Image());
        strip.SetCloseRules(&rules);
    }
    void TearDown() override {
        strip.DestroyWindow();
        parent.DestroyWindow();
        font.Detach();
    }
    void Post(UINT message, int key) {
        const CPoint at = strip.GetTabRect(key).CenterPoint() + CSize(6, 0);
        strip.PostMessage(message, message == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y));
    }
    Parent parent;
    CFont font;
    CSkinTabCtrl strip;
    Rules rules;
};

}  // namespace

TEST_F(TabStrip, ClicksSelectAndCloseNeighboursFirst) {
    EXPECT_EQ(strip.AddTab("会员"), 0);
    EXPECT_EQ(parent.log, (Log{{0, 0}}));  // the first tab is selected and reported
    EXPECT_EQ(strip.AddTab("房间一"), 1);
    EXPECT_EQ(strip.AddTab("房间二"), 2);
    EXPECT_EQ(strip.GetTabRect(0), CRect(-14, 0, 81, 27));
    EXPECT_EQ(strip.GetTabRect(2), CRect(142, 0, 237, 27));
    parent.log.clear();

    Post(WM_LBUTTONDOWN, 2);
    ASSERT_TRUE(PumpUntil([&] { return strip.GetSelectedKey() == 2; }));
    EXPECT_EQ(parent.log, (Log{{0, 2}}));
    PumpMessages(100);
    SavePng(CaptureWindow(strip.m_hWnd), "tabstrip");

    // A double click on a normal tab closes it and selects its left neighbour first.
    parent.log.clear();
    Post(WM_LBUTTONDBLCLK, 1);
    ASSERT_TRUE(PumpUntil([&] { return parent.log.size() == 2; }));
    EXPECT_EQ(parent.log, (Log{{0, 0}, {1, 1}}));
    EXPECT_EQ(strip.GetTabRect(2), CRect(64, 0, 159, 27));  // laid out again
    EXPECT_EQ(strip.GetSelectedKey(), 0);

    // The member page's tab never closes; a running game refuses with a box.
    parent.log.clear();
    Post(WM_LBUTTONDBLCLK, 0);
    rules.gameKey = 2;
    strip.SendMessage(kMsgTabStrip, 100, 2);
    PumpMessages(100);
    EXPECT_TRUE(parent.log.empty());
    EXPECT_EQ(rules.boxes, std::vector<std::string>{"请先退出游戏,再关闭大厅!"});
    EXPECT_EQ(strip.GetTabCount(), 2);

    // The menu command closes the selected tab; keys are never reused.
    rules.gameKey = -1;
    strip.SelectTab(2);
    parent.log.clear();
    strip.SendMessage(WM_COMMAND, kTabCloseCommand, 0);
    ASSERT_TRUE(PumpUntil([&] { return parent.log.size() == 2; }));
    EXPECT_EQ(parent.log, (Log{{0, 0}, {1, 2}}));
    EXPECT_EQ(strip.AddTab("房间三"), 3);
    EXPECT_EQ(strip.GetTabRect(3), CRect(64, 0, 159, 27)) << "beside the last tab";
}

// The panels' plain rules: column text, row order, chat escapes, emote
// scanning, tree intro commands, picker and slide sizes.
#include <gtest/gtest.h>

#include <cstring>

#include "lobby/ui/PanelRules.h"

TEST(PanelRules, ColumnList) {
    auto two = ParseColumnList("a,100;b,60");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], std::make_pair(std::string("a"), 100));
    EXPECT_EQ(two[1], std::make_pair(std::string("b"), 60));
    EXPECT_EQ(ParseColumnList("a,100;b,60;"), two);
    EXPECT_TRUE(ParseColumnList("").empty());
    EXPECT_TRUE(ParseColumnList(nullptr).empty());
}

TEST(PanelRules, CompareOnlyFirstTextDecides) {
    auto text = [](const char* a, const char* b) { return std::strcmp(a, b) < 0 ? -1 : std::strcmp(a, b) > 0; };
    EXPECT_EQ(CompareListTexts("9", "10", text), -1);     // numbers as numbers
    EXPECT_EQ(CompareListTexts("5", "abc", text), 1);     // the word counts as 0
    EXPECT_EQ(CompareListTexts("abc", "5", text), 1);     // swapped: as text
    EXPECT_EQ(CompareListTexts("", "0", text), 0);
    EXPECT_EQ(CompareListTexts("b", "a", text), 1);
}

TEST(PanelRules, ChatEscapesRoundTrip) {
    EXPECT_EQ(EscapeChatText("/"), "@_5");
    EXPECT_EQ(EscapeChatText("\"=<>/&x"), "@_1@_2@_3@_4@_5@_6x");
    EXPECT_EQ(UnescapeChatText("@_1@_2@_3@_4@_5@_6x"), "\"=<>/&x");
    EXPECT_EQ(UnescapeChatText(EscapeChatText("a<b>&c")), "a<b>&c");
}

TEST(PanelRules, EmoteScanner) {
    auto known = [](const std::string& c) { return c == "/wx1" || c == "/ku1"; };
    auto p = ScanEmotes("a/wx1b", known);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].text, "a");
    EXPECT_TRUE(p[1].emote);
    EXPECT_EQ(p[2].text, "b");
    p = ScanEmotes("/wx1/ku1", known);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_TRUE(p[0].emote && p[1].emote);
    p = ScanEmotes("x/zzzy/w", known);  // unknown code and a cut-short one stay text
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].text, "x/zzzy/w");
    EXPECT_TRUE(ScanEmotes("", known).empty());
}

TEST(PanelRules, TreeIntroAndSizes) {
    int kind = 0, n = 0;
    EXPECT_FALSE(TreeIntroCommand(60000, kind, n));
    EXPECT_FALSE(TreeIntroCommand(90000, kind, n));
    EXPECT_FALSE(TreeIntroCommand(0, kind, n));
    EXPECT_FALSE(TreeIntroCommand(100000, kind, n));
    ASSERT_TRUE(TreeIntroCommand(89999, kind, n));
    EXPECT_EQ(TreeIntroText(kind, n), "javascript:instro(1,29999)");
    ASSERT_TRUE(TreeIntroCommand(59999, kind, n));
    EXPECT_EQ(TreeIntroText(kind, n), "javascript:instro(3,59999)");
    ASSERT_TRUE(TreeIntroCommand(90001, kind, n));
    EXPECT_EQ(TreeIntroText(kind, n), "javascript:instro(2,1)");
    EXPECT_EQ(FacePickerHeight(17), 81);
    SlidePlan s = PlanSlide(95, 10);
    EXPECT_EQ(s.steps, 8);
    EXPECT_EQ(s.remainder, 5);
}

TEST(PanelRules, NoticeMarkup) {
    auto p = ParseNoticePieces("Hello$news,addr$bye");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_FALSE(p[0].link);
    EXPECT_EQ(p[0].text, "Hello");
    EXPECT_TRUE(p[1].link);
    EXPECT_EQ(p[1].text, "news,addr");
    EXPECT_EQ(p[2].text, "bye");
    p = ParseNoticePieces("a$b");  // a link never closed stays text
    ASSERT_EQ(p.size(), 2u);
    EXPECT_FALSE(p[1].link);
    EXPECT_EQ(p[1].text, "b");
    std::string label, address;
    SplitLinkPiece("label,x,y", label, address);
    EXPECT_EQ(label, "label");
    EXPECT_EQ(address, "xy");
}

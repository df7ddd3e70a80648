#include "platform/StringSplitter.h"

#include <gtest/gtest.h>

namespace {

CStringArray Split(const char* text, const char* separator = nullptr, int skipEmpty = 1) {
    StringSplitter s;
    s.SetText(text);
    if (separator) s.SetSeparator(separator);
    s.SetSkipEmpty(skipEmpty);
    CStringArray out;
    s.Split(out);
    return out;
}

}  // namespace

TEST(StringSplitter, CutsAtSeparatorAndDropsEmptyPieces) {
    CStringArray a = Split("a,,b,c");
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[0], "a");
    EXPECT_EQ(a[1], "b");
    EXPECT_EQ(a[2], "c");

    // A trailing separator adds nothing; a text without one gives one piece.
    EXPECT_EQ(Split("a,b,").GetSize(), 2);
    EXPECT_EQ(Split("whole").GetSize(), 1);
    EXPECT_EQ(Split("").GetSize(), 0);
}

TEST(StringSplitter, KeepsEmptyPiecesWhenAsked) {
    CStringArray a = Split("a,,b", ",", 0);
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[1], "");
}

TEST(StringSplitter, TrimsTheTextButNotThePieces) {
    CStringArray a = Split("  你网络速度过慢\n ,是否继续游戏！ \r\n", "\n");
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0], "你网络速度过慢");
    EXPECT_EQ(a[1], " ,是否继续游戏！");
}

TEST(StringSplitter, AppendsToWhatTheArrayHolds) {
    StringSplitter s;
    s.SetText("x y");
    s.SetSeparator(" ");
    CStringArray out;
    out.Add("first");
    s.Split(out);
    ASSERT_EQ(out.GetSize(), 3);
    EXPECT_EQ(out[0], "first");
    EXPECT_EQ(out[2], "y");
    EXPECT_EQ(s.GetText(), "x y");
    EXPECT_EQ(s.GetSeparator(), " ");
}

TEST(StringSplitter, EmptySeparatorGivesTheWholeText) {
    // Must end: there is nothing to cut at.
    CStringArray a = Split("abc", "");
    ASSERT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], "abc");
}

TEST(StringSplitter, SeparatorNeverMatchesInsideDoubleByteCharacters) {
    // 0x7C ('|') is also a GBK trail byte: 0x81 0x7C is one character.
    const char text[] = {'\x81', '\x7C', '|', 'z', 0};
    CStringArray a = Split(text, "|");
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0].GetLength(), 2);
    EXPECT_EQ(a[1], "z");
}

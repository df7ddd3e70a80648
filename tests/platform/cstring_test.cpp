#include <gtest/gtest.h>

#include "platform/CString.h"

namespace {

// "\x81\x5C" is one GBK character whose trail byte is a backslash.
const char kTrailBackslash[] = "\x81\x5C";

TEST(CStringGbk, SearchesSkipTrailBytes) {
    CString s = CString("a") + kTrailBackslash + "\\b";
    EXPECT_EQ(s.Find('\\'), 3);
    EXPECT_EQ(s.ReverseFind('\\'), 3);
    EXPECT_EQ(s.FindOneOf("\\"), 3);
    EXPECT_EQ(CString(kTrailBackslash).Find('\\'), -1);
}

TEST(CStringGbk, EditsKeepDoubleByteCharactersWhole) {
    CString s = CString(kTrailBackslash) + "\\";
    EXPECT_EQ(s.Replace('\\', '/'), 1);
    EXPECT_EQ(s, CString(kTrailBackslash) + "/");

    CString t = CString("x") + kTrailBackslash;
    t.TrimRight('\\');
    EXPECT_EQ(t.GetLength(), 3) << "a trail byte must not be trimmed";

    CString r = CString("ab") + "\xD6\xD0";  // "ab" + one Chinese character
    r.MakeReverse();
    EXPECT_EQ(r, CString("\xD6\xD0") + "ba");

    CString up = CString("\x81\x61") + "a";  // trail byte 'a' stays as it is
    up.MakeUpper();
    EXPECT_EQ(up, CString("\x81\x61") + "A");
}

TEST(CStringGbk, ACutNeverSplitsADoubleByteCharacter) {
    EXPECT_EQ(CutText("ab\xB0\xA1", 3), "ab");
    EXPECT_EQ(CutText("ab\xB0\xA1", 4), "ab\xB0\xA1");
    EXPECT_EQ(CutText(std::string(40000, '7'), 300).size(), 300u);
}

TEST(CStringSlicing, OutOfRangeArgumentsAreClamped) {
    CString s("hello");
    EXPECT_EQ(s.Left(10), "hello");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(3), "llo");
    EXPECT_EQ(s.Mid(3), "lo");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Mid(1, 100), "ello");
    EXPECT_EQ(s.Find("l", 3), 3);
    EXPECT_EQ(s.Find("lo", 4), -1);
    EXPECT_EQ(s.Find("", 5), 5);
}

TEST(CStringEditing, TrimReplaceTokenize) {
    CString s("  user name \t");
    s.Trim();
    EXPECT_EQ(s, "user name");

    CString r("a--b--c");
    EXPECT_EQ(r.Replace("--", "+"), 2);
    EXPECT_EQ(r, "a+b+c");
    EXPECT_EQ(r.Remove('+'), 2);
    EXPECT_EQ(r, "abc");

    CString line("host 7000  room");
    int pos = 0;
    EXPECT_EQ(line.Tokenize(" ", pos), "host");
    EXPECT_EQ(line.Tokenize(" ", pos), "7000");
    EXPECT_EQ(line.Tokenize(" ", pos), "room");
    EXPECT_EQ(line.Tokenize(" ", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(CStringBuffer, FormatAndDirectWrites) {
    CString s;
    s.Format("%02d:%02d:%02d# %s", 9, 5, 0, "ok");
    EXPECT_EQ(s, "09:05:00# ok");
    s.AppendFormat("%d", 42);
    EXPECT_EQ(s, "09:05:00# ok42");

    CString b;
    char* p = b.GetBuffer(16);
    std::snprintf(p, 17, "%s", "abc");
    b.ReleaseBuffer();
    EXPECT_EQ(b.GetLength(), 3);
    EXPECT_EQ(b, "abc");

    EXPECT_EQ(CString("Login").CompareNoCase("LOGIN"), 0);
    EXPECT_LT(CString("a").Compare("b"), 0);
}

TEST(CStringArray, InsertAndRemoveKeepOrder) {
    CStringArray a;
    a.Add("b");
    a.InsertAt(0, "a");
    a.Add("c");
    a.RemoveAt(1);
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[0], "a");
    EXPECT_EQ(a[1], "c");
    a.RemoveAt(5);  // out of range: nothing
    EXPECT_EQ(a.GetSize(), 2);
}

}  // namespace

// UTF-8 rules and the log path cleaner; the window-message records' layout is
// checked at compile time by their header, in every build.
#include <gtest/gtest.h>

#include "lobby/net/base/CopyData.h"
#include "lobby/net/base/SanitizePath.h"
#include "lobby/net/base/Utf8.h"

namespace {

Utf8Sequence Decode(std::initializer_list<unsigned char> bytes) {
    std::basic_string<unsigned char> b(bytes);
    return DecodeUtf8Sequence(b.data(), b.size());
}

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Utf8Decode, ValidSequencesGiveOneUnit) {
    Utf8Sequence s = Decode({0x41});
    EXPECT_TRUE(s.valid);
    EXPECT_EQ(s.unit, 0x41);
    EXPECT_EQ(s.length, 1u);
    s = Decode({0xC3, 0xA9});
    EXPECT_TRUE(s.valid);
    EXPECT_EQ(s.unit, 0xE9);
    EXPECT_EQ(s.length, 2u);
    s = Decode({0xE6, 0xB8, 0xB8});  // 游 U+6E38
    EXPECT_TRUE(s.valid);
    EXPECT_EQ(s.unit, 0x6E38);
    EXPECT_EQ(s.length, 3u);
    s = Decode({0xEF, 0xBF, 0xBF});
    EXPECT_TRUE(s.valid);
    EXPECT_EQ(s.unit, 0xFFFF);
}

TEST(Utf8Decode, InvalidSequencesAreSkippedByTheirRule) {
    struct Case {
        std::basic_string<unsigned char> bytes;
        size_t skip;
    } cases[] = {
        {{0x80}, 1},        // lone continuation
        {{0xC3, 0x41}, 1},  // two-byte lead without continuation
        {{0xC0, 0x80}, 2},  // overlong
        {{0xC1, 0xBF}, 2},
        {{0xE6, 0x41, 0x41}, 1},  // three-byte lead, bad second byte
        {{0xE6, 0xB8, 0x41}, 2},  // bad third byte
        {{0xE0, 0x80, 0x80}, 3},  // overlong
        {{0xED, 0xA0, 0x80}, 3},  // surrogate
        {{0xFE}, 1},
        {{0xFF, 0x80}, 1},
        {{0xF0, 0x9F, 0x98, 0x80, 0x80}, 4},  // four-byte forms are not decoded
        {{0xF0, 0x41}, 1},
        {{0xF8, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 5},
        {{0xFC, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 6},
    };
    for (const Case& c : cases) {
        Utf8Sequence s = DecodeUtf8Sequence(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(s.valid) << int(c.bytes[0]);
        EXPECT_EQ(s.length, c.skip) << int(c.bytes[0]);
    }
}

TEST(Utf8Decode, NeverReadsPastTheEnd) {
    // Sequences cut short by the end of the input: the missing bytes count as
    // non-continuation bytes (under the sanitizers a read past the end fails).
    const unsigned char* cut[] = {new unsigned char[1]{0xC3}, new unsigned char[1]{0xE6}, new unsigned char[1]{0xFC}};
    for (const unsigned char* b : cut) {
        EXPECT_EQ(DecodeUtf8Sequence(b, 1).length, 1u);
        delete[] b;
    }
    unsigned char* two = new unsigned char[2]{0xE6, 0xB8};
    EXPECT_EQ(DecodeUtf8Sequence(two, 2).length, 2u);
    delete[] two;
}

TEST(Utf8Convert, InvalidBytesBecomeUnderscores) {
    EXPECT_EQ(Utf8ToUtf16(Bytes({0xE0, 0x80, 0x80})), u"_");
    EXPECT_EQ(Utf8ToUtf16(Bytes({'a', 0xC3, 0xA9, 0x80, 'b', 0xE6})), u"a\u00e9_b_");
    EXPECT_EQ(Utf8ToUtf16(""), u"");
}

TEST(Utf8Convert, RoundTripsEveryNonSurrogateUnit) {
    std::u16string all;
    for (unsigned u = 1; u < 0x10000; ++u)
        if (u < 0xD800 || u > 0xDFFF) all += static_cast<char16_t>(u);
    const std::string utf8 = Utf16ToUtf8(all);
    EXPECT_EQ(Utf8ToUtf16(utf8), all);
    EXPECT_EQ(Utf16ToUtf8(u"\u6e38\u620f"), "\xE6\xB8\xB8\xE6\x88\x8F");
    EXPECT_EQ(Utf16ToUtf8(u"\u07ff\u0800"), "\xDF\xBF\xE0\xA0\x80");
}

TEST(Utf8Convert, SurrogatesAreEncodedOneByOne) {
    const std::u16string pair = u"\U0001F600";  // D83D DE00
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(Utf16ToUtf8(pair), "\xED\xA0\xBD\xED\xB8\x80");
    // and the decoder refuses those forms again, one "_" each
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(pair)), u"__");
}

TEST(SanitizePath, CleansReservedCharactersAndSteps) {
    EXPECT_EQ(SanitizePath("C:\\a\\..\\b:c/d"), "C:\\a\\___b_c_d");
    EXPECT_EQ(SanitizePath("\\\\srv\\\\x"), "\\\\srv\\x");
    EXPECT_EQ(SanitizePath("C:\\logs\\Socket.log"), "C:\\logs\\Socket.log");
    EXPECT_EQ(SanitizePath("C:\\a\\.\\.\\b.log"), "C:\\a\\b.log");
    EXPECT_EQ(SanitizePath("C:\\a<b>\"c|d?e*f"), "C:\\a_b__c_d_e_f");
    EXPECT_EQ(SanitizePath(std::string("C:\\a\x01\tb\x1f", 8)), "C:\\a__b_");
    EXPECT_EQ(SanitizePath("C::\\x:y"), "C:_\\x_y");
    EXPECT_EQ(SanitizePath("C:\\a\\\\\\\\b"), "C:\\a\\b");
    EXPECT_EQ(SanitizePath("\\\\\\x"), "\\\\x");
    EXPECT_EQ(SanitizePath(""), "");
}

TEST(SanitizePath, KeepsGbkAndUtf8BytesAndDots) {
    const std::string folder = "C:\\\xE6\xB8\xB8\xE6\x88\x8F\\";  // UTF-8 folder name
    EXPECT_EQ(SanitizePath(folder + "a.b..log"), folder + "a.b..log");
    EXPECT_EQ(SanitizePath("C:\\x\\..\\..\\y"), "C:\\x\\___..\\y");
}

}  // namespace

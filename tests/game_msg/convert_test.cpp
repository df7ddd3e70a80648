#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "game/core/TextConvert.h"
#include "lobby/net/base/Base64.h"

namespace {

TEST(TextConvert, NumbersAsAStreamReadsThem) {
    EXPECT_EQ(StringToInt(" -12abc"), -12);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("-99999999999"), INT_MIN);
    EXPECT_EQ(StringToLong("3232235777"), 2147483647L);  // 32 bits, whatever the width of long
    EXPECT_DOUBLE_EQ(StringToDouble("1.5e3kg"), 1500.0);
    EXPECT_DOUBLE_EQ(StringToDouble("x1"), 0.0);
}

// Exactly the text's bytes, so that the sanitizers see a read past them.
std::string Decode(const std::string& text, unsigned* counter) {
    std::unique_ptr<char[]> exact(new char[text.size()]);
    std::memcpy(exact.get(), text.data(), text.size());
    std::string out = "old";
    Base64Decode(exact.get(), static_cast<int>(text.size()), counter, out);
    return out;
}

TEST(TextConvert, Base64GroupsPaddingLineEndsAndTheCounter) {
    unsigned n = 0;
    EXPECT_EQ(Decode("QUJD", &n) + Decode("QUI=", &n) + Decode("QQ==", &n), "ABCABA");
    EXPECT_EQ(n, 6u);
    EXPECT_EQ(Decode("QUJD\r\nREVG", &n), "ABCDEF");
    EXPECT_EQ(Decode("Z-==", &n), "d");
    EXPECT_EQ(Decode("", &n), "");
    EXPECT_EQ(n, 13u);
    // A short last group ends with the text; bytes outside the alphabet count as 0.
    EXPECT_EQ(Decode("QUJDQ", nullptr), "ABC");  // a lone character holds no whole byte
    EXPECT_EQ(Decode("QU", nullptr), "A");
    EXPECT_EQ(Decode("\xff\x80\xfe", nullptr), std::string(2, '\0'));
}

}  // namespace

// MD5 against RFC 1321's own vectors and against md5sum, the login digest
// chain, and the Base64 decoder.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "lobby/net/base/Base64.h"
#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/net/protocol/Md5.h"
#include "md5_vectors.h"

TEST(Md5, Rfc1321TestSuite) {
    const char* const cases[][2] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    CMD5 md5;
    for (const auto& c : cases)
        EXPECT_EQ(md5.GetDigestString(c[0], static_cast<unsigned>(std::strlen(c[0]))), c[1]) << '"' << c[0] << '"';
}

TEST(Md5, EveryLengthUpTo200MatchesMd5sum) {
    // Covers the padding-only second block (56..63 bytes) and whole multiples of 64.
    std::vector<unsigned char> pattern(200);
    for (int i = 0; i < 200; ++i) pattern[i] = static_cast<unsigned char>((i * 37 + 11) % 256);
    for (int n = 1; n <= 200; ++n) {
        std::vector<unsigned char> input(pattern.begin(), pattern.begin() + n);  // exactly n bytes for ASan
        uint8_t raw[16];
        CMD5::Digest(input.data(), input.size(), raw);
        char hex[33];
        for (int i = 0; i < 16; ++i) snprintf(hex + 2 * i, 3, "%02x", raw[i]);
        EXPECT_STREQ(hex, kPatternDigests[n]) << "length " << n;
        if (std::memchr(input.data(), 0, input.size()) == nullptr) {
            EXPECT_EQ(CMD5().GetDigestString(input.data(), n), kPatternDigests[n]) << "length " << n;
        }
    }
    uint8_t none[16];
    CMD5::Digest("", 0, none);
    EXPECT_EQ(none[0], 0xd4);
}

TEST(Md5, LengthZeroReadsUpToTheFirstNul) {
    CMD5 md5;
    EXPECT_EQ(md5.GetDigestString("", 0), kPatternDigests[0]);
    EXPECT_EQ(md5.GetDigestString("abc\0def", 0), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(LoginDigest, StoredDigestAndTicketMatchMd5sum) {
    const std::string stored = MakeStoredDigest(kChainPassword, false);
    EXPECT_EQ(stored, kChainStored);
    EXPECT_EQ(MakeLoginTicket(stored, kChainKey), kChainTicket) << "a 32-character key: 64 bytes of input";
    // A command-line login brings the digest itself, whatever it looks like.
    EXPECT_EQ(MakeStoredDigest("not-a-digest", true), "not-a-digest");
    EXPECT_EQ(MakeLoginTicket("not-a-digest", "k").size(), 32u);
}

TEST(LoginDigest, UserNameIsTrimmedAndLowerCased) {
    EXPECT_EQ(NormalizeLoginName("  Player01  "), "  player01");
    EXPECT_EQ(NormalizeLoginName("ABC"), "abc");
}

namespace {

std::string Decode(const std::string& text, unsigned* counter = nullptr) {
    // Exactly the text's bytes on the heap, so a read past them is caught by ASan.
    std::vector<char> bytes(text.begin(), text.end());
    std::string out = "old content";
    Base64Decode(bytes.data(), static_cast<int>(bytes.size()), counter, out);
    return out;
}

}  // namespace

TEST(Base64, GroupsPaddingAndLineEnds) {
    unsigned counter = 0;
    EXPECT_EQ(Decode("QUJD", &counter), "ABC");
    EXPECT_EQ(counter, 3u);
    EXPECT_EQ(Decode("QUI=", &counter), "AB");
    EXPECT_EQ(Decode("QQ==", &counter), "A");
    EXPECT_EQ(counter, 6u) << "the counter adds up over calls";
    EXPECT_EQ(Decode("QUJD\r\nREVG"), "ABCDEF");
    EXPECT_EQ(Decode("5Lit5paH"), "\xe4\xb8\xad\xe6\x96\x87") << "high bytes come out whole";
    EXPECT_EQ(Decode(""), "");
}

TEST(Base64, CharactersOutsideTheAlphabetCountAsZero) {
    EXPECT_EQ(Decode("Z-=="), Decode("ZA=="));
    EXPECT_EQ(Decode("Z-=="), "d");
    EXPECT_EQ(Decode("Z\xc8=="), "d") << "codes above 122";
    EXPECT_EQ(Decode("Z~=="), "d");
}

TEST(Base64, NeverReadsPastTheText) {
    EXPECT_EQ(Decode("QUJDQ"), "ABC") << "a lone last character holds no byte";
    EXPECT_EQ(Decode("QUJDQUI"), "ABCAB") << "a short last group decodes as if padded";
    EXPECT_EQ(Decode("QQ==QUJD"), "AABC") << "text after a padded group starts a new group";
    std::string out;
    Base64Decode(nullptr, 4, nullptr, out);
    EXPECT_EQ(out, "");
}

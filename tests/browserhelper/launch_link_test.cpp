#include "browserhelper/LaunchLink.h"

#include <gtest/gtest.h>

namespace {

const std::string kKey = "javascript:tarnelgame_run_client";

TEST(LaunchLink, KeywordFoundCaseSensitiveFirstOccurrence) {
    std::string tail;
    EXPECT_EQ(ReadLaunchLink("http://example.test/page.htm", tail), LaunchVerdict::NotALaunch);
    EXPECT_EQ(ReadLaunchLink("JavaScript:tarnelgame_run_client('u,p')", tail), LaunchVerdict::NotALaunch);
    EXPECT_EQ(ReadLaunchLink("javascript:tarnelgame_run_clien", tail), LaunchVerdict::NotALaunch);

    ASSERT_EQ(ReadLaunchLink("http://x/?a=" + kKey + "('u,p') " + kKey + "('v')", tail), LaunchVerdict::Launch);
    EXPECT_EQ(tail, kKey + "('u,p') " + kKey + "('v')");
    ASSERT_EQ(ReadLaunchLink(kKey, tail), LaunchVerdict::Launch);
    EXPECT_EQ(tail, kKey);
    ASSERT_EQ(ReadLaunchLink(kKey + "('\xD5\xC5\xC8\xFD,p')", tail), LaunchVerdict::Launch);  // GBK name
}

TEST(LaunchLink, LongTailsAndControlBytesAreRefused) {
    std::string tail;
    const std::string fits = kKey + std::string(kMaxLaunchTail - kKey.size(), 'a');
    EXPECT_EQ(ReadLaunchLink("http://x/" + fits, tail), LaunchVerdict::Launch);
    EXPECT_EQ(ReadLaunchLink("http://x/" + fits + "a", tail), LaunchVerdict::Refused);
    EXPECT_EQ(ReadLaunchLink(kKey + std::string(100 * 1024, 'a'), tail), LaunchVerdict::Refused);
    for (char c : {'\n', '\r', '\t', '\0', '\x1F', '\x7F'}) {
        std::string url = kKey + "('u,p')";
        url.insert(url.size() - 2, 1, c);
        EXPECT_EQ(ReadLaunchLink(url, tail), LaunchVerdict::Refused) << int(c);
    }
    // Control bytes before the keyword are not handed on.
    EXPECT_EQ(ReadLaunchLink("a\nb" + kKey, tail), LaunchVerdict::Launch);
}

TEST(LaunchLink, WorkingFolderIsCutAfterTheLastBackslash) {
    EXPECT_EQ(WorkingFolderOf("C:\\Games\\Mirabo\\MiraboGame.exe"), "C:\\Games\\Mirabo\\");
    EXPECT_EQ(WorkingFolderOf("C:\\MiraboGame.exe"), "C:\\");
    EXPECT_EQ(WorkingFolderOf("MiraboGame.exe"), "");
    EXPECT_EQ(WorkingFolderOf(""), "");
    // 0x5C as the second byte of a GBK character is no backslash.
    EXPECT_EQ(WorkingFolderOf("C:\\\xB0\x5C\\x\x81\x5C.exe"), "C:\\\xB0\x5C\\");
}

}  // namespace

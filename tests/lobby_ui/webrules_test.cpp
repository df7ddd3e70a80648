#include <gtest/gtest.h>

#include "lobby/ui/WebRules.h"

namespace {
const std::string kPrefix = kWebEventPrefix;
}

TEST(WebRules, PageCommands) {
    PageCommand enter = ParsePageCommand(kPrefix + "('0',1234)");
    EXPECT_EQ(enter.code, 9);
    EXPECT_EQ(enter.value, 1234);
    EXPECT_EQ(ParsePageCommand(kPrefix + "('1')").code, 11);
    EXPECT_EQ(ParsePageCommand(kPrefix + "('0','1234')").code, 0) << "field 2 ends at its opening quote";
    EXPECT_EQ(ParsePageCommand(kPrefix + "(0,1234)").code, 0);
    EXPECT_EQ(ParsePageCommand("").code, 0);
    EXPECT_EQ(ParsePageCommand(kPrefix + "('7',1)").code, 0);
    EXPECT_EQ(ParsePageCommand(kPrefix + "('0')").code, 0);
}

TEST(WebRules, AddressesAndTheDecisionBeforeNavigating) {
    EXPECT_EQ(PageOfAddress("http://a/b.asp?x=1#top"), "http://a/b.asp");
    EXPECT_EQ(PageOfAddress("http://a/b#p?q"), "http://a/b");
    const std::string page = "http://h/p.asp?u=1";
    EXPECT_EQ(DecideBeforeNavigate("http://h/p.asp#two", page), NavigateDecision::kSamePage);
    EXPECT_EQ(DecideBeforeNavigate("http://h/p.asp?u=2", page), NavigateDecision::kSamePage);
    EXPECT_EQ(DecideBeforeNavigate("http://h/q.asp", page), NavigateDecision::kOtherPage);
    EXPECT_EQ(DecideBeforeNavigate("javascript:loadfinish()", page), NavigateDecision::kLoadFinished);
    EXPECT_EQ(DecideBeforeNavigate("http://h/" + kPrefix + "('1')", page), NavigateDecision::kEvent);
    EXPECT_EQ(DecideBeforeNavigate("javascript:instro", page), NavigateDecision::kIntro);
    EXPECT_EQ(EventTextOf("http://h/x/" + kPrefix + "('1')"), kPrefix + "('1')");
}

TEST(WebRules, PercentSpeedAndTimeLeft) {
    EXPECT_EQ(DownloadPercent(0, 500), 0) << "unknown total";
    EXPECT_EQ(DownloadPercent(1000, 499), 49);
    EXPECT_EQ(DownloadPercent(1000, 1000), 100);
    EXPECT_EQ(DownloadPercent(1000, 1500), 100);

    // A steady 10240 bytes a second toward 100000 bytes.
    DownloadRate r;
    r.Start(5000);
    r.Sample(5999, 100000, 10000);
    EXPECT_EQ(r.rate, 0u) << "under a second: no sample";
    r.Sample(6000, 100000, 10240);
    EXPECT_EQ(r.rate, 10240u);
    EXPECT_EQ(r.secondsLeft, 0u) << "no rate before the first sample";
    r.Sample(7000, 100000, 20480);
    EXPECT_DOUBLE_EQ(r.KilobytesPerSecond(), 10.0);
    EXPECT_EQ(r.secondsLeft, 7u) << "79520 left at the previous rate";
    r.Sample(8100, 100000, 120000);
    EXPECT_EQ(r.secondsLeft, 0u) << "past the total: no wrap";
}

TEST(WebRules, UpdaterServer) {
    std::string host;
    int port = 0;
    ASSERT_TRUE(ReadUpdaterServer("<c><server ip=\"127.0.0.1\" port=\"4321\"/></c>", host, port));
    EXPECT_EQ(host, "127.0.0.1");
    EXPECT_EQ(port, 4321);
    EXPECT_FALSE(ReadUpdaterServer("<c a=\"1\" b=\"2\"/>", host, port));
    EXPECT_FALSE(ReadUpdaterServer("<c><s ip=\"h\"/></c>", host, port));
    EXPECT_FALSE(ReadUpdaterServer("<<<", host, port));
    EXPECT_FALSE(ReadUpdaterServer("", host, port));
}

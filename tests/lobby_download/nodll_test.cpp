// The application download where UNZDLL.DLL cannot be found: this program and
// its working folder lie apart from the libraries.
#include <gtest/gtest.h>

#include "lobby/net/download/InfoZip.h"
#include "lobby/net/download/MyHttpDownloader.h"
#include "tests/lobby_download/DownloadFixture.h"

using namespace downloadtest;

TEST(AppDownloadWithoutUnzip, KeepsThePackageAndReportsAFailure) {
    CInfoZip zip;
    ASSERT_EQ(zip.LoadUnzipDll(), 0) << "UNZDLL.DLL must not be reachable from here";
    EXPECT_EQ(zip.GetError(), CInfoZip::kLoadFailed);

    testsupport::LoopbackServer http(ServeArchives());
    testsupport::LoopbackServer app(Answer({AppInfo("package.zip", HttpUrl(http.Port(), "/package.zip"))}));
    const std::string folder = FreshFolder("nodll");
    const Events events = Download(app.Port(), folder, 1);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), std::make_pair(static_cast<int>(kDownloadFailed), 1));
    for (const auto& e : events) EXPECT_NE(e.first, kDownloadDone);
    EXPECT_EQ(ReadBytes(folder + "\\package.zip"), ReadBytes(DataPath("package.zip")));
    EXPECT_FALSE(Exists(folder + "\\readme.txt"));
}

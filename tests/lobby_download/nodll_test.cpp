// The application download where UNZDLL.DLL cannot be found: this program and
// its working folder lie apart from the libraries.
#include <gtest/gtest.h>

#include "lobby/net/download/InfoZip.h"
#include "tests/lobby_download/DownloadFixture.h"

using namespace downloadtest;

TEST(AppDownloadWithoutUnzip, KeepsThePackageAndReportsAFailure) {
    CInfoZip zip;
    ASSERT_EQ(zip.LoadUnzipDll(), 0) << "UNZDLL.DLL must not be reachable from here";
    EXPECT_EQ(zip.GetError(), CInfoZip::kLoadFailed);

    ExpectThePackageKeptPacked("nodll");
}

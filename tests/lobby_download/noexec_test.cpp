// The application download where UNZDLL.DLL (a stand-in beside this program)
// lacks its UnzDllExec entry point: the library counts as missing.
#include <gtest/gtest.h>

#include "lobby/net/download/InfoZip.h"
#include "tests/lobby_download/DownloadFixture.h"

using namespace downloadtest;

TEST(AppDownloadWithoutUnzipEntry, NeverCallsTheLibraryAndKeepsThePackage) {
    CInfoZip zip;
    ASSERT_EQ(zip.LoadUnzipDll(), 0);
    EXPECT_EQ(zip.GetError(), CInfoZip::kEntryMissing) << "the library loads, its entry point does not";
    EXPECT_EQ(zip.GetUnzipVersion(), 0) << "not held: its version is not asked";
    EXPECT_EQ(zip.GetError(), CInfoZip::kUnzipNotLoaded);
    ExpectThePackageKeptPacked("noexec");
}

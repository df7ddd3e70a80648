// The application download end to end: fake application server, HTTP server,
// archives made by the zip tool, our UNZDLL.DLL; and our ZIPDLL.DLL.
#include <gtest/gtest.h>

#include "lobby/net/download/InfoZip.h"
#include "lobby/net/download/MyHttpDownloader.h"
#include "tests/lobby_download/DownloadFixture.h"

using namespace downloadtest;
using testsupport::Frame;
using testsupport::LoopbackServer;

namespace {

std::string Url(const LoopbackServer& http, const std::string& name) { return HttpUrl(http.Port(), "/" + name); }

int PackageSize() { return static_cast<int>(ReadBytes(DataPath("package.zip")).size()); }

void ExpectUnpacked(const std::string& folder) {
    for (const char* name : {"readme.txt", "fenlo\\config.ini", "fenlo\\image\\cards.bin"})
        EXPECT_EQ(ReadBytes(folder + "\\" + name), ReadBytes(DataPath(std::string("src\\") + name))) << name;
    EXPECT_EQ(ReadBytes(folder + "\\fenlo\\图片\\牌面.txt"), "牌面.txt");  // GBK names, as the archive stores them
    EXPECT_TRUE(Exists(folder + "\\fenlo\\empty"));
}

TEST(AppDownload, FetchesAndUnpacksAPackageWithFoldersAndGbkNames) {
    LoopbackServer http(ServeArchives());
    // The answer comes in three pieces, the first shorter than its header.
    const std::string answer = AppInfo("package.zip", Url(http, "package.zip"));
    LoopbackServer app(Answer({answer.substr(0, 3), answer.substr(3, 20), answer.substr(23)}));
    const std::string folder = FreshFolder("package") + "\\game";  // made by the download
    Events events = Download(app.Port(), folder, 1);

    EXPECT_EQ(app.Received(0), Frame(1, "<GetApplicationMessage name=\"fenlo\" version=\"0.0.0.0\"/>"));
    const int size = PackageSize();
    ASSERT_GE(events.size(), 5u);
    int last = 0, reads = 0;
    for (size_t i = 3; i + 1 < events.size(); ++i, ++reads) {
        EXPECT_EQ(events[i].first, kDownloadProgress);
        EXPECT_GT(events[i].second, last);
        last = events[i].second;
    }
    EXPECT_GE(reads, size / HttpDownloader::kChunkSize);
    EXPECT_EQ(last, size);
    events.erase(events.begin() + 3, events.end() - 1);
    EXPECT_EQ(events, (Events{{5, 0}, {6, 1}, {1, size}, {3, size}}));
    ExpectUnpacked(folder);
    EXPECT_FALSE(Exists(folder + "\\package.zip")) << "an unpacked package is deleted";
}

TEST(AppDownload, UnpacksOnlyWhenAskedAndOnlyAZipExtension) {
    LoopbackServer http(ServeArchives());
    const struct {
        std::string target;
        int unpack;
        bool unpacked;
    } cases[] = {{"package.zip", 0, false}, {"PACKAGE.ZIP", 1, true}, {"package.zip.bak", 1, false}};
    for (const auto& c : cases) {
        LoopbackServer app(Answer({AppInfo(c.target, Url(http, "package.zip"))}));
        const std::string folder = FreshFolder("flag");
        EXPECT_EQ(Download(app.Port(), folder, c.unpack).back(), std::make_pair(3, PackageSize())) << c.target;
        EXPECT_EQ(Exists(folder + "\\readme.txt"), c.unpacked) << c.target;
        EXPECT_EQ(Exists(folder + "\\" + c.target), !c.unpacked) << c.target;
    }
}

TEST(AppDownload, ConnectFailureAndAnswersThatNameNoDownload) {
    LoopbackServer http(ServeArchives());
    testsupport::RefusingPort refusing;
    EXPECT_EQ(Download(refusing.Port(), FreshFolder("refused"), 1), (Events{{5, 0}, {6, 0}}));

    LoopbackServer empty(Answer({AppInfo("package.zip", "")}));
    EXPECT_EQ(Download(empty.Port(), FreshFolder("empty"), 1, 1500), (Events{{5, 0}, {6, 1}}));
    EXPECT_EQ(http.Accepted(), 0);

    // Blocks that are no answer are passed over and the connection is read on.
    LoopbackServer noisy(
        Answer({Frame(1, "<Other a=\"1\"/>"), Frame(1, "no xml"), Frame(1, "<AppInfo a=\"1\" b=\"2\"/>"),
                "\xff\xff\xff\x7f\x01 more than any answer", AppInfo("package.zip", Url(http, "package.zip"))}));
    EXPECT_EQ(Download(noisy.Port(), FreshFolder("noisy"), 1).back(), std::make_pair(3, PackageSize()));
}

TEST(AppDownload, FailuresReachTheWindowAndNothingLandsOutsideTheFolder) {
    LoopbackServer http(ServeArchives());
    const std::string folder = FreshFolder("refuse");
    CreateDirectoryA((folder + "\\blocked.zip").c_str(), nullptr);  // the target cannot be created
    for (const char* target : {"..\\outside.zip", "C:\\outside.zip", "sub/../../outside.zip", "blocked.zip"}) {
        LoopbackServer app(Answer({AppInfo(target, Url(http, "package.zip"))}));
        EXPECT_EQ(Download(app.Port(), folder, 1).back(), std::make_pair(4, 1)) << target;
    }
    EXPECT_FALSE(Exists(folder + "\\..\\outside.zip"));
    EXPECT_FALSE(Exists("C:\\outside.zip"));

    LoopbackServer missing(Answer({AppInfo("package.zip", Url(http, "missing"))}));
    EXPECT_EQ(Download(missing.Port(), folder, 1), (Events{{5, 0}, {6, 1}, {4, 1}}));
}

TEST(AppDownload, CorruptOrClimbingPackagesAreShownReportedAndKept) {
    LoopbackServer http(ServeArchives());
    MessageBoxWatcher boxes;
    const std::string corrupt = FreshFolder("corrupt");
    LoopbackServer app1(Answer({AppInfo("corrupt.zip", Url(http, "corrupt.zip"))}));
    EXPECT_EQ(Download(app1.Port(), corrupt, 1).back(), std::make_pair(4, 1));
    EXPECT_TRUE(Exists(corrupt + "\\corrupt.zip"));
    EXPECT_FALSE(Exists(corrupt + "\\fenlo\\image\\cards.bin")) << "a file that failed is removed";

    const std::string evil = FreshFolder("evil") + "\\inside";
    LoopbackServer app2(Answer({AppInfo("evil.zip", Url(http, "evil.zip"))}));
    EXPECT_EQ(Download(app2.Port(), evil, 1).back(), std::make_pair(4, 1));
    EXPECT_TRUE(Exists(evil + "\\evil.zip"));
    EXPECT_TRUE(Exists(evil + "\\config.ini"));
    EXPECT_FALSE(Exists(evil + "\\..\\readme.txt"));

    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("Zip error 5:\n", 0), 0u) << texts[0];
    EXPECT_EQ(texts[1].rfind("Zip error 6:\n", 0), 0u) << texts[1];
    EXPECT_NE(texts[1].find("../readme.txt"), std::string::npos);
}

TEST(InfoZip, LoadsByNameAndKeepsTheCurrentFolder) {
    CInfoZip zip;
    EXPECT_EQ(zip.GetUnzipVersion(), 0);
    EXPECT_EQ(zip.GetError(), CInfoZip::kUnzipNotLoaded);
    ASSERT_EQ(zip.LoadDlls(), 1);
    EXPECT_EQ(zip.GetUnzipVersion(), kZipDllVersion);
    char before[MAX_PATH], after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_EQ(zip.Unzip(DataPath("package.zip").c_str(), "no such folder"), 0);
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);

    const std::string folder = FreshFolder("tree");
    CreateDirectoryA((folder + "\\a").c_str(), nullptr);
    CreateDirectoryTree((folder + "\\a\\b\\c").c_str());
    EXPECT_TRUE(Exists(folder + "\\a\\b\\c"));
    SetCurrentDirectoryA(folder.c_str());
    CreateDirectoryTree("rel\\tree");  // relative: its first step is no drive
    SetCurrentDirectoryA(before);
    EXPECT_TRUE(Exists(folder + "\\rel\\tree"));
}

// One Exec call of our DLLs in folder: the errors it counted.
int Exec(const char* dll, const char* entry, const std::string& folder, std::string archive,
         int version = kZipDllVersion) {
    std::string pattern = "*.*";
    ZipDllParams p = {};
    p.version = version;
    p.patternCount = 1;
    p.archive = &archive[0];
    p.patterns[0] = &pattern[0];
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(folder.c_str());
    HMODULE m = LoadLibraryA(dll);
    const int errors = reinterpret_cast<ZipDllExecProc>(reinterpret_cast<void*>(GetProcAddress(m, entry)))(&p);
    FreeLibrary(m);
    SetCurrentDirectoryA(saved);
    return errors;
}

TEST(ZipDlls, WhatZipPacksUnzipGivesBackAndABadBlockIsRefused) {
    const std::string from = FreshFolder("zipfrom");
    ASSERT_EQ(Exec("UNZDLL.DLL", "UnzDllExec", from, DataPath("package.zip")), 0);
    const std::string archive = FreshFolder("zipped") + "\\again.zip";
    EXPECT_EQ(Exec("ZIPDLL.DLL", "ZipDllExec", from, archive), 0);
    const std::string to = FreshFolder("zipto");
    EXPECT_EQ(Exec("UNZDLL.DLL", "UnzDllExec", to, archive), 0);
    ExpectUnpacked(to);
    EXPECT_EQ(Exec("UNZDLL.DLL", "UnzDllExec", to, archive, kZipDllVersion + 1), 1);
    EXPECT_EQ(Exec("UNZDLL.DLL", "UnzDllExec", to, "nothing.zip"), 1);
}

}  // namespace

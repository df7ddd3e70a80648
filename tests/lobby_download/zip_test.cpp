// The zip reader and writer, and safe entry paths (portable).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/zipdll/ZipArchive.h"
#include "platform/zipdll/ZipPath.h"

namespace {

// The entry's bytes; no more than announced may come out.
std::string Extract(const zip::Reader& r, const zip::Entry& e, zip::Status& status) {
    std::string out;
    status = r.Extract(e, [&](const unsigned char* p, size_t n) {
        out.append(reinterpret_cast<const char*>(p), n);
        EXPECT_LE(out.size(), e.size);
        return true;
    });
    return out;
}

struct Sample {
    std::vector<std::string> names{"a.txt", "noise.bin", "dir/", "dir/\xe7\xa9\xba.txt", "empty"};
    std::vector<std::string> bodies{"", "", "", "utf-8 name", ""};
    std::vector<unsigned char> archive;
    Sample() {
        while (bodies[0].size() < 10000) bodies[0] += "a line of text that deflates well\n";
        std::mt19937 rng(7);
        for (int i = 0; i < 3000; ++i) bodies[1] += static_cast<char>(rng());
        zip::Writer w;
        w.AddFile(names[0], bodies[0].data(), bodies[0].size());
        w.AddFile(names[1], bodies[1].data(), bodies[1].size());
        w.AddFolder("dir");
        w.AddFile(names[3], bodies[3].data(), bodies[3].size(), true);
        w.AddFile(names[4], "", 0);
        archive = w.Finish();
    }
};

TEST(ZipArchive, WhatTheWriterPacksTheReaderGivesBack) {
    const Sample sample;
    zip::Reader r;
    ASSERT_EQ(r.Open(sample.archive.data(), sample.archive.size()), zip::Status::kOk);
    ASSERT_EQ(r.Entries().size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const zip::Entry& e = r.Entries()[i];
        EXPECT_EQ(e.name, sample.names[i]);
        EXPECT_EQ(e.folder, i == 2);
        EXPECT_EQ(e.utf8, i == 3);
        zip::Status s;
        EXPECT_EQ(Extract(r, e, s), sample.bodies[i]) << e.name;
        EXPECT_EQ(s, zip::Status::kOk) << e.name;
    }
    EXPECT_EQ(r.Entries()[0].method, 8) << "text is deflated";
    EXPECT_EQ(r.Entries()[1].method, 0) << "noise is stored";

    std::vector<unsigned char> encrypted = sample.archive;
    const size_t end = encrypted.size() - 22;
    encrypted[(encrypted[end + 16] | encrypted[end + 17] << 8) + 8] |= 1;  // the first central header's flags
    ASSERT_EQ(r.Open(encrypted.data(), encrypted.size()), zip::Status::kOk);
    zip::Status s;
    Extract(r, r.Entries()[0], s);
    EXPECT_EQ(s, zip::Status::kUnsupported);
}

TEST(ZipArchive, DamageIsCaughtAndNothingIsReadPastTheEnd) {
    const Sample sample;
    const std::vector<unsigned char>& archive = sample.archive;
    // Every cut loses the end record. Each copy is sized exactly: reading past it
    // is an address-sanitizer fault.
    for (size_t n = 0; n < archive.size(); ++n) {
        const std::vector<unsigned char> cut(archive.begin(), archive.begin() + static_cast<long>(n));
        zip::Reader r;
        EXPECT_NE(r.Open(cut.data(), cut.size()), zip::Status::kOk) << n;
    }
    // Every flipped byte: an entry that still extracts gives its true bytes.
    for (size_t i = 0; i < archive.size(); ++i) {
        std::vector<unsigned char> bad = archive;
        bad[i] ^= 0x5A;
        zip::Reader r;
        if (r.Open(bad.data(), bad.size()) != zip::Status::kOk) continue;
        for (size_t k = 0; k < r.Entries().size() && k < sample.names.size(); ++k) {
            zip::Status s;
            const std::string bytes = Extract(r, r.Entries()[k], s);
            if (s == zip::Status::kOk) {
                EXPECT_EQ(bytes, sample.bodies[k]) << "byte " << i << " entry " << k;
            }
        }
    }
}

TEST(ZipPath, NamesStayInsideTheFolder) {
    const std::pair<std::wstring, std::wstring> kept[] = {
        {L"fenlo/image/c.png", L"fenlo\\image\\c.png"},
        {L"./a//b\\c/", L"a\\b\\c"},
        {L"\u56fe\u7247/\u724c.txt", L"\u56fe\u7247\\\u724c.txt"},
        {L"a..b/.config", L"a..b\\.config"},
        {L"console.txt", L"console.txt"},
    };
    for (const auto& k : kept) {
        std::wstring out;
        EXPECT_TRUE(zip::SafeRelativePath(k.first, out));
        EXPECT_EQ(out, k.second);
    }
    for (const wchar_t* name :
         {L"", L"/etc/passwd", L"\\x", L"C:\\x", L"C:x", L"../x", L"a/../../x", L"a/..", L"...", L"a/b. ", L"x:stream",
          L"NUL", L"con.txt", L"com1", L"a\tb", L"a|b", L"./", L"\\\\server\\share"}) {
        std::wstring out = L"untouched";
        EXPECT_FALSE(zip::SafeRelativePath(name, out)) << std::wstring(name).size();
        EXPECT_EQ(out, L"untouched");
    }
    EXPECT_TRUE(zip::MatchesPattern(L"noext", L"*.*"));
    EXPECT_TRUE(zip::MatchesPattern(L"fenlo/config.INI", L"*.ini"));
    EXPECT_TRUE(zip::MatchesPattern(L"abcabd", L"*ab?"));
    EXPECT_FALSE(zip::MatchesPattern(L"config.ini.bak", L"*.ini"));
}

}  // namespace

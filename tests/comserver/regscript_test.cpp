#include "platform/comserver/RegScript.h"

#include <gtest/gtest.h>

namespace {

const char kScript[] = R"(HKCR
{
    NoRemove CLSID
    {
        ForceRemove {0000-1} = s 'A ''quoted'' class'
        {
            InprocServer32 = s '%Module%'
            {
                val ThreadingModel = s 'Apartment'
            }
            'Programmable'
        }
    }
}
HKEY_LOCAL_MACHINE
{
    NoRemove 'Browser Helper Objects'
    {
        ForceRemove '%APPID%'
        {
            val NoExplorer = d '1'
            val Mask = d 0xFFFFFFFF
            val Share = s '100%%'
        }
    }
}
)";

RegScript Read(const std::string& text, std::string* error = nullptr) {
    RegScript script;
    std::string why;
    const bool ok = ReadRegScript(text, {{"MODULE", "C:\\it's\\x.dll"}, {"APPID", "{app}"}}, script, why);
    if (error) *error = ok ? "" : why;
    else EXPECT_TRUE(ok) << why;
    return script;
}

TEST(RegScript, ReadsKeysValuesRemovalMarksAndReplacements) {
    const RegScript script = Read(kScript);
    ASSERT_EQ(script.roots.size(), 2u);
    EXPECT_EQ(script.roots[0].hive, RegHive::ClassesRoot);
    EXPECT_EQ(script.roots[1].hive, RegHive::LocalMachine);

    const RegScriptKey& clsid = script.roots[0].keys.at(0);
    EXPECT_EQ(clsid.name, "CLSID");
    EXPECT_EQ(clsid.removal, RegScriptKey::NoRemove);
    EXPECT_FALSE(clsid.hasDefault);
    const RegScriptKey& cls = clsid.subkeys.at(0);
    EXPECT_EQ(cls.name, "{0000-1}");
    EXPECT_EQ(cls.removal, RegScriptKey::ForceRemove);
    EXPECT_TRUE(cls.hasDefault);
    EXPECT_EQ(cls.defaultValue.text, "A 'quoted' class");
    ASSERT_EQ(cls.subkeys.size(), 2u);
    const RegScriptKey& server = cls.subkeys[0];
    EXPECT_EQ(server.removal, RegScriptKey::Normal);
    EXPECT_EQ(server.defaultValue.text, "C:\\it's\\x.dll");  // a quote in a replacement stays text
    ASSERT_EQ(server.values.size(), 1u);
    EXPECT_EQ(server.values[0].name, "ThreadingModel");
    EXPECT_EQ(server.values[0].text, "Apartment");
    EXPECT_EQ(cls.subkeys[1].name, "Programmable");
    EXPECT_FALSE(cls.subkeys[1].hasDefault);

    const RegScriptKey& helper = script.roots[1].keys.at(0).subkeys.at(0);
    EXPECT_EQ(helper.name, "{app}");
    ASSERT_EQ(helper.values.size(), 3u);
    EXPECT_EQ(helper.values[0].type, RegScriptValue::Dword);
    EXPECT_EQ(helper.values[0].number, 1u);
    EXPECT_EQ(helper.values[1].number, 0xFFFFFFFFu);
    EXPECT_EQ(helper.values[2].text, "100%");
}

TEST(RegScript, RefusesBrokenScriptsSayingWhere) {
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"HKCR { A = s '%NOPE%' }", "no replacement"},
        {"HKCR { A = s '%MODULE' }", "unterminated %"},
        {"HKCR { A = s 'open }", "unterminated string"},
        {"HKCR { A = x 'v' }", "unknown value type"},
        {"HKCR { A = d '4294967296' }", "not a DWORD"},
        {"HKCR { A = d '12ab' }", "not a DWORD"},
        {"HKCR { A { val = s 'v' } }", "a name expected"},
        {"HKCR { A { B }", "a name expected"},
        {"HKXX { A }", "a root key"},
        {"HKCR A", "'{' expected"},
        {"HKCR { 'a\\b' }", "not a key or value name"},
        {"HKCR { '' }", "not a key or value name"},
        {"}", "a root key"},
    };
    for (const auto& c : cases) {
        std::string error;
        Read(c.text, &error);
        EXPECT_NE(error.find(c.why), std::string::npos) << c.text << " -> " << error;
    }
    std::string error;
    Read("HKCR\n{\n    A = s 'v'\n    B = q 'v'\n}", &error);
    EXPECT_EQ(error.rfind("line 4:", 0), 0u) << error;
}

TEST(RegScript, EmptyScriptAndHiveSpellings) {
    EXPECT_TRUE(Read("").roots.empty());
    const RegScript script = Read("hkcu { } HKEY_USERS { } HKU { } HKEY_CLASSES_ROOT { } hklm { }");
    ASSERT_EQ(script.roots.size(), 5u);
    EXPECT_EQ(script.roots[0].hive, RegHive::CurrentUser);
    EXPECT_EQ(script.roots[1].hive, RegHive::Users);
    EXPECT_EQ(script.roots[2].hive, RegHive::Users);
    EXPECT_EQ(script.roots[3].hive, RegHive::ClassesRoot);
    EXPECT_EQ(script.roots[4].hive, RegHive::LocalMachine);
}

}  // namespace

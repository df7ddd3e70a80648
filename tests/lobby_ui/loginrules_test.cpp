#include <gtest/gtest.h>

#include "lobby/ui/LoginRules.h"

TEST(LoginRules, CommandLineScanner) {
    EXPECT_EQ(ScanLobbyCommandLine("reg").kind, LobbyCommandLine::kRegister);
    EXPECT_EQ(ScanLobbyCommandLine("REG").kind, LobbyCommandLine::kNormal);
    EXPECT_EQ(ScanLobbyCommandLine(" reg").kind, LobbyCommandLine::kNormal);
    EXPECT_EQ(ScanLobbyCommandLine("").kind, LobbyCommandLine::kNormal);

    LobbyCommandLine auto1 = ScanLobbyCommandLine("x ('bob,0123456789ABCDEF0123456789abcdef')");
    EXPECT_EQ(auto1.kind, LobbyCommandLine::kAutoLogin);
    EXPECT_EQ(auto1.user, "bob");
    EXPECT_EQ(auto1.password, "0123456789ABCDEF0123456789abcdef");

    // Each field quoted apart: the quote after the comma ends the scan.
    LobbyCommandLine apart = ScanLobbyCommandLine("('bob','pw')");
    EXPECT_EQ(apart.kind, LobbyCommandLine::kNormal);
    EXPECT_EQ(apart.user, "bob");
    EXPECT_EQ(apart.password, "");
    EXPECT_EQ(ScanLobbyCommandLine("('bob,')").kind, LobbyCommandLine::kNormal);
}

TEST(LoginRules, UserNameText) {
    EXPECT_TRUE(IsLoginNameText("  Bob \x80'&/="));
    for (const char* bad : {"a\x81", "\xd5\xc5", "a\"b", "<b", "b>"}) EXPECT_FALSE(IsLoginNameText(bad)) << bad;
    EXPECT_EQ(CutTrailingBlanks("  Bob  "), "  Bob");
    EXPECT_EQ(CutTrailingBlanks("Bob\t"), "Bob\t");
    EXPECT_EQ(CutTrailingBlanks("   "), "");
}

TEST(LoginRules, RadioTable) {
    struct Row { int id; const char* svr; int line; bool flag; } rows[] = {
        {1033, "0", 0, false}, {1034, "1", 3, true}, {1035, "2", 1, true}, {1036, "3", 2, true}};
    for (const Row& row : rows) {
        ServerLineChoice c = ServerLineForRadio(row.id);
        EXPECT_TRUE(c.known);
        EXPECT_STREQ(c.svrSelect, row.svr);
        EXPECT_EQ(c.serverLine, row.line);
        EXPECT_EQ(c.setsTime4Flag, row.flag);
    }
    EXPECT_FALSE(ServerLineForRadio(0).known);
    EXPECT_EQ(RadioForServerSelect(2), 1035);
    EXPECT_EQ(RadioForServerSelect(4), 0);
    EXPECT_EQ(RadioForServerSelect(-1), 0);
}

TEST(LoginRules, NoticeAndVersion) {
    LoginNotice n;
    ASSERT_TRUE(ReadLoginNotice("<n t=\"2\" b=\"1\"><s x=\"hello\"/><w u=\"http://a/\" w=\"300\" h=\"200\"/></n>", n));
    EXPECT_EQ(n.type, 2);
    EXPECT_EQ(n.bannerText, "hello");
    EXPECT_EQ(n.url, "http://a/");
    EXPECT_EQ(n.width, 300);
    EXPECT_EQ(n.height, 200);
    EXPECT_TRUE(n.opensBrowser());
    EXPECT_FALSE(n.postsBanner());
    EXPECT_TRUE(n.keepsDialog());
    n.type = 1;
    EXPECT_FALSE(n.keepsDialog());
    n.blocking = 0;
    EXPECT_TRUE(n.keepsDialog());

    LoginNotice bad;
    EXPECT_FALSE(ReadLoginNotice("<n t=\"1\" b=\"1\">", bad));
    EXPECT_FALSE(ReadLoginNotice("<n t=\"1\"/>", bad));

    EXPECT_EQ(VersionFromXml("<v a=\"x\" ver=\"1.2.3\"/>"), "1.2.3");
    EXPECT_EQ(VersionFromXml("<v ver=\"1\"/>"), "");
    EXPECT_EQ(VersionFromXml("garbage<"), "");
}

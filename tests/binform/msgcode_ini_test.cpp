#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "lobby/net/binary/MsgCodeIni.h"

namespace {

// A fresh folder under the temporary folder, removed with what it holds.
class IniFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "msgini" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "\\fenlo").c_str(), nullptr);
    }
    void TearDown() override {
        for (const char* f : {"\\Msg.ini", "\\fenlo\\FENLOMsg.ini"}) DeleteFileA((folder_ + f).c_str());
        RemoveDirectoryA((folder_ + "\\fenlo").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    void Write(const char* file, const std::string& text) { std::ofstream(folder_ + file, std::ios::binary) << text; }

    std::string folder_;
};

}  // namespace

TEST_F(IniFolder, LobbyTableInFileOrder) {
    Write("\\Msg.ini",
          "[TotalMessageNum]\r\ncount=4\r\n"
          "[message1]\r\nid=12\r\nname=Login\r\ncontent =登录\r\n"
          "[message2]\r\nid=300\r\nname=Chat\r\n"
          "[message3]\r\nid=12\r\nname=Login\r\ncontent =again\r\n"
          "[message4]\r\nname=NoId\r\n");
    MsgCodeTable table = {{1, "Kept"}};
    EXPECT_EQ(LoadLobbyMsgTable(folder_, table), 4);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0].name, "Kept");
    EXPECT_EQ(table[1].code, 12);
    EXPECT_EQ(table[1].name, "Login");
    EXPECT_EQ(table[1].content, "登录");
    EXPECT_EQ(table[2].code, 300);  // kept as it is; only codes 0..255 can match
    EXPECT_EQ(table[2].content, "");
    EXPECT_EQ(table[3].content, "again");  // duplicates kept in order
    EXPECT_EQ(table[4].code, 0);           // a missing id reads as 0
    EXPECT_EQ(table[4].name, "NoId");
}

TEST_F(IniFolder, GameTableBelowTheBaseFolder) {
    Write("\\fenlo\\FENLOMsg.ini",
          "[TotalMessageNum]\r\ncount=2\r\n[message1]\r\nid=7\r\nname=JiaoFen\r\n[message2]\r\nid=8\r\nname=" +
              std::string(600, 'n') + "\r\n");
    MsgCodeTable table;
    EXPECT_EQ(LoadGameMsgTable(folder_ + "\\", table), 2);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0].code, 7);
    EXPECT_EQ(table[0].name, "JiaoFen");
    EXPECT_EQ(table[1].name, std::string(511, 'n'));  // values are read through 512 bytes
}

TEST_F(IniFolder, MissingOrEmptyFilesAddNothing) {
    MsgCodeTable table;
    EXPECT_EQ(LoadLobbyMsgTable(folder_, table), 0);
    EXPECT_EQ(LoadGameMsgTable(folder_ + "\\nowhere", table), 0);
    Write("\\Msg.ini", "[TotalMessageNum]\r\ncount=-3\r\n[message1]\r\nid=1\r\nname=X\r\n");
    EXPECT_EQ(LoadLobbyMsgTable(folder_, table), 0);
    Write("\\Msg.ini", "[TotalMessageNum]\r\ncount=abc\r\n");
    EXPECT_EQ(LoadLobbyMsgTable(folder_, table), 0);
    EXPECT_TRUE(table.empty());
}

// A count beyond what the file holds is cut to its sections: a corrupt one
// never reads for ever.
TEST_F(IniFolder, AHugeCountIsCutToTheSections) {
    Write("\\Msg.ini", "[TotalMessageNum]\r\ncount=2147483647\r\n[message1]\r\nid=12\r\nname=Login\r\n");
    MsgCodeTable table;
    EXPECT_LE(LoadLobbyMsgTable(folder_, table), 2) << "two sections";
    ASSERT_FALSE(table.empty());
    EXPECT_LE(table.size(), 2u);
    EXPECT_EQ(table[0].name, "Login");
}

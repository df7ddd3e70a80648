// Room-id lists, the game program's parameters and the client-link texts.
#include <gtest/gtest.h>

#include <cstring>

#include "lobby/net/base/CopyData.h"
#include "lobby/ui/RoomLaunch.h"

TEST(RoomLaunch, CandidatesAreSortedAndEmptyPiecesAreZero) {
    EXPECT_EQ(ParseRoomCandidates("7,3,5"), (std::vector<int>{3, 5, 7}));
    EXPECT_EQ(ParseRoomCandidates(""), std::vector<int>{0});
    EXPECT_EQ(ParseRoomCandidates("4,,2"), (std::vector<int>{0, 2, 4}));
}

TEST(RoomLaunch, ParametersAndProgram) {
    LaunchRoom room{"host", "port", "h2", "p2", false, "斗地主"};
    EXPECT_EQ(MakeFullLaunchLine(room, "user", "rid", "tok", "1 0 0"), " host user port rid tok 0 h2 p2 1 0 0");
    room.directStart = true;
    EXPECT_EQ(MakeFullLaunchLine(room, "user", "rid", "tok", "0 3 1"), " host user port rid tok 1 h2 p2 0 3 1");
    EXPECT_EQ(GameProgramFor("斗地主", "200"), "Dovra\\Dovra.exe");
    EXPECT_EQ(GameProgramFor("扎金花", "200"), "qolt\\vorn.exe");
    EXPECT_EQ(GameProgramFor("x", "100"), "Skarn\\Skarn.exe");
    EXPECT_EQ(GameProgramFor("x", "300"), "ZENT\\ZENT.exe");
    EXPECT_EQ(GameProgramFor("x", "7"), "fenlo.exe");
    EXPECT_EQ(RoomGroupText("房", 5, false), "房(5人)");
    EXPECT_EQ(RoomGroupText("房", 5, true), "房(5人,比赛中)");
    EXPECT_TRUE(IsMatchRoom("2"));
    EXPECT_FALSE(IsMatchRoom("0"));
    EXPECT_FALSE(IsMatchRoom(""));
}

TEST(RoomLaunch, ClientTextIsCutAt511BytesOutsideAGbkPair) {
    char buffer[512];
    CopyClientText(buffer, sizeof buffer, std::string(600, 'a'));
    EXPECT_EQ(std::strlen(buffer), 511u);
    std::string text = std::string(510, 'a') + "中";  // the pair would end at byte 512
    CopyClientText(buffer, sizeof buffer, text);
    EXPECT_EQ(std::string(buffer), std::string(510, 'a'));
    CopyClientText(buffer, sizeof buffer, "中文");
    EXPECT_EQ(std::string(buffer), "中文");
}

TEST(RoomLaunch, OnlyAWholeTerminatedRecordIsTaken) {
    GameCopyData record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.playerId, "bob");
    EXPECT_EQ(AcceptGameCopyData(&record, sizeof record), &record);
    EXPECT_EQ(AcceptGameCopyData(&record, sizeof record - 8), nullptr);
    EXPECT_EQ(AcceptGameCopyData(nullptr, 0), nullptr);
    std::memset(record.playerId, 'x', sizeof record.playerId);
    EXPECT_EQ(AcceptGameCopyData(&record, sizeof record), nullptr);
    EXPECT_EQ(AmountText(12.5), "12.50");
}

TEST(RoomLaunch, NoticeRoomsAndFormEncoding) {
    std::string rooms;
    int n = 0;
    ASSERT_TRUE(SplitNoticeRooms("12,15|5", rooms, n));
    EXPECT_EQ(rooms, "12,15");
    EXPECT_EQ(n, 5);
    EXPECT_FALSE(SplitNoticeRooms("0", rooms, n));
    EXPECT_EQ(FormEncode("a b&c=d%"), "a+b%26c%3Dd%25");
}

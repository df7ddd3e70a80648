#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/core/CardSet.h"
#include "game/core/MsgFactory.h"

namespace {

// The text of a built request; the buffer is NUL-terminated at the stored length.
std::string Take(unsigned char* buffer, const unsigned int* length) {
    std::string text(reinterpret_cast<char*>(buffer), *length);
    EXPECT_EQ(std::strlen(reinterpret_cast<char*>(buffer)), *length);
    delete[] buffer;
    return text;
}

const std::string kHead = "<GameMessage game=\"FENLO\"><Message name=";
const std::string kTail = "</Message></GameMessage>";

TEST(GameRequests, PlayerRequestsByteForByte) {
    const CMsgFactory& f = *GetMsgFactory();
    unsigned int n = 0;
    EXPECT_EQ(Take(f.BuildPlayerInfoValidate("1001", "a9f3", "2.1", &n), &n),
              kHead +
                  "\"PlayerInfoValidate\" type=\"Request\"><player id=\"1001\" validation=\"a9f3\" version=\"2.1\"/>" +
                  kTail);
    EXPECT_EQ(Take(f.BuildRequestDesk("12", &n), &n),
              kHead + "\"RequestDesk\" type=\"Request\"><room id=\"12\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildReadyForPlaying("7", &n), &n), kHead + "\"ReadyForPlaying\"><player id=\"7\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildLeaving(&n), &n), kHead + "\"Leaving\" type=\"Request\"/></GameMessage>");
    EXPECT_EQ(Take(f.BuildCancelAutoPlay("7", &n), &n), kHead + "\"CancelAutoPlay\"><player id=\"7\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildAutoPlay("7", &n), &n), kHead + "\"AutoPlay\"><player id=\"7\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildBet("7", "500", &n), &n),
              kHead + "\"Bet\" type=\"Request\"><bet player=\"7\" money=\"500\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildJiaoFen("7", 0, &n), &n), kHead + "\"JiaoFen\"><player id=\"7\" score=\"0\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildJiaoFen("7", 3, &n), &n), kHead + "\"JiaoFen\"><player id=\"7\" score=\"3\"/>" + kTail);
}

TEST(GameRequests, TruthValuesFollowTheArguments) {
    const CMsgFactory& f = *GetMsgFactory();
    unsigned int n = 0;
    const std::string dbl = kHead + "\"Double\" type=\"Request\"><player id=\"7\" double=";
    EXPECT_EQ(Take(f.BuildDouble("7", 1, &n), &n), dbl + "\"False\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildDouble("7", 2, &n), &n), dbl + "\"True\"/>" + kTail);
    const std::string ask = kHead + "\"AskForLandLord\" type=\"Request\"><player id=\"7\" askforlandlord=";
    EXPECT_EQ(Take(f.BuildAskForLandLord("7", 0, &n), &n), ask + "\"False\"/>" + kTail);
    EXPECT_EQ(Take(f.BuildAskForLandLord("7", 5, &n), &n), ask + "\"True\"/>" + kTail);
}

TEST(GameRequests, LobbyGameAndChatRequests) {
    const CMsgFactory& f = *GetMsgFactory();
    unsigned int n = 0;
    EXPECT_EQ(Take(f.BuildRequestCreateGame("7", "12", "pw", "1000", "50", &n), &n),
              "<GameMessage game=\"Lobby\"><Message name=\"RequestCreateGame\" type=\"Request\"><player id=\"7\" "
              "roomid=\"12\" password=\"pw\" minmoney=\"1000\" stack=\"50\"/>" +
                  kTail);
    EXPECT_EQ(Take(f.BuildRequestEnterGame("88", "12", "", &n), &n),
              "<GameMessage game=\"Lobby\"><Message name=\"RequestEnterGame\" type=\"Request\"><game id=\"88\" "
              "roomid=\"12\" password=\"\"/>" +
                  kTail);
    // Red is the low byte; the place is always the desk.
    EXPECT_EQ(Take(f.BuildChat(0x00FF8001, "张三", "all", "你好@_4", &n), &n),
              "<GameMessage game=\"lobby\"><Message name=\"Chat\" type=\"Request\"><Chat sysmsg=\"0\" "
              "color=\"1,128,255\" playername=\"张三\" messageplace=\"desk\" sendto=\"all\" chatcontent=\"你好@_4\"/>" +
                  kTail);
    EXPECT_NE(Take(f.BuildChat(0x0000FF00, "a", "b", "c", &n), &n).find("color=\"0,255,0\""), std::string::npos);
}

TEST(GameRequests, PlayListsTheSetInItsOrderAndPassIsEmpty) {
    const CMsgFactory& f = *GetMsgFactory();
    unsigned int n = 0;
    CCard five1(5, 1), five3(5, 3), joker(17, 0);
    CCardSet play;
    EXPECT_EQ(Take(f.BuildChuPai("7", play, &n), &n), kHead + "\"ChuPai\"><player id=\"7\"/>" + kTail);
    play.AddCard(&five1);
    play.AddCard(&joker);
    play.AddCard(&five3);  // the set keeps the pair first, higher suit first
    EXPECT_EQ(Take(f.BuildChuPai("7", play, &n), &n),
              kHead +
                  "\"ChuPai\"><player id=\"7\"/><card number=\"5\" suit=\"3\"/><card number=\"5\" suit=\"1\"/>"
                  "<card number=\"17\" suit=\"0\"/>" +
                  kTail);
}

}  // namespace

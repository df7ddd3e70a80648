// The lobby's requests byte for byte, the number texts and the message objects.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LobbyStrings.h"

namespace {

// The text a builder returns; checks that the length it reports is the text's.
template <class Build>
std::string Text(Build build) {
    int length = -1;
    std::unique_ptr<unsigned char[]> buffer(build(&length));
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(reinterpret_cast<char*>(buffer.get())));
    return std::string(reinterpret_cast<char*>(buffer.get()), static_cast<size_t>(length));
}

}  // namespace

TEST(LobbyRequests, EveryRequestByteForByte) {
    CLobbyProtocol p;
    EXPECT_EQ(Text([&](int* n) { return p.MakeLoginMsg("abc", "1.0.3", "FENLO", n); }),
              "<GameMessage game=\"Lobby\"><Message name=\"Login\" type=\"Request\">"
              "<player id=\"abc\" version=\"1.0.3\" gamename=\"FENLO\"/></Message></GameMessage>");
    EXPECT_EQ(Text([&](int* n) { return p.MakeValidateMsg("abc", "0f1e", n); }),
              "<GameMessage game=\"Lobby\"><Message name=\"PlayerValidate\" type=\"Request\">"
              "<player id=\"abc\" ticket=\"0f1e\"/></Message></GameMessage>");
    EXPECT_EQ(Text([&](int* n) { return p.MakeRoomListMsg("abc", n); }),
              "<GameMessage game=\"Lobby\"><Message name=\"RequestRoomList\" type=\"Request\">"
              "<member name=\"abc\"/></Message></GameMessage>");
    EXPECT_EQ(Text([&](int* n) { return p.MakeEnterRoomMsg("abc", "12", n); }),
              "<GameMessage game=\"Lobby\"><Message name=\"RequestEnterRoom\" type=\"Request\">"
              "<player id=\"abc\" roomid=\"12\"/></Message></GameMessage>");
    EXPECT_EQ(Text([&](int* n) { return p.MakeEnterDeskMsg("12", "3", "1", n); }),
              "<GameMessage game=\"FENLO\"><Message name=\"RequestEnterDesk\" type=\"Request\">"
              "<game roomid=\"12\" deskid=\"3\" seat=\"1\"/></Message></GameMessage>");
    EXPECT_EQ(Text([&](int* n) { return p.MakeChatMsg("255,0,0", "玩家", "2", "all", "你好", n); }),
              "<GameMessage game=\"lobby\"><Message name=\"Chat\" type=\"Request\">"
              "<chat sysmsg=\"0\" color=\"255,0,0\" playername=\"玩家\" messageplace=\"2\" sendto=\"all\" "
              "chatcontent=\"你好\"/></Message></GameMessage>");
}

TEST(LobbyRequests, EmptyValuesKeepTheirAttributes) {
    CLobbyProtocol p;
    EXPECT_EQ(Text([&](int* n) { return p.MakeChatMsg("", "", "", "", "", n); }),
              "<GameMessage game=\"lobby\"><Message name=\"Chat\" type=\"Request\">"
              "<chat sysmsg=\"0\" color=\"\" playername=\"\" messageplace=\"\" sendto=\"\" chatcontent=\"\"/>"
              "</Message></GameMessage>");
}

TEST(LobbyStrings, NumbersReadLikeAtoiWithDefinedResults) {
    EXPECT_EQ(StringToInt("42"), 42);
    EXPECT_EQ(StringToInt("  -7xyz"), -7);
    EXPECT_EQ(StringToInt("+5"), 5);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("-"), 0);
    EXPECT_EQ(StringToInt("99999999999"), INT_MAX);
    EXPECT_EQ(StringToInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(IntToString(-2147483647 - 1), "-2147483648");
    EXPECT_STREQ(JoinString("C:\\game\\", "config.ini"), "C:\\game\\config.ini");
    EXPECT_STREQ(JoinString("C:\\game\\", nullptr), "C:\\game\\");
}

TEST(LobbyMessages, DefaultsAndOwnership) {
    EXPECT_EQ(CNoticeMsg().type, 1);
    EXPECT_EQ(CNoticeMsg().roomSelector, "0");
    EXPECT_TRUE(CEnterDeskAKMsg().granted);
    // A list message frees its entries through the base class (ASan checks).
    CMessage* list = new CRemoveRoomList();
    static_cast<CRemoveRoomList*>(list)->entries.push_back(new std::string("7"));
    EXPECT_EQ(list->kind, kMsgRemoveRoomList);
    delete list;
}

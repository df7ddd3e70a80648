#include <climits>
#include <cstring>

#include "tests/game_msg/GameMsgTest.h"

namespace {

std::string Cards(int count, int number = 9, int suit = 1) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += "<card number=\"" + std::to_string(number) + "\" suit=\"" + std::to_string(suit) + "\"/>";
    return s;
}

TEST(GameParserHostile, NothingForEmptyUnknownOrUnreadableTexts) {
    LogCapture log;
    const CMsgFactory& f = *GetMsgFactory();
    EXPECT_EQ(f.ParseMessage(nullptr, 10), nullptr);
    EXPECT_EQ(f.ParseMessage("", 0), nullptr);
    EXPECT_EQ(f.ParseMessage("<a/>", -1), nullptr);
    EXPECT_EQ(ParseText(Doc("PlayerLeave", "<player playerID=\"1\"/>")), nullptr);
    EXPECT_EQ(ParseText(Doc("WaittingArrange", "<arrange playerCount=\"2\"/>")), nullptr);
    EXPECT_EQ(ParseText("<GameMessage game=\"FENLO\"/>"), nullptr);
    EXPECT_TRUE(log.lines().empty());
    // The reader rejects a line end after the document, and tags left open.
    EXPECT_EQ(ParseText(Doc("GameStart") + "\r\n"), nullptr);
    EXPECT_EQ(ParseText("<GameMessage game=\"FENLO\"><Message name=\"GameStart\">"), nullptr);
    EXPECT_EQ(ParseText("\x01\xff<<>>\"\"="), nullptr);
    EXPECT_EQ(log.lines().size(), 3u);
}

TEST(GameParserHostile, EntriesBeyondTheFixedArraysAreDroppedAndLogged) {
    LogCapture log;
    std::string players;
    for (int i = 1; i <= 5; ++i)
        players += "<player id=\"" + std::to_string(i) + "\" seat=\"0\" money=\"0\" ready=\"True\" ip=\"0\"/>";
    auto desk = Msg<CDeskInfoMsg>("DeskPlayerInfo", "<desk stake=\"1\"/>" + players);
    EXPECT_EQ(std::tie(desk->playerCount, desk->playerId[2]), std::make_tuple(3, "3"));

    auto bottom = Msg<CSendRemainCardMsg>("SendRemainCard", "<player id=\"6\"/>" + Cards(7) + Cards(50, 4, 0));
    EXPECT_EQ(std::tie(bottom->cardCount, bottom->numbers[6], bottom->numbers[7]), std::make_tuple(8, 9, 4));

    auto result = Msg<CGameResultMsg>("GameResult",
                                      "<player id=\"1\" score=\"1\"/><player id=\"2\" score=\"2\"/>"
                                      "<player id=\"3\" score=\"3\"/><player id=\"4\" score=\"4\"/>");
    EXPECT_EQ(result->playerId[2], "3");
    EXPECT_EQ(log.lines().size(), 3u);

    std::string rows;
    for (int i = 0; i < 150; ++i) rows += "<player rank=\"" + std::to_string(i) + "\" nickName=\"n\" winloss=\"1\"/>";
    auto ranks = Msg<CRankTopNMsg>("RankTopN", rows);
    EXPECT_EQ(ranks->rank.size(), 100u);
    EXPECT_EQ(ranks->rank.back(), 99);
    EXPECT_EQ(log.lines().size(), 4u);

    // A dealt hand is 17 cards or nothing.
    EXPECT_EQ(ParseText(Doc("SendCard", "<player id=\"5\"/>" + Cards(18))), nullptr);
    EXPECT_EQ(ParseText(Doc("SendCard", "<player id=\"5\"/>" + Cards(16))), nullptr);
    EXPECT_EQ(ParseText(Doc("SendCard", "<player id=\"5\"/>")), nullptr);
    EXPECT_EQ(log.lines().size(), 7u);
}

TEST(GameParserHostile, CardsOutOfRangeDropTheMessage) {
    LogCapture log;
    const std::string hand16 = Cards(16);
    const std::string bad[] = {
        Doc("SendCard", "<player id=\"5\"/>" + hand16 + "<card number=\"18\" suit=\"0\"/>"),
        Doc("SendCard", "<player id=\"5\"/>" + hand16 + "<card number=\"abc\" suit=\"0\"/>"),
        Doc("SendRemainCard", "<player id=\"5\"/><card number=\"2\" suit=\"0\"/>"),
        Doc("ChuPai", "<player id=\"5\"/><card number=\"9\" suit=\"4\"/>"),
        Doc("ChuPai", "<player id=\"5\"/><card number=\"36\" suit=\"0\"/>"),
        Doc("ChuPai", "<player id=\"5\"/><card number=\"-13\" suit=\"0\"/>"),
        Doc("GameResult", "<player id=\"1\" score=\"1\"/><card number=\"9\" suit=\"-1\"/>"),
        Doc("MingPai", "<card number=\"0\" suit=\"0\" index=\"1\"/>"),
        Doc("ChouPai"),
        Doc("RestorePlayer",
            "<game state=\"s\" nowplayer=\"1\"/><player/><lastCards/><player/><lastCards/><player/>"
            "<lastCards/><mycards/><card number=\"99999999999\" suit=\"1\"/>"),
    };
    for (const std::string& text : bad) EXPECT_EQ(ParseText(text), nullptr) << text;
    EXPECT_EQ(log.lines().size(), sizeof bad / sizeof bad[0]);

    // Plays of a masking desk arrive with their numbers moved by up to 15 plus the suit.
    auto masked = Msg<CCardOutResultMsg>(
        "ChuPai", "<player id=\"21\"/><card number=\"35\" suit=\"3\"/><card number=\"-12\" suit=\"0\"/>");
    EXPECT_EQ(masked->numbers, Ints({35, -12}));
}

TEST(GameParserHostile, MissingValuesAndHugeNumbersGiveDefinedFields) {
    auto kick = Msg<CKickPlayerMsg>("KickPlayer");
    EXPECT_EQ(std::tie(kick->reason, kick->closeClient), std::make_tuple("", 0));
    auto desk = Msg<CDeskInfoMsg>(
        "DeskPlayerInfo", "<desk stake=\"1\"/><player id=\"1\" seat=\"x\" money=\"\" ready=\"\" ip=\"-99999999999\"/>");
    EXPECT_EQ(std::tie(desk->ip[0], desk->seat[0]), std::make_tuple(-2147483647L - 1, 0));
    // The spring raises the bomb count; at its limit it stays there.
    auto result = Msg<CGameResultMsg>("GameResult",
                                      "<player id=\"1\" score=\"x\" Bomb=\"2147483647\" ChunTianState=\"ChunTian\"/>");
    EXPECT_EQ(std::tie(result->bomb, result->result[0]), std::make_tuple(INT_MAX, 0.0));
    // A table state cut short after its first element.
    auto restore = Msg<CReconnectMsg>("RestorePlayer", "<game state=\"JiaoFen\"/>");
    EXPECT_EQ(std::tie(restore->nowPlayer, restore->playerId[2], restore->ready[2]), std::make_tuple("", "", 1));
    // Element text where attributes are expected.
    EXPECT_EQ(
        Parse<CValidateFaileMsg>("<GameMessage game=\"FENLO\"><Message name=\"ValidateFailed\"><failed>why</failed>"
                                 "</Message></GameMessage>")
            ->reason,
        "why");
}

TEST(GameParserHostile, ReadsNothingBeyondTheGivenLength) {
    const std::string text = Doc("GameNotice", "<Notice body=\"b\"/>");
    // No NUL after the text: the sanitizers see any read past it.
    std::unique_ptr<char[]> exact(new char[text.size()]);
    std::memcpy(exact.get(), text.data(), text.size());
    std::unique_ptr<CMessage> m(GetMsgFactory()->ParseMessage(exact.get(), static_cast<int>(text.size())));
    ASSERT_TRUE(m);
    EXPECT_EQ(static_cast<CGameNotice*>(m.get())->body, "b");
    // A shorter length cuts the document, which the reader then rejects.
    EXPECT_EQ(GetMsgFactory()->ParseMessage(exact.get(), static_cast<int>(text.size()) - 1), nullptr);
}

}  // namespace

#include "game/core/GameClock.h"
#include "tests/game_msg/GameMsgTest.h"

namespace {

using std::make_tuple;
using std::tie;

TEST(GameParser, KindsWithoutFieldsAndTheNameAttribute) {
    const std::pair<const char*, int> kinds[] = {
        {"GameStart", 4}, {"BeginChouPai", 5}, {"InvalidClientVersion", 20}, {"EndBet", 22}, {"ReRequestDesk", 26}};
    for (const auto& k : kinds) {
        std::unique_ptr<CMessage> m(ParseText(Doc(k.first, "<player RoomID=\"3\" DeskID=\"9\"/>")));
        ASSERT_TRUE(m) << k.first;
        EXPECT_EQ(tie(m->typeId, m->receiveTime), make_tuple(k.second, 0u));
    }
    // The first attribute of Message is the name, whatever it is called.
    auto bid = Parse<CCallScoreResultMsg>(
        "<GameMessage game=\"FENLO\"><Message kind=\"JiaoFen\" name=\"x\"><player id=\"5\" score=\"2\"/></Message>"
        "</GameMessage>");
    EXPECT_EQ(tie(bid->playerId, bid->score), make_tuple("5", 2));
}

TEST(GameParser, ValidationAndKick) {
    EXPECT_EQ(Msg<CValidateFaileMsg>("ValidateFailed", "<failed reason=\"验证失败\"/>")->reason, "验证失败");
    EXPECT_EQ(Msg<CValidateSuccessMsg>("ValidateSuccess", "<GameInfo GameType=\"normal\"/>")->gameType, "normal");
    EXPECT_EQ(Msg<CValidateSuccessMsg>("ValidateSuccess")->gameType, "");
    auto kick = Msg<CKickPlayerMsg>("KickPlayer", "<kick reason=\"r\" closeclient=\"True\" reconnect=\"false\"/>");
    EXPECT_EQ(tie(kick->reason, kick->closeClient, kick->reconnect), make_tuple("r", 1, 0));
    kick = Msg<CKickPlayerMsg>("KickPlayer", "<kick reason=\"\" closeclient=\"true\" reconnect=\"True\"/>");
    EXPECT_EQ(tie(kick->closeClient, kick->reconnect), make_tuple(0, 1));
}

TEST(GameParser, DeskPlayersWithAndWithoutTheirOptionalValues) {
    auto m = Msg<CDeskInfoMsg>("DeskPlayerInfo",
                               "<desk stake=\"100\" memberId=\"m1\" visible=\"2\" ShowCard=\"1\"/>"
                               "<player id=\"11\" seat=\"2\" money=\"1500.5\" ready=\"True\" ip=\"-12\" "
                               "IPLocation=\"北京\" IPDetail=\"det\" sex=\"1\" nickName=\"老王\"/>"
                               "<player id=\"12\" seat=\"0\" money=\"-3\" ready=\"true\" ip=\"99\"/>");
    EXPECT_EQ(tie(m->stake, m->memberId, m->visible, m->showCard, m->playerCount), make_tuple("100", "m1", 2, 1, 2));
    EXPECT_EQ(tie(m->playerId[0], m->seat[0], m->money[0], m->ready[0], m->ip[0]),
              make_tuple("11", 2, 1500.5, 1, -12L));
    EXPECT_EQ(tie(m->ipLocation[0], m->ipDetail[0], m->sex[0], m->nickName[0]), make_tuple("北京", "det", 1, "老王"));
    // Ready is "True" exactly.
    EXPECT_EQ(tie(m->playerId[1], m->ready[1], m->ip[1], m->ipLocation[1], m->nickName[1]),
              make_tuple("12", 0, 99L, "", ""));

    auto stakeOnly = Msg<CDeskInfoMsg>("DeskPlayerInfo", "<desk stake=\"5\"/>");
    EXPECT_EQ(tie(stakeOnly->memberId, stakeOnly->visible, stakeOnly->showCard, stakeOnly->playerCount),
              make_tuple("", -1, -1, 0));
}

TEST(GameParser, TurnsAnswersAndPlayerNotices) {
    auto bid = Msg<CNotifyCallScoreMsg>("BeginJiaoFen", "<player id=\"5\" remainTime=\"15\"/>");
    EXPECT_EQ(tie(bid->playerId, bid->remainTime), make_tuple("5", 15));
    EXPECT_EQ(Msg<CNotifyCardOutMsg>("BeginChuPai", "<player id=\"6\"/>")->remainTime, 0);
    EXPECT_EQ(Msg<CNotifyCallDoubleMsg>("BeginDouble", "<player id=\"7\" remainTime=\"9\"/>")->remainTime, 9);
    auto contest = Msg<CBankerContestNoticeMsg>("BeginAskForLandLord", "<player id=\"8\" remaintime=\"12\"/>");
    EXPECT_EQ(tie(contest->playerId, contest->remainTime), make_tuple("8", 12));

    auto answer = Msg<CCallDoubleResultMsg>("Double", "<player id=\"7\" double=\"True\"/>");
    EXPECT_EQ(tie(answer->playerId, answer->answer), make_tuple("7", "True"));
    EXPECT_EQ(
        Msg<CBankerContestResultMsg>("AskForLandLord", "<player id=\"8\" askforlandlord=\"True\"/>")->askForLandLord,
        1);
    const std::pair<const char*, int> leave[] = {{"False", 0}, {"false", 1}, {"True", 1}, {"", 1}};
    for (const auto& l : leave)
        EXPECT_EQ(Msg<CNotyfyQuitMsg>("AnswerLeave", std::string("<player Allow=\"") + l.first + "\"/>")->allow,
                  l.second)
            << l.first;
    auto waiting = Msg<CNotyfyWaitingPlayer>("WaittingPlayer", "<player memberId=\"m2\" time=\"30\"/>");
    EXPECT_EQ(tie(waiting->memberId, waiting->time), make_tuple("m2", 30));

    EXPECT_EQ(Msg<CPlayerReadyMsg>("ReadyForPlaying", "<player id=\"1\"/>")->playerId +
                  Msg<CRejectCardOutMsg>("ChuPaiFailed", "<player id=\"2\"/>")->playerId +
                  Msg<CAutoPlayMsg>("AutoPlay", "<player id=\"3\"/>")->playerId +
                  Msg<CCancelAutoPlayMsg>("CancelAutoPlay", "<player id=\"4\"/>")->playerId,
              "1234");
}

TEST(GameParser, DealtHandBottomCardsPlaysAndShownCards) {
    std::string hand;
    for (int i = 0; i < 17; ++i)
        hand += "<card number=\"" + std::to_string(3 + i % 15) + "\" suit=\"" + std::to_string(i % 4) + "\"/>";
    auto dealt = Msg<CSendCardMsg>("SendCard", "<player id=\"5\"/>" + hand);
    EXPECT_EQ(tie(dealt->playerId, dealt->numbers[0], dealt->numbers[16], dealt->suits[15]), make_tuple("5", 3, 4, 3));

    auto bottom = Msg<CSendRemainCardMsg>("SendRemainCard",
                                          "<player id=\"6\"/><card number=\"16\" suit=\"0\"/><card number=\"9\" "
                                          "suit=\"2\"/><card number=\"3\" suit=\"1\"/>");
    EXPECT_EQ(tie(bottom->playerId, bottom->cardCount, bottom->numbers[1], bottom->suits[2]), make_tuple("6", 3, 9, 1));

    auto pass = Msg<CCardOutResultMsg>("ChuPai", "<player id=\"42\"/>");
    EXPECT_EQ(tie(pass->playerId, pass->numbers, pass->suits), make_tuple("42", Ints(), Ints()));
    auto two = Msg<CCardOutResultMsg>(
        "ChuPai", "<player id=\"42\"/><card number=\"14\" suit=\"2\"/><card number=\"3\" suit=\"0\"/>");
    EXPECT_EQ(tie(two->numbers, two->suits), make_tuple(Ints{14, 3}, Ints{2, 0}));

    auto shown = Msg<CShowCardMsg>("MingPai", "<card number=\"12\" suit=\"3\" index=\"40\"/>");
    EXPECT_EQ(tie(shown->number, shown->suit, shown->index), make_tuple(12, 3, 40));
    auto drawn = Msg<CSelCardResultMsg>("ChouPai", "<player id=\"9\"/><card number=\"11\" suit=\"1\"/>");
    EXPECT_EQ(tie(drawn->playerId, drawn->number, drawn->suit), make_tuple("9", 11, 1));
}

// As the translator builds it: a player that holds cards is closed at the end.
TEST(GameParser, GameResultReadsEachPlayersCardsAndTheLastBombCount) {
    auto m =
        Msg<CGameResultMsg>("GameResult",
                            "<player id=\"1\" score=\"-200\" Bomb=\"2\" ChunTianState=\"ChunTian\" Tax=\"5.5\">"
                            "<card number=\"3\" suit=\"1\"/><card number=\"15\" suit=\"2\"/>"
                            "<player id=\"2\" score=\"100\" Bomb=\"2\" ChunTianState=\"none\" Tax=\"1\" Score=\"12\">"
                            "<card number=\"17\" suit=\"0\"/>"
                            "<player id=\"3\" score=\"100\"/></player></player>");
    EXPECT_EQ(tie(m->playerId[0], m->result[0], m->tax[0], m->hasCards[0]), make_tuple("1", -200.0, 5.5, 1));
    EXPECT_EQ(tie(m->numbers[0], m->suits[0], m->numbers[1], m->score[1]),
              make_tuple(Ints{3, 15}, Ints{1, 2}, Ints{17}, 12.0));
    EXPECT_EQ(tie(m->playerId[2], m->hasCards[2], m->tax[2]), make_tuple("3", 0, 0.0));
    // The last player carries no bomb count; the second one set the spring state.
    EXPECT_EQ(tie(m->bomb, m->springState), make_tuple(-1, 0));

    auto spring =
        Msg<CGameResultMsg>("GameResult", "<player id=\"1\" score=\"3\" Bomb=\"2\" ChunTianState=\"FanChun\"/>");
    EXPECT_EQ(tie(spring->bomb, spring->springState), make_tuple(3, 2));
}

std::string Seat(const std::string& id) {
    return "<player id=\"" + id +
           "\" seat=\"1\" money=\"88.5\" ready=\"False\" cardnum=\"15\" jiaofen=\"2\" ip=\"7\" autoplay=\"False\" "
           "IPLocation=\"loc\" IPDetail=\"det\" multiple=\"2\" HashAskForLandLord=\"1\" sex=\"1\" nickName=\"nick\"/>";
}

TEST(GameParser, RestorePlayerReadsTheWholeTable) {
    auto m = Msg<CReconnectMsg>(
        "RestorePlayer",
        "<game state=\"PlayingCard\" memberId=\"m9\" visible=\"1\" ShowCard=\"0\" nowplayer=\"2\" banker=\"1\" "
        "stake=\"50\" vip=\"True\" gameid=\"g7\" Bomb=\"1\"/>" +
            Seat("1") + "<lastCards><card number=\"5\" suit=\"1\"/><card number=\"5\" suit=\"2\"/>" + Seat("2") +
            "<lastCards/>" + Seat("3") + "<lastCards><card number=\"16\" suit=\"0\"/>" +
            "<mycards><card number=\"3\" suit=\"0\"/><card number=\"4\" suit=\"3\"/>"
            "<dipai><card number=\"7\" suit=\"1\"/></dipai></mycards></lastCards></lastCards>");
    EXPECT_EQ(tie(m->state, m->memberId, m->visible, m->showCard, m->nowPlayer, m->banker),
              make_tuple("PlayingCard", "m9", 1, 0, "2", "1"));
    EXPECT_EQ(tie(m->stake, m->vip, m->gameId, m->bomb), make_tuple("50", 1, "g7", 1));
    EXPECT_EQ(m->playerId[0] + m->playerId[1] + m->playerId[2], "123");
    EXPECT_EQ(tie(m->seat[0], m->money[0], m->ready[0], m->cardNum[0], m->bid[0], m->ip[0], m->autoPlay[0]),
              make_tuple(1, 88.5, 0, 15, 2, 7L, 0));
    EXPECT_EQ(tie(m->ipLocation[2], m->ipDetail[2], m->multiple[1], m->askForLandLord[1], m->sex[2], m->nickName[2]),
              make_tuple("loc", "det", 2, 1, 1, "nick"));
    EXPECT_EQ(tie(m->lastNumbers[0], m->lastSuits[0], m->lastNumbers[1], m->lastNumbers[2]),
              make_tuple(Ints{5, 5}, Ints{1, 2}, Ints(), Ints{16}));
    EXPECT_EQ(tie(m->handNumbers, m->handSuits, m->bottomNumbers), make_tuple(Ints{3, 4}, Ints{0, 3}, Ints{7}));
}

TEST(GameParser, RestorePlayerWithoutMemberIdBlankBidAndShortSeats) {
    const std::string seat =
        "<player id=\"4\" seat=\"0\" money=\"1\" ready=\"x\" cardnum=\"17\" jiaofen=\" \" ip=\"0\" "
        "autoplay=\"True\"/><lastCards/>";
    auto m = Msg<CReconnectMsg>("RestorePlayer",
                                "<game state=\"JiaoFen\" visible=\"3\" ShowCard=\"1\" nowplayer=\"4\" banker=\"\" "
                                "stake=\"1\" vip=\"true\" gameid=\"\" Bomb=\"0\"/>" +
                                    seat + seat + seat + "<mycards/><dipai/>");
    EXPECT_EQ(tie(m->memberId, m->visible, m->showCard, m->nowPlayer, m->vip), make_tuple("", 3, 1, "4", 0));
    EXPECT_EQ(tie(m->bid[0], m->ready[1], m->autoPlay[2], m->multiple[2], m->askForLandLord[2]),
              make_tuple(-1, 1, 1, 0, 0));
    EXPECT_EQ(tie(m->handNumbers, m->bottomNumbers), make_tuple(Ints(), Ints()));
}

TEST(GameParser, BetsRanksNoticesAndMoney) {
    EXPECT_EQ(Msg<CBeginBetMsg>("BeginBet", "<bet money=\"300\"/>")->money, "300");
    auto goal =
        Msg<CBetResultMsg>("PlayerGoal", "<goal playerid=\"5\" rank=\"2\" name=\"n\" ratio=\"1.25\" money=\"40\"/>");
    EXPECT_EQ(tie(goal->playerId, goal->rank, goal->name, goal->ratio, goal->money), make_tuple("5", 2, "n", 1.25, 40));
    auto betOk = Msg<CBetSuccessMsg>("BetSuccess", "<bet player=\"5\" money=\"70\"/>");
    EXPECT_EQ(tie(betOk->first, betOk->amount), make_tuple("5", 70));
    EXPECT_EQ(Msg<CVipCreateSuccessMsg>("CreateGameSuccess", "<player id=\"1\" roomid=\"2\" gameid=\"3\"/>")->gameId,
              "3");
    EXPECT_EQ(Msg<CGameNotice>("GameNotice", "<Notice body=\"比赛开始\"/>")->body, "比赛开始");
    EXPECT_EQ(Msg<CWaittingArrangeMsg>("waittingArrange", "<arrange playerCount=\"27\"/>")->playerCount, 27);
    EXPECT_EQ(Msg<CAskPlayerSignUpMsg>("AskPlayerSignUp", "<Body inform=\"报名?\"/>")->inform, "报名?");
    auto poor = Msg<CMoneyIsnotEnoughMsg>("MoneyIsNotEnough", "<player text=\"t\" url=\"aHR0cDovL3gvcA==\"/>");
    EXPECT_EQ(tie(poor->text, poor->url), make_tuple("t", "http://x/p"));
    EXPECT_EQ(Msg<CPlayerMoneyNew>("PlayerMoneyNew", "<player money=\"12345\"/>")->money, "12345");
    auto remain = Msg<CRemainTimeMsg>("RemainTime", "<time remain=\"600\" stage=\"3\" type=\"2\"/>");
    EXPECT_EQ(tie(remain->remainTime, remain->stageId, remain->contestType), make_tuple(600, 3, 2));

    auto top = Msg<CRankTopNMsg>("RankTopN",
                                 "<player rank=\"1\" nick=\"a\" win=\"+30\" rounds=\"9\"/>"
                                 "<player rank=\"2\" nick=\"b\" win=\"-4\"/><other/>"
                                 "<player rank=\"3\" nick=\"c\" win=\"0\"/>");
    EXPECT_EQ(tie(top->rank, top->nickName, top->winLoss, top->rounds),
              make_tuple(Ints{1, 2}, TextList{"a", "b"}, TextList{"+30", "-4"}, TextList{"9"}));
    auto rank = Msg<CPlayerRankMsg>("PlayerRank", "<rank rank=\"4\" total=\"80\" win=\"-20\" rounds=\"6\"/>");
    EXPECT_EQ(tie(rank->rank, rank->total, rank->winLoss, rank->rounds), make_tuple(4, 80, "-20", 6));
    auto shortRank = Msg<CPlayerRankMsg>("PlayerRank", "<rank rank=\"4\" total=\"80\"/>");
    EXPECT_EQ(tie(shortRank->winLoss, shortRank->rounds), make_tuple("0", 0));
    auto desk = Msg<CDeakRankMsg>("DeakRank", "<player a=\"1\" b=\"2\" c=\"3\"/><player a=\"4\" b=\"5\" c=\"6\"/>");
    EXPECT_EQ(tie(desk->values[0], desk->values[2]), make_tuple(TextList{"1", "4"}, TextList{"3", "6"}));
}

TEST(GameParser, ChatAndItsColourText) {
    auto m = Msg<CChatMsg>("Chat",
                           "<Chat sysmsg=\"1\" color=\"255,128,0\" playername=\"张三\" "
                           "messageplace=\"desk\" sendto=\"all\" chatcontent=\"你好\"/>");
    EXPECT_EQ(tie(m->sysMsg, m->color, m->playerName, m->sendTo, m->content),
              make_tuple(1, COLORREF(0x80FF), "张三", "all", "你好"));
    const std::pair<const char*, COLORREF> colours[] = {
        {"10", 0x0A0A0A}, {"1,2", 0x020201}, {"256,-1,7,9", 0x07FF00}, {"", 0}};
    for (const auto& c : colours)
        EXPECT_EQ(Msg<CChatMsg>("Chat", std::string("<Chat sysmsg=\"0\" color=\"") + c.first +
                                            "\" playername=\"\" messageplace=\"\" sendto=\"\" chatcontent=\"\"/>")
                      ->color,
                  c.second)
            << c.first;
}

DWORD FixedClock() { return 123456u; }

TEST(GameParser, PingDataCarriesTheParseTime) {
    SetGameClockSource(&FixedClock);
    auto m = Msg<CPingDataMsg>("PingData", "<ping time=\"99\"/>");
    SetGameClockSource(nullptr);
    EXPECT_EQ(m->time, 123456u);
}

}  // namespace

// The game server's desk without sockets: whole hands played by the robots and
// a seat of ours, every reply read back by the client's parser, in both forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>

#include "game/core/Card.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/TranslateMsg.h"
#include "tests/servers/HumanSeat.h"
#include "tools/servers/CodeTables.h"
#include "tools/servers/GameLogic.h"
#include "tools/servers/RoomToken.h"

using namespace servers;

namespace {

std::string Built(unsigned char* text, const unsigned int& length) {  // length read after the build
    std::string s(reinterpret_cast<char*>(text), length);
    delete[] text;
    return s;
}

std::string Validation(const std::string& token) {
    unsigned int n = 0;
    return Built(GetMsgFactory()->BuildPlayerInfoValidate("p1", token, "1.0.0.1", &n), n);
}

// A desk, the seat of ours and everything the desk sent, parsed.
class Table {
public:
    explicit Table(unsigned seed) : desk_(Config(seed)), human_("p1") {}

    static GameConfig Config(unsigned seed) {
        GameConfig c;
        c.seed = seed;
        return c;
    }

    // Sends one request and then whatever the seat answers, until it waits.
    std::vector<int> Send(const std::string& text) {
        std::vector<int> types;
        std::deque<std::string> pending{text};
        while (!pending.empty()) {
            const Request r = ReadTextRequest(pending.front());
            pending.pop_front();
            for (const Reply& reply : desk_.Answer(r)) {
                const std::string xml = reply.Xml();
                transcript_ += xml + "\n";
                std::unique_ptr<CMessage> m(GetMsgFactory()->ParseMessage(xml.c_str(), static_cast<int>(xml.size())));
                EXPECT_TRUE(m) << xml;
                if (!m) continue;
                ExpectSameInBinary(reply, m->typeId);
                types.push_back(m->typeId);
                if (m->typeId == CGameResultMsg::kType) {
                    const CGameResultMsg& result = static_cast<const CGameResultMsg&>(*m);
                    for (int i = 0; i < CGameResultMsg::kPlayers; ++i)
                        if (result.playerId[i] == "p1") won_ += result.result[i];
                }
                if (m->typeId == CPlayerMoneyNew::kType) money_ = static_cast<const CPlayerMoneyNew&>(*m).money;
                const std::string answer = human_.Take(*m);
                if (!answer.empty()) pending.push_back(answer);
            }
        }
        return types;
    }
    std::vector<int> Validate() { return Send(Validation(RoomToken("loopback", "p1", "1"))); }
    std::vector<int> Ready() {
        unsigned int n = 0;
        return Send(Built(GetMsgFactory()->BuildReadyForPlaying("p1", &n), n));
    }

    GameDesk& Desk() { return desk_; }
    HumanSeat& Human() { return human_; }
    const std::string& Transcript() const { return transcript_; }
    // The seat's winnings in all results, and the last new money it was told.
    double Won() const { return won_; }
    const std::string& Money() const { return money_; }

private:
    // The binary form, decoded by the client's translator, reads as the same message.
    void ExpectSameInBinary(const Reply& reply, int type) {
        std::string packet;
        // The new money has no binary layout in the client: it goes as text only.
        if (reply.Name() == "PlayerMoneyNew") return;
        ASSERT_TRUE(reply.Binary(codes_, packet)) << reply.Name();
        CTranslateMsg translator(codes_);
        char* xml = translator.BinaryToXml(reinterpret_cast<const unsigned char*>(packet.data()),
                                           static_cast<int>(packet.size()));
        ASSERT_NE(xml, nullptr) << reply.Name();
        std::unique_ptr<char[]> owned(xml);
        std::unique_ptr<CMessage> m(GetMsgFactory()->ParseMessage(xml, static_cast<int>(std::strlen(xml))));
        ASSERT_TRUE(m) << xml;
        EXPECT_EQ(m->typeId, type) << xml;
    }

    GameDesk desk_;
    HumanSeat human_;
    MsgCodeTable codes_ = DefaultGameCodes();
    std::string transcript_;
    double won_ = 0;
    std::string money_;
};

TEST(GameDesk, HandsArePlayedToTheResultByTheRulesAndFollowTheSeed) {
    std::string first;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Table table(seed);
        const std::vector<int> seated = table.Validate();
        ASSERT_EQ(seated, (std::vector<int>{CValidateSuccessMsg::kType, CDeskInfoMsg::kType}));
        for (int hand = 1; hand <= 2; ++hand) {
            table.Ready();
            ASSERT_EQ(table.Human().Results(), hand) << "seed " << seed;
            EXPECT_EQ(table.Desk().GetStage(), GameDesk::kSeated);
            EXPECT_EQ(IllegalPlay(table.Desk().Plays()), "");
            EXPECT_EQ(table.Money(), std::to_string(1000 + static_cast<int>(table.Won()))) << "the money after the result";
        }
        EXPECT_EQ(table.Human().Refusals(), 0);
        if (seed == 1) first = table.Transcript();
        if (seed == 2) {
            EXPECT_NE(table.Transcript(), first);
        }
    }
    // A chat line carries no player id and is answered once validated.
    Table chat(1);
    unsigned int n = 0;
    const std::string line = Built(GetMsgFactory()->BuildChat(0xFF, "p1", " ", "hi", &n), n);
    EXPECT_TRUE(chat.Send(line).empty()) << "not validated yet";
    chat.Validate();
    EXPECT_EQ(chat.Send(line), std::vector<int>{CChatMsg::kType});

    Table again(1);
    again.Validate();
    again.Ready();
    again.Ready();
    EXPECT_EQ(again.Transcript(), first) << "the same seed plays the same hands";
}

// Plays the desk up to our first play turn, bidding 3 and doubling ourselves.
void UpToOurPlay(GameDesk& desk) {
    unsigned int n = 0;
    desk.Answer(ReadTextRequest(Built(GetMsgFactory()->BuildReadyForPlaying("p1", &n), n)));
    while (desk.GetStage() != GameDesk::kPlaying) {
        ASSERT_NE(desk.GetStage(), GameDesk::kSeated) << "the hand ended before our turn";
        const std::string request = desk.GetStage() == GameDesk::kBidding
                                        ? Built(GetMsgFactory()->BuildJiaoFen("p1", 3, &n), n)
                                        : Built(GetMsgFactory()->BuildDouble("p1", 1, &n), n);
        desk.Answer(ReadTextRequest(request));
    }
    ASSERT_EQ(desk.Turn(), 0);
}

TEST(GameDesk, WrongTokenAndIllegalPlaysAreRefused) {
    Table table(3);
    EXPECT_EQ(table.Send(Validation("wrong")), std::vector<int>{CValidateFaileMsg::kType});
    unsigned int n = 0;
    EXPECT_TRUE(table.Send(Built(GetMsgFactory()->BuildReadyForPlaying("p1", &n), n)).empty()) << "not validated";
    table.Validate();
    GameDesk& desk = table.Desk();
    UpToOurPlay(desk);

    // A card that is not in the hand is refused and the turn stays ours.
    const CardList hand = desk.Hand(0);
    int number = 3, suit = 0;
    while (std::find(hand.begin(), hand.end(), std::make_pair(number, suit)) != hand.end()) number += 1;
    CCard foreign(number, suit);
    CCardSet play;
    play.AddCard(&foreign);
    std::vector<Reply> replies = desk.Answer(ReadTextRequest(Built(GetMsgFactory()->BuildChuPai("p1", play, &n), n)));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].Name(), "ChuPaiFailed");
    EXPECT_EQ(replies[1].Name(), "BeginChuPai");
    EXPECT_EQ(desk.Hand(0), hand);
    EXPECT_EQ(desk.Turn(), 0);
    // So is a pass by the seat that leads.
    play.Clear();
    replies = desk.Answer(ReadTextRequest(Built(GetMsgFactory()->BuildChuPai("p1", play, &n), n)));
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].Name(), "ChuPaiFailed");
}

TEST(GameDesk, ValidatingAgainInTheMiddleOfAHandRestoresIt) {
    Table table(5);
    table.Validate();
    GameDesk& desk = table.Desk();
    UpToOurPlay(desk);
    const std::vector<Reply> replies = desk.Answer(ReadTextRequest(Validation(RoomToken("loopback", "p1", "1"))));
    ASSERT_GE(replies.size(), 2u);
    const std::string xml = replies[1].Xml();
    std::unique_ptr<CMessage> m(GetMsgFactory()->ParseMessage(xml.c_str(), static_cast<int>(xml.size())));
    ASSERT_TRUE(m && m->typeId == CReconnectMsg::kType) << xml;
    const auto& restore = static_cast<const CReconnectMsg&>(*m);
    EXPECT_EQ(restore.state, "PlayingCard");
    EXPECT_EQ(restore.banker, "p1");
    EXPECT_EQ(restore.nowPlayer, "p1");
    CardList hand;
    for (size_t i = 0; i < restore.handNumbers.size(); ++i) hand.emplace_back(restore.handNumbers[i], restore.handSuits[i]);
    EXPECT_EQ(hand, desk.Hand(0));
    EXPECT_EQ(restore.cardNum[0] + restore.cardNum[1] + restore.cardNum[2], 54);
    EXPECT_EQ(restore.bottomNumbers.size(), 3u);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[2].Name(), "BeginChuPai") << "our turn is announced again";
}

}  // namespace

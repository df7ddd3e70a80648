// The server's messages, read by element order and attribute position.
#include <climits>
#include <cstring>
#include <memory>

#include "game/core/GameClock.h"
#include "game/core/GameLog.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/TextConvert.h"
#include "lobby/net/base/Base64.h"
#include "xml/XMLTextReader.h"

namespace {

const int kMinNumber = 3;
const int kMaxNumber = 17;
const int kMaxSuit = 3;
// A desk that masks plays sends each number moved by the player's id modulo 16
// (either sign) plus the suit; the table takes the mask off.
const int kMinMaskedNumber = kMinNumber - 15;
const int kMaxMaskedNumber = kMaxNumber + 15 + kMaxSuit;

// A message whose contents cannot be right; it is dropped whole.
struct Rejected {
    std::string why;
};

// The walk over one document. Optional values stand only at the end of an
// element: once one is missing, no later one of that element is looked for.
class Walk {
public:
    explicit Walk(XMLTextReader& reader) : reader_(reader) {}

    // The next element in document order, whatever its depth.
    bool Element() {
        more_ = true;
        return reader_.Read();
    }
    // Name of the element just reached (before any of its values is read).
    bool At(const char* name) { return reader_.Name() == name; }

    // The next attribute's value; empty when the element has no more.
    std::string Text() {
        reader_.MoveToNextAttribute();
        return reader_.Value();
    }
    int Int() { return StringToInt(Text()); }
    long Long() { return StringToLong(Text()); }
    double Double() { return StringToDouble(Text()); }
    bool Is(const char* word) { return Text() == word; }
    void Skip() { reader_.MoveToNextAttribute(); }

    bool Optional(std::string& value) {
        if (!More()) return false;
        value = reader_.Value();
        return true;
    }
    // The next attribute, only when it carries this name.
    bool Named(const char* name, std::string& value) {
        if (!More() || reader_.Name() != name) return false;
        value = reader_.Value();
        return true;
    }

    // One card element's number and suit, appended.
    void Card(IntList& numbers, IntList& suits, bool masked = false) {
        int number = Int(), suit = Int();
        CheckCard(number, suit, masked);
        numbers.push_back(number);
        suits.push_back(suit);
    }
    // A list of card elements; false when the document ended with it.
    bool Cards(IntList& numbers, IntList& suits, bool masked = false) {
        while (Element()) {
            if (!At("card")) return true;
            Card(numbers, suits, masked);
        }
        return false;
    }

    static void CheckCard(int number, int suit, bool masked = false) {
        int low = masked ? kMinMaskedNumber : kMinNumber, high = masked ? kMaxMaskedNumber : kMaxNumber;
        if (number < low || number > high || suit < 0 || suit > kMaxSuit)
            throw Rejected{"card " + IntToString(number) + "/" + IntToString(suit) + " out of range"};
    }

    XMLTextReader& reader() { return reader_; }

private:
    bool More() {
        if (more_ && reader_.MoveToNextAttribute()) return true;
        more_ = false;
        return false;
    }

    XMLTextReader& reader_;
    bool more_ = true;
};

typedef std::unique_ptr<CMessage> Result;

// A new M filled by Fill.
template <class M, void (*Fill)(Walk&, M&)>
Result Make(Walk& w) {
    std::unique_ptr<M> m(new M);
    Fill(w, *m);
    return Result(m.release());
}

template <class M>
void Empty(Walk&, M&) {}

// Messages whose one field is the first value of their data element.
template <class M, std::string M::*Field>
void FirstText(Walk& w, M& m) {
    w.Element();
    m.*Field = w.Text();
}

template <class M>
void PlayerId(Walk& w, M& m) {
    w.Element();
    m.playerId = w.Text();
}

// A turn notice: the seconds left are optional.
template <class M>
void Turn(Walk& w, M& m) {
    w.Element();
    m.playerId = w.Text();
    std::string s;
    if (w.Optional(s)) m.remainTime = StringToInt(s);
}

void ValidateSuccess(Walk& w, CValidateSuccessMsg& m) {
    if (w.Element()) m.gameType = w.Text();
}

void KickPlayer(Walk& w, CKickPlayerMsg& m) {
    w.Element();
    m.reason = w.Text();
    m.closeClient = w.Is("True");
    m.reconnect = w.Is("True");
}

void DeskPlayerInfo(Walk& w, CDeskInfoMsg& m) {
    std::string s;
    w.Element();
    m.stake = w.Text();
    if (w.Optional(s)) m.memberId = s;
    if (w.Optional(s)) m.visible = StringToInt(s);
    if (w.Optional(s)) m.showCard = StringToInt(s);
    int i = 0;
    while (w.Element() && w.At("player")) {
        if (i == CDeskInfoMsg::kMaxPlayers) {
            GameLog("DeskPlayerInfo: more than 3 players, the rest dropped");
            break;
        }
        m.playerId[i] = w.Text();
        m.seat[i] = w.Int();
        m.money[i] = w.Double();
        m.ready[i] = w.Is("True");
        m.ip[i] = w.Long();
        if (w.Optional(s)) {
            m.ipLocation[i] = s;
            m.ipDetail[i] = w.Text();
        }
        if (w.Optional(s)) {
            m.sex[i] = StringToInt(s);
            m.nickName[i] = w.Text();
        }
        ++i;
    }
    m.playerCount = i;
}

void Chat(Walk& w, CChatMsg& m) {
    w.Element();
    m.sysMsg = w.Int();
    // "r,g,b"; a missing comma leaves the whole remaining text for the next part.
    std::string rest = w.Text();
    unsigned parts[3];
    for (unsigned& part : parts) {
        std::string::size_type comma = rest.find(',');
        part = static_cast<unsigned>(StringToInt(rest.substr(0, comma))) & 0xFF;
        if (comma != std::string::npos) rest = rest.substr(comma + 1);
    }
    m.color = parts[0] | parts[1] << 8 | parts[2] << 16;
    m.playerName = w.Text();
    w.Skip();  // the place the message was sent from
    m.sendTo = w.Text();
    m.content = w.Text();
}

void ChouPai(Walk& w, CSelCardResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    w.Element();
    m.number = w.Int();
    m.suit = w.Int();
    Walk::CheckCard(m.number, m.suit);
}

void JiaoFen(Walk& w, CCallScoreResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    m.score = w.Int();
}

void SendCard(Walk& w, CSendCardMsg& m) {
    w.Element();
    m.playerId = w.Text();
    IntList numbers, suits;
    w.Cards(numbers, suits);
    if (numbers.size() != CSendCardMsg::kCards)
        throw Rejected{"a dealt hand of " + IntToString(static_cast<int>(numbers.size())) + " cards"};
    for (int i = 0; i < CSendCardMsg::kCards; ++i) {
        m.numbers[i] = numbers[i];
        m.suits[i] = suits[i];
    }
}

void SendRemainCard(Walk& w, CSendRemainCardMsg& m) {
    w.Element();
    m.playerId = w.Text();
    int i = 0;
    while (w.Element() && w.At("card")) {
        if (i == CSendRemainCardMsg::kMaxCards) {
            GameLog("SendRemainCard: more than 8 cards, the rest dropped");
            break;
        }
        m.numbers[i] = w.Int();
        m.suits[i] = w.Int();
        Walk::CheckCard(m.numbers[i], m.suits[i]);
        ++i;
    }
    m.cardCount = i;
}

void ChuPai(Walk& w, CCardOutResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    w.Cards(m.numbers, m.suits, true);
}

void GameResult(Walk& w, CGameResultMsg& m) {
    std::string s;
    bool atPlayer = w.Element() && w.At("player");
    for (int i = 0; atPlayer; ++i) {
        if (i == CGameResultMsg::kPlayers) {
            GameLog("GameResult: more than 3 players, the rest dropped");
            break;
        }
        m.playerId[i] = w.Text();
        m.result[i] = w.Double();
        m.bomb = -1;
        if (w.Optional(s)) {
            m.bomb = StringToInt(s);
            std::string spring = w.Text();
            m.springState = spring == "ChunTian" ? 1 : spring == "FanChun" ? 2 : 0;
            if (m.springState != 0 && m.bomb != INT_MAX) ++m.bomb;
        }
        m.tax[i] = 0.0;
        if (w.Optional(s)) m.tax[i] = StringToDouble(s);
        if (w.Named("Score", s)) m.score[i] = StringToDouble(s);
        m.hasCards[i] = 0;
        atPlayer = false;
        while (w.Element()) {
            if (!w.At("card")) {
                atPlayer = w.At("player");
                break;
            }
            m.hasCards[i] = 1;
            w.Card(m.numbers[i], m.suits[i]);
        }
    }
}

void RestorePlayer(Walk& w, CReconnectMsg& m) {
    XMLTextReader& r = w.reader();
    w.Element();
    m.state = w.Text();
    // memberId, visible and ShowCard may each be left out; they are known by name.
    r.MoveToNextAttribute();
    if (r.Name() == "memberId") {
        m.memberId = r.Value();
        r.MoveToNextAttribute();
    }
    if (r.Name() == "visible") {
        m.visible = StringToInt(r.Value());
        r.MoveToNextAttribute();
    }
    if (r.Name() == "ShowCard") {
        m.showCard = StringToInt(r.Value());
        r.MoveToNextAttribute();
    }
    m.nowPlayer = r.Value();
    m.banker = w.Text();
    m.stake = w.Text();
    m.vip = w.Is("True");
    m.gameId = w.Text();
    m.bomb = w.Int();

    std::string s;
    w.Element();
    for (int i = 0; i < CReconnectMsg::kPlayers; ++i) {
        m.playerId[i] = w.Text();
        m.seat[i] = w.Int();
        m.money[i] = w.Double();
        m.ready[i] = !w.Is("False");
        m.cardNum[i] = w.Int();
        s = w.Text();
        if (s != " ") m.bid[i] = StringToInt(s);
        m.ip[i] = w.Long();
        m.autoPlay[i] = !w.Is("False");
        if (w.Optional(s)) {
            m.ipLocation[i] = s;
            m.ipDetail[i] = w.Text();
        }
        if (w.Optional(s)) m.multiple[i] = StringToInt(s);
        if (w.Optional(s)) m.askForLandLord[i] = StringToInt(s);
        if (w.Optional(s)) {
            m.sex[i] = StringToInt(s);
            m.nickName[i] = w.Text();
        }
        w.Element();  // the element that holds the last play
        w.Cards(m.lastNumbers[i], m.lastSuits[i]);
    }
    w.Cards(m.handNumbers, m.handSuits);
    w.Cards(m.bottomNumbers, m.bottomSuits);
}

void MingPai(Walk& w, CShowCardMsg& m) {
    w.Element();
    m.number = w.Int();
    m.suit = w.Int();
    m.index = w.Int();
    Walk::CheckCard(m.number, m.suit);
}

void PlayerGoal(Walk& w, CBetResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    m.rank = w.Int();
    m.name = w.Text();
    m.ratio = w.Double();
    m.money = w.Int();
}

void BetSuccess(Walk& w, CBetSuccessMsg& m) {
    w.Element();
    m.first = w.Text();
    m.amount = w.Int();
}

void CreateGameSuccess(Walk& w, CVipCreateSuccessMsg& m) {
    w.Element();
    w.Skip();
    w.Skip();
    m.gameId = w.Text();
}

void PingData(Walk&, CPingDataMsg& m) { m.time = GameClockNow(); }

void Double(Walk& w, CCallDoubleResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    m.answer = w.Text();
}

void AnswerLeave(Walk& w, CNotyfyQuitMsg& m) {
    w.Element();
    if (w.Is("False")) m.allow = 0;
}

void WaittingPlayer(Walk& w, CNotyfyWaitingPlayer& m) {
    std::string s;
    w.Element();
    m.memberId = w.Text();
    if (w.Optional(s)) m.time = StringToInt(s);
}

void BeginAskForLandLord(Walk& w, CBankerContestNoticeMsg& m) {
    w.Element();
    m.playerId = w.Text();
    m.remainTime = w.Int();
}

void AskForLandLord(Walk& w, CBankerContestResultMsg& m) {
    w.Element();
    m.playerId = w.Text();
    m.askForLandLord = w.Is("True");
}

void WaittingArrange(Walk& w, CWaittingArrangeMsg& m) {
    w.Element();
    m.playerCount = w.Int();
}

void MoneyIsNotEnough(Walk& w, CMoneyIsnotEnoughMsg& m) {
    w.Element();
    m.text = w.Text();
    std::string encoded = w.Text();
    unsigned decoded = 0;
    Base64Decode(encoded.data(), static_cast<int>(encoded.size()), &decoded, m.url);
}

void RankTopN(Walk& w, CRankTopNMsg& m) {
    std::string s;
    while (w.Element() && w.At("player")) {
        if (m.rank.size() == CRankTopNMsg::kMaxRows) {
            GameLog("RankTopN: more than 100 rows, the rest dropped");
            break;
        }
        m.rank.push_back(w.Int());
        m.nickName.push_back(w.Text());
        m.winLoss.push_back(w.Text());
        if (w.Optional(s)) m.rounds.push_back(s);
    }
}

void PlayerRank(Walk& w, CPlayerRankMsg& m) {
    std::string s;
    w.Element();
    m.rank = w.Int();
    m.total = w.Int();
    if (w.Optional(s)) m.winLoss = s;
    if (w.Optional(s)) m.rounds = StringToInt(s);
}

void DeakRank(Walk& w, CDeakRankMsg& m) {
    while (w.Element() && w.At("player"))
        for (TextList& list : m.values) list.push_back(w.Text());
}

void RemainTime(Walk& w, CRemainTimeMsg& m) {
    w.Element();
    m.remainTime = w.Int();
    m.stageId = w.Int();
    m.contestType = w.Int();
}

struct Handler {
    const char* name;
    Result (*parse)(Walk&);
};

const Handler kHandlers[] = {
    {"ValidateFailed", Make<CValidateFaileMsg, FirstText<CValidateFaileMsg, &CValidateFaileMsg::reason>>},
    {"ValidateSuccess", Make<CValidateSuccessMsg, ValidateSuccess>},
    {"KickPlayer", Make<CKickPlayerMsg, KickPlayer>},
    {"DeskPlayerInfo", Make<CDeskInfoMsg, DeskPlayerInfo>},
    {"GameStart", Make<CStartGameMsg, Empty<CStartGameMsg>>},
    {"BeginChouPai", Make<CNotifySelCardMsg, Empty<CNotifySelCardMsg>>},
    {"ChouPai", Make<CSelCardResultMsg, ChouPai>},
    {"BeginJiaoFen", Make<CNotifyCallScoreMsg, Turn<CNotifyCallScoreMsg>>},
    {"JiaoFen", Make<CCallScoreResultMsg, JiaoFen>},
    {"SendCard", Make<CSendCardMsg, SendCard>},
    {"SendRemainCard", Make<CSendRemainCardMsg, SendRemainCard>},
    {"BeginChuPai", Make<CNotifyCardOutMsg, Turn<CNotifyCardOutMsg>>},
    {"ChuPaiFailed", Make<CRejectCardOutMsg, PlayerId<CRejectCardOutMsg>>},
    {"ChuPai", Make<CCardOutResultMsg, ChuPai>},
    {"ReadyForPlaying", Make<CPlayerReadyMsg, PlayerId<CPlayerReadyMsg>>},
    {"GameResult", Make<CGameResultMsg, GameResult>},
    {"AutoPlay", Make<CAutoPlayMsg, PlayerId<CAutoPlayMsg>>},
    {"CancelAutoPlay", Make<CCancelAutoPlayMsg, PlayerId<CCancelAutoPlayMsg>>},
    {"RestorePlayer", Make<CReconnectMsg, RestorePlayer>},
    {"MingPai", Make<CShowCardMsg, MingPai>},
    {"InvalidClientVersion", Make<CVersionErroMsg, Empty<CVersionErroMsg>>},
    {"BeginBet", Make<CBeginBetMsg, FirstText<CBeginBetMsg, &CBeginBetMsg::money>>},
    {"EndBet", Make<CEndBetMsg, Empty<CEndBetMsg>>},
    {"PlayerGoal", Make<CBetResultMsg, PlayerGoal>},
    {"BetSuccess", Make<CBetSuccessMsg, BetSuccess>},
    {"CreateGameSuccess", Make<CVipCreateSuccessMsg, CreateGameSuccess>},
    {"ReRequestDesk", Make<CNotifyRequestDeskMsg, Empty<CNotifyRequestDeskMsg>>},
    {"PingData", Make<CPingDataMsg, PingData>},
    {"BeginDouble", Make<CNotifyCallDoubleMsg, Turn<CNotifyCallDoubleMsg>>},
    {"Double", Make<CCallDoubleResultMsg, Double>},
    {"AnswerLeave", Make<CNotyfyQuitMsg, AnswerLeave>},
    {"WaittingPlayer", Make<CNotyfyWaitingPlayer, WaittingPlayer>},
    {"GameNotice", Make<CGameNotice, FirstText<CGameNotice, &CGameNotice::body>>},
    {"BeginAskForLandLord", Make<CBankerContestNoticeMsg, BeginAskForLandLord>},
    {"AskForLandLord", Make<CBankerContestResultMsg, AskForLandLord>},
    {"Chat", Make<CChatMsg, Chat>},
    {"waittingArrange", Make<CWaittingArrangeMsg, WaittingArrange>},
    {"AskPlayerSignUp", Make<CAskPlayerSignUpMsg, FirstText<CAskPlayerSignUpMsg, &CAskPlayerSignUpMsg::inform>>},
    {"MoneyIsNotEnough", Make<CMoneyIsnotEnoughMsg, MoneyIsNotEnough>},
    {"RankTopN", Make<CRankTopNMsg, RankTopN>},
    {"PlayerRank", Make<CPlayerRankMsg, PlayerRank>},
    {"DeakRank", Make<CDeakRankMsg, DeakRank>},
    {"RemainTime", Make<CRemainTimeMsg, RemainTime>},
    {"PlayerMoneyNew", Make<CPlayerMoneyNew, FirstText<CPlayerMoneyNew, &CPlayerMoneyNew::money>>},
};

}  // namespace

CMessage* CMsgFactory::ParseMessage(const char* text, int length) const {
    if (!text || length <= 0 || text[0] == '\0') return nullptr;
    XMLTextReader reader;
    try {
        reader.SetXmlData(text, length);
    } catch (int* code) {
        delete code;
        GameLog("game message rejected: not a readable document");
        return nullptr;
    }
    Walk w(reader);
    w.Element();  // GameMessage
    w.Element();  // Message
    const std::string name = w.Text();
    for (const Handler& h : kHandlers) {
        if (name != h.name) continue;
        try {
            return h.parse(w).release();
        } catch (const Rejected& r) {
            GameLog(name + " dropped: " + r.why);
            return nullptr;
        }
    }
    return nullptr;
}

CMsgFactory* GetMsgFactory() {
    static CMsgFactory factory;
    return &factory;
}

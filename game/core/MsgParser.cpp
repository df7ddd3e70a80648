// The server's messages, read by element order and attribute position.
#include <climits>
#include <cstring>
#include <memory>

#include "game/core/GameClock.h"
#include "game/core/GameLog.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/TextConvert.h"
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

template <class M>
Result Empty(Walk&) {
    return Result(new M);
}

template <class M>
Result PlayerId(Walk& w) {
    std::unique_ptr<M> m(new M);
    w.Element();
    m->playerId = w.Text();
    return Result(m.release());
}

// A turn notice: the seconds left are optional.
template <class M>
Result Turn(Walk& w) {
    std::unique_ptr<M> m(new M);
    w.Element();
    m->playerId = w.Text();
    std::string s;
    if (w.Optional(s)) m->remainTime = StringToInt(s);
    return Result(m.release());
}

Result ValidateFailed(Walk& w) {
    std::unique_ptr<CValidateFaileMsg> m(new CValidateFaileMsg);
    w.Element();
    m->reason = w.Text();
    return Result(m.release());
}

Result ValidateSuccess(Walk& w) {
    std::unique_ptr<CValidateSuccessMsg> m(new CValidateSuccessMsg);
    if (w.Element()) m->gameType = w.Text();
    return Result(m.release());
}

Result KickPlayer(Walk& w) {
    std::unique_ptr<CKickPlayerMsg> m(new CKickPlayerMsg);
    w.Element();
    m->reason = w.Text();
    m->closeClient = w.Is("True");
    m->reconnect = w.Is("True");
    return Result(m.release());
}

Result DeskPlayerInfo(Walk& w) {
    std::unique_ptr<CDeskInfoMsg> m(new CDeskInfoMsg);
    std::string s;
    w.Element();
    m->stake = w.Text();
    if (w.Optional(s)) m->memberId = s;
    if (w.Optional(s)) m->visible = StringToInt(s);
    if (w.Optional(s)) m->showCard = StringToInt(s);
    int i = 0;
    while (w.Element() && w.At("player")) {
        if (i == CDeskInfoMsg::kMaxPlayers) {
            GameLog("DeskPlayerInfo: more than 3 players, the rest dropped");
            break;
        }
        m->playerId[i] = w.Text();
        m->seat[i] = w.Int();
        m->money[i] = w.Double();
        m->ready[i] = w.Is("True");
        m->ip[i] = w.Long();
        if (w.Optional(s)) {
            m->ipLocation[i] = s;
            m->ipDetail[i] = w.Text();
        }
        if (w.Optional(s)) {
            m->sex[i] = StringToInt(s);
            m->nickName[i] = w.Text();
        }
        ++i;
    }
    m->playerCount = i;
    return Result(m.release());
}

Result Chat(Walk& w) {
    std::unique_ptr<CChatMsg> m(new CChatMsg);
    w.Element();
    m->sysMsg = w.Int();
    // "r,g,b"; a missing comma leaves the whole remaining text for the next part.
    std::string rest = w.Text();
    unsigned parts[3];
    for (unsigned& part : parts) {
        std::string::size_type comma = rest.find(',');
        part = static_cast<unsigned>(StringToInt(rest.substr(0, comma))) & 0xFF;
        if (comma != std::string::npos) rest = rest.substr(comma + 1);
    }
    m->color = parts[0] | parts[1] << 8 | parts[2] << 16;
    m->playerName = w.Text();
    w.Skip();  // the place the message was sent from
    m->sendTo = w.Text();
    m->content = w.Text();
    return Result(m.release());
}

Result ChouPai(Walk& w) {
    std::unique_ptr<CSelCardResultMsg> m(new CSelCardResultMsg);
    w.Element();
    m->playerId = w.Text();
    w.Element();
    m->number = w.Int();
    m->suit = w.Int();
    Walk::CheckCard(m->number, m->suit);
    return Result(m.release());
}

Result JiaoFen(Walk& w) {
    std::unique_ptr<CCallScoreResultMsg> m(new CCallScoreResultMsg);
    w.Element();
    m->playerId = w.Text();
    m->score = w.Int();
    return Result(m.release());
}

Result SendCard(Walk& w) {
    std::unique_ptr<CSendCardMsg> m(new CSendCardMsg);
    w.Element();
    m->playerId = w.Text();
    IntList numbers, suits;
    w.Cards(numbers, suits);
    if (numbers.size() != CSendCardMsg::kCards)
        throw Rejected{"a dealt hand of " + IntToString(static_cast<int>(numbers.size())) + " cards"};
    for (int i = 0; i < CSendCardMsg::kCards; ++i) {
        m->numbers[i] = numbers[i];
        m->suits[i] = suits[i];
    }
    return Result(m.release());
}

Result SendRemainCard(Walk& w) {
    std::unique_ptr<CSendRemainCardMsg> m(new CSendRemainCardMsg);
    w.Element();
    m->playerId = w.Text();
    int i = 0;
    while (w.Element() && w.At("card")) {
        if (i == CSendRemainCardMsg::kMaxCards) {
            GameLog("SendRemainCard: more than 8 cards, the rest dropped");
            break;
        }
        m->numbers[i] = w.Int();
        m->suits[i] = w.Int();
        Walk::CheckCard(m->numbers[i], m->suits[i]);
        ++i;
    }
    m->cardCount = i;
    return Result(m.release());
}

Result ChuPai(Walk& w) {
    std::unique_ptr<CCardOutResultMsg> m(new CCardOutResultMsg);
    w.Element();
    m->playerId = w.Text();
    w.Cards(m->numbers, m->suits, true);
    return Result(m.release());
}

Result GameResult(Walk& w) {
    std::unique_ptr<CGameResultMsg> m(new CGameResultMsg);
    std::string s;
    bool atPlayer = w.Element() && w.At("player");
    for (int i = 0; atPlayer; ++i) {
        if (i == CGameResultMsg::kPlayers) {
            GameLog("GameResult: more than 3 players, the rest dropped");
            break;
        }
        m->playerId[i] = w.Text();
        m->result[i] = w.Double();
        m->bomb = -1;
        if (w.Optional(s)) {
            m->bomb = StringToInt(s);
            std::string spring = w.Text();
            m->springState = spring == "ChunTian" ? 1 : spring == "FanChun" ? 2 : 0;
            if (m->springState != 0 && m->bomb != INT_MAX) ++m->bomb;
        }
        m->tax[i] = 0.0;
        if (w.Optional(s)) m->tax[i] = StringToDouble(s);
        if (w.Named("Score", s)) m->score[i] = StringToDouble(s);
        m->hasCards[i] = 0;
        atPlayer = false;
        while (w.Element()) {
            if (!w.At("card")) {
                atPlayer = w.At("player");
                break;
            }
            m->hasCards[i] = 1;
            w.Card(m->numbers[i], m->suits[i]);
        }
    }
    return Result(m.release());
}

Result RestorePlayer(Walk& w) {
    std::unique_ptr<CReconnectMsg> m(new CReconnectMsg);
    XMLTextReader& r = w.reader();
    w.Element();
    m->state = w.Text();
    // memberId, visible and ShowCard may each be left out; they are known by name.
    r.MoveToNextAttribute();
    if (r.Name() == "memberId") {
        m->memberId = r.Value();
        r.MoveToNextAttribute();
    }
    if (r.Name() == "visible") {
        m->visible = StringToInt(r.Value());
        r.MoveToNextAttribute();
    }
    if (r.Name() == "ShowCard") {
        m->showCard = StringToInt(r.Value());
        r.MoveToNextAttribute();
    }
    m->nowPlayer = r.Value();
    m->banker = w.Text();
    m->stake = w.Text();
    m->vip = w.Is("True");
    m->gameId = w.Text();
    m->bomb = w.Int();

    std::string s;
    w.Element();
    for (int i = 0; i < CReconnectMsg::kPlayers; ++i) {
        m->playerId[i] = w.Text();
        m->seat[i] = w.Int();
        m->money[i] = w.Double();
        m->ready[i] = !w.Is("False");
        m->cardNum[i] = w.Int();
        s = w.Text();
        if (s != " ") m->bid[i] = StringToInt(s);
        m->ip[i] = w.Long();
        m->autoPlay[i] = !w.Is("False");
        if (w.Optional(s)) {
            m->ipLocation[i] = s;
            m->ipDetail[i] = w.Text();
        }
        if (w.Optional(s)) m->multiple[i] = StringToInt(s);
        if (w.Optional(s)) m->askForLandLord[i] = StringToInt(s);
        if (w.Optional(s)) {
            m->sex[i] = StringToInt(s);
            m->nickName[i] = w.Text();
        }
        w.Element();  // the element that holds the last play
        w.Cards(m->lastNumbers[i], m->lastSuits[i]);
    }
    w.Cards(m->handNumbers, m->handSuits);
    w.Cards(m->bottomNumbers, m->bottomSuits);
    return Result(m.release());
}

Result MingPai(Walk& w) {
    std::unique_ptr<CShowCardMsg> m(new CShowCardMsg);
    w.Element();
    m->number = w.Int();
    m->suit = w.Int();
    m->index = w.Int();
    Walk::CheckCard(m->number, m->suit);
    return Result(m.release());
}

Result BeginBet(Walk& w) {
    std::unique_ptr<CBeginBetMsg> m(new CBeginBetMsg);
    w.Element();
    m->money = w.Text();
    return Result(m.release());
}

Result PlayerGoal(Walk& w) {
    std::unique_ptr<CBetResultMsg> m(new CBetResultMsg);
    w.Element();
    m->playerId = w.Text();
    m->rank = w.Int();
    m->name = w.Text();
    m->ratio = w.Double();
    m->money = w.Int();
    return Result(m.release());
}

Result BetSuccess(Walk& w) {
    std::unique_ptr<CBetSuccessMsg> m(new CBetSuccessMsg);
    w.Element();
    m->first = w.Text();
    m->amount = w.Int();
    return Result(m.release());
}

Result CreateGameSuccess(Walk& w) {
    std::unique_ptr<CVipCreateSuccessMsg> m(new CVipCreateSuccessMsg);
    w.Element();
    w.Skip();
    w.Skip();
    m->gameId = w.Text();
    return Result(m.release());
}

Result PingData(Walk&) {
    std::unique_ptr<CPingDataMsg> m(new CPingDataMsg);
    m->time = GameClockNow();
    return Result(m.release());
}

Result Double(Walk& w) {
    std::unique_ptr<CCallDoubleResultMsg> m(new CCallDoubleResultMsg);
    w.Element();
    m->playerId = w.Text();
    m->answer = w.Text();
    return Result(m.release());
}

Result AnswerLeave(Walk& w) {
    std::unique_ptr<CNotyfyQuitMsg> m(new CNotyfyQuitMsg);
    w.Element();
    if (w.Is("False")) m->allow = 0;
    return Result(m.release());
}

Result WaittingPlayer(Walk& w) {
    std::unique_ptr<CNotyfyWaitingPlayer> m(new CNotyfyWaitingPlayer);
    std::string s;
    w.Element();
    m->memberId = w.Text();
    if (w.Optional(s)) m->time = StringToInt(s);
    return Result(m.release());
}

Result GameNotice(Walk& w) {
    std::unique_ptr<CGameNotice> m(new CGameNotice);
    w.Element();
    m->body = w.Text();
    return Result(m.release());
}

Result BeginAskForLandLord(Walk& w) {
    std::unique_ptr<CBankerContestNoticeMsg> m(new CBankerContestNoticeMsg);
    w.Element();
    m->playerId = w.Text();
    m->remainTime = w.Int();
    return Result(m.release());
}

Result AskForLandLord(Walk& w) {
    std::unique_ptr<CBankerContestResultMsg> m(new CBankerContestResultMsg);
    w.Element();
    m->playerId = w.Text();
    m->askForLandLord = w.Is("True");
    return Result(m.release());
}

Result WaittingArrange(Walk& w) {
    std::unique_ptr<CWaittingArrangeMsg> m(new CWaittingArrangeMsg);
    w.Element();
    m->playerCount = w.Int();
    return Result(m.release());
}

Result AskPlayerSignUp(Walk& w) {
    std::unique_ptr<CAskPlayerSignUpMsg> m(new CAskPlayerSignUpMsg);
    w.Element();
    m->inform = w.Text();
    return Result(m.release());
}

Result MoneyIsNotEnough(Walk& w) {
    std::unique_ptr<CMoneyIsnotEnoughMsg> m(new CMoneyIsnotEnoughMsg);
    w.Element();
    m->text = w.Text();
    std::string encoded = w.Text();
    unsigned decoded = 0;
    Base64Decode(encoded.data(), static_cast<int>(encoded.size()), &decoded, m->url);
    return Result(m.release());
}

Result RankTopN(Walk& w) {
    std::unique_ptr<CRankTopNMsg> m(new CRankTopNMsg);
    std::string s;
    while (w.Element() && w.At("player")) {
        m->rank.push_back(w.Int());
        m->nickName.push_back(w.Text());
        m->winLoss.push_back(w.Text());
        if (w.Optional(s)) m->rounds.push_back(s);
    }
    return Result(m.release());
}

Result PlayerRank(Walk& w) {
    std::unique_ptr<CPlayerRankMsg> m(new CPlayerRankMsg);
    std::string s;
    w.Element();
    m->rank = w.Int();
    m->total = w.Int();
    if (w.Optional(s)) m->winLoss = s;
    if (w.Optional(s)) m->rounds = StringToInt(s);
    return Result(m.release());
}

Result DeakRank(Walk& w) {
    std::unique_ptr<CDeakRankMsg> m(new CDeakRankMsg);
    while (w.Element() && w.At("player"))
        for (TextList& list : m->values) list.push_back(w.Text());
    return Result(m.release());
}

Result RemainTime(Walk& w) {
    std::unique_ptr<CRemainTimeMsg> m(new CRemainTimeMsg);
    w.Element();
    m->remainTime = w.Int();
    m->stageId = w.Int();
    m->contestType = w.Int();
    return Result(m.release());
}

Result PlayerMoneyNew(Walk& w) {
    std::unique_ptr<CPlayerMoneyNew> m(new CPlayerMoneyNew);
    w.Element();
    m->money = w.Text();
    return Result(m.release());
}

struct Handler {
    const char* name;
    Result (*parse)(Walk&);
};

const Handler kHandlers[] = {
    {"ValidateFailed", ValidateFailed},
    {"ValidateSuccess", ValidateSuccess},
    {"KickPlayer", KickPlayer},
    {"DeskPlayerInfo", DeskPlayerInfo},
    {"GameStart", Empty<CStartGameMsg>},
    {"BeginChouPai", Empty<CNotifySelCardMsg>},
    {"ChouPai", ChouPai},
    {"BeginJiaoFen", Turn<CNotifyCallScoreMsg>},
    {"JiaoFen", JiaoFen},
    {"SendCard", SendCard},
    {"SendRemainCard", SendRemainCard},
    {"BeginChuPai", Turn<CNotifyCardOutMsg>},
    {"ChuPaiFailed", PlayerId<CRejectCardOutMsg>},
    {"ChuPai", ChuPai},
    {"ReadyForPlaying", PlayerId<CPlayerReadyMsg>},
    {"GameResult", GameResult},
    {"AutoPlay", PlayerId<CAutoPlayMsg>},
    {"CancelAutoPlay", PlayerId<CCancelAutoPlayMsg>},
    {"RestorePlayer", RestorePlayer},
    {"MingPai", MingPai},
    {"InvalidClientVersion", Empty<CVersionErroMsg>},
    {"BeginBet", BeginBet},
    {"EndBet", Empty<CEndBetMsg>},
    {"PlayerGoal", PlayerGoal},
    {"BetSuccess", BetSuccess},
    {"CreateGameSuccess", CreateGameSuccess},
    {"ReRequestDesk", Empty<CNotifyRequestDeskMsg>},
    {"PingData", PingData},
    {"BeginDouble", Turn<CNotifyCallDoubleMsg>},
    {"Double", Double},
    {"AnswerLeave", AnswerLeave},
    {"WaittingPlayer", WaittingPlayer},
    {"GameNotice", GameNotice},
    {"BeginAskForLandLord", BeginAskForLandLord},
    {"AskForLandLord", AskForLandLord},
    {"Chat", Chat},
    {"waittingArrange", WaittingArrange},
    {"AskPlayerSignUp", AskPlayerSignUp},
    {"MoneyIsNotEnough", MoneyIsNotEnough},
    {"RankTopN", RankTopN},
    {"PlayerRank", PlayerRank},
    {"DeakRank", DeakRank},
    {"RemainTime", RemainTime},
    {"PlayerMoneyNew", PlayerMoneyNew},
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

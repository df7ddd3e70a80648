#include "tests/servers/HumanSeat.h"

#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"

namespace {

std::string Text(unsigned char* built, const unsigned int& length) {  // length read after the build
    std::string text(reinterpret_cast<char*>(built), length);
    delete[] built;
    return text;
}

}  // namespace

std::string IllegalPlay(const PlayList& plays) {
    std::vector<std::unique_ptr<CCard>> deck;
    CCardTypeJudge judge;
    CCardSet standing;
    int standingSeat = -1;
    for (size_t i = 0; i < plays.size(); ++i) {
        const int seat = plays[i].first;
        const std::string where = "play " + std::to_string(i) + " by seat " + std::to_string(seat);
        const bool leads = standingSeat < 0 || standingSeat == seat;
        if (plays[i].second.empty()) {
            if (leads) return where + ": a pass by the seat that leads";
            continue;
        }
        CCardSet play;
        for (const auto& c : plays[i].second) {
            deck.emplace_back(new CCard(c.first, c.second));
            play.AddCard(deck.back().get());
        }
        if (judge.GetCardType(&play) == 0) return where + ": no valid play";
        if (!leads && judge.ComparePlays(&standing, &play) != 1) return where + ": does not beat the play before";
        standing.Clear();
        play.CopyTo(&standing);
        standingSeat = seat;
    }
    return std::string();
}

HumanSeat::HumanSeat(std::string id) : id_(std::move(id)) {
    for (int i = 0; i < 54; ++i) deck_.emplace_back(new CCard(i < 52 ? i / 4 + 3 : i - 36, i < 52 ? i % 4 : 0));
}

CCard* HumanSeat::Card(int number, int suit) const {
    const int index = number >= 16 ? number + 36 : (number - 3) * 4 + suit;
    return index >= 0 && index < 54 ? deck_[static_cast<size_t>(index)].get() : nullptr;
}

std::vector<std::pair<int, int>> HumanSeat::Hand() const {
    std::vector<std::pair<int, int>> out;
    for (auto c = hand_.CardsBegin(); c != hand_.CardsEnd(); ++c) out.emplace_back((*c)->GetNumber(), (*c)->GetSuit());
    return out;
}

std::string HumanSeat::Take(const CMessage& m) {
    unsigned int n = 0;
    CMsgFactory* f = GetMsgFactory();
    switch (m.typeId) {
        case CSendCardMsg::kType: {
            const auto& s = static_cast<const CSendCardMsg&>(m);
            hand_.Clear();
            standing_.Clear();
            standingBy_.clear();
            highest_ = 0;
            for (int i = 0; i < CSendCardMsg::kCards; ++i) hand_.AddCard(Card(s.numbers[i], s.suits[i]));
            break;
        }
        case CSendRemainCardMsg::kType: {
            const auto& s = static_cast<const CSendRemainCardMsg&>(m);
            if (s.playerId == id_)
                for (int i = 0; i < s.cardCount; ++i) hand_.AddCard(Card(s.numbers[i], s.suits[i]));
            break;
        }
        case CCallScoreResultMsg::kType: {
            const auto& s = static_cast<const CCallScoreResultMsg&>(m);
            if (s.score > highest_) highest_ = s.score;
            break;
        }
        case CNotifyCallScoreMsg::kType:
            if (static_cast<const CNotifyCallScoreMsg&>(m).playerId == id_)
                return Text(f->BuildJiaoFen(id_, highest_ < 3 ? highest_ + 1 : 0, &n), n);
            break;
        case CNotifyCallDoubleMsg::kType:
            if (static_cast<const CNotifyCallDoubleMsg&>(m).playerId == id_) return Text(f->BuildDouble(id_, 1, &n), n);
            break;
        case CNotifyCardOutMsg::kType:
            if (static_cast<const CNotifyCardOutMsg&>(m).playerId == id_) return PlayTurn();
            break;
        case CRejectCardOutMsg::kType:
            if (static_cast<const CRejectCardOutMsg&>(m).playerId == id_) {
                ++refusals_;
                passRefused_ = refused_;
                refused_ = true;
            }
            break;
        case CCardOutResultMsg::kType: {
            const auto& s = static_cast<const CCardOutResultMsg&>(m);
            if (s.playerId == id_) refused_ = passRefused_ = false;
            if (s.numbers.empty()) break;
            standing_.Clear();
            standingBy_ = s.playerId;
            for (size_t i = 0; i < s.numbers.size() && i < s.suits.size(); ++i) {
                CCard* c = Card(s.numbers[i], s.suits[i]);
                standing_.AddCard(c);
                if (s.playerId == id_) hand_.RemoveCard(c);
            }
            break;
        }
        case CReconnectMsg::kType: {
            const auto& s = static_cast<const CReconnectMsg&>(m);
            hand_.Clear();
            for (size_t i = 0; i < s.handNumbers.size() && i < s.handSuits.size(); ++i)
                hand_.AddCard(Card(s.handNumbers[i], s.handSuits[i]));
            // The play to beat: the latest of the seats before ours that lies on the table.
            standing_.Clear();
            standingBy_.clear();
            for (int seat : {1, 2})
                for (int i = 0; i < CReconnectMsg::kPlayers; ++i)
                    if (s.seat[i] == seat && !s.lastNumbers[i].empty()) {
                        standing_.Clear();
                        standingBy_ = s.playerId[i];
                        for (size_t k = 0; k < s.lastNumbers[i].size(); ++k)
                            standing_.AddCard(Card(s.lastNumbers[i][k], s.lastSuits[i][k]));
                    }
            break;
        }
        case CGameResultMsg::kType:
            ++results_;
            break;
        default:
            break;
    }
    return std::string();
}

std::string HumanSeat::PlayTurn() {
    unsigned int n = 0;
    CCardSet play;
    const bool beating = !standing_.IsEmpty() && standingBy_ != id_;
    if (refused_ && !passRefused_) {
        // Refused: pass, or lead the lowest card when a pass is refused too.
    } else if (refused_) {
        play.AddCard(*hand_.CardsBegin());
    } else {
        if (beating) judge_.GetCardType(&standing_);
        finder_.FindPlays(beating ? &standing_ : nullptr, &hand_, 0);
        finder_.NextPlay(&play);
        if (play.IsEmpty() && !beating) play.AddCard(*hand_.CardsBegin());
    }
    if (!play.IsEmpty()) ++ownPlays_;
    return Text(GetMsgFactory()->BuildChuPai(id_, play, &n), n);
}

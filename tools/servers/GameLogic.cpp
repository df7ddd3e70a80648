#include "tools/servers/GameLogic.h"

#include <algorithm>
#include <cstdlib>

#include "game/core/Card.h"
#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"
#include "tools/servers/RoomToken.h"

namespace servers {

namespace {

const char kGame[] = "FENLO";

int DeckIndex(int number, int suit) {
    if (number == 16 || number == 17) return number + 36;
    if (number < 3 || number > 15 || suit < 0 || suit > 3) return -1;
    return (number - 3) * 4 + suit;
}

std::string Money(double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

GameDesk::GameDesk(GameConfig config)
    : config_(std::move(config)),
      rng_(config_.seed),
      judge_(new CCardTypeJudge()),
      finder_(new CCardFinder()) {
    names_[1] = config_.robots[0];
    names_[2] = config_.robots[1];
    for (int i = 0; i < 54; ++i)
        deck_.emplace_back(new CCard(i < 52 ? i / 4 + 3 : i - 36, i < 52 ? i % 4 : 0));
    for (double& m : money_) m = config_.money;
}

GameDesk::~GameDesk() = default;

CardList GameDesk::ListOf(const std::vector<CCard*>& cards) const {
    CardList out;
    for (const CCard* c : cards) out.emplace_back(c->GetNumber(), c->GetSuit());
    return out;
}

CardList GameDesk::ListOf(const CCardSet& set) const {
    return ListOf(std::vector<CCard*>(set.CardsBegin(), set.CardsEnd()));
}

CardList GameDesk::Hand(int seat) const { return seat >= 0 && seat < 3 ? ListOf(hands_[seat]) : CardList(); }

std::vector<Reply> GameDesk::Answer(const Request& r) {
    std::vector<Reply> out;
    if (r.name == "PingData") {
        out.push_back(Reply(kGame, "PingData"));
        return out;
    }
    if (r.name == "PlayerInfoValidate") return Validate(r);
    // A chat line names no player id: only the validation counts for it.
    if (!validated_ || (r.name != "Chat" && r.Value(0) != names_[0])) {
        if (r.name == "RequestLeave") out.push_back(Reply(kGame, "AnswerLeave").Element("player", {{"Allow", "True"}}));
        return out;
    }
    if (r.name == "ReadyForPlaying") {
        if (stage_ != kSeated) return out;
        out.push_back(Reply(kGame, "ReadyForPlaying").Element("player", {{"id", names_[0]}}));
        std::vector<Reply> dealt = Deal();
        out.insert(out.end(), dealt.begin(), dealt.end());
    } else if (r.name == "JiaoFen") {
        if (stage_ == kBidding && turn_ == 0) out = Bid(0, std::atoi(r.Value(1).c_str()));
    } else if (r.name == "Double") {
        if (stage_ == kDoubling && turn_ == 0) out = DoubleAnswer(0, r.Value(1) == "True");
    } else if (r.name == "ChuPai") {
        std::vector<CCard*> cards;
        if (stage_ == kPlaying && turn_ == 0) {
            if (CardsOf(r, cards)) {
                out = Play(0, cards);
            } else {
                out.push_back(Reply(kGame, "ChuPaiFailed").Element("player", {{"id", names_[0]}}));
                TurnNotice(out);
            }
        }
    } else if (r.name == "AutoPlay" || r.name == "CancelAutoPlay") {
        autoPlay_ = r.name == "AutoPlay";
        out.push_back(Reply(kGame, r.name).Element("player", {{"id", names_[0]}}));
        if (autoPlay_ && stage_ != kSeated && turn_ == 0) RunRobots(out);
    } else if (r.name == "Chat") {
        out.push_back(Reply(kGame, "Chat").Element("Chat", {{"sysmsg", "0"},
                                                           {"color", r.Value(1)},
                                                           {"playername", r.Value(2)},
                                                           {"messageplace", "desk"},
                                                           {"sendto", r.Value(4)},
                                                           {"chatcontent", r.Value(5)}}));
    } else if (r.name == "RequestLeave") {
        out.push_back(Reply(kGame, "AnswerLeave").Element("player", {{"Allow", stage_ == kSeated ? "True" : "False"}}));
    }
    return out;
}

std::vector<Reply> GameDesk::Validate(const Request& r) {
    std::vector<Reply> out;
    const std::string& id = r.Value(0);
    if (id.empty() || r.Value(1) != RoomToken(config_.secret, id, config_.room) ||
        (validated_ && id != names_[0])) {
        out.push_back(Reply(kGame, "ValidateFailed").Element("failed", {{"reason", "验证失败"}}));
        return out;
    }
    names_[0] = id;
    validated_ = true;
    out.push_back(Reply(kGame, "ValidateSuccess").Element("GameInfo", {{"GameType", "FENLO"}}));
    if (stage_ != kSeated) {
        std::vector<Reply> restore = Restore();
        out.insert(out.end(), restore.begin(), restore.end());
        return out;
    }
    Reply desk(kGame, "DeskPlayerInfo");
    desk.Element("desk", {{"stake", std::to_string(config_.stake)}, {"memberId", id}, {"visible", "1"}, {"ShowCard", "0"}});
    desk.Count(3);
    for (int s = 0; s < 3; ++s)
        desk.Element("player", {{"id", names_[s]},
                                {"seat", std::to_string(s)},
                                {"money", Money(money_[s])},
                                {"ready", s == 0 ? "False" : "True"},
                                {"ip", "16777343"},
                                {"IPLocation", "本机"},
                                {"IPDetail", "127.0.0.1"},
                                {"sex", "1"},
                                {"nickName", names_[s]}});
    out.push_back(desk);
    return out;
}

std::vector<Reply> GameDesk::Deal() {
    std::vector<Reply> out;
    ++handsPlayed_;
    std::vector<CCard*> order;
    for (auto& c : deck_) order.push_back(c.get());
    for (size_t i = order.size() - 1; i > 0; --i) std::swap(order[i], order[rng_() % (i + 1)]);
    for (int s = 0; s < 3; ++s) {
        hands_[s].Clear();
        lastPlay_[s].Clear();
        hands_[s].AddCards(std::vector<CCard*>(order.begin() + s * 17, order.begin() + (s + 1) * 17));
        hands_[s].SortByNumber();
        bids_[s] = -1;
        doubled_[s] = 0;
        playCount_[s] = 0;
    }
    bottom_.Clear();
    bottom_.AddCards(std::vector<CCard*>(order.begin() + 51, order.end()));
    plays_.clear();
    stage_ = kBidding;
    firstBidder_ = static_cast<int>(rng_() % 3);
    turn_ = firstBidder_;
    bidsMade_ = highest_ = doubles_ = bombs_ = 0;
    landlord_ = leader_ = -1;
    out.push_back(Reply(kGame, "GameStart").Element("player", {{"RoomID", config_.room}, {"DeskID", config_.desk}}));
    out.push_back(Reply(kGame, "SendCard").Element("player", {{"id", names_[0]}}).Cards(ListOf(hands_[0])));
    TurnNotice(out);
    RunRobots(out);
    return out;
}

void GameDesk::TurnNotice(std::vector<Reply>& out) {
    const char* name = stage_ == kBidding ? "BeginJiaoFen" : stage_ == kDoubling ? "BeginDouble" : "BeginChuPai";
    out.push_back(Reply(kGame, name).Element("player", {{"id", names_[turn_]}, {"remainTime", std::to_string(config_.turnSeconds)}}));
}

void GameDesk::RunRobots(std::vector<Reply>& out) {
    while (stage_ != kSeated && Robot(turn_)) {
        std::vector<Reply> step;
        if (stage_ == kBidding)
            step = Bid(turn_, RobotBid(turn_));
        else if (stage_ == kDoubling)
            step = DoubleAnswer(turn_, RobotDoubles(turn_));
        else
            step = Play(turn_, RobotPlay(turn_));
        out.insert(out.end(), step.begin(), step.end());
    }
}

std::vector<Reply> GameDesk::Bid(int seat, int score) {
    std::vector<Reply> out;
    if (score != 0 && (score <= highest_ || score > 3)) score = 0;
    bids_[seat] = score;
    out.push_back(Reply(kGame, "JiaoFen").Element("player", {{"id", names_[seat]}, {"score", std::to_string(score)}}));
    if (score > highest_) {
        highest_ = score;
        landlord_ = seat;
    }
    ++bidsMade_;
    if (highest_ == 3 || bidsMade_ == 3) {
        if (highest_ == 0) {  // nobody bid: deal again
            std::vector<Reply> again = Deal();
            --handsPlayed_;
            out.insert(out.end(), again.begin(), again.end());
            return out;
        }
        EndBidding(out);
    } else {
        turn_ = (turn_ + 1) % 3;
        TurnNotice(out);
    }
    if (seat == 0) RunRobots(out);
    return out;
}

void GameDesk::EndBidding(std::vector<Reply>& out) {
    hands_[landlord_].AddCards(bottom_);
    hands_[landlord_].SortByNumber();
    out.push_back(Reply(kGame, "SendRemainCard").Element("player", {{"id", names_[landlord_]}}).Cards(ListOf(bottom_)));
    stage_ = kDoubling;
    turn_ = (landlord_ + 1) % 3;
    TurnNotice(out);
}

std::vector<Reply> GameDesk::DoubleAnswer(int seat, bool yes) {
    std::vector<Reply> out;
    doubled_[seat] = yes ? 2 : 1;
    if (yes) ++doubles_;
    out.push_back(Reply(kGame, "Double").Element("player", {{"id", names_[seat]}, {"double", yes ? "True" : "False"}}));
    turn_ = (turn_ + 1) % 3;
    if (turn_ == landlord_) {
        stage_ = kPlaying;
        leader_ = -1;
    }
    TurnNotice(out);
    if (seat == 0) RunRobots(out);
    return out;
}

CCardSet* GameDesk::ToBeat() {
    if (leader_ < 0 || leader_ == turn_) return nullptr;
    toBeat_.Clear();
    lastPlay_[leader_].CopyTo(&toBeat_);
    judge_->GetCardType(&toBeat_);
    return &toBeat_;
}

bool GameDesk::CardsOf(const Request& r, std::vector<CCard*>& out) const {
    size_t at = 1;
    if (r.binary) {
        // The card count goes as a 16-bit word field (read up to its first NUL byte).
        const std::string& word = r.Value(1);
        size_t count = 0;
        for (size_t i = 0; i < word.size() && i < 2; ++i) count |= static_cast<size_t>(static_cast<unsigned char>(word[i])) << (8 * i);
        if (count * 2 + 2 != r.values.size()) return false;
        at = 2;
    }
    if ((r.values.size() - at) % 2 != 0) return false;
    for (; at + 1 < r.values.size(); at += 2) {
        const int index = DeckIndex(std::atoi(r.Value(at).c_str()), std::atoi(r.Value(at + 1).c_str()));
        if (index < 0) return false;
        CCard* card = deck_[static_cast<size_t>(index)].get();
        if (std::find(out.begin(), out.end(), card) != out.end()) return false;
        out.push_back(card);
    }
    return true;
}

std::vector<Reply> GameDesk::Play(int seat, std::vector<CCard*> cards) {
    std::vector<Reply> out;
    CCardSet* toBeat = ToBeat();
    CCardSet play;
    bool legal = true;
    for (CCard* c : cards) legal = legal && hands_[seat].Contains(c);
    play.AddCards(cards);
    if (legal && cards.empty()) {
        legal = toBeat != nullptr;  // the seat that leads cannot pass
    } else if (legal) {
        legal = judge_->GetCardType(&play) != 0 && (!toBeat || judge_->ComparePlays(toBeat, &play) == 1);
    }
    if (!legal) {
        out.push_back(Reply(kGame, "ChuPaiFailed").Element("player", {{"id", names_[seat]}}));
        TurnNotice(out);
        return out;
    }
    if (!toBeat)
        for (CCardSet& last : lastPlay_) last.Clear();
    lastPlay_[seat].Clear();
    if (!cards.empty()) {
        for (CCard* c : cards) hands_[seat].RemoveCard(c);
        lastPlay_[seat].AddCards(cards);
        leader_ = seat;
        ++playCount_[seat];
        if (play.GetType() == kTypeBomb || play.GetType() == kTypeRocket) ++bombs_;
    }
    plays_.emplace_back(seat, ListOf(cards));
    out.push_back(Reply(kGame, "ChuPai").Element("player", {{"id", names_[seat]}}).Cards(ListOf(cards)));
    if (hands_[seat].IsEmpty()) {
        Result(out);
        return out;
    }
    turn_ = (turn_ + 1) % 3;
    TurnNotice(out);
    if (seat == 0) RunRobots(out);
    return out;
}

void GameDesk::Result(std::vector<Reply>& out) {
    const bool landlordWins = hands_[landlord_].IsEmpty();
    const int farmerPlays = playCount_[(landlord_ + 1) % 3] + playCount_[(landlord_ + 2) % 3];
    const char* spring = "";
    int factor = 1;
    if (landlordWins && farmerPlays == 0) spring = "ChunTian";
    if (!landlordWins && playCount_[landlord_] == 1) spring = "FanChun";
    if (*spring) factor = 2;
    for (int i = 0; i < bombs_ + doubles_; ++i) factor *= 2;
    const int unit = config_.stake * highest_ * factor;
    Reply result(kGame, "GameResult");
    for (int s = 0; s < 3; ++s) {
        const bool wins = (s == landlord_) == landlordWins;
        const int change = (s == landlord_ ? 2 : 1) * unit * (wins ? 1 : -1);
        money_[s] += change;
        result.Start("player", {{"id", names_[s]},
                                {"score", std::to_string(change)},
                                {"Bomb", std::to_string(bombs_)},
                                {"ChunTianState", spring},
                                {"Tax", "0"}});
        result.Cards(ListOf(hands_[s])).End();
    }
    out.push_back(result);
    // The player's money as the server keeps it, after the result.
    out.push_back(Reply(kGame, "PlayerMoneyNew").Element("player", {{"money", Money(money_[0])}, {"id", names_[0]}}));
    stage_ = kSeated;
    autoPlay_ = false;
}

std::vector<Reply> GameDesk::Restore() {
    std::vector<Reply> out;
    const char* stage = stage_ == kBidding ? "JiaoFen" : stage_ == kDoubling ? "farmerDouble" : "PlayingCard";
    Reply r(kGame, "RestorePlayer");
    r.Element("game", {{"state", stage},
                       {"memberId", names_[0]},
                       {"visible", "1"},
                       {"ShowCard", "0"},
                       {"nowplayer", names_[turn_]},
                       {"banker", landlord_ >= 0 && stage_ != kBidding ? names_[landlord_] : ""},
                       {"stake", std::to_string(config_.stake)},
                       {"vip", "False"},
                       {"gameid", "0"},
                       {"Bomb", std::to_string(bombs_)}});
    for (int s = 0; s < 3; ++s) {
        r.Element("player", {{"id", names_[s]},
                             {"seat", std::to_string(s)},
                             {"money", Money(money_[s])},
                             {"ready", "True"},
                             {"cardnum", std::to_string(hands_[s].GetCardCount())},
                             {"jiaofen", bids_[s] < 0 ? " " : std::to_string(bids_[s])},
                             {"ip", "16777343"},
                             {"autoplay", s == 0 && autoPlay_ ? "True" : "False"},
                             {"IPLocation", "本机"},
                             {"IPDetail", "127.0.0.1"},
                             {"multiple", std::to_string(doubled_[s])},
                             {"HashAskForLandLord", "0"},
                             {"sex", "1"},
                             {"nickName", names_[s]}});
        r.Start("lastCards").Cards(ListOf(lastPlay_[s])).End();
    }
    r.Start("mycards").Cards(ListOf(hands_[0])).End();
    r.Start("dipai").Cards(stage_ != kBidding ? ListOf(bottom_) : CardList()).End();
    out.push_back(r);
    if (turn_ == 0) TurnNotice(out);
    return out;
}

int GameDesk::Strength(int seat) const {
    int strength = 0;
    int count[18] = {};
    for (auto c = hands_[seat].CardsBegin(); c != hands_[seat].CardsEnd(); ++c) ++count[(*c)->GetNumber()];
    strength += count[15] + 2 * count[16] + 2 * count[17];
    for (int n = 3; n <= 15; ++n) strength += count[n] == 4 ? 3 : 0;
    return strength;
}

int GameDesk::RobotBid(int seat) {
    const int strength = Strength(seat) + static_cast<int>(rng_() % 2);
    const int want = strength >= 7 ? 3 : strength >= 5 ? 2 : strength >= 3 ? 1 : 0;
    return want > highest_ ? want : 0;
}

bool GameDesk::RobotDoubles(int seat) { return Strength(seat) + static_cast<int>(rng_() % 2) >= 5; }

std::vector<CCard*> GameDesk::RobotPlay(int seat) {
    CCardSet* toBeat = ToBeat();
    CCardSet& hand = hands_[seat];
    std::vector<CCardSet*> plays;
    finder_->FindPlays(toBeat, &hand, 0);
    finder_->AllPlays(&plays);
    std::vector<CCard*> choice;
    const bool partnerLeads = toBeat && landlord_ != seat && leader_ != landlord_;
    const CCardSet* best = nullptr;
    for (const CCardSet* p : plays) {
        if (p->IsEmpty()) continue;
        if (!best) {
            best = p;
            continue;
        }
        if (!toBeat) {  // leading: the lowest play, the longer of equal ones
            if (p->GetKey() < best->GetKey() ||
                (p->GetKey() == best->GetKey() && p->GetCardCount() > best->GetCardCount()))
                best = p;
        }
    }
    if (best && partnerLeads && toBeat->GetKey() >= 12 && best->GetCardCount() < hand.GetCardCount()) best = nullptr;
    if (best && toBeat && (best->GetType() == kTypeBomb || best->GetType() == kTypeRocket) &&
        toBeat->GetType() != kTypeBomb && hand.GetCardCount() > 6 && rng_() % 2 == 0)
        best = nullptr;  // keeps a bomb now and then
    if (best) choice.assign(best->CardsBegin(), best->CardsEnd());
    for (CCardSet* p : plays) delete p;
    // Checked as the player's plays are: a refused choice passes, or leads the lowest card.
    CCardSet check;
    check.AddCards(choice);
    if (!choice.empty() && (judge_->GetCardType(&check) == 0 || (toBeat && judge_->ComparePlays(toBeat, &check) != 1)))
        choice.clear();
    if (choice.empty() && !toBeat) choice.push_back(*hand.CardsBegin());
    return choice;
}

}  // namespace servers

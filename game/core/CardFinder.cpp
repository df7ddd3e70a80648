#include "game/core/CardFinder.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "game/core/CardTypeJudge.h"

namespace {

const int kHighestRunNumber = 14;  // the 2 and the jokers never join a run

// Fewest groups of a run found without a play to beat: straights 5, pair runs 3, triple runs 2.
int MinRunGroups(int width) { return width == 1 ? 5 : width == 2 ? 3 : 2; }

int CountTrailingZeros(std::uint32_t bits) { return __builtin_ctz(bits); }

bool SameNumbers(const CCardSet& a, const CCardSet& b) {
    if (a.GetCardCount() != b.GetCardCount()) return false;
    for (auto x = a.CardsBegin(), y = b.CardsBegin(); x != a.CardsEnd(); ++x, ++y)
        if ((*x)->GetNumber() != (*y)->GetNumber()) return false;
    return true;
}

}  // namespace

CCardFinder::CCardFinder()
    : allSteps_{
          {kTypeSingle, &CCardFinder::Singles},
          {kTypePair, &CCardFinder::Pairs},
          {kTypeTriple, &CCardFinder::Triples},
          {kTypeStraight, &CCardFinder::Straights},
          {kTypePairRun, &CCardFinder::PairRuns},
          {kTypeTripleRun, &CCardFinder::TripleRuns},
          {kTypeTriplesSingleWings, &CCardFinder::TripleSingleWings},
          {kTypeTriplesPairWings, &CCardFinder::TriplePairWings},
          {kTypeBomb, &CCardFinder::Bombs},
          {kTypeFourTwoSingles, &CCardFinder::FourTwoSingles},
          {kTypeFourTwoPairs, &CCardFinder::FourTwoPairs},
          {kTypeRocket, &CCardFinder::Rocket},
      },
      steps_(&queue_),
      bodies_(true) {}

CCardFinder::~CCardFinder() = default;

CCardSet& CCardFinder::PlayList::Add() {
    if (size_ == sets_.size()) sets_.emplace_back(new CCardSet);
    CCardSet& play = *sets_[size_++];
    play.Clear();
    play.SetType(kTypeNone);
    play.SetKey(-1);
    return play;
}

void CCardFinder::PlayList::AddSpan(int low, int groups, int width) {
    const Span span = {low, groups, width};
    if (size_ == spans_.size())
        spans_.push_back(span);
    else
        spans_[size_] = span;
    ++size_;
}

void CCardFinder::PlayList::Erase(size_t i) {
    std::rotate(sets_.begin() + i, sets_.begin() + i + 1, sets_.begin() + size_);
    --size_;
}

void CCardFinder::IndexHand() {
    indexed_ = true;
    present_ = 0;
    for (int& n : sizes_) n = 0;
    for (std::uint32_t& mask : atLeast_) mask = 0;
    for (auto g = hand_->GroupsBegin(); g != hand_->GroupsEnd(); ++g) {
        const int number = CCardSet::GroupNumber(*g);
        if (number < 0 || number >= kIndexed) {
            indexed_ = false;
            return;
        }
        byNumber_[number] = &*g;
        sizes_[number] = static_cast<int>(g->size());
        present_ |= 1u << number;
        for (int k = 0; k < kSizes && k <= sizes_[number]; ++k) atLeast_[k] |= 1u << number;
    }
}

const CardGroup* CCardFinder::GroupAbove(int n) const {
    if (!indexed_) return hand_->NextGroupAbove(n);
    if (n >= kIndexed - 1) return nullptr;
    const std::uint32_t above = n < 0 ? present_ : present_ & ~((2u << n) - 1);
    return above ? byNumber_[CountTrailingZeros(above)] : nullptr;
}

bool CCardFinder::NextGroupSized(int n, int fewest, int most, int* number) const {
    if (indexed_) {
        if (n >= kIndexed - 1) return false;
        std::uint32_t mask = atLeast_[fewest];
        if (most != INT_MAX) mask &= ~atLeast_[most + 1];
        if (n >= 0) mask &= ~((2u << n) - 1);
        if (!mask) return false;
        *number = CountTrailingZeros(mask);
        return true;
    }
    for (const CardGroup* g = hand_->NextGroupAbove(n); g; g = hand_->NextGroupAbove(CCardSet::GroupNumber(*g))) {
        const int size = static_cast<int>(g->size());
        if (size >= fewest && size <= most) {
            *number = CCardSet::GroupNumber(*g);
            return true;
        }
    }
    return false;
}

int CCardFinder::SizeOf(int number) const {
    if (indexed_) return number >= 0 && number < kIndexed ? sizes_[number] : 0;
    const CardGroup* g = hand_->FindGroupByNumber(number);
    return g ? static_cast<int>(g->size()) : 0;
}

const CardGroup* CCardFinder::GroupOf(int number) const {
    if (!indexed_) return hand_->FindGroupByNumber(number);
    return number >= 0 && number < kIndexed && (present_ >> number & 1) ? byNumber_[number] : nullptr;
}

void CCardFinder::AddPlay(const std::vector<CCard*>& cards, int key, PlayList& plays) {
    CCardSet& play = plays.Add();
    play.AddCards(cards);
    play.SetKey(key);
}

void CCardFinder::FindPlays(CCardSet* toBeat, CCardSet* hand, int type) {
    toBeat_ = toBeat;
    hand_ = hand;
    found_.Clear();
    foundPos_ = 0;
    queue_.clear();
    steps_ = &queue_;
    stepPos_ = 0;
    if (!hand) return;
    IndexHand();

    if (!toBeat) {
        key_ = -1;
        type_ = type;
    } else {
        type_ = toBeat->GetType();
        key_ = toBeat->GetKey();
    }
    if (type_ == kTypeNone) {
        // A play to beat that is no valid play counts as none, whatever key it holds.
        key_ = -1;
        steps_ = &allSteps_;
        return;
    }

    if (type_ == kTypeRocket && key_ > 0) return;  // nothing beats the rocket
    auto stepOf = [this](int t) {
        for (const Step& s : allSteps_)
            if (s.type == t) return s;
        return allSteps_.front();
    };
    switch (type_) {
        case kTypeStraight:
        case kTypePairRun:
        case kTypeTripleRun:
        case kTypeTriplesSingleWings:
        case kTypeTriplesPairWings:
            if (toBeat) runLength_ = toBeat->GetCardCount() / (type_ - kTypeStraight + 1);
            queue_.push_back(stepOf(type_));
            break;
        case kTypeSingle:
        case kTypePair:
        case kTypeTriple:
        case kTypeFourTwoSingles:
        case kTypeFourTwoPairs:
            queue_.push_back(stepOf(type_));
            break;
        default:
            break;
    }
    queue_.push_back(stepOf(kTypeBomb));
    queue_.push_back(stepOf(kTypeRocket));
}

void CCardFinder::NextPlay(CCardSet* out) {
    if (!out) return;
    out->Clear();
    out->SetType(kTypeNone);
    out->SetKey(-1);
    if (foundPos_ >= found_.size()) {
        found_.Clear();
        while (found_.empty() && stepPos_ < steps_->size()) {
            const Step& step = (*steps_)[stepPos_++];
            const int key = key_;
            if (step.type == kTypeBomb && toBeat_ && toBeat_->GetType() != kTypeBomb &&
                toBeat_->GetType() != kTypeRocket)
                key_ = -1;  // every bomb beats it
            (this->*step.run)(found_);
            for (size_t i = 0; i < found_.size(); ++i) found_[i].SetType(step.type);
            key_ = key;
        }
        foundPos_ = 0;
    }
    if (foundPos_ < found_.size()) found_[foundPos_++].CopyTo(out);
}

void CCardFinder::AllPlays(std::vector<CCardSet*>* out) {
    if (!out) return;
    for (;;) {
        std::unique_ptr<CCardSet> play(new CCardSet);
        NextPlay(play.get());
        if (play->IsEmpty()) return;
        out->push_back(play.release());
    }
}

// ---- group searches: walk the groups upward from above the key --------------

void CCardFinder::ExactGroups(int n, PlayList& plays) {
    if (hand_->GetCardCount() < n) return;
    for (int number = key_; NextGroupSized(number, n, n, &number);) {
        AddRun(number, 1, n, plays);
        if (AllStepsMode()) return;
    }
}

void CCardFinder::SplitGroups(int n, PlayList& plays) {
    if (hand_->GetCardCount() < n) return;
    for (int number = key_; NextGroupSized(number, n + 1, INT_MAX, &number);) {
        AddRun(number, 1, n, plays);  // the highest suits
        if (AllStepsMode()) return;
    }
}

void CCardFinder::GroupStep(int n, PlayList& plays) {
    const size_t before = plays.size();
    ExactGroups(n, plays);
    if (AllStepsMode() && plays.size() > before) return;
    SplitGroups(n, plays);
}

void CCardFinder::Rocket(PlayList& plays) {
    const CardGroup* low = GroupOf(16);
    const CardGroup* high = GroupOf(17);
    if (!low || !high) return;
    cards_.assign({high->front(), low->front()});
    AddPlay(cards_, 17, plays);
}

// ---- run searches ------------------------------------------------------------

void CCardFinder::GatherRun(int low, int groups, int width) {
    cards_.clear();
    for (int n = low; n < low + groups; ++n) {
        const CardGroup* run = GroupOf(n);
        cards_.insert(cards_.end(), run->begin(), run->begin() + width);
    }
}

void CCardFinder::AddRun(int low, int groups, int width, PlayList& plays) {
    if (plays.SpansOnly()) {
        plays.AddSpan(low, groups, width);
        return;
    }
    GatherRun(low, groups, width);
    AddPlay(cards_, low + groups - 1, plays);
}

void CCardFinder::ExactRuns(int width, PlayList& plays) {
    const bool beat = Beating();
    const int lo = beat ? key_ - runLength_ + 1 : -1;
    // A run starts at a group of exactly `width` cards.
    for (int s = lo; NextGroupSized(s, width, width, &s);) {
        const int limit = beat ? runLength_ : INT_MAX;
        int m = 0;
        while (m < limit && s + m <= kHighestRunNumber && SizeOf(s + m) == width) ++m;
        if (beat ? (m == runLength_ && m > 0) : m >= MinRunGroups(width)) {
            AddRun(s, m, width, plays);
            if (beat && AllStepsMode()) return;
        }
    }
}

void CCardFinder::SplitRuns(int width, PlayList& plays) {
    const bool beat = Beating();
    const int lo = beat ? key_ - runLength_ + 1 : -1;
    // A run starts at a group of at least `width` cards.
    int s = lo;
    while (NextGroupSized(s, width, INT_MAX, &s)) {
        const int limit = beat ? runLength_ : INT_MAX;
        int m = 0;
        bool split = false;  // some group gives up only part of its cards
        while (m < limit && s + m <= kHighestRunNumber) {
            const int size = SizeOf(s + m);
            if (size < width) break;
            if (size > width) split = true;
            ++m;
        }
        if (!beat) {
            if (m >= MinRunGroups(width) && split) {
                AddRun(s, m, width, plays);
                s += m;
            }
        } else {
            if (m == runLength_ && m > 0 && split) {
                AddRun(s, m, width, plays);
                if (AllStepsMode()) return;
            }
            s += m;
        }
    }
}

void CCardFinder::RunStep(int width, PlayList& plays) {
    const bool beat = Beating();
    const int cards = hand_->GetCardCount();
    const int groups = hand_->GetGroupCount();
    if (!beat) {
        if (width == 1 && (cards < 5 || groups < 5)) return;
        if (width == 2 && (cards < 6 || groups < 3)) return;
        if (width == 3 && cards < 6) return;
    } else if (cards < (toBeat_ ? toBeat_->GetCardCount() : 0) || groups < runLength_) {
        return;
    }
    const size_t before = plays.size();
    ExactRuns(width, plays);
    const size_t exact = plays.size() - before;
    if (exact > 0 && beat) return;
    const size_t splitStart = plays.size();
    SplitRuns(width, plays);
    if (plays.size() > splitStart && exact > 0) plays.Erase(splitStart - 1);
}

// ---- plays with wings ----------------------------------------------------------

bool CCardFinder::WouldBeAccepted(CCardSet* play) {
    if (!toBeat_ && !AllStepsMode()) return true;  // a search for one type: the classifier's own
    if (!judge_) judge_.reset(new CCardTypeJudge);
    const int foundType = play->GetType();
    const int foundKey = play->GetKey();
    const int type = judge_->GetCardType(play);
    const int key = play->GetKey();
    play->SetType(foundType);
    play->SetKey(foundKey);
    if (type == kTypeNone) return false;
    if (!toBeat_ || toBeat_->GetType() == kTypeNone) return true;
    return CCardTypeJudge::CompareClassified(toBeat_->GetType(), toBeat_->GetCardCount(), toBeat_->GetKey(), type,
                                             play->GetCardCount(), key) == 1;
}

bool CCardFinder::OfferWing(PlayList& plays) {
    CCardSet& play = plays[plays.size() - 1];
    for (size_t i = 0; i + 1 < plays.size(); ++i) {
        if (SameNumbers(plays[i], play)) {
            plays.PopBack();
            return false;
        }
    }
    if (!WouldBeAccepted(&play)) {
        plays.PopBack();
        return false;
    }
    return true;
}

void CCardFinder::ChooseWings(const Span& body, int width, int need) {
    const int low = body.low;
    const int high = body.low + body.groups - 1;
    std::vector<CCard*>& wings = wings_;
    wings.clear();
    int got = 0;
    // First the groups of exactly the wing's width...
    for (const CardGroup* g = GroupAbove(-1); g && got < need; g = GroupAbove(CCardSet::GroupNumber(*g))) {
        if (static_cast<int>(g->size()) != width) continue;
        wings.insert(wings.end(), g->begin(), g->end());
        ++got;
    }
    // ...then cards out of larger groups, never the body's own; what is left
    // of a group short of a whole wing is dropped.
    for (const CardGroup* g = GroupAbove(-1); g && got < need; g = GroupAbove(CCardSet::GroupNumber(*g))) {
        if (static_cast<int>(g->size()) <= width) continue;
        std::vector<CCard*>& part = part_;
        part.clear();
        const bool inBody = CCardSet::GroupNumber(*g) >= low && CCardSet::GroupNumber(*g) <= high;
        for (size_t i = 0; i < g->size(); ++i) {
            CCard* c = (*g)[i];
            if (inBody && static_cast<int>(i) < body.width) continue;  // the body has the first cards
            part.push_back(c);
            if (static_cast<int>(part.size()) == width) {
                wings.insert(wings.end(), part.begin(), part.end());
                part.clear();
                if (++got == need) break;
            }
        }
    }
    if (got < need) wings.clear();
}

void CCardFinder::AddWithWings(const Span& body, PlayList& plays) {
    GatherRun(body.low, body.groups, body.width);
    cards_.insert(cards_.end(), wings_.begin(), wings_.end());
    AddPlay(cards_, body.low + body.groups - 1, plays);
}

void CCardFinder::TripleWingsStep(int width, PlayList& plays) {
    const bool beat = Beating();
    const int cards = hand_->GetCardCount();
    if (cards < (beat ? runLength_ * (width + 3) : width + 3)) return;

    PlayList& bodies = bodies_;
    bodies.Clear();
    if (!beat) {
        ExactRuns(3, bodies);
        SplitRuns(3, bodies);
        GroupStep(3, bodies);
    } else if (runLength_ == 1) {
        GroupStep(3, bodies);
    } else {
        ExactRuns(3, bodies);
        SplitRuns(3, bodies);
    }

    for (size_t i = 0; i < bodies.size(); ++i) {
        const Span& body = bodies.SpanAt(i);
        ChooseWings(body, width, body.groups);
        if (wings_.empty()) continue;
        AddWithWings(body, plays);
        if (OfferWing(plays) && AllStepsMode()) break;
    }
}

void CCardFinder::FourWingsStep(int width, PlayList& plays) {
    PlayList& bodies = bodies_;
    bodies.Clear();
    ExactGroups(4, bodies);
    for (size_t i = 0; i < bodies.size(); ++i) {
        const Span& body = bodies.SpanAt(i);
        ChooseWings(body, width, 2);
        if (wings_.empty()) continue;
        AddWithWings(body, plays);
        OfferWing(plays);
    }
}

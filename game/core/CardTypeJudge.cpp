#include "game/core/CardTypeJudge.h"

#include "game/core/CardFinder.h"

namespace {

// Each test answers no (false) or yes with the key written to *key.

bool OneGroupOf(const CCardSet& set, int count, int* key) {
    if (set.GetCardCount() != count || set.GetGroupCount() != 1) return false;
    *key = (*set.CardsBegin())->GetNumber();
    return true;
}

bool IsRocket(const CCardSet& set, int* key) {
    if (set.GetGroupCount() != 2) return false;
    auto g = set.GroupsBegin();
    if (CCardSet::GroupNumber(g[0]) != 17 || CCardSet::GroupNumber(g[1]) != 16) return false;
    *key = 17;
    return true;
}

// Groups of exactly `width` cards with consecutive numbers, highest first,
// none above the A.
bool IsRun(const CCardSet& set, int width, int* key) {
    if (set.GetGroupCount() * width != set.GetCardCount()) return false;
    const int highest = CCardSet::GroupNumber(*set.GroupsBegin());
    int expected = highest;
    for (auto g = set.GroupsBegin(); g != set.GroupsEnd(); ++g, --expected) {
        if (static_cast<int>(g->size()) != width || CCardSet::GroupNumber(*g) != expected || expected > 14)
            return false;
    }
    *key = highest;
    return true;
}

}  // namespace

CCardTypeJudge::CCardTypeJudge() : finder_(new CCardFinder) {}

CCardTypeJudge::~CCardTypeJudge() = default;

bool CCardTypeJudge::FinderTest(CCardSet* set, int type, int divisor) {
    const int count = set->GetCardCount();
    if (count % divisor != 0) return false;
    // The set has the type when any play of that type the finder offers from
    // it uses every card.
    CCardSet& result = result_;
    finder_->FindPlays(nullptr, set, type);
    for (;;) {
        finder_->NextPlay(&result);
        if (result.IsEmpty() || result.GetType() != type) return false;
        if (result.GetCardCount() == count) {
            set->SetKey(result.GetKey());
            return true;
        }
    }
}

int CCardTypeJudge::GetCardType(CCardSet* set) {
    if (!set) return kTypeNone;
    const int count = set->GetCardCount();
    const int groups = set->GetGroupCount();
    int key = -1;
    int type = kTypeNone;
    if (count == 0) {
        type = kTypeNone;
    } else if (count == 1) {
        key = (*set->CardsBegin())->GetNumber();
        type = kTypeSingle;
    } else if (OneGroupOf(*set, 2, &key)) {
        type = kTypePair;
    } else if (OneGroupOf(*set, 3, &key)) {
        type = kTypeTriple;
    } else if (OneGroupOf(*set, 4, &key)) {
        type = kTypeBomb;
    } else if (IsRocket(*set, &key)) {
        type = kTypeRocket;
    } else if (groups >= 5 && IsRun(*set, 1, &key)) {
        type = kTypeStraight;
    } else if (count >= 6 && count % 2 == 0 && IsRun(*set, 2, &key)) {
        type = kTypePairRun;
    } else if (count >= 6 && count % 3 == 0 && IsRun(*set, 3, &key)) {
        type = kTypeTripleRun;
    }
    if (type != kTypeNone || count == 0) {
        set->SetType(type);
        set->SetKey(key);
        return type;
    }
    // The finder tests write the key themselves.
    if (FinderTest(set, kTypeFourTwoSingles, 6)) {
        type = kTypeFourTwoSingles;
    } else if (FinderTest(set, kTypeFourTwoPairs, 8)) {
        type = kTypeFourTwoPairs;
    } else if (FinderTest(set, kTypeTriplesSingleWings, 4)) {
        type = kTypeTriplesSingleWings;
    } else if (FinderTest(set, kTypeTriplesPairWings, 5)) {
        type = kTypeTriplesPairWings;
    } else {
        set->SetKey(-1);
    }
    set->SetType(type);
    return type;
}

int CCardTypeJudge::CompareClassified(int beatType, int beatCount, int beatKey, int type, int count, int key) {
    if (beatType == kTypeNone || type == kTypeNone) return 0;
    if (beatType != type) {
        if (beatType == kTypeRocket) return 2;
        if (type == kTypeBomb || type == kTypeRocket) return 1;
        return 0;
    }
    if (beatCount != count) return 0;
    return beatKey >= key ? 2 : 1;
}

int CCardTypeJudge::ComparePlays(CCardSet* toBeat, CCardSet* play) {
    int beatType = GetCardType(toBeat);
    int type = GetCardType(play);
    if (beatType == kTypeNone || type == kTypeNone) return 0;
    return CompareClassified(beatType, toBeat->GetCardCount(), toBeat->GetKey(), type, play->GetCardCount(),
                             play->GetKey());
}

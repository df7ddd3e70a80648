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

// The finder's answer for the plays with wings of 4, 5, 6 or 8 cards, read off
// the group sizes: true when it is known, with the type (maybe kTypeNone) and
// key; false when only the finder can tell (8 cards that may be a plane).
bool SmallWings(const CCardSet& set, int* type, int* key) {
    int sizes[9] = {};  // groups by size (5 and more as 8)
    int four = -1, triple = -1, five = -1;
    for (auto g = set.GroupsBegin(); g != set.GroupsEnd(); ++g) {
        const int n = static_cast<int>(g->size());
        ++sizes[n < 8 ? n : 8];
        // Largest first, then highest first: the last four seen is the lowest.
        if (n == 4) four = CCardSet::GroupNumber(*g);
        if (n == 3) triple = CCardSet::GroupNumber(*g);
        if (n == 5) five = CCardSet::GroupNumber(*g);
    }
    *type = kTypeNone;
    *key = -1;
    switch (set.GetCardCount()) {
        case 4:  // a triple and one card
            if (sizes[3] == 1) *type = kTypeTriplesSingleWings, *key = triple;
            return true;
        case 5:  // a triple and a pair, or five of a number split three and two
            if (sizes[3] == 1 && sizes[2] == 1)
                *type = kTypeTriplesPairWings, *key = triple;
            else if (sizes[5] == 1 && set.GetGroupCount() == 1)
                *type = kTypeTriplesPairWings, *key = five;
            return true;
        case 6:  // four and two cards
            if (sizes[4] == 1) *type = kTypeFourTwoSingles, *key = four;
            return true;
        case 8:  // four and two pairs (or another four)
            if ((sizes[4] == 1 && sizes[2] == 2) || sizes[4] == 2) {
                *type = kTypeFourTwoPairs, *key = four;
                return true;
            }
            return false;
        default:
            return false;
    }
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
    if (SmallWings(*set, &type, &key)) {
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

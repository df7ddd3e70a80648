// Classifies a card set as a play (single, pair, ..., four with two pairs)
// and compares two plays.
#pragma once

#include <memory>

#include "game/core/CardSet.h"

class CCardFinder;

class CCardTypeJudge {
public:
    CCardTypeJudge();
    ~CCardTypeJudge();
    CCardTypeJudge(const CCardTypeJudge&) = delete;
    CCardTypeJudge& operator=(const CCardTypeJudge&) = delete;

    // Card type code 0..12, also stored in the set with its key. A set that
    // is no valid play gets type 0 and key -1; a null set gives 0.
    int GetCardType(CCardSet* set);

    // Classifies both sets again; 0 = not comparable, 1 = play beats toBeat,
    // 2 = it does not.
    int ComparePlays(CCardSet* toBeat, CCardSet* play);

    // The comparison rule on plays already classified.
    static int CompareClassified(int beatType, int beatCount, int beatKey, int type, int count, int key);

private:
    bool FinderTest(CCardSet* set, int type, int divisor);

    std::unique_ptr<CCardFinder> finder_;  // recognises the types with wings
    CCardSet result_;                      // scratch: FinderTest
};

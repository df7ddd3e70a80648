// A collection of cards (a hand, a play, a hint) kept grouped by number.
//
// Invariants after every change:
//  - a card (number and suit) occurs at most once;
//  - one non-empty group per number present, its cards by suit, higher first;
//  - groups by size, larger first, then by number, higher first;
//  - the card list is the groups concatenated in that order.
// The set refers to cards it does not own (the table owns the deck).
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "game/core/Card.h"

typedef std::vector<CCard*> CardGroup;

// Card type codes stored in a set's type field.
enum CardType {
    kTypeNone = 0,
    kTypeSingle = 1,
    kTypePair = 2,
    kTypeTriple = 3,
    kTypeBomb = 4,
    kTypeRocket = 5,
    kTypeStraight = 6,
    kTypePairRun = 7,
    kTypeTripleRun = 8,
    kTypeTriplesSingleWings = 9,
    kTypeTriplesPairWings = 10,
    kTypeFourTwoSingles = 11,
    kTypeFourTwoPairs = 12,
};

class CCardSet {
public:
    typedef std::vector<CCard*>::const_iterator CardIterator;
    typedef std::vector<CardGroup>::const_iterator GroupIterator;

    CCardSet() = default;

    // Ignored when the same card is already in the set (or card is null).
    void AddCard(CCard* card);
    // Ignored when no such card is in the set.
    void RemoveCard(const CCard* card);
    void AddCards(const CCardSet& other);
    // Same as AddCard for each card in turn, with one regrouping at the end.
    void AddCards(const std::vector<CCard*>& cards);
    // Adds every card to target (which is not emptied first) and gives it
    // this set's type and key.
    void CopyTo(CCardSet* target) const;
    // Drops every card; type and key stay.
    void Clear();

    int GetCardCount() const { return static_cast<int>(cards_.size()); }
    int GetGroupCount() const { return static_cast<int>(groups_.size()); }
    bool IsEmpty() const { return cards_.empty(); }

    int GetType() const { return type_; }
    void SetType(int type) { type_ = type; }
    int GetKey() const { return key_; }
    void SetKey(int key) { key_ = key; }

    CardIterator CardsBegin() const { return cards_.begin(); }
    CardIterator CardsEnd() const { return cards_.end(); }
    GroupIterator GroupsBegin() const { return groups_.begin(); }
    GroupIterator GroupsEnd() const { return groups_.end(); }

    // Position of the card with the same number and suit, or CardsEnd().
    CardIterator FindCard(const CCard* card) const;
    bool Contains(const CCard* card) const { return FindCard(card) != cards_.end(); }

    void SelectAll();
    void UnselectAll();

    // Display orders: they reorder the card list only; the next AddCard or
    // RemoveCard restores the grouped order.
    void SortByNumber();
    void SortByRun();
    void MarkRuns();

    // Group lookups; null when there is no such group.
    const CardGroup* FindGroupOfCard(const CCard* card) const;
    const CardGroup* FindGroupByNumber(int number) const;
    // The group with the smallest number above n: starting from -1 and
    // repeating with the number found walks the groups in ascending order.
    const CardGroup* NextGroupAbove(int n) const;

    static int GroupNumber(const CardGroup& group) { return group.empty() ? -1 : group.front()->GetNumber(); }

private:
    int GroupIndexOf(int number) const;
    void Regroup();
    // An empty group appended to groups_, reusing the storage of a cleared one.
    CardGroup& NewGroup();

    std::vector<CardGroup> groups_;
    std::vector<CardGroup> spare_;  // emptied groups kept for their storage
    std::vector<CCard*> cards_;
    // (number, index into groups_) in ascending number, for the lookups.
    std::vector<std::pair<int, int>> ascending_;
    int type_ = 0;
    int key_ = -1;
};

// Larger sets first.
bool CompareCardSetsBySize(const CCardSet* a, const CCardSet* b);

// Stable sort of a list of sets: sets the ordering does not separate keep
// their order.
template <class Less>
void SortCardSets(std::vector<CCardSet*>& sets, Less less) {
    std::stable_sort(sets.begin(), sets.end(), less);
}

// Frees every set of the list and empties it.
void ClearCardSetVector(std::vector<CCardSet*>& sets);
// Takes the first occurrence of that pointer out of the list; the set is not freed.
void RemoveCardSetFromVector(std::vector<CCardSet*>& sets, const CCardSet* set);

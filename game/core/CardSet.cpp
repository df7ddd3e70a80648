#include "game/core/CardSet.h"

#include <climits>

namespace {

bool HigherSuitFirst(const CCard* a, const CCard* b) { return a->GetSuit() > b->GetSuit(); }

bool LargerGroupFirst(const CardGroup& a, const CardGroup& b) {
    if (a.size() != b.size()) return a.size() > b.size();
    return CCardSet::GroupNumber(a) > CCardSet::GroupNumber(b);
}

bool HigherNumberFirst(const CCard* a, const CCard* b) {
    if (a->GetNumber() != b->GetNumber()) return a->GetNumber() > b->GetNumber();
    return a->GetSuit() > b->GetSuit();
}

bool HigherRunFirst(const CCard* a, const CCard* b) {
    if (a->GetRunMark() != b->GetRunMark()) return a->GetRunMark() > b->GetRunMark();
    return HigherNumberFirst(a, b);
}

}  // namespace

void CCardSet::Regroup() {
    std::sort(groups_.begin(), groups_.end(), LargerGroupFirst);
    cards_.clear();
    ascending_.clear();
    ascending_.reserve(groups_.size());
    size_t total = 0;
    for (const CardGroup& g : groups_) total += g.size();
    cards_.reserve(total);
    for (size_t i = 0; i < groups_.size(); ++i) {
        cards_.insert(cards_.end(), groups_[i].begin(), groups_[i].end());
        ascending_.emplace_back(GroupNumber(groups_[i]), static_cast<int>(i));
    }
    std::sort(ascending_.begin(), ascending_.end());
}

int CCardSet::GroupIndexOf(int number) const {
    auto at = std::lower_bound(ascending_.begin(), ascending_.end(), std::make_pair(number, -1));
    return at != ascending_.end() && at->first == number ? at->second : -1;
}

CardGroup& CCardSet::NewGroup() {
    if (spare_.empty()) {
        groups_.emplace_back();
    } else {
        groups_.push_back(std::move(spare_.back()));
        spare_.pop_back();
    }
    return groups_.back();
}

void CCardSet::AddCard(CCard* card) {
    if (!card || FindGroupOfCard(card)) return;
    const int at = GroupIndexOf(card->GetNumber());
    CardGroup& group = at < 0 ? NewGroup() : groups_[at];
    group.push_back(card);
    std::sort(group.begin(), group.end(), HigherSuitFirst);
    Regroup();
}

void CCardSet::AddCards(const std::vector<CCard*>& cards) {
    groups_.reserve(groups_.size() + cards.size());
    bool changed = false;
    for (CCard* card : cards) {
        if (!card) continue;
        CardGroup* group = nullptr;
        for (CardGroup& g : groups_) {
            if (GroupNumber(g) == card->GetNumber()) {
                group = &g;
                break;
            }
        }
        if (!group) {
            group = &NewGroup();
        } else if (std::any_of(group->begin(), group->end(), [card](const CCard* c) { return c->SameCard(*card); })) {
            continue;
        }
        group->push_back(card);
        changed = true;
    }
    if (!changed) return;
    for (CardGroup& g : groups_) std::sort(g.begin(), g.end(), HigherSuitFirst);
    Regroup();
}

void CCardSet::RemoveCard(const CCard* card) {
    if (!card) return;
    for (auto g = groups_.begin(); g != groups_.end(); ++g) {
        for (auto c = g->begin(); c != g->end(); ++c) {
            if ((*c)->SameCard(*card)) {
                g->erase(c);
                if (g->empty()) groups_.erase(g);
                Regroup();
                return;
            }
        }
    }
}

void CCardSet::AddCards(const CCardSet& other) {
    if (&other == this) return;  // every card is already here
    AddCards(other.cards_);
}

void CCardSet::CopyTo(CCardSet* target) const {
    if (!target) return;
    if (target != this) {
        if (target->IsEmpty()) {
            // Same result as adding card by card: the groups and the lookup
            // are already in order; the card list is rebuilt from the groups
            // (a display order here is not copied).
            target->Clear();
            target->cards_.reserve(cards_.size());
            for (const CardGroup& g : groups_) {
                target->NewGroup().assign(g.begin(), g.end());
                target->cards_.insert(target->cards_.end(), g.begin(), g.end());
            }
            target->ascending_ = ascending_;
        } else {
            target->AddCards(cards_);
        }
    }
    target->type_ = type_;
    target->key_ = key_;
}

void CCardSet::Clear() {
    for (CardGroup& g : groups_) {
        g.clear();
        spare_.push_back(std::move(g));
    }
    groups_.clear();
    cards_.clear();
    ascending_.clear();
}

CCardSet::CardIterator CCardSet::FindCard(const CCard* card) const {
    if (!card) return cards_.end();
    return std::find_if(cards_.begin(), cards_.end(), [card](const CCard* c) { return c->SameCard(*card); });
}

void CCardSet::SelectAll() {
    for (CCard* c : cards_) c->SetSelected(1);
}

void CCardSet::UnselectAll() {
    for (CCard* c : cards_) c->SetSelected(0);
}

void CCardSet::SortByNumber() { std::sort(cards_.begin(), cards_.end(), HigherNumberFirst); }

void CCardSet::SortByRun() { std::sort(cards_.begin(), cards_.end(), HigherRunFirst); }

void CCardSet::MarkRuns() {
    SortByNumber();
    for (CCard* c : cards_) c->SetRunMark(1);
    size_t i = 0;
    while (i < cards_.size()) {
        if (cards_[i]->GetNumber() == 17 && i + 1 < cards_.size() && cards_[i + 1]->GetNumber() == 16) {
            // Both jokers; the 16 then starts a stretch of its own and keeps 5.
            cards_[i]->SetRunMark(5);
            cards_[i + 1]->SetRunMark(5);
            ++i;
            continue;
        }
        size_t k = 1;
        while (i + k < cards_.size() && cards_[i + k]->GetNumber() == cards_[i]->GetNumber()) ++k;
        if (k >= 2)
            for (size_t j = i; j < i + k; ++j) cards_[j]->SetRunMark(static_cast<int>(k));
        i += k;
    }
}

const CardGroup* CCardSet::FindGroupOfCard(const CCard* card) const {
    if (!card) return nullptr;
    for (const CardGroup& g : groups_)
        for (const CCard* c : g)
            if (c->SameCard(*card)) return &g;
    return nullptr;
}

const CardGroup* CCardSet::FindGroupByNumber(int number) const {
    const int at = GroupIndexOf(number);
    return at < 0 ? nullptr : &groups_[at];
}

const CardGroup* CCardSet::NextGroupAbove(int n) const {
    auto at = std::upper_bound(ascending_.begin(), ascending_.end(), std::make_pair(n, INT_MAX));
    return at != ascending_.end() ? &groups_[at->second] : nullptr;
}

bool CompareCardSetsBySize(const CCardSet* a, const CCardSet* b) { return a->GetCardCount() > b->GetCardCount(); }

void ClearCardSetVector(std::vector<CCardSet*>& sets) {
    for (CCardSet* s : sets) delete s;
    sets.clear();
}

void RemoveCardSetFromVector(std::vector<CCardSet*>& sets, const CCardSet* set) {
    auto it = std::find(sets.begin(), sets.end(), set);
    if (it != sets.end()) sets.erase(it);
}

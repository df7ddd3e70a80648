// One card of the 54-card deck. Numbers 3..10, 11..14 for J Q K A, 15 for the
// 2, 16 and 17 for the lower and higher joker; suits 0..3 (0 for the jokers).
// Two cards are the same card when number and suit are equal.
#pragma once

class CCard {
public:
    CCard(int number, int suit) : number_(number), suit_(suit) {}

    void ToggleSelected() { selected_ = 1 - selected_; }
    int IsSelected() const { return selected_; }
    void SetSelected(int selected) { selected_ = selected; }

    int GetNumber() const { return number_; }
    int GetSuit() const { return suit_; }

    // Size of the stretch of equal numbers the card belongs to (1..4), 5 for
    // both jokers together; written by CCardSet::MarkRuns.
    int GetRunMark() const { return runMark_; }
    void SetRunMark(int mark) { runMark_ = mark; }

    // Passed over during the current mouse drag over the hand.
    void SetTouched(int touched) { touched_ = touched; }
    int IsTouched() const { return touched_; }

    bool SameCard(const CCard& other) const { return number_ == other.number_ && suit_ == other.suit_; }

private:
    int selected_ = 0;
    int number_;
    int suit_;
    int runMark_ = 1;
    int touched_ = 0;
};

// Lists the plays a hand can make: the plays that beat a given play (hints
// and auto-play), every play of one type (used by the classifier), or, with
// nothing to beat and no type, the lowest play of every kind (leading hint).
//
// A search runs lazily one step (one kind of play) at a time; within a step
// plays come lowest first.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/core/CardSet.h"

class CCardTypeJudge;

class CCardFinder {
public:
    CCardFinder();
    ~CCardFinder();
    CCardFinder(const CCardFinder&) = delete;
    CCardFinder& operator=(const CCardFinder&) = delete;

    // Starts a search. toBeat must carry its type and key (classify it
    // first); type is used only when toBeat is null. Both sets must stay
    // alive and unchanged while the search is read.
    void FindPlays(CCardSet* toBeat, CCardSet* hand, int type);
    // Empties out and fills it with the next play (cards of the hand, type,
    // key); out stays empty once the search has nothing more.
    void NextPlay(CCardSet* out);
    // Appends every remaining play as a new set the caller owns.
    void AllPlays(std::vector<CCardSet*>* out);

private:
    // Plays found by one step. The sets stay with the list when it is emptied
    // and are reused, so that a search allocates nothing once warm.
    // Cards out of the hand: the first `width` of each group numbered
    // low .. low+groups-1 (how every play of a run or group is made).
    struct Span {
        int low;
        int groups;
        int width;
    };

    // A list of spans only (the bodies of plays with wings) or of plays.
    class PlayList {
    public:
        explicit PlayList(bool spansOnly = false) : spansOnly_(spansOnly) {}
        bool SpansOnly() const { return spansOnly_; }
        void AddSpan(int low, int groups, int width);
        const Span& SpanAt(size_t i) const { return spans_[i]; }
        size_t size() const { return size_; }
        bool empty() const { return size_ == 0; }
        CCardSet& operator[](size_t i) const { return *sets_[i]; }
        // A new empty play (type 0, key -1) at the end.
        CCardSet& Add();
        void PopBack() { --size_; }
        void Erase(size_t i);
        void Clear() { size_ = 0; }

    private:
        bool spansOnly_;
        std::vector<std::unique_ptr<CCardSet>> sets_;
        std::vector<Span> spans_;
        size_t size_ = 0;
    };
    typedef void (CCardFinder::*StepFn)(PlayList& plays);
    struct Step {
        int type;
        StepFn run;
    };

    bool AllStepsMode() const { return steps_ == &allSteps_; }
    bool Beating() const { return key_ > 0; }

    // Searches; each appends plays with their keys to `plays`.
    void ExactGroups(int n, PlayList& plays);
    void SplitGroups(int n, PlayList& plays);
    void GroupStep(int n, PlayList& plays);
    void ExactRuns(int width, PlayList& plays);
    void SplitRuns(int width, PlayList& plays);
    void RunStep(int width, PlayList& plays);
    void TripleWingsStep(int width, PlayList& plays);
    void FourWingsStep(int width, PlayList& plays);

    // Steps of the table.
    void Singles(PlayList& plays) { GroupStep(1, plays); }
    void Pairs(PlayList& plays) { GroupStep(2, plays); }
    void Triples(PlayList& plays) { GroupStep(3, plays); }
    void Bombs(PlayList& plays) { ExactGroups(4, plays); }
    void Rocket(PlayList& plays);
    void Straights(PlayList& plays) { RunStep(1, plays); }
    void PairRuns(PlayList& plays) { RunStep(2, plays); }
    void TripleRuns(PlayList& plays) { RunStep(3, plays); }
    void TripleSingleWings(PlayList& plays) { TripleWingsStep(1, plays); }
    void TriplePairWings(PlayList& plays) { TripleWingsStep(2, plays); }
    void FourTwoSingles(PlayList& plays) { FourWingsStep(1, plays); }
    void FourTwoPairs(PlayList& plays) { FourWingsStep(2, plays); }

    // The hand's groups by number, for the lookups of one search.
    void IndexHand();
    // Same as the hand's NextGroupAbove and FindGroupByNumber.
    const CardGroup* GroupAbove(int n) const;
    const CardGroup* GroupOf(int number) const;
    // The lowest number above n of a group of fewest..most cards (most is
    // INT_MAX or at most kSizes-2); false when there is none.
    bool NextGroupSized(int n, int fewest, int most, int* number) const;
    // Cards in the hand's group of that number; 0 when there is none.
    int SizeOf(int number) const;
    void AddPlay(const std::vector<CCard*>& cards, int key, PlayList& plays);
    // cards_ = the cards of a span.
    void GatherRun(int low, int groups, int width);
    // Adds the span as a play keyed by its highest number, or as a span.
    void AddRun(int low, int groups, int width, PlayList& plays);

    // A play with wings is offered only when the play button would take it:
    // it classifies as a valid play and beats the play to beat.
    bool WouldBeAccepted(CCardSet* play);
    // Offers the play last added to plays; takes it back when refused.
    bool OfferWing(PlayList& plays);
    // Fills wings_ with `need` wings of `width` cards for the body; empty
    // when the hand has too few.
    void ChooseWings(const Span& body, int width, int need);
    // The body with wings_, keyed by the body's highest number.
    void AddWithWings(const Span& body, PlayList& plays);

    std::vector<Step> queue_;
    std::vector<Step> allSteps_;
    const std::vector<Step>* steps_;
    size_t stepPos_ = 0;
    int type_ = 0;
    int key_ = -1;
    int runLength_ = 0;
    PlayList found_;
    size_t foundPos_ = 0;
    CCardSet* toBeat_ = nullptr;
    CCardSet* hand_ = nullptr;
    std::unique_ptr<CCardTypeJudge> judge_;  // made on first need
    std::vector<CCard*> cards_;              // scratch: the run being gathered
    std::vector<CCard*> wings_;              // scratch: ChooseWings
    std::vector<CCard*> part_;               // scratch: ChooseWings
    PlayList bodies_;                        // scratch: bodies of plays with wings
    // The hand's groups by number when every number lies in 0..kIndexed-1.
    static const int kIndexed = 32;
    bool indexed_ = false;
    std::uint32_t present_ = 0;  // bit n: the hand has a group numbered n
    const CardGroup* byNumber_[kIndexed] = {};
    int sizes_[kIndexed] = {};
    // Bit n of atLeast_[k]: the hand's group numbered n has k cards or more.
    static const int kSizes = 6;
    std::uint32_t atLeast_[kSizes] = {};
};

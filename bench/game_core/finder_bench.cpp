// Play finder over a fixed set of seeded deals:
//  - LeadSearch: every play of a lead search on the landlord's 20 cards;
//  - AnswerSearch: every play against a random play of another hand, on a
//    17-card hand (the play to beat is picked and classified beforehand).
// Each iteration takes the next deal; the median over repetitions is the figure.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "game/core/CardFinder.h"
#include "game/core/CardTypeJudge.h"

namespace {

const int kDeals = 512;

struct Table {
    std::vector<CCard> deck;
    std::vector<std::unique_ptr<CCardSet>> landlord, farmer, toBeat;

    Table() {
        for (int i = 0; i < 52; ++i) deck.emplace_back(i / 4 + 3, i % 4);
        deck.emplace_back(16, 0);
        deck.emplace_back(17, 0);
        CCardTypeJudge judge;
        CCardFinder finder;
        for (unsigned seed = 1; landlord.size() < static_cast<size_t>(kDeals); ++seed) {
            std::mt19937 rng(seed);
            std::vector<CCard*> order;
            for (CCard& c : deck) order.push_back(&c);
            for (int i = 53; i > 0; --i) std::swap(order[i], order[rng() % (i + 1)]);
            std::unique_ptr<CCardSet> hands[3];
            for (auto& h : hands) h.reset(new CCardSet);
            for (int i = 0; i < 54; ++i) hands[i < 17 || i >= 51 ? 0 : i < 34 ? 1 : 2]->AddCard(order[i]);

            // A random play of the landlord's: a random type, then one of its plays.
            finder.FindPlays(nullptr, hands[0].get(), 1 + static_cast<int>(rng() % 12));
            std::vector<CCardSet*> plays;
            finder.AllPlays(&plays);
            std::unique_ptr<CCardSet> beat(new CCardSet);
            if (!plays.empty()) plays[rng() % plays.size()]->CopyTo(beat.get());
            ClearCardSetVector(plays);
            if (judge.GetCardType(beat.get()) == 0) continue;
            landlord.push_back(std::move(hands[0]));
            farmer.push_back(std::move(hands[1]));
            toBeat.push_back(std::move(beat));
        }
    }
};

const Table& Deals() {
    static const Table table;
    return table;
}

int Drain(CCardFinder& finder, CCardSet& out) {
    int n = 0;
    for (finder.NextPlay(&out); !out.IsEmpty(); finder.NextPlay(&out)) ++n;
    return n;
}

void LeadSearch(benchmark::State& state) {
    const Table& t = Deals();
    CCardFinder finder;
    CCardSet out;
    size_t i = 0;
    for (auto _ : state) {
        finder.FindPlays(nullptr, t.landlord[i].get(), 0);
        benchmark::DoNotOptimize(Drain(finder, out));
        i = (i + 1) % t.landlord.size();
    }
}

void AnswerSearch(benchmark::State& state) {
    const Table& t = Deals();
    CCardFinder finder;
    CCardSet out;
    size_t i = 0;
    for (auto _ : state) {
        finder.FindPlays(t.toBeat[i].get(), t.farmer[i].get(), 0);
        benchmark::DoNotOptimize(Drain(finder, out));
        i = (i + 1) % t.farmer.size();
    }
}

}  // namespace

BENCHMARK(LeadSearch)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(AnswerSearch)->Repetitions(15)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

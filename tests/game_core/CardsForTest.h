// Cards for tests, written as text: "3 4 10 J Q K A 2 sj bj" (2 is 15, sj and
// bj the lower and higher joker). A number's n-th occurrence in one text gets
// suit n unless given as "6/2".
#pragma once

#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/core/CardFinder.h"
#include "game/core/CardSet.h"

class CardPool {
public:
    // A set of fresh cards, owned by the pool.
    CCardSet& Set(const std::string& text) {
        sets_.emplace_back(new CCardSet);
        CCardSet& set = *sets_.back();
        int seen[32] = {};
        std::istringstream in(text);
        std::string token;
        while (in >> token) {
            int suit = -1;
            size_t slash = token.find('/');
            if (slash != std::string::npos) {
                suit = std::stoi(token.substr(slash + 1));
                token = token.substr(0, slash);
            }
            int number = Number(token);
            if (suit < 0) suit = number >= 16 ? 0 : seen[number]++;
            cards_.emplace_back(number, suit);
            set.AddCard(&cards_.back());
        }
        return set;
    }

    static int Number(const std::string& t) {
        if (t == "J") return 11;
        if (t == "Q") return 12;
        if (t == "K") return 13;
        if (t == "A") return 14;
        if (t == "2") return 15;
        if (t == "sj") return 16;
        if (t == "bj") return 17;
        return std::stoi(t);
    }

private:
    std::deque<CCard> cards_;
    std::vector<std::unique_ptr<CCardSet>> sets_;
};

inline std::string CardName(int number) {
    static const char* const kNames[] = {"J", "Q", "K", "A", "2", "sj", "bj"};
    return number >= 11 && number <= 17 ? kNames[number - 11] : std::to_string(number);
}

// The card list's numbers, in its order.
inline std::string Numbers(const CCardSet& set) {
    std::string s;
    for (auto c = set.CardsBegin(); c != set.CardsEnd(); ++c) s += (s.empty() ? "" : " ") + CardName((*c)->GetNumber());
    return s;
}

// "t<type> k<key>: <numbers>"
inline std::string Typed(const CCardSet& set) {
    return "t" + std::to_string(set.GetType()) + " k" + std::to_string(set.GetKey()) + ": " + Numbers(set);
}

// Every play of the search started on the finder, as Typed() texts.
inline std::vector<std::string> Drain(CCardFinder& finder) {
    std::vector<std::string> out;
    CCardSet play;
    for (;;) {
        finder.NextPlay(&play);
        if (play.IsEmpty()) return out;
        out.push_back(Typed(play));
    }
}

// The 54 cards in deck order: (n - 3) * 4 + suit for 3..15, then 16 and 17.
struct Deck {
    std::vector<CCard> cards;
    Deck() {
        cards.reserve(54);
        for (int i = 0; i < 52; ++i) cards.emplace_back(i / 4 + 3, i % 4);
        cards.emplace_back(16, 0);
        cards.emplace_back(17, 0);
    }
};

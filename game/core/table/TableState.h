// CTableState: everything the table knows about one three-seat table apart
// from its windows: the deck, the seat records, the own hand, the phase and the
// per-hand counters and flags. Plain C++; the table game owns one.
#pragma once

#include <string>
#include <vector>

#include "game/core/Card.h"
#include "game/core/CardSet.h"
#include "game/core/PlayerInfo.h"

class CTableState {
public:
    static const int kSeats = 3;
    static const int kDeckSize = 54;

    CTableState();
    ~CTableState();
    CTableState(const CTableState&) = delete;
    CTableState& operator=(const CTableState&) = delete;

    // ---- deck
    // Deck index of a wire card, or -1 when the number is outside 3..17 or the
    // suit outside 0..3 (such a card is never used).
    static int DeckIndex(int number, int suit);
    // The deck card, or null for a card that is not one.
    CCard* Card(int number, int suit) const;
    // A masked number back to the real one: number - (v + suit), v the player
    // name read as a decimal integer, its truncating remainder by 16.
    static int UnmaskNumber(int number, int suit, const std::string& playerName);
    CCard* deck[kDeckSize];
    int inUse[kDeckSize];

    // ---- seats; a slot's index is the order in which it was filled
    // A seat number the table can place: 0, 1 or 2. A record of the desk or
    // restore message with any other is dropped, so every record's seat is
    // one of them (or -1 for a record that has none).
    static bool IsSeat(int seat) { return seat >= 0 && seat < kSeats; }
    CPlayerInfo* slots[kSeats] = {};
    std::string ownName;
    CCardSet* ownHand = nullptr;  // the own record's hand; null without one

    CPlayerInfo* FindPlayerByName(const std::string& name) const;
    CPlayerInfo* FindPlayerBySeat(int seat) const;
    CPlayerInfo* Own() const { return FindPlayerByName(ownName); }
    bool IsOwn(const std::string& name) const { return name == ownName; }
    CPlayerInfo* GetNextPlayer() const;  // on the right: (own + 1) % 3
    CPlayerInfo* GetPrevPlayer() const;  // on the left: (own + 2) % 3
    CPlayerInfo* FindLandlord() const;
    // The seat on turn gets its turn time (CPlayerInfo::SetClock), every
    // other seat loses its own; an empty name clears them all.
    void SetTurnTime(const std::string& name, int ms);
    // The play to beat: the previous seat's non-empty last play, else the
    // next seat's, else null (the own seat leads).
    CCardSet* GetLastPlay() const;
    // A new record in the first free slot (the own hand is taken when it is
    // the own name); null when all slots are taken.
    CPlayerInfo* AddPlayer(const std::string& name);
    // Deletes the record of a slot; the own hand is forgotten with its record.
    void DeleteSlot(int slot);
    void DeleteAllSeats();
    void ClearOwnHand();

    // ---- phase (0..16)
    // True when leaving the result phase (15) reset the hand.
    bool SetPhase(int phase);
    int phase = 0;
    int prevPhase = 0;
    int redrawPending = 0;

    // Clears the per-hand state of the seats and the table.
    void ResetHand();
    // Back to the start: seats deleted, deal, hint and selection cleared.
    void ResetTable();

    // ---- per-hand counters
    int highestBid = 0;
    int doubleCount = 0;
    // The stake's factor from doubling: each double (at most two) doubles it.
    int DoublingMultiplier() const { return doubleCount <= 0 ? 1 : doubleCount == 1 ? 2 : 4; }
    int seated = 0;
    int nameMode = 1;  // names in chat lines are hidden when below 1 or 3
    int maskMode = 0;  // 1: plays arrive masked
    std::string deskText = "0";
    int turnCounter = -1;
    int ownTimeouts = 0;
    int shownCard = -1;
    int shownCardPos = 0;
    CCard* bottom[3] = {};
    int bottomTicks = -1;
    int bottomLanded = 0;
    // Bombs of the hand, one picture each: 13 four-of-a-kinds and the rocket,
    // and a spring counted as one more, at most.
    static constexpr int kMaxBombs = 15;
    int bombs = 0;
    int resultKind = -1;
    int sortMode = 0;
    std::vector<CCard*> dealt;

    // ---- hints
    CCardSet hint;
    std::vector<CCardSet*> hintList;
    int hintIndex = 0;
    int hintActive = 0;
    void ClearHints();

    // ---- flags
    int ownActionSound = 0;
    int soundOn = 1;
    int tableReady = 0;
    int online = 1;
    int kicked = 0;
    int handRunning = 0;
    int holdMain = 0;
    int autoRequest = 0;  // own auto-play requested, not yet confirmed
    int resultPending = 0;
};

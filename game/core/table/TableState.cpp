#include "game/core/table/TableState.h"

#include <cstdlib>

#include "game/core/table/SeatFields.h"

CTableState::CTableState() {
    for (int i = 0; i < kDeckSize; ++i) {
        deck[i] = i < 52 ? new CCard(i / 4 + 3, i % 4) : new CCard(i == 52 ? 16 : 17, 0);
        inUse[i] = 0;
    }
}

CTableState::~CTableState() {
    DeleteAllSeats();
    ClearHints();
    for (CCard* card : deck) delete card;
}

int CTableState::DeckIndex(int number, int suit) {
    if (number == 16 || number == 17) return number + 36;
    if (number < 3 || number > 15 || suit < 0 || suit > 3) return -1;
    return (number - 3) * 4 + suit;
}

CCard* CTableState::Card(int number, int suit) const {
    const int index = DeckIndex(number, suit);
    return index < 0 ? nullptr : deck[index];
}

int CTableState::UnmaskNumber(int number, int suit, const std::string& playerName) {
    long long v = std::strtoll(playerName.c_str(), nullptr, 10);
    v %= 16;
    return static_cast<int>(number - (v + suit));
}

CPlayerInfo* CTableState::FindPlayerByName(const std::string& name) const {
    for (CPlayerInfo* p : slots)
        if (p && p->GetId() == name) return p;
    return nullptr;
}

CPlayerInfo* CTableState::FindPlayerBySeat(int seatNo) const {
    for (CPlayerInfo* p : slots)
        if (p && p->seat == seatNo) return p;
    return nullptr;
}

CPlayerInfo* CTableState::GetNextPlayer() const {
    CPlayerInfo* own = Own();
    return own && own->seat >= 0 ? FindPlayerBySeat((own->seat + 1) % 3) : nullptr;
}

CPlayerInfo* CTableState::GetPrevPlayer() const {
    CPlayerInfo* own = Own();
    return own && own->seat >= 0 ? FindPlayerBySeat((own->seat + 2) % 3) : nullptr;
}

CPlayerInfo* CTableState::FindLandlord() const {
    for (CPlayerInfo* p : slots)
        if (p && seat::Landlord(*p) == 1) return p;
    return nullptr;
}

CCardSet* CTableState::GetLastPlay() const {
    for (CPlayerInfo* p : {GetPrevPlayer(), GetNextPlayer()})
        if (p && p->lastPlay && !p->lastPlay->IsEmpty()) return p->lastPlay;
    return nullptr;
}

CPlayerInfo* CTableState::AddPlayer(const std::string& name) {
    for (CPlayerInfo*& slot : slots) {
        if (slot) continue;
        slot = new CPlayerInfo(name);
        if (IsOwn(name)) ownHand = slot->hand;
        return slot;
    }
    return nullptr;
}

void CTableState::DeleteSlot(int slot) {
    CPlayerInfo*& p = slots[slot];
    if (!p) return;
    if (ownHand == p->hand) ownHand = nullptr;
    delete p;
    p = nullptr;
}

void CTableState::DeleteAllSeats() {
    for (int i = 0; i < kSeats; ++i) DeleteSlot(i);
}

void CTableState::ClearOwnHand() {
    if (ownHand) ownHand->Clear();
}

void CTableState::ClearHints() {
    hint.Clear();
    ClearCardSetVector(hintList);
    hintIndex = 0;
    hintActive = 0;
}

bool CTableState::SetPhase(int next) {
    const bool reset = phase == 15 && next != 15;
    if (reset) ResetHand();
    prevPhase = phase;
    phase = next;
    redrawPending = 1;
    return reset;
}

void CTableState::SetTurnTime(const std::string& name, int ms) {
    for (CPlayerInfo* p : slots) {
        if (!p) continue;
        if (!name.empty() && p->GetId() == name)
            p->SetClock(ms);
        else
            p->ClearClock();
    }
}

void CTableState::ResetHand() {
    for (CPlayerInfo* p : slots) {
        if (!p) continue;
        p->ClearClock();
        delete p->lastPlay;
        p->lastPlay = nullptr;
        p->cardCount = 0;
        seat::Plays(*p) = 0;
        p->ready = 0;
        seat::AutoPlay(*p) = 0;
        p->doubling = 0;
        seat::Waiting(*p) = 0;
        p->bid = -1;
        seat::Landlord(*p) = -1;
        seat::ContestAnswer(*p) = -1;
    }
    handRunning = 0;
    for (int i = 0; i < kDeckSize; ++i) {
        inUse[i] = 0;
        deck[i]->SetSelected(0);
    }
    ClearOwnHand();
    ClearHints();
    highestBid = 0;
    doubleCount = 0;
    bombs = 0;
    for (CCard*& card : bottom) card = nullptr;
    bottomLanded = 0;
    turnCounter = -1;
    resultKind = -1;
}

void CTableState::ResetTable() {
    DeleteAllSeats();
    ResetHand();
    dealt.clear();
    shownCard = -1;
    bottomTicks = -1;
    ownTimeouts = 0;
    sortMode = 0;
    resultPending = 0;
    autoRequest = 0;
}

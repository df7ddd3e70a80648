// The restore of a whole hand after a reconnect.
#include <algorithm>
#include <climits>

#include "game/core/GameMessages.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableGame.h"

namespace {

struct Stage {
    const char* text;
    int ownPhase, otherPhase;
};
const int kMaxHand = 20;
const Stage kStages[] = {{"JiaoFen", 5, 7}, {"AskForLandLord", 8, 9}, {"farmerDouble", 10, 11}, {"PlayingCard", 12, 14}};

void AddCards(CTableState& s, CCardSet* set, const IntList& numbers, const IntList& suits) {
    const size_t n = std::min(numbers.size(), suits.size());
    for (size_t i = 0; i < n; ++i) {
        CCard* card = s.Card(numbers[i], suits[i]);
        if (!card) continue;
        if (set) set->AddCard(card);
        s.inUse[CTableState::DeckIndex(numbers[i], suits[i])] = 1;
    }
}

}  // namespace

typedef CTableView V;

void CTableGame::OnRestore(const CReconnectMsg& m) {
    CTableState& s = m_state;
    CTableSession* session = &m_session;
    s.seated = 3;
    s.handRunning = 1;
    s.deskText = m.stake;
    if (!m.memberId.empty()) {
        s.ownName = m.memberId;
        m_view.InvalidateWindow();
    }
    if (m.visible != -1) s.nameMode = m.visible;
    if (m.showCard >= 1) s.maskMode = m.showCard;
    session->vipFlag = m.vip;
    session->vipGameId = m.vip ? m.gameId : "";
    s.bombs = std::min(m.bomb, CTableState::kMaxBombs);

    // The records it replaces go first.
    s.DeleteAllSeats();
    s.highestBid = 0;
    for (int i = 0; i < CReconnectMsg::kPlayers; ++i) {
        CPlayerInfo* p = CTableState::IsSeat(m.seat[i]) ? s.AddPlayer(m.playerId[i]) : nullptr;
        if (!p) continue;
        p->money = m.money[i];
        p->ready = m.ready[i];
        p->seat = m.seat[i];
        // A hand holds 20 cards at most; other counts from the wire are not taken.
        p->cardCount = std::min(std::max(m.cardNum[i], 0), kMaxHand);
        p->bid = m.bid[i];
        seat::AutoPlay(*p) = m.autoPlay[i];
        p->doubling = m.multiple[i];
        seat::ContestAnswer(*p) = std::max(m.askForLandLord[i], INT_MIN + 1) - 1;
        p->SetSex(m.sex[i]);
        p->SetNickName(m.nickName[i]);
        p->SetIPDetail(m.ipDetail[i]);
        p->SetIPLocation(m.ipLocation[i]);
        if (s.IsOwn(m.playerId[i])) session->chatName = m.nickName[i];
        s.highestBid = std::max(s.highestBid, p->bid);
        if (m.playerId[i] == m.banker) seat::Landlord(*p) = 1;
    }
    for (int i = 0; i < CReconnectMsg::kPlayers; ++i) {
        CPlayerInfo* p = s.FindPlayerByName(m.playerId[i]);
        if (!p || m.playerId[i] == m.nowPlayer) continue;
        const int limit = seat::Landlord(*p) == 1 ? 19 : 16;
        if (p->cardCount < 1 || p->cardCount > limit) continue;
        if (!p->lastPlay) p->lastPlay = new CCardSet;
        AddCards(s, p->lastPlay, m.lastNumbers[i], m.lastSuits[i]);
    }

    // Doubling states: walk the seats after the landlord's in seat order.
    CPlayerInfo* landlord = nullptr;
    for (CPlayerInfo* p : {s.GetNextPlayer(), s.GetPrevPlayer(), s.Own()})
        if (!landlord && p && p->bid == s.highestBid) landlord = p;
    s.doubleCount = 0;
    if (landlord && landlord->seat >= 0) {
        for (int k = 1; k <= 3; ++k) {
            CPlayerInfo* p = s.FindPlayerBySeat((landlord->seat + k) % 3);
            if (!p) continue;
            int state = 0;
            if (p->bid < 0 && p->doubling == 2 && s.doubleCount < 2) {
                state = s.doubleCount == 0 ? 2 : 4;
                ++s.doubleCount;
            }
            p->doubling = state;
        }
    }

    AddCards(s, s.ownHand, m.handNumbers, m.handSuits);
    SortAllHands();
    ResetHandPositions();

    int total = 0;
    for (CPlayerInfo* p : s.slots)
        if (p) total += p->cardCount;
    const bool ownTurn = s.IsOwn(m.nowPlayer);
    CPlayerInfo* onTurn = s.FindPlayerByName(m.nowPlayer);
    for (const Stage& stage : kStages) {
        if (m.state != stage.text) continue;
        SetPhase(ownTurn ? stage.ownPhase : stage.otherPhase);
        PlacePlayerPrompt(m.nowPlayer);
        if (stage.ownPhase == 8 && onTurn) seat::ContestAnswer(*onTurn) = -1;
        if (stage.ownPhase == 10 && onTurn) onTurn->doubling = 0;
        if (stage.ownPhase == 12 && total == 54) {
            s.turnCounter = -1;
            StartClock(30000);
        } else {
            if (stage.ownPhase == 12) s.turnCounter = 1;
            StartClock(20000);
        }
    }
    if (s.turnCounter == 1)
        for (CPlayerInfo* p : s.slots) {
            if (!p) continue;
            if (p->doubling == 1 || p->doubling == 3) p->doubling = 0;
            if (seat::ContestAnswer(*p) == 0) seat::ContestAnswer(*p) = -1;
        }
    CloseAdControl();
    CPlayerInfo* own = s.Own();
    ShowAutoButtons(own && seat::AutoPlay(*own) ? 0 : 1);
    s.bottomLanded = 3;
    s.redrawPending = 1;
}

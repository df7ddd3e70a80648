// The messages that carry a hand from seating to the result.
#include <algorithm>
#include <string>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableGame.h"

namespace {

// Whether the desk lists the player at a seat the table can place.
bool Listed(const CDeskInfoMsg& m, int count, const std::string& name) {
    for (int i = 0; i < count; ++i)
        if (m.playerId[i] == name && CTableState::IsSeat(m.seat[i])) return true;
    return false;
}

const char* PlaySound(int size) {
    if (size == 0) return "fenlo\\sound\\pass.wav";
    if (size <= 2) return "fenlo\\sound\\card_out_less_than_3.wav";
    if (size <= 5) return "fenlo\\sound\\card_out_less_than_6.wav";
    return "fenlo\\sound\\card_out_more_than_6.wav";
}

template <class Turn>
void TurnOf(const Turn& m, std::string* name, int* seconds) {
    *name = m.playerId;
    *seconds = m.remainTime;
}

}  // namespace

typedef CTableView V;

void CTableGame::OnDeskInfo(const CDeskInfoMsg& m) {
    CTableState& s = m_state;
    CTableSession* session = &m_session;
    s.deskText = m.stake;
    if (!m.memberId.empty()) {
        s.ownName = m.memberId;
        m_view.InvalidateWindow();
    }
    if (m.visible != -1) s.nameMode = m.visible;
    if (m.showCard != -1) s.maskMode = m.showCard;
    s.seated = m.playerCount;
    const int count = std::min(std::max(m.playerCount, 0), CDeskInfoMsg::kMaxPlayers);
    for (int i = 0; i < CTableState::kSeats; ++i) {
        if (s.slots[i] && !Listed(m, count, s.slots[i]->GetId())) {
            s.DeleteSlot(i);
            StopClock();
        }
    }
    bool someoneReady = false;
    for (int i = 0; i < count; ++i) {
        if (!CTableState::IsSeat(m.seat[i])) continue;
        const std::string& name = m.playerId[i];
        CPlayerInfo* p = s.FindPlayerByName(name);
        const bool created = p == nullptr;
        if (created && !(p = s.AddPlayer(name))) continue;
        p->seat = m.seat[i];
        p->ready = m.ready[i];
        p->SetNickName(m.nickName[i]);
        p->SetIPDetail(m.ipDetail[i]);
        p->SetIPLocation(m.ipLocation[i]);
        p->SetSex(m.sex[i]);
        seat::AutoPlay(*p) = 0;
        p->cardCount = 0;
        if (created || s.IsOwn(name)) p->money = m.money[i];
        if (created && s.IsOwn(name)) session->chatName = m.nickName[i];
        if (p->ready) someoneReady = true;
    }
    m_view.NotifyLobby();
    if (s.phase != 2 && s.phase != 16) SetPhase(1);
    s.ClearOwnHand();
    CPlayerInfo* own = s.Own();
    if (own && !own->ready) {
        if (session->autoPlacedFlag)
            SendReady();
        else
            m_view.ShowButton(V::kReady, true);
        if (s.seated == 3 && !m_clock.running && someoneReady) PlacePlayerPrompt(s.ownName);
    }
    if (s.seated == 3 && !session->vipFlag && session->autoPlacedFlag) {
        CloseAdControl();
        m_view.ShowButton(V::kAutoPlay, false);
    }
}

void CTableGame::OnCardOut(const CCardOutResultMsg& m) {
    CTableState& s = m_state;
    StopClock();
    const bool own = s.IsOwn(m.playerId);
    if (own) {
        s.ClearHints();
        ShowTurnButtons(0);
    }
    CPlayerInfo* p = s.FindPlayerByName(m.playerId);
    if (!p) return;
    if (p->lastPlay)
        p->lastPlay->Clear();
    else
        p->lastPlay = new CCardSet;
    const size_t n = std::min(m.numbers.size(), m.suits.size());
    for (size_t i = 0; i < n; ++i) {
        int number = m.numbers[i];
        if (s.maskMode == 1) number = CTableState::UnmaskNumber(number, m.suits[i], m.playerId);
        CCard* card = s.Card(number, m.suits[i]);
        if (!card) continue;
        if (own && s.ownHand) s.ownHand->RemoveCard(card);
        p->lastPlay->AddCard(card);
        s.inUse[CTableState::DeckIndex(number, m.suits[i])] = 1;
    }
    const int size = p->lastPlay->GetCardCount();
    if (size > 0) ++seat::Plays(*p);
    const int old = p->cardCount;
    p->cardCount -= size;
    if ((p->cardCount == 1 || p->cardCount == 2) && p->cardCount != old) {
        seat::FewCards(*p) = 1;
        seat::FewCardsTicks(*p) = 0;
    }
    const int type = m_judge.GetCardType(p->lastPlay);
    if ((type == kTypeTriplesPairWings && size >= 10 && size % 5 == 0) ||
        (type == kTypeTriplesSingleWings && size >= 8 && size % 4 == 0)) {
        seat::Bounce(*p) = 1;
        int w = 0, h = 0;
        m_view.ClientSize(&w, &h);
        m_effects.Queue(type, h);
    } else if (type == kTypeStraight || type == kTypePairRun || type == kTypeTripleRun) {
        seat::Bounce(*p) = 1;
        seat::PatternMark(*p) = 1;
    }
    if (own && size > 0) {
        SortAllHands();
        ResetHandPositions();
    }
    if (type == kTypeBomb || type == kTypeRocket) {
        seat::Bounce(*p) = 1;
        m_effects.Queue(std::min(s.bombs, 3), 0);
    } else {
        Sound(PlaySound(size));
    }
    // The echo of the own play or pass ends the own action: the flag a pass
    // set must not swallow the voice of the next bid.
    if (own) s.ownActionSound = 0;
    if (own) StopClock();
    if (p->cardCount > 0 && p->seat >= 0) {
        CPlayerInfo* next = s.FindPlayerBySeat((p->seat + 1) % 3);
        if (next) {
            delete next->lastPlay;
            next->lastPlay = nullptr;
        }
    }
    s.redrawPending = 1;
}

void CTableGame::OnGameResult(const CGameResultMsg& m) {
    CTableState& s = m_state;
    int effect = 4;
    s.resultKind = -1;
    if (m.springState == 1) {
        s.resultKind = 0;
        effect = 100;
    } else if (m.springState == 2) {
        s.resultKind = 1;
        effect = 101;
    }
    m_effects.Queue(effect, 0);
    for (int i = 0; i < CGameResultMsg::kPlayers; ++i) {
        CPlayerInfo* p = s.FindPlayerByName(m.playerId[i]);
        if (!p) continue;
        p->resultA = m.result[i];
        p->resultB = m.tax[i];
        seat::ResultCount(*p) = m.hasCards[i];
        if (m.bomb != -1) s.bombs = std::min(m.bomb, CTableState::kMaxBombs);
        p->hand->Clear();
        const size_t n = std::min(m.numbers[i].size(), m.suits[i].size());
        for (size_t k = 0; k < n; ++k) p->hand->AddCard(s.Card(m.numbers[i][k], m.suits[i][k]));
        SortAllHands();
        ResetHandPositions();
        if (s.IsOwn(m.playerId[i])) {
            p->money += m.result[i];
            // The score is the own balance beside the money: the lobby's
            // second amount, which the game-over report carries.
            p->amountA = m.score[i];
        }
    }
    CPlayerInfo* own = s.Own();
    CPlayerInfo* landlord = s.FindLandlord();
    const bool won = own && (own->hand->IsEmpty() ||
                             (landlord && landlord != own && seat::ResultCount(*landlord) != 0));
    Sound(won ? "fenlo\\sound\\win.wav" : "fenlo\\sound\\lose.wav");
    StopClock();
    s.turnCounter = 1;
    for (CPlayerInfo* p : s.slots)
        if (p) seat::AutoPlay(*p) = 0;
    SetPhase(15);
    m_view.NotifyLobby();
    s.resultPending = 1;
    s.holdMain = 1;
    InvalidateAll();
}

bool CTableGame::HandleHandMessage(CMessage* message) {
    CTableState& s = m_state;
    switch (message->typeId) {
    case CDeskInfoMsg::kType:
        OnDeskInfo(*static_cast<CDeskInfoMsg*>(message));
        return true;
    case CPlayerReadyMsg::kType: {
        const std::string& name = static_cast<CPlayerReadyMsg*>(message)->playerId;
        if (s.IsOwn(name)) m_view.HideButton(V::kReady);
        if (CPlayerInfo* p = s.FindPlayerByName(name)) p->ready = 1;
        s.redrawPending = 1;
        CPlayerInfo* own = s.Own();
        if (own && !own->ready && !m_clock.running && s.seated == 3) PlacePlayerPrompt(s.ownName);
        ChatLine(name, ":已经准备");
        return true;
    }
    case CStartGameMsg::kType:
        StopClock();
        m_view.HideButton(V::kReady);
        s.handRunning = 1;
        m_view.ShowButton(V::kAutoPlay, false);
        for (V::Button id : {V::kSort, V::kNextPair, V::kNextTriple}) m_view.ShowButton(id, true);
        if (s.phase != 2 && s.soundOn) {
            if (s.phase != 16) SetPhase(2);
            Sound("fenlo\\sound\\card_sent.wav");
            m_startPause = 0;
            s.holdMain = 1;
        }
        m_view.InvalidateWindow();
        s.redrawPending = 1;
        return true;
    case CSendCardMsg::kType: {
        const CSendCardMsg& m = *static_cast<CSendCardMsg*>(message);
        StopClock();
        s.ownTimeouts = 0;
        s.sortMode = 0;
        for (CPlayerInfo* p : s.slots)
            if (p) p->bid = -1, p->cardCount = 0;
        s.ClearOwnHand();
        s.dealt.clear();
        for (int i = 0; i < CTableState::kDeckSize; ++i) s.inUse[i] = 0, s.deck[i]->SetSelected(0);
        s.ClearHints();
        s.highestBid = 0;
        s.doubleCount = 0;
        s.hintIndex = 0;
        for (int i = 0; i < CSendCardMsg::kCards; ++i) {
            CCard* card = s.Card(m.numbers[i], m.suits[i]);
            if (!card) continue;
            s.dealt.push_back(card);
            s.inUse[CTableState::DeckIndex(m.numbers[i], m.suits[i])] = 1;
        }
        SetPhase(4);
        m_deal.Start(GameClockNow());
        ResetHandPositions();
        return true;
    }
    case CSendRemainCardMsg::kType: {
        const CSendRemainCardMsg& m = *static_cast<CSendRemainCardMsg*>(message);
        CPlayerInfo* landlord = s.FindPlayerByName(m.playerId);
        for (CPlayerInfo* p : s.slots)
            if (p) seat::Landlord(*p) = -1;
        if (landlord) seat::Landlord(*landlord) = 1;
        const bool own = s.IsOwn(m.playerId);
        for (int i = 0; i < std::min(m.cardCount, 3); ++i) {
            CCard* card = s.Card(m.numbers[i], m.suits[i]);
            s.bottom[i] = card;
            if (own && card && s.ownHand) {
                card->SetSelected(1);
                s.ownHand->AddCard(card);
                s.inUse[CTableState::DeckIndex(m.numbers[i], m.suits[i])] = 1;
            }
        }
        s.bottomTicks = 0;
        if (landlord) landlord->cardCount = 20;
        SortAllHands();
        ResetHandPositions();
        s.redrawPending = 1;
        return true;
    }
    case CShowCardMsg::kType: {
        const CShowCardMsg& m = *static_cast<CShowCardMsg*>(message);
        const int index = CTableState::DeckIndex(m.number, m.suit);
        if (index < 0 || m.index < 0 || m.index > 53) return true;
        s.shownCard = index;
        s.shownCardPos = m.index;
        if (CPlayerInfo* p = s.FindPlayerBySeat(m.index % 3)) seat::ShownCard(*p) = 1;
        s.redrawPending = 1;
        return true;
    }
    case CNotifyCallScoreMsg::kType:
    case CBankerContestNoticeMsg::kType:
    case CNotifyCallDoubleMsg::kType: {
        const int type = message->typeId;
        std::string name;
        int seconds = 0;
        if (type == CNotifyCallScoreMsg::kType)
            TurnOf(*static_cast<CNotifyCallScoreMsg*>(message), &name, &seconds);
        else if (type == CBankerContestNoticeMsg::kType)
            TurnOf(*static_cast<CBankerContestNoticeMsg*>(message), &name, &seconds);
        else
            TurnOf(*static_cast<CNotifyCallDoubleMsg*>(message), &name, &seconds);
        PlacePlayerPrompt(name);
        ClockForTurn(seconds, 20000);
        ClearWaiting(s.FindPlayerByName(name));
        const bool own = s.IsOwn(name);
        if (type == CNotifyCallScoreMsg::kType) {
            SetPhase(own ? 5 : 7);
            if (own) ShowBidButtons(s.highestBid);
            InvalidateAll();
        } else if (type == CBankerContestNoticeMsg::kType) {
            SetPhase(own ? 8 : 9);
            if (own) ShowContestButtons(1);
        } else {
            SetPhase(own ? 10 : 11);
            if (own) ShowDoubleButtons(s.doubleCount);
        }
        return true;
    }
    case CCallScoreResultMsg::kType: {
        const CCallScoreResultMsg& m = *static_cast<CCallScoreResultMsg*>(message);
        StopClock();
        if (s.IsOwn(m.playerId))
            for (V::Button id : {V::kBid1, V::kBid2, V::kBid3, V::kNoBid}) m_view.HideButton(id);
        CPlayerInfo* p = s.FindPlayerByName(m.playerId);
        if (p) p->bid = m.score;
        if (s.ownActionSound)
            s.ownActionSound = 0;
        else
            Sound(("fenlo\\sound\\" + std::to_string(m.score) + "_f.wav").c_str());
        if (s.highestBid < m.score) {
            s.highestBid = m.score;
            for (CPlayerInfo* q : s.slots)
                if (q) seat::Landlord(*q) = -1;
            if (p) seat::Landlord(*p) = 1;
        }
        s.redrawPending = 1;
        return true;
    }
    case CBankerContestResultMsg::kType: {
        const CBankerContestResultMsg& m = *static_cast<CBankerContestResultMsg*>(message);
        StopClock();
        if (s.IsOwn(m.playerId)) ShowContestButtons(0);
        CPlayerInfo* p = s.FindPlayerByName(m.playerId);
        if (m.askForLandLord >= 1) {
            for (CPlayerInfo* q : s.slots)
                if (q) seat::Landlord(*q) = -1;
            if (p) seat::Landlord(*p) = 1;
            Sound("fenlo\\sound\\contest_banker.wav");
        } else {
            Sound("fenlo\\sound\\nocontest_banker.wav");
        }
        if (p) seat::ContestAnswer(*p) = m.askForLandLord >= 1 ? 1 : 0;
        s.redrawPending = 1;
        return true;
    }
    case CCallDoubleResultMsg::kType: {
        const CCallDoubleResultMsg& m = *static_cast<CCallDoubleResultMsg*>(message);
        StopClock();
        if (s.IsOwn(m.playerId))
            for (V::Button id : {V::kDouble, V::kNoDouble, V::kRedouble, V::kNoRedouble}) m_view.HideButton(id);
        CPlayerInfo* p = s.FindPlayerByName(m.playerId);
        const bool yes = m.answer == "True";
        int state = 0;
        if (p && p->bid != s.highestBid && s.doubleCount <= 1) {
            state = s.doubleCount == 0 ? (yes ? 2 : 1) : (yes ? 4 : 3);
            if (yes) {
                ++s.doubleCount;
                Sound("fenlo\\sound\\double.wav");
            }
        }
        if (p) p->doubling = state;
        s.redrawPending = 1;
        return true;
    }
    case CNotifyCardOutMsg::kType: {
        const CNotifyCardOutMsg& m = *static_cast<CNotifyCardOutMsg*>(message);
        CPlayerInfo* p = s.FindPlayerByName(m.playerId);
        ClearWaiting(p);
        if (p) {
            delete p->lastPlay;
            p->lastPlay = nullptr;
        }
        StopClock();
        PlacePlayerPrompt(m.playerId);
        ++s.turnCounter;
        if (s.turnCounter == 0) {
            ClockForTurn(m.remainTime, 30000);
        } else {
            if (s.turnCounter == 1)
                for (CPlayerInfo* q : s.slots) {
                    if (!q) continue;
                    if (q->doubling == 1 || q->doubling == 3) q->doubling = 0;
                    if (seat::ContestAnswer(*q) == 0) seat::ContestAnswer(*q) = -1;
                }
            ClockForTurn(m.remainTime, 20000);
        }
        if (!s.IsOwn(m.playerId)) {
            SetPhase(14);
            return true;
        }
        SetPhase(12);
        if (p && !seat::AutoPlay(*p)) ShowTurnButtons(1);
        if (s.ownTimeouts == -1) s.ownTimeouts = 0;
        s.hint.Clear();
        CCardSet* toBeat = s.GetLastPlay();
        if (toBeat && s.ownHand) {
            m_judge.GetCardType(toBeat);
            m_finder.FindPlays(toBeat, s.ownHand, 0);
            m_finder.NextPlay(&s.hint);
            if (s.hint.IsEmpty()) {
                m_view.EnableButton(V::kPlay, false);
            }
        }
        return true;
    }
    case CCardOutResultMsg::kType:
        OnCardOut(*static_cast<CCardOutResultMsg*>(message));
        return true;
    case CRejectCardOutMsg::kType:
        m_view.BringToFront();
        m_view.Box("您出牌超时或者不符合规则！", "斗地主", 48, 2);
        return true;
    case CGameResultMsg::kType:
        OnGameResult(*static_cast<CGameResultMsg*>(message));
        return true;
    case CReconnectMsg::kType:
        OnRestore(*static_cast<CReconnectMsg*>(message));
        return true;
    default:
        return false;
    }
}

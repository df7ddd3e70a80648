// The requests the table sends and the player's commands: ready, bids,
// contest, doubling, plays, passes and hints, auto-play, the next pair or
// triple, sorting, the sound switch, bets, the continue after a result and
// leaving.
#include <algorithm>
#include <memory>
#include <string>

#include "game/core/GameClock.h"
#include "game/core/MsgFactory.h"
#include "game/core/table/HandLayout.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableGame.h"

typedef CTableView V;

void CTableGame::SendRequest(unsigned char* request, const unsigned int& length) {
    std::unique_ptr<unsigned char[]> owned(request);
    if (request) m_session.SendMsg(reinterpret_cast<const char*>(request), static_cast<int>(length));
}

void CTableGame::SendReady() {
    CPlayerInfo* own = m_state.Own();
    if ((m_state.phase != 1 && m_state.phase != 2) || (own && own->ready)) return;
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildReadyForPlaying(m_state.ownName, &n), n);
    m_view.HideButton(V::kReady);
    m_view.InvalidateWindow();
}

void CTableGame::SendBid(int bid) {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildJiaoFen(m_state.ownName, bid, &n), n);
    StopClock();
    if (CPlayerInfo* own = m_state.Own()) own->bid = bid;
    m_view.InvalidateWindow();
    for (V::Button b : {V::kNoBid, V::kBid1, V::kBid2, V::kBid3}) m_view.HideButton(b);
    if (m_state.soundOn) {
        Sound(("fenlo\\sound\\" + std::to_string(bid) + "_f.wav").c_str());
        m_state.ownActionSound = 1;
    }
}

void CTableGame::SendContest(int yes) {
    ShowContestButtons(0);
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildAskForLandLord(m_state.ownName, yes, &n), n);
}

void CTableGame::SendDouble(int value) {
    for (V::Button b : {V::kDouble, V::kNoDouble, V::kRedouble, V::kNoRedouble}) m_view.HideButton(b);
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildDouble(m_state.ownName, value, &n), n);
    StopClock();
    m_view.InvalidateWindow();
}

void CTableGame::OnCmdPlay() {
    if (m_state.phase == 12 && m_view.ButtonEnabled(V::kPlay)) OnPlay();
}

void CTableGame::OnCmdPass() {
    if (m_state.phase == 12 && m_view.ButtonEnabled(V::kPass)) OnPass();
}

void CTableGame::OnCmdHint() {
    if (m_state.phase == 12 && m_view.ButtonEnabled(V::kHint)) OnHint();
}

void CTableGame::OnPlay() {
    CTableState& s = m_state;
    s.hintActive = 0;
    ClearCardSetVector(s.hintList);
    CPlayerInfo* own = s.Own();
    if (!own || !s.ownHand) return;
    CCardSet selected;
    for (auto it = s.ownHand->CardsBegin(); it != s.ownHand->CardsEnd(); ++it)
        if ((*it)->IsSelected()) selected.AddCard(*it);
    CCardSet* toBeat = s.GetLastPlay();
    if (m_judge.GetCardType(&selected) != 0) {
        const int r = toBeat ? m_judge.ComparePlays(toBeat, &selected) : 1;
        if (r == 1) {
            ShowTurnButtons(0);
            unsigned int n = 0;
            SendRequest(GetMsgFactory()->BuildChuPai(s.ownName, selected, &n), n);
        } else {
            m_view.BringToFront();
            m_view.Box(r == 2 ? "您出的牌不可以\n压住上家的牌\n,请重新选择后再出牌"
                              : "您出的牌型和上家\n的不匹配,\n请重新选择出牌",
                       "提示", 0, 2);
        }
    } else if (!selected.IsEmpty()) {
        m_view.BringToFront();
        m_view.Box("不是可以出的牌型\n，请重新选择出牌", "提示", 0, 2);
    }
    m_view.InvalidateWindow();
    s.ownTimeouts = 0;
}

void CTableGame::OnPass() {
    CTableState& s = m_state;
    if (s.ownHand) s.ownHand->UnselectAll();
    ShowTurnButtons(0);
    s.hintActive = 0;
    ClearCardSetVector(s.hintList);
    CCardSet pass;
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildChuPai(s.ownName, pass, &n), n);
    m_view.InvalidateWindow();
    if (m_clock.running) s.ownTimeouts = 0;
    StopClock();
    s.ownActionSound = 1;
}

// The hint of a first press: the first play that beats the play to beat, or
// when leading the play with the most cards; false when there is none.
bool CTableGame::FirstHint() {
    CTableState& s = m_state;
    s.hint.Clear();
    ClearCardSetVector(s.hintList);
    if (!s.ownHand) return false;
    CCardSet* toBeat = s.GetLastPlay();
    if (toBeat) m_judge.GetCardType(toBeat);
    m_finder.FindPlays(toBeat, s.ownHand, 0);
    if (toBeat) {
        m_finder.NextPlay(&s.hint);
    } else {
        m_finder.AllPlays(&s.hintList);
        SortCardSets(s.hintList, CompareCardSetsBySize);
        if (!s.hintList.empty()) s.hintList.front()->CopyTo(&s.hint);
    }
    return !s.hint.IsEmpty();
}

void CTableGame::OnHint() {
    CTableState& s = m_state;
    if (!s.ownHand) return;
    if (!s.hintActive) {
        // The hint replaces what was raised before (a landlord's bottom cards too).
        s.ownHand->UnselectAll();
        if (FirstHint()) {
            s.hint.SelectAll();
            s.hintActive = 1;
            s.hintIndex = 0;
        } else {
            // Nothing beats the play: pass at once.
            OnPass();
            SortAllHands();
        }
    } else {
        s.ownHand->UnselectAll();
        s.hint.Clear();
        if (s.GetLastPlay()) {
            m_finder.NextPlay(&s.hint);
        } else if (++s.hintIndex < static_cast<int>(s.hintList.size())) {
            s.hintList[s.hintIndex]->CopyTo(&s.hint);
        }
        if (s.hint.IsEmpty()) {
            s.hintActive = 0;
            s.hintIndex = 0;
        } else {
            s.hint.SelectAll();
        }
    }
    SortAllHands();
    int w = 0, h = 0;
    m_view.ClientSize(&w, &h);
    AddDirtyRect((w - 413) / 2, h - 132, 413, 132);
    // The cards the hint raised and lowered lie higher than that band.
    const DirtyRect hand = OwnHandArea(s.ownHand->GetCardCount(), w, h);
    AddDirtyRect(hand.left, hand.top, hand.right - hand.left, hand.bottom - hand.top);
    ResetHandPositions();
    m_view.RepaintNow();
}

void CTableGame::AutoPlayStep() {
    CTableState& s = m_state;
    if (s.phase != 12) return;
    if (s.ownHand) s.ownHand->UnselectAll();
    if (!m_clock.running || s.hintActive) return;
    if (FirstHint()) {
        s.hint.SelectAll();
        OnPlay();
    } else {
        OnPass();
        SortAllHands();
    }
}

void CTableGame::OnAutoPlay() {
    Sound("fenlo\\sound\\sel.wav");
    if (m_state.autoRequest) return;
    if (m_state.phase == 12) AutoPlayStep();
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildAutoPlay(m_state.ownName, &n), n);
    m_state.autoRequest = 1;
    m_view.InvalidateWindow();
}

void CTableGame::OnCancelAutoPlay() {
    if (m_state.autoRequest) return;
    Sound("fenlo\\sound\\sel.wav");
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildCancelAutoPlay(m_state.ownName, &n), n);
}

void CTableGame::OnBet() {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildBet(m_state.ownName, m_betText, &n), n);
}

void CTableGame::OnSort() {
    Sound("fenlo\\sound\\sel.wav");
    m_state.sortMode = 1 - m_state.sortMode;
    SortAllHands();
    m_view.InvalidateWindow();
}

void CTableGame::SetSound(int on) {
    m_state.soundOn = on;
    m_view.ShowButton(on ? V::kSoundOn : V::kSoundOff, true);
    m_view.HideButton(on ? V::kSoundOff : V::kSoundOn);
    Sound("fenlo\\sound\\sel.wav");
}

void CTableGame::SelectNextGroup(int size, int* position) {
    CCardSet* hand = m_state.ownHand;
    if (!hand || hand->GetCardCount() < size) return;
    hand->SortByNumber();
    hand->MarkRuns();
    hand->UnselectAll();
    const int n = hand->GetCardCount();
    if (*position < 0 || *position >= n) *position = 0;
    const int wanted = size == 2 ? kTypePair : kTypeTriple;
    auto cardAt = [hand](int i) { return *(hand->CardsBegin() + i); };
    bool found = false;
    for (int pass = 0; pass < 2 && !found; ++pass) {
        for (int p = pass == 0 ? *position : 0; p + size <= n; ++p) {
            CCardSet group;
            for (int k = 0; k < size; ++k) group.AddCard(cardAt(p + k));
            if (m_judge.GetCardType(&group) != wanted || cardAt(p)->IsSelected()) continue;
            group.SelectAll();
            *position = p + size - 1;
            found = true;
            break;
        }
    }
    SortAllHands();
}

void CTableGame::OnContinue() {
    Sound("fenlo\\sound\\sel.wav");
    m_view.HideButton(V::kContinue);
    m_view.HideButton(V::kBackToLobby);
    InvalidateAll();
    m_view.RepaintNow();
    m_continueStamp = 0;
    m_state.sortMode = 0;
    StopClock();
    if (CPlayerInfo* own = m_state.Own()) own->ready = 0;
    m_view.DestroyResultDialog();
    m_view.ShowGroupMovie();
    // Continuing releases the main queue held for the result.
    m_state.holdMain = 0;
}

void CTableGame::OnResultShown() {
    m_view.HideButton(V::kCancelAuto);
    m_view.ShowButton(V::kAutoPlay, false);
    // The table's own continue and back buttons are offered as well.
    m_view.ShowButton(V::kContinue, true);
    m_view.ShowButton(V::kBackToLobby, true);
    m_continueStamp = std::max<DWORD>(GameClockNow(), 1);
    PlacePlayerPrompt(m_state.ownName);
    StartClock(5000);
    m_state.resultPending = 0;
}

// ---- leaving

bool CTableGame::NothingReceived() const {
    CTableConnection* connection = m_session.Connection();
    return !connection || connection->IsWaitingFirstText();
}

void CTableGame::SendLeaving() {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildLeaving(&n), n);
}

void CTableGame::LeaveUnderMovie() {
    if (m_state.phase == 16 || NothingReceived())
        m_view.QuitTable();
    else
        SendLeaving();
}

// The exit box has no owner: it stands on its own, also when the table is
// in the background.
bool CTableGame::ConfirmLeave() {
    m_view.BringToFront();
    return m_view.Box("您确定退出本桌游戏吗？", "斗地主", 0x34, 0, V::kNoOwner) == V::kYes;
}

void CTableGame::OnCancel() {
    const CTableState& s = m_state;
    if (m_view.GroupMovieShown()) return LeaveUnderMovie();
    if (!ConfirmLeave()) return;
    if (m_session.autoPlacedFlag || s.handRunning || s.phase == 16 || NothingReceived()) {
        m_view.QuitTable();
        return;
    }
    SendLeaving();
}

void CTableGame::OnLeave() {
    if (!ConfirmLeave()) return;
    if (m_session.autoPlacedFlag || m_state.phase == 16 || NothingReceived())
        m_view.QuitTable();
    else
        SendLeaving();
}

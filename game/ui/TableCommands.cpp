// The requests the table sends: ready, bids, contest, doubling, plays and
// passes, auto-play, and the continue after a result.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <memory>

#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/SeatFields.h"

void CPavlenDlg::SendRequest(unsigned char* request, const unsigned int& length) {
    std::unique_ptr<unsigned char[]> owned(request);
    if (request) GetGameSession()->SendMsg(reinterpret_cast<const char*>(request), static_cast<int>(length));
}

void CPavlenDlg::SendReady() {
    CPlayerInfo* own = m_state.Own();
    if ((m_state.phase != 1 && m_state.phase != 2) || (own && own->ready)) return;
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildReadyForPlaying(m_state.ownName, &n), n);
    HideButton(IDC_READY);
    Invalidate();
}

void CPavlenDlg::SendBid(int bid) {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildJiaoFen(m_state.ownName, bid, &n), n);
    StopClock();
    if (CPlayerInfo* own = m_state.Own()) own->bid = bid;
    Invalidate();
    for (int id : {IDC_NO_BID, IDC_BID1, IDC_BID2, IDC_BID3}) HideButton(id);
    if (m_state.soundOn) {
        Sound(("fenlo\\sound\\" + std::to_string(bid) + "_f.wav").c_str());
        m_state.ownActionSound = 1;
    }
}

void CPavlenDlg::SendContest(int yes) {
    ShowContestButtons(0);
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildAskForLandLord(m_state.ownName, yes, &n), n);
}

void CPavlenDlg::SendDouble(int value) {
    for (int id : {IDC_DOUBLE, IDC_NO_DOUBLE, IDC_REDOUBLE, IDC_NO_REDOUBLE}) HideButton(id);
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildDouble(m_state.ownName, value, &n), n);
    StopClock();
    Invalidate();
}

void CPavlenDlg::OnCmdPlay() {
    CWnd* button = GetDlgItem(IDC_PLAY);
    if (m_state.phase == 12 && button && button->IsWindowEnabled()) OnPlay();
}

void CPavlenDlg::OnCmdPass() {
    CWnd* button = GetDlgItem(IDC_PASS);
    if (m_state.phase == 12 && button && button->IsWindowEnabled()) OnPass();
}

void CPavlenDlg::OnPlay() {
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
            BringToFront();
            Box(r == 2 ? "您出的牌不可以\n压住上家的牌\n,请重新选择后再出牌" : "您出的牌型和上家\n的不匹配,\n请重新选择出牌",
                "提示", 0, 2);
        }
    } else if (!selected.IsEmpty()) {
        BringToFront();
        Box("不是可以出的牌型\n，请重新选择出牌", "提示", 0, 2);
    }
    Invalidate();
    s.ownTimeouts = 0;
}

void CPavlenDlg::OnPass() {
    CTableState& s = m_state;
    if (s.ownHand) s.ownHand->UnselectAll();
    ShowTurnButtons(0);
    s.hintActive = 0;
    ClearCardSetVector(s.hintList);
    CCardSet pass;
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildChuPai(s.ownName, pass, &n), n);
    Invalidate();
    if (m_clock.running) s.ownTimeouts = 0;
    StopClock();
    s.ownActionSound = 1;
}

// The hint of a first press: the first play that beats the play to beat, or
// when leading the play with the most cards; false when there is none.
bool CPavlenDlg::FirstHint() {
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

void CPavlenDlg::AutoPlayStep() {
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

void CPavlenDlg::OnAutoPlay() {
    Sound("fenlo\\sound\\sel.wav");
    if (m_state.autoRequest) return;
    if (m_state.phase == 12) AutoPlayStep();
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildAutoPlay(m_state.ownName, &n), n);
    m_state.autoRequest = 1;
    Invalidate();
}

void CPavlenDlg::OnContinue() {
    Sound("fenlo\\sound\\sel.wav");
    HideButton(IDC_CONTINUE);
    HideButton(IDC_BACK_TO_LOBBY);
    InvalidateAll();
    RepaintNow();
    m_continueStamp = 0;
    m_state.sortMode = 0;
    StopClock();
    if (CPlayerInfo* own = m_state.Own()) own->ready = 0;
    DestroyResultDialog();
    ShowGroupMovie();
    // Continuing releases the main queue held for the result.
    m_state.holdMain = 0;
}

// Phases, seat helpers, the button groups, the turn clock's operations and
// the dirty list.
#include "game/core/table/TableGame.h"

#include "game/core/GameClock.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableTrace.h"

typedef CTableView V;

CTableGame::CTableGame(CTableView& view, CTableSession& session) : m_view(view), m_session(session) {
    m_state.ownName = session.playerId;
    m_clock.total = 30000;
}

CTableGame::~CTableGame() = default;

void CTableGame::SetPhase(int phase) {
    const bool reset = m_state.SetPhase(phase);
    TableTrace("phase %d", phase);
    if (!reset) return;
    for (V::Button b : {V::kCancelAuto, V::kAutoPlay, V::kSort, V::kNextPair, V::kNextTriple}) m_view.HideButton(b);
    // An auto-grouping table readies the player by itself.
    if (!m_session.vipFlag && m_session.autoPlacedFlag)
        if (CPlayerInfo* own = m_state.Own()) own->ready = 1;
}

void CTableGame::ShowTurnButtons(int on) {
    for (V::Button b : {V::kPlay, V::kPass, V::kHint}) m_view.HideButton(b);
    if (on != 1) return;
    m_view.ShowButton(V::kPlay, true);
    m_view.ShowButton(V::kHint, true);
    m_view.ShowButton(V::kPass, m_state.GetLastPlay() != nullptr);
}

void CTableGame::ShowBidButtons(int highest) {
    const V::Button buttons[] = {V::kBid1, V::kBid2, V::kBid3, V::kNoBid};
    for (V::Button b : buttons) m_view.HideButton(b);
    if (highest > 2) return;
    for (int i = 0; i < 4; ++i) m_view.ShowButton(buttons[i], i == 3 || i + 1 > highest);
}

void CTableGame::HideAllActionButtons(int on) {
    if (!on) return;
    for (V::Button b : {V::kReady, V::kPass, V::kHint, V::kPlay, V::kBid1, V::kBid2, V::kBid3, V::kNoBid, V::kDouble,
                        V::kNoDouble, V::kRedouble, V::kNoRedouble, V::kContestYes, V::kContestNo})
        m_view.HideButton(b);
    for (V::Button b : {V::kCancelAuto, V::kAutoPlay}) m_view.EnableButton(b, false);
}

void CTableGame::ShowDoubleButtons(int mode) {
    const bool follow = mode == 1;
    for (V::Button b : {V::kDouble, V::kNoDouble}) follow ? m_view.HideButton(b) : m_view.ShowButton(b, true);
    for (V::Button b : {V::kRedouble, V::kNoRedouble}) follow ? m_view.ShowButton(b, true) : m_view.HideButton(b);
}

void CTableGame::ShowContestButtons(int on) {
    for (V::Button b : {V::kContestYes, V::kContestNo}) on ? m_view.ShowButton(b, true) : m_view.HideButton(b);
}

void CTableGame::ShowAutoButtons(int on) {
    if (m_view.GroupMovieShown()) {
        m_view.HideButton(V::kAutoPlay);
        m_view.HideButton(V::kCancelAuto);
        return;
    }
    if (m_state.phase == 15) return;
    if (on == 1) {
        m_view.ShowButton(V::kAutoPlay, false);
        m_view.HideButton(V::kCancelAuto);
    } else {
        m_view.ShowButton(V::kCancelAuto, true);
        m_view.HideButton(V::kAutoPlay);
    }
    m_view.InvalidateWindow();
}

void CTableGame::SortAllHands() {
    CCardSet* own = m_state.ownHand;
    if (own && !own->IsEmpty()) {
        own->MarkRuns();
        if (m_state.sortMode == 1)
            own->SortByRun();
        else
            own->SortByNumber();
        m_view.InvalidateWindow();
    }
    for (CPlayerInfo* p : m_state.slots) {
        if (!p || p->hand == own || p->hand->IsEmpty()) continue;
        p->hand->MarkRuns();
        p->hand->SortByNumber();
    }
}

void CTableGame::ResetHandPositions() { m_pairPos = m_triplePos = 0; }

void CTableGame::PlacePlayerPrompt(const std::string& name) {
    m_clock.owner = name;
    m_view.PlacePrompt(name);
}

void CTableGame::CloseAdControl() {
    m_view.CloseGroupMovie();
    m_view.ShowButton(m_state.soundOn ? V::kSoundOn : V::kSoundOff, true);
    m_view.HideButton(m_state.soundOn ? V::kSoundOff : V::kSoundOn);
    for (V::Button b : {V::kSort, V::kNextPair, V::kNextTriple}) m_view.ShowButton(b, true);
    InvalidateAll();
    m_view.RenderNow();
    m_view.BringToFront();
}

void CTableGame::AddDirtyRect(int x, int y, int width, int height) { m_dirty.Add(x, y, width, height); }

void CTableGame::InvalidateAll() {
    int w = 0, h = 0;
    m_view.ClientSize(&w, &h);
    m_dirty.AddAll(w, h);
}

void CTableGame::ClearWaiting(CPlayerInfo* p) {
    if (!p || !seat::Waiting(*p)) return;
    seat::Waiting(*p) = 0;
    seat::WaitStart(*p) = -1;
    seat::WaitRemaining(*p) = -1;
}

void CTableGame::StartClock(int ms) { StartClockFor(ms, ms); }

// The seat on turn counts its own time down with the clock (drawn beside a
// side seat).
void CTableGame::StartClockFor(int total, int remaining) {
    m_clock.StartFor(total, remaining, GameClockNow());
    m_state.SetTurnTime(m_clock.owner, remaining);
    m_view.DrawClock();
}

void CTableGame::StopClock() {
    m_clock.Stop();
    m_state.SetTurnTime("", 0);
    m_view.DrawClock();
}

void CTableGame::ClockForTurn(int seconds, int limit) {
    int total = 0, remaining = 0;
    CTurnClock::Limits(seconds, limit, &total, &remaining);
    StartClockFor(total, remaining);
}

void CTableGame::Sound(const char* path) {
    if (m_state.soundOn) m_view.Sound(path);
}

std::string CTableGame::ChatName(const std::string& name) const {
    return m_state.nameMode < 1 || m_state.nameMode == 3 ? std::string("-") : name;
}

void CTableGame::ChatLine(const std::string& name, const char* suffix) {
    const CPlayerInfo* p = m_state.FindPlayerByName(name);
    m_view.ChatLine("[" + ChatName(p ? p->GetNickName() : name) + "]" + (suffix ? suffix : ""));
}

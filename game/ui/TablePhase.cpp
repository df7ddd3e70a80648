// Phases, seat helpers, the turn clock's operations and the button groups.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstring>

#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/ReslutDlg.h"
#include "game/ui/SeatFields.h"
#include "game/ui/TableHooks.h"
#include "game/ui/TableTrace.h"

void CPavlenDlg::SetPhase(int phase) {
    const bool reset = m_state.SetPhase(phase);
    TableTrace("phase %d", phase);
    if (!reset) return;
    for (int id : {IDC_CANCEL_AUTO, IDC_AUTO_PLAY, IDC_SORT, IDC_NEXT_PAIR, IDC_NEXT_TRIPLE}) HideButton(id);
    CGameSession* session = GetGameSession();
    // An auto-grouping table readies the player by itself.
    if (!session->vipFlag && session->autoPlacedFlag)
        if (CPlayerInfo* own = m_state.Own()) own->ready = 1;
}

void CPavlenDlg::ShowButton(int id, BOOL enable) {
    if (CWnd* button = GetDlgItem(id)) {
        button->ShowWindow(SW_SHOW);
        button->EnableWindow(enable);
    }
}

void CPavlenDlg::HideButton(int id) {
    if (CWnd* button = GetDlgItem(id)) {
        button->EnableWindow(FALSE);
        button->ShowWindow(SW_HIDE);
    }
}

void CPavlenDlg::ShowTurnButtons(int on) {
    for (int id : {IDC_PLAY, IDC_PASS, IDC_HINT}) HideButton(id);
    if (on != 1) return;
    ShowButton(IDC_PLAY, TRUE);
    ShowButton(IDC_HINT, TRUE);
    ShowButton(IDC_PASS, m_state.GetLastPlay() != nullptr);
}

void CPavlenDlg::ShowBidButtons(int highest) {
    const int ids[] = {IDC_BID1, IDC_BID2, IDC_BID3, IDC_NO_BID};
    for (int id : ids) HideButton(id);
    if (highest > 2) return;
    for (int i = 0; i < 4; ++i) ShowButton(ids[i], i == 3 || i + 1 > highest);
}

void CPavlenDlg::HideAllActionButtons(int on) {
    if (!on) return;
    for (int id : {IDC_READY, IDC_PASS, IDC_HINT, IDC_PLAY, IDC_BID1, IDC_BID2, IDC_BID3, IDC_NO_BID, IDC_DOUBLE,
                   IDC_NO_DOUBLE, IDC_REDOUBLE, IDC_NO_REDOUBLE, IDC_CONTEST_YES, IDC_CONTEST_NO})
        HideButton(id);
    for (int id : {IDC_CANCEL_AUTO, IDC_AUTO_PLAY})
        if (CWnd* button = GetDlgItem(id)) button->EnableWindow(FALSE);
}

void CPavlenDlg::ShowDoubleButtons(int mode) {
    const bool follow = mode == 1;
    for (int id : {IDC_DOUBLE, IDC_NO_DOUBLE}) follow ? HideButton(id) : ShowButton(id, TRUE);
    for (int id : {IDC_REDOUBLE, IDC_NO_REDOUBLE}) follow ? ShowButton(id, TRUE) : HideButton(id);
}

void CPavlenDlg::ShowContestButtons(int on) {
    for (int id : {IDC_CONTEST_YES, IDC_CONTEST_NO}) on ? ShowButton(id, TRUE) : HideButton(id);
}

void CPavlenDlg::ShowAutoButtons(int on) {
    if (m_groupMovie) {
        HideButton(IDC_AUTO_PLAY);
        HideButton(IDC_CANCEL_AUTO);
        return;
    }
    if (m_state.phase == 15) return;
    if (on == 1) {
        ShowButton(IDC_AUTO_PLAY, FALSE);
        HideButton(IDC_CANCEL_AUTO);
    } else {
        ShowButton(IDC_CANCEL_AUTO, TRUE);
        HideButton(IDC_AUTO_PLAY);
    }
    Invalidate();
}

void CPavlenDlg::SortAllHands() {
    CCardSet* own = m_state.ownHand;
    if (own && !own->IsEmpty()) {
        own->MarkRuns();
        if (m_state.sortMode == 1)
            own->SortByRun();
        else
            own->SortByNumber();
        Invalidate();
    }
    for (CPlayerInfo* p : m_state.slots) {
        if (!p || p->hand == own || p->hand->IsEmpty()) continue;
        p->hand->MarkRuns();
        p->hand->SortByNumber();
    }
}

void CPavlenDlg::ResetHandPositions() { m_pairPos = m_triplePos = 0; }

void CPavlenDlg::PlacePlayerPrompt(const std::string& name) {
    m_clock.owner = name;
    CGameImages* images = GetGameImages();
    if (!images) return;
    const int W0 = m_client.right, H0 = m_client.bottom, wT = images->Width(311), hT = images->Height(311);
    CPlayerInfo* p = m_state.FindPlayerByName(name);
    if (m_state.IsOwn(name))
        m_clockAt = {(W0 - wT / 2 - 200) / 2, m_state.phase == 15 ? (H0 - images->Height(298)) / 2 + images->Height(298)
                                                                   : H0 - hT - images->Height(213) - 196};
    else if (p && p == m_state.GetNextPlayer())
        m_clockAt = {W0 - wT / 2 - 336, (H0 - hT) / 2};
    else if (p)
        m_clockAt = {136, (H0 - hT) / 2};
}

void CPavlenDlg::CloseAdControl() {
    CloseGroupMovie();
    ShowButton(m_state.soundOn ? IDC_SOUND_ON : IDC_SOUND_OFF, TRUE);
    HideButton(m_state.soundOn ? IDC_SOUND_OFF : IDC_SOUND_ON);
    for (int id : {IDC_SORT, IDC_NEXT_PAIR, IDC_NEXT_TRIPLE}) ShowButton(id, TRUE);
    InvalidateAll();
    RenderNow();
    BringToFront();
}

void CPavlenDlg::BringToFront() {
    if (m_hWnd && ::GetForegroundWindow() != m_hWnd) SetForegroundWindow();
    // The result dialog stays above the table, as an owned window must: not
    // every window system keeps it there when its owner comes to the front.
    if (m_resultDialog && m_resultDialog->m_hWnd && m_resultDialog->IsWindowVisible())
        ::SetWindowPos(m_resultDialog->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int CPavlenDlg::Box(const char* text, const char* caption, UINT type, int seconds, bool owned) {
    const char* end = text ? std::strchr(text, '\n') : nullptr;
    TableTrace("box %.*s", text ? static_cast<int>(end ? end - text : std::strlen(text)) : 0, text ? text : "");
    return TableMessageBox(text, caption, type, seconds, owned ? this : nullptr);
}

void CPavlenDlg::ClientSize(int* width, int* height) const {
    RECT r = {0, 0, 0, 0};
    if (m_hWnd) GetClientRect(&r);
    *width = r.right;
    *height = r.bottom;
}

void CPavlenDlg::AddDirtyRect(int x, int y, int width, int height) { m_dirty.Add(x, y, width, height); }

void CPavlenDlg::InvalidateAll() {
    int w = 0, h = 0;
    ClientSize(&w, &h);
    m_dirty.AddAll(w, h);
}

void CPavlenDlg::ClearWaiting(CPlayerInfo* p) {
    if (!p || !seat::Waiting(*p)) return;
    seat::Waiting(*p) = 0;
    seat::WaitStart(*p) = -1;
    seat::WaitRemaining(*p) = -1;
}

void CPavlenDlg::StartClock(int ms) { StartClockFor(ms, ms); }

// The seat on turn counts its own time down with the clock (drawn beside a
// side seat).
void CPavlenDlg::StartClockFor(int total, int remaining) {
    m_clock.StartFor(total, remaining, GameClockNow());
    m_state.SetTurnTime(m_clock.owner, remaining);
    DrawClock();
}

void CPavlenDlg::StopClock() {
    m_clock.Stop();
    m_state.SetTurnTime("", 0);
    DrawClock();
}

void CPavlenDlg::ClockForTurn(int seconds, int limit) {
    int total = 0, remaining = 0;
    CTurnClock::Limits(seconds, limit, &total, &remaining);
    StartClockFor(total, remaining);
}

void CPavlenDlg::Sound(const char* path) {
    if (m_state.soundOn) PlayTableSound(path);
}

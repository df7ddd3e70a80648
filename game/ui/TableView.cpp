// The table window as its game's view: the buttons, boxes, sounds, the
// prompt's place, the marks of the clock and the effects, repaints, the
// updater and the shell; and the timer that runs the game's tick.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstring>

#include "game/core/table/TableTrace.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/ReslutDlg.h"
#include "game/ui/TableHooks.h"

void CPavlenDlg::OnTimer(UINT_PTR id) {
    if (id == kTimerId) {
        if (m_game.Tick()) {
            ScrollNotice();
            TickAnimations();
        }
        RenderNow();
        RaiseFloatingWindows();
    }
    CDialog::OnTimer(id);
}

void CPavlenDlg::RenderNow() {
    if (!m_hWnd) return;
    // A DC of the moment: a kept one can miss that the window moved.
    CClientDC dc(this);
    Render(&dc);
}

void CPavlenDlg::RepaintNow() {
    if (!m_hWnd) return;
    const CDirtyList& dirty = m_game.Dirty();
    if (dirty.Full()) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    } else {
        for (const DirtyRect& d : dirty.Rects()) {
            const RECT r = {d.left, d.top, d.right, d.bottom};
            ::InvalidateRect(m_hWnd, &r, FALSE);
        }
    }
    UpdateWindow();
}

int CPavlenDlg::ControlId(Button button) {
    static const int kIds[kButtons] = {
        IDC_READY,       IDC_PLAY,       IDC_PASS,      IDC_HINT,          IDC_BID1,      IDC_BID2,
        IDC_BID3,        IDC_NO_BID,     IDC_DOUBLE,    IDC_NO_DOUBLE,     IDC_REDOUBLE,  IDC_NO_REDOUBLE,
        IDC_CONTEST_YES, IDC_CONTEST_NO, IDC_NEXT_PAIR, IDC_NEXT_TRIPLE,   IDC_AUTO_PLAY, IDC_CANCEL_AUTO,
        IDC_SORT,        IDC_LEAVE,      IDC_CONTINUE,  IDC_BACK_TO_LOBBY, IDC_SOUND_ON,  IDC_SOUND_OFF};
    return button >= 0 && button < kButtons ? kIds[button] : 0;
}

void CPavlenDlg::ShowControl(int id, BOOL enable) {
    if (CWnd* control = GetDlgItem(id)) {
        control->ShowWindow(SW_SHOW);
        control->EnableWindow(enable);
    }
}

void CPavlenDlg::HideControl(int id) {
    if (CWnd* control = GetDlgItem(id)) {
        control->EnableWindow(FALSE);
        control->ShowWindow(SW_HIDE);
    }
}

void CPavlenDlg::ShowButton(Button button, bool enabled) { ShowControl(ControlId(button), enabled); }

void CPavlenDlg::HideButton(Button button) { HideControl(ControlId(button)); }

void CPavlenDlg::EnableButton(Button button, bool enabled) {
    if (CWnd* control = GetDlgItem(ControlId(button))) control->EnableWindow(enabled);
}

bool CPavlenDlg::ButtonEnabled(Button button) const {
    HWND control = m_hWnd ? ::GetDlgItem(m_hWnd, ControlId(button)) : nullptr;
    return control && ::IsWindowEnabled(control);
}

// Windows refuses the foreground to a program in the background: a table left
// where it was keeps its floating windows where they stand, if they stand right.
void CPavlenDlg::BringToFront() {
    if (m_hWnd && ::GetForegroundWindow() != m_hWnd) SetForegroundWindow();
    RaiseFloatingWindows(m_hWnd && ::GetForegroundWindow() == m_hWnd);
}

int CPavlenDlg::Box(const char* text, const char* caption, unsigned type, int seconds, BoxOwner owner) {
    const char* end = text ? std::strchr(text, '\n') : nullptr;
    TableTrace("box %.*s", text ? static_cast<int>(end ? end - text : std::strlen(text)) : 0, text ? text : "");
    return TableMessageBox(text, caption, type, seconds, owner == kTableOwns ? this : nullptr);
}

void CPavlenDlg::CallAttention() {
    if (::GetForegroundWindow() != m_hWnd && ++m_flashTicks % 20 == 0) FlashTable(m_hWnd);
}

void CPavlenDlg::Sound(const char* path) { PlayTableSound(path); }

void CPavlenDlg::OpenAddress(const std::string& address) { ShellOpen(address); }

void CPavlenDlg::ClientSize(int* width, int* height) const {
    RECT r = {0, 0, 0, 0};
    if (m_hWnd) GetClientRect(&r);
    *width = r.right;
    *height = r.bottom;
}

void CPavlenDlg::PlacePrompt(const std::string& name) {
    CGameImages* images = GetGameImages();
    if (!images) return;
    const CTableState& s = m_game.State();
    const int W0 = m_client.right, H0 = m_client.bottom, wT = images->Width(311), hT = images->Height(311);
    CPlayerInfo* p = s.FindPlayerByName(name);
    if (s.IsOwn(name))
        m_clockAt = {(W0 - wT / 2 - 200) / 2, s.phase == 15 ? (H0 - images->Height(298)) / 2 + images->Height(298)
                                                            : H0 - hT - images->Height(213) - 196};
    else if (p && p == s.GetNextPlayer())
        m_clockAt = {W0 - wT / 2 - 336, (H0 - hT) / 2};
    else if (p)
        m_clockAt = {136, (H0 - hT) / 2};
}

void CPavlenDlg::DrawClock() {
    if (!m_game.State().tableReady) return;
    CGameImages* images = GetGameImages();
    if (!images) return;
    AddDirtyRect(m_clockAt.x, m_clockAt.y, images->Width(311) / 2, images->Height(311));
}

// A film step repaints its frame, a plane step the plane before and after.
void CPavlenDlg::MarkEffect(int code, int planeBefore) {
    CGameImages* images = GetGameImages();
    if (!images) return;
    int w = 0, h = 0;
    ClientSize(&w, &h);
    if (code == 9 || code == 10) {
        const int pw = images->Width(315), ph = images->Height(315), x = (w - pw - 200) / 2;
        AddDirtyRect(x, planeBefore, pw, ph);
        AddDirtyRect(x, m_game.Effects().planeY, pw, ph);
        return;
    }
    const int film = code == 100 ? 317 : code == 101 ? 318 : 316;
    const int fw = images->Width(film) / (code == 100 ? 7 : 6), fh = images->Height(film);
    AddDirtyRect((w - fw - 200) / 2, (h - fh) / 2 - 80, fw, fh);
}

void CPavlenDlg::RunUpdater() {
    char line[] = "Updater\\Updater.exe FENLO";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    ::CloseHandle(info.hThread);
    // Nothing else happens meanwhile, but messages other programs send the
    // table (the lobby's WM_COPYDATA) are still answered, so they do not hang.
    for (;;) {
        const DWORD r = ::MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    ::CloseHandle(info.hProcess);
}

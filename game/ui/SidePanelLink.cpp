// What the table hands its side panel and its effect overlay: chat lines,
// notices, the ranking, the match time and the advertisement address, and
// the Flash effect movies; the windows that float over the table kept above it.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <vector>

#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/ui/DlgRight.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/ReslutDlg.h"

namespace {

constexpr COLORREF kNoticeColour = RGB(0, 255, 0);

template <class T>
const T& At(const std::vector<T>& list, size_t i) {
    static const T empty{};
    return i < list.size() ? list[i] : empty;
}

}  // namespace

void CPavlenDlg::ChatLine(const std::string& line) { PanelNotice(line); }

void CPavlenDlg::PanelNotice(const std::string& text) {
    if (m_panel) m_panel->AppendChat(text + "\r\n", kNoticeColour);
}

bool CPavlenDlg::PanelMessage(const CMessage& message) {
    switch (message.typeId) {
    case CChatMsg::kType: {
        const CChatMsg& m = static_cast<const CChatMsg&>(message);
        if (m_panel)
            m_panel->AppendChat(
                m.sysMsg == 1 ? m.content : "[" + m_game.ChatName(m.playerName) + "]: " + m.content + "\r\n", m.color);
        return true;
    }
    case CGameNotice::kType:
        PanelNotice(static_cast<const CGameNotice&>(message).body);
        return true;
    case CRankTopNMsg::kType: {
        const CRankTopNMsg& m = static_cast<const CRankTopNMsg&>(message);
        if (!m_panel) return true;
        CSkinListCtrl* list = m_panel->GetRankList();
        list->SendMessage(WM_SETREDRAW, FALSE);
        list->DeleteAllItems();
        for (size_t i = 0; i < m.rank.size(); ++i) {
            char rank[16];
            std::snprintf(rank, sizeof rank, "%d", m.rank[i]);
            const int row = list->AddItem(static_cast<int>(i), rank);
            list->SetItemText(row, 1, At(m.nickName, i).c_str());
            list->SetItemText(row, 2, At(m.winLoss, i).c_str());
            list->SetItemText(row, 3, At(m.rounds, i).c_str());
        }
        list->SortByColumn(0, 1);
        list->SendMessage(WM_SETREDRAW, TRUE);
        list->Invalidate();
        return true;
    }
    case CPlayerRankMsg::kType: {
        const CPlayerRankMsg& m = static_cast<const CPlayerRankMsg&>(message);
        if (!m_panel) return true;
        m_panel->SetMyRank(m.rank, m.total);
        m_panel->SetNetWinLoss(m.winLoss);
        m_panel->SetGames(m.rounds);
        return true;
    }
    case CRemainTimeMsg::kType: {
        const CRemainTimeMsg& m = static_cast<const CRemainTimeMsg&>(message);
        if (!m_panel) return true;
        m_panel->SetRemainTime(m.remainTime);
        char base[512] = "";
        ::GetPrivateProfileStringA("SYSTEM", "advulr1", "", base, sizeof base, GetGameSession()->ConfigPath());
        char address[700];
        std::snprintf(address, sizeof address, "%s?stageid=%d&cnsttype=%d", base, m.stageId, m.contestType);
        m_panel->ShowAdPage(address);
        return true;
    }
    default:
        return false;
    }
}

void CPavlenDlg::ShowEffectMovie(int code) {
    static const char* const kMovies[] = {"bomb1.swf", "bomb2.swf", "bomb3.swf", "bomb4.swf", "spring.swf",
                                          "antispring.swf"};
    m_currentEffect = code >= 0 && code <= 3 ? code : code == 100 ? 4 : code == 101 ? 5 : 3;
    CloseEffectMovie();
    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    const CString path = CString(folder) + "\\fenlo\\flash\\" + kMovies[m_currentEffect];
    m_effectMovie = std::make_unique<CFlashDlg>(path, this);
    m_effectMovie->Create(CFlashDlg::IDD, this);
    if (m_effectMovie->m_hWnd) {
        CRect client;
        GetClientRect(&client);
        ClientToScreen(&client);
        m_effectMovie->MoveWindow(&client, FALSE);
        m_effectMovie->ShowWindow(SW_SHOWNOACTIVATE);  // not activated, left where placed (SW_SHOWNA raises)
    }
    if (::GetForegroundWindow() != m_hWnd) SetForegroundWindow();
}

void CPavlenDlg::CloseEffectMovie() { m_effectMovie.reset(); }

// An owned window stands above its owner, but Wine stacks the table over the
// windows it owns as it shows or comes to the front, at times without telling
// the table, and restacks a window on the screen only when it comes to the
// top from below. So when the table shows or comes to the front (always), and
// on a tick or move when they do not stand directly above the table, the
// result dialog highest, the floating windows are put there: with only our
// own windows above the table, each goes under the table and back on top,
// then our other windows (a box) over them again; under another program's
// window they go just above the table, never over that window.
void CPavlenDlg::RaiseFloatingWindows(bool always) {
    if (!m_hWnd || !IsWindowVisible()) return;
    CWnd* const floating[] = {m_panel, m_effectMovie.get(), m_resultDialog};
    std::vector<HWND> raise;  // bottom first
    for (CWnd* w : floating)
        if (w && w->m_hWnd && w->IsWindowVisible()) raise.push_back(w->m_hWnd);
    if (raise.empty()) return;
    const auto floats = [&](HWND w) { return std::find(raise.begin(), raise.end(), w) != raise.end(); };
    const auto shown = [](HWND w) {
        return ::IsWindowVisible(w) && !(::GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    };
    const auto ours = [](HWND w) { return ::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId(); };
    if (!always) {
        // Up from the table: each floating window in turn, past our own.
        size_t next = 0;
        for (HWND w = ::GetWindow(m_hWnd, GW_HWNDPREV); w && next < raise.size(); w = ::GetWindow(w, GW_HWNDPREV)) {
            if (w == raise[next])
                ++next;
            else if (floats(w) || (shown(w) && !ours(w)))
                break;
        }
        if (next == raise.size()) return;
    }
    std::vector<HWND> others;  // bottom first
    HWND cover = nullptr;      // the lowest window of another program over the table
    for (HWND w = ::GetWindow(m_hWnd, GW_HWNDPREV); w && !cover; w = ::GetWindow(w, GW_HWNDPREV)) {
        if (floats(w) || !shown(w)) continue;
        if (ours(w))
            others.push_back(w);
        else
            cover = w;
    }
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (cover) {
        HWND below = m_hWnd;
        for (HWND w : raise) {
            const HWND above = ::GetWindow(below, GW_HWNDPREV);
            if (above != w) ::SetWindowPos(w, above, 0, 0, 0, 0, keep);
            below = w;
        }
        return;
    }
    raise.insert(raise.end(), others.begin(), others.end());
    for (HWND w : raise) {
        ::SetWindowPos(w, m_hWnd, 0, 0, 0, 0, keep);
        ::SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, keep);
    }
}

// What the table hands its side panel and its effect overlay: chat lines,
// notices, the ranking, the match time and the advertisement address, and
// the Flash effect movies.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>

#include "game/core/GameMessages.h"
#include "game/core/GameSession.h"
#include "game/ui/DlgRight.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/PavlenDlg.h"

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
        m_effectMovie->ShowWindow(SW_SHOW);
    }
    if (::GetForegroundWindow() != m_hWnd) SetForegroundWindow();
}

void CPavlenDlg::CloseEffectMovie() { m_effectMovie.reset(); }

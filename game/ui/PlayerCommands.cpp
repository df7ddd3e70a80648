// The table's smaller commands: cancelling auto-play, the bet, sorting, the
// sound switch, and the result dialog's choice.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/ui/PavlenDlg.h"

void CPavlenDlg::OnCancelAutoPlay() {
    if (m_state.autoRequest) return;
    Sound("fenlo\\sound\\sel.wav");
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildCancelAutoPlay(m_state.ownName, &n), n);
}

void CPavlenDlg::OnBet() {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildBet(m_state.ownName, m_betText, &n), n);
}

void CPavlenDlg::OnSort() {
    Sound("fenlo\\sound\\sel.wav");
    m_state.sortMode = 1 - m_state.sortMode;
    SortAllHands();
    Invalidate();
}

void CPavlenDlg::SetSound(int on) {
    m_state.soundOn = on;
    ShowButton(on ? IDC_SOUND_ON : IDC_SOUND_OFF, TRUE);
    HideButton(on ? IDC_SOUND_OFF : IDC_SOUND_ON);
    Sound("fenlo\\sound\\sel.wav");
    ::WritePrivateProfileStringA("system", "soundon", on ? "1" : "0", GetGameSession()->ConfigPath());
}

LRESULT CPavlenDlg::OnResultChoice(WPARAM choice, LPARAM) {
    if (choice)
        OnContinue();
    else
        OnBackToLobby();
    return 0;
}

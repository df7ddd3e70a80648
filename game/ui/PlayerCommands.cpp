// The sound switch's setting, and the result dialog's choice.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/GameSession.h"
#include "game/ui/PavlenDlg.h"

void CPavlenDlg::SetSound(int on) {
    m_game.SetSound(on);
    ::WritePrivateProfileStringA("system", "soundon", on ? "1" : "0", GetGameSession()->ConfigPath());
}

LRESULT CPavlenDlg::OnResultChoice(WPARAM choice, LPARAM) {
    if (choice)
        m_game.OnContinue();
    else
        OnBackToLobby();
    return 0;
}

// The money report to every lobby window, and quitting the table.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstring>

#include "game/core/GameSession.h"
#include "game/ui/PavlenDlg.h"
#include "lobby/net/base/CopyData.h"

BOOL CALLBACK CPavlenDlg::EnumLobbyWindowsProc(HWND window, LPARAM self) {
    CPavlenDlg* table = reinterpret_cast<CPavlenDlg*>(self);
    char title[64] = "";
    ::GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, kLobbyTitle) != 0) return TRUE;
    GameCopyData record = {};
    const std::string& id = GetGameSession()->playerId;
    std::strncpy(record.playerId, id.c_str(), sizeof record.playerId - 1);
    record.money = -1.0;
    CPlayerInfo* own = table->m_state.Own();
    if (own && table->m_validateText != "3" && !table->m_quitting) {
        record.money = own->money;
        record.secondAmount = own->amountA;
    }
    COPYDATASTRUCT data;
    data.dwData = table->m_state.phase == 15 ? 2 : table->m_setupComplete == 0 ? 1 : 0;
    data.cbData = sizeof record;
    data.lpData = &record;
    ::SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(table->m_hWnd), reinterpret_cast<LPARAM>(&data));
    return TRUE;
}

void CPavlenDlg::NotifyLobby() { ::EnumWindows(EnumLobbyWindowsProc, reinterpret_cast<LPARAM>(this)); }

void CPavlenDlg::QuitTable() {
    if (CPlayerInfo* own = m_state.Own()) own->money = -1.0;
    m_quitting = true;
    NotifyLobby();
    CDialog::OnCancel();
}

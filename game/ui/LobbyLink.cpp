// The money report to every lobby window, quitting the table, back to the
// lobby, and the records the lobby sends the table.
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
    CPlayerInfo* own = table->m_game.State().Own();
    if (own && table->m_game.ValidateText() != "3" && !table->m_quitting) {
        record.money = own->money;
        record.secondAmount = own->amountA;
    }
    COPYDATASTRUCT data;
    data.dwData = table->m_game.State().phase == 15 ? 2 : table->m_setupComplete == 0 ? 1 : 0;
    data.cbData = sizeof record;
    data.lpData = &record;
    ::SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(table->m_hWnd), reinterpret_cast<LPARAM>(&data));
    return TRUE;
}

void CPavlenDlg::NotifyLobby() { ::EnumWindows(EnumLobbyWindowsProc, reinterpret_cast<LPARAM>(this)); }

void CPavlenDlg::QuitTable() {
    if (CPlayerInfo* own = m_game.State().Own()) own->money = -1.0;
    m_quitting = true;
    NotifyLobby();
    CDialog::OnCancel();
}

void CPavlenDlg::OnBackToLobby() {
    m_game.Sound("fenlo\\sound\\sel.wav");
    QuitTable();
}

// ---- the lobby's records to the table

namespace {

// A field of the record as text: up to its terminator or its end.
std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

bool ForRoom(const std::string& rooms, const std::string& room) {
    if (rooms == "0") return true;
    for (size_t at = 0;;) {
        const size_t comma = rooms.find(',', at);
        if (rooms.compare(at, comma == std::string::npos ? std::string::npos : comma - at, room) == 0) return true;
        if (comma == std::string::npos) return false;
        at = comma + 1;
    }
}

}  // namespace

BOOL CPavlenDlg::OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    // Any program can send this: a short or empty record is not read.
    if (!data || !data->lpData || data->cbData < sizeof(LobbyToGameCopyData)) return static_cast<BOOL>(Default());
    const LobbyToGameCopyData& record = *static_cast<const LobbyToGameCopyData*>(data->lpData);
    const std::string text = Field(record.text, sizeof record.text);
    CGameSession* session = GetGameSession();
    if (ForRoom(Field(record.rooms, sizeof record.rooms), session->roomId)) {
        if (record.kind == LobbyToGameCopyData::kNotice) {
            m_noticeOffset = 0;
            m_noticeText = text;
            m_noticeCount = record.value;
            SendNoticeToMovie();
        }
        if (record.kind == LobbyToGameCopyData::kChatLine) PanelNotice(text);
    }
    if (record.kind == LobbyToGameCopyData::kStoredText) session->noticeText = text;
    return static_cast<BOOL>(Default());
}

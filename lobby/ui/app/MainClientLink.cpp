// The main window's link to the running card-game client (WM_COPYDATA both
// ways) and the server's notices.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstring>

#include "lobby/net/base/CopyData.h"
#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/ui/RoomLaunch.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"

BOOL CMyMiraboGameDlg::OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    if (GetLobbyApp()->m_developer || !data) return static_cast<BOOL>(Default());
    // Any process may send WM_COPYDATA: only a whole record with a terminated id counts.
    const GameCopyData* record = AcceptGameCopyData(data->lpData, data->cbData);
    if (!record) return static_cast<BOOL>(Default());
    std::string path, money;
    bool sendPath = false, refresh = false;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        const bool own = hub.userName == record->playerId;
        switch (data->dwData) {
        case GameCopyData::kRunning:
            if (!own) break;
            if (record->money > 0) hub.moneyText = AmountText(record->money);
            refresh = true;
            break;
        case GameCopyData::kStarting:
            CloseWaitingPage();
            sendPath = m_left.m_tree.GetItemPath(m_currentRoomId, path) != 0;
            break;
        case GameCopyData::kGameOver:
            if (!own) break;
            if (record->money > 0) hub.moneyText = AmountText(record->money);
            hub.secondAmountText = AmountText(record->secondAmount);
            refresh = true;
            break;
        default: break;
        }
        money = hub.moneyText;
    }
    if (sendPath) SendToGameClient(path, "0", LobbyToGameCopyData::kStoredText, 0);
    if (refresh) {
        LobbyTrace("money %s", money.c_str());
        m_left.Refresh();
    }
    return static_cast<BOOL>(Default());
}

void CMyMiraboGameDlg::SendToGameClient(const std::string& text, const std::string& rooms, int kind, int value) {
    LobbyToGameCopyData record;
    std::memset(&record, 0, sizeof record);
    CopyClientText(record.text, sizeof record.text, text);
    CopyClientText(record.rooms, sizeof record.rooms, rooms);
    record.kind = kind;
    record.value = value;
    HWND client = ::FindWindowA(nullptr, "Mirabo斗地主");
    if (!client) return;
    COPYDATASTRUCT copy{};
    copy.dwData = 0;
    copy.cbData = sizeof record;
    copy.lpData = &record;
    ::SendMessageA(client, WM_COPYDATA, reinterpret_cast<WPARAM>(GetSafeHwnd()), reinterpret_cast<LPARAM>(&copy));
}

void CMyMiraboGameDlg::PostPopupNotice(const CString& text, int time, int flag) {
    PostOwned(GetSafeHwnd(), kPopupNoticeRequest, 1,
              std::unique_ptr<PopupNoticeRequest>(new PopupNoticeRequest{text, "Mirabo系统消息", time, flag}));
}

void CMyMiraboGameDlg::OnNotice(CNoticeMsg* message) {
    const CString text = message->text.c_str();
    std::string rooms;
    int n = 0;
    switch (message->type) {
    case 2: PostPopupNotice(text, 0, 0); break;
    case 3: PostPopupNotice(text, 10000, 0); break;
    case 4: PostPopupNotice(text, 0, 1); break;
    case 5: PostPopupNotice(text, 20000, 0); break;
    case 6:
        if (SplitNoticeRooms(message->roomSelector, rooms, n) && (n == 1 || n == 3))
            SendToGameClient(message->text, rooms, LobbyToGameCopyData::kChatLine, 1);
        break;
    case 7:
        if (SplitNoticeRooms(message->roomSelector, rooms, n))
            SendToGameClient(message->text, rooms, LobbyToGameCopyData::kNotice, n);
        break;
    default: GetLobbyApp()->PostMessageBox(text, "公告信息", 0); break;
    }
}

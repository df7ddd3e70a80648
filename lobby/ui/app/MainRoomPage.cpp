// The main window's side of the room page: the page made from a desk list,
// the seat answer passed to its desk view, the room tokens it hands on, and
// the room host through which the page reaches this window and the program.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdlib>
#include <map>
#include <string>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyRecords.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"
#include "lobby/ui/room/RoomHost.h"
#include "lobby/ui/room/RoomWnd.h"

namespace {

class LobbyRoomHost : public CRoomHost {
public:
    HWND GetMainWindow() override {
        CMyMiraboGameApp* app = GetLobbyApp();
        return app && app->m_mainDlg ? app->m_mainDlg->GetSafeHwnd() : nullptr;
    }
    int IsGameRunning() override { return GetLobbyApp()->IsGameRunning(); }
    int PostMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag, int seconds, int linkFlag) override {
        return GetLobbyApp()->PostMessageBox(text, caption, style, countFlag, seconds, linkFlag);
    }
    // The room's players beside the page and the middle panel's arrows for
    // them while the page lives; neither once it has gone.
    void ShowRoomPanels(int inRoom) override {
        CMyMiraboGameDlg* dlg = GetLobbyApp()->m_mainDlg;
        if (!dlg || !dlg->GetSafeHwnd()) return;
        if (inRoom)
            dlg->ShowRightPanel();
        else
            dlg->HideRightPanel();
        if (dlg->m_mid.GetSafeHwnd()) dlg->m_mid.UpdateGameButtons(inRoom);
    }
    void LaunchGame(HWND owner, const std::string& params) override {
        LobbyTrace("start fenlo.exe|%s", params.c_str());
        LobbyStep("launch fenlo.exe");
        CRoomHost::LaunchGame(owner, params);
        LobbyStep("fenlo.exe launched");
    }
};

LobbyRoomHost g_roomHost;

// The room-entry reply's token per room id; a room page takes its room's.
std::map<int, std::string>& RoomTokens() {
    static std::map<int, std::string> tokens;
    return tokens;
}

}  // namespace

CRoomWnd* CMyMiraboGameDlg::RoomPage() { return dynamic_cast<CRoomWnd*>(m_mid.GetPageWnd(m_roomPageId)); }

void CMyMiraboGameDlg::KeepRoomToken(const std::string& roomIdText, const std::string& token) {
    const int roomId = std::atoi(roomIdText.c_str());
    RoomTokens()[roomId] = token;
    CRoomWnd* page = RoomPage();
    if (page && page->GetRoomId() == roomId) page->SetValidationToken(token);
}

void CMyMiraboGameDlg::CreateRoomPage(CDeskInfoMsg* message) {
    SetRoomHost(&g_roomHost);
    CRoomWnd* page = new CRoomWnd;
    const int autoGroup = message->roomFlag ? 1 : 0;
    page->SetGroupMode(autoGroup);
    page->SetRoomRes(GetLobbySkin());
    auto token = RoomTokens().find(m_currentRoomId);
    if (token != RoomTokens().end()) page->SetValidationToken(token->second);
    if (!page->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, m_mid.m_pageRect, &m_mid)) {
        delete message;
        delete page;
        return;
    }
    page->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    page->NotifyView(message);
    page->ShowWindow(SW_HIDE);
    page->SetFont(GetFont(), FALSE);
    page->SetRoomId(std::to_string(m_currentRoomId));
    CString caption;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        LobbyRoomRecord* room = hub.FindRoom(m_currentRoomId);
        if (room && room->owner)
            caption.Format("游戏大厅>>%s>>%s%s", room->owner->name.c_str(), room->name.c_str(),
                           autoGroup ? "(自动分组)" : "");
    }
    if (!caption.IsEmpty()) {
        page->SetTitle(caption.GetString());
        page->SetWindowText(caption);
        m_mid.SetTitle(caption);
    }
    // The application knows the page too: its tab is not closed while a game runs.
    m_roomPageId = GetLobbyApp()->m_roomPageId = m_mid.AddPage("游戏房间", page);
}

void CMyMiraboGameDlg::SetDeskGranted(bool granted) {
    CLobbyData& hub = GetLobbyData();
    LobbyLockGuard guard(hub.lobbyLock);
    if (CRoomWnd* page = RoomPage()) page->OnEnterDeskAck(granted ? TRUE : FALSE);
}

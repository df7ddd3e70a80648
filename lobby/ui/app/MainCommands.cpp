// The main window's commands (kMsgMainCommand), room entry and the game launch.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdlib>
#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/engine/NetEngineEx.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/LobbyProtocol.h"
#include "lobby/net/protocol/LobbySend.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/ui/DlgCartoon.h"
#include "lobby/ui/DlgMes.h"
#include "lobby/ui/RoomLaunch.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"
#include "lobby/ui/web/DlgAdvWeb.h"
#include "lobby/ui/web/DlgOrderWeb.h"

namespace {
const char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded\r\n";
}  // namespace

namespace {
enum { kMemberRefreshTimer = 1 };
}  // namespace

LRESULT CMyMiraboGameDlg::OnCommandMessage(WPARAM code, LPARAM lParam) {
    CMyMiraboGameApp* app = GetLobbyApp();
    std::unique_ptr<CString> text;
    if (code == 6 || code == 7 || code == 13) text = TakeOwned(kMainCommandText, lParam);
    switch (code) {
    case 0: CloseRoomPage(); break;
    case 1:
        if (static_cast<int>(lParam) == m_roomPageId) {
            ShowLeftPanel();
            m_roomPageId = app->m_roomPageId = -1;
        }
        break;
    case 2:
        app->m_forcedSwitch = 0;
        m_left.m_roomState = 1;
        EnterRoom(m_currentRoomId);
        break;
    case 3:
        app->m_forcedSwitch = 1;
        SendMessage(kMsgMainCommand, 0, 0);
        PostMessage(kMsgMainCommand, 2, 0);
        break;
    case 4:
        m_left.m_roomState = 1;
        EnterRoom(static_cast<int>(lParam));
        break;
    case 5: LoadRoomTree(); break;
    case 6:
        if (text) EnterRoomGroup(std::string(text->GetString()));
        break;
    case 7:
        if (text && m_mid.GetPageWnd(m_memberPageId)) {
            m_mid.ActivatePage(m_memberPageId);
            NavigateMemberPage(1, text.get());
        }
        break;
    case 8:
        CloseWaitingPage();
        app->PostMessageBox("      开启游戏失败！", "错误", 0);
        break;
    case 9: EnterMatchRooms(static_cast<int>(lParam)); break;
    case 10: OpenMemberPage(false); break;
    case 11: OpenMemberPage(true); break;
    case 12: SetTimer(kMemberRefreshTimer, 3000); break;
    case 13:
        if (text) OpenOrderPage(*text);
        break;
    case 14:
        if (!app->AdvWeb.IsEmpty()) ShowAdvertisement();
        break;
    default: break;
    }
    return 0;
}

void CMyMiraboGameDlg::CloseRoomPage() {
    m_mid.ClosePage(m_roomPageId);
    m_left.m_roomState = 0;
}

void CMyMiraboGameDlg::SendEnterRoom(int roomId) {
    CLobbyData& hub = GetLobbyData();
    SendLobbyRequest(hub, [&](CLobbyProtocol& protocol, int* length) {
        return protocol.MakeEnterRoomMsg(hub.userName, std::to_string(roomId), length);
    });
}

void CMyMiraboGameDlg::EnterRoom(int roomId) {
    CMyMiraboGameApp* app = GetLobbyApp();
    if (m_mid.GetPageWnd(m_roomPageId)) {
        if (roomId == m_currentRoomId) {
            m_mid.ActivatePage(m_roomPageId);
            return;
        }
        if (app->IsGameRunning()) {
            app->PostMessageBox("正在游戏中不能切换房间!", "提示", 0);
            return;
        }
        if (ShowLobbyMessageBox("检测到正在房间中,是否要进行房间切换?", "提示", 1, 0, 0, 0, this) != IDOK) return;
        // The old page closes now; the posted code 4 asks for the room once it has gone.
        SendMessage(kMsgMainCommand, 0, 0);
        PostMessage(kMsgMainCommand, 4, roomId);
        return;
    }
    m_currentRoomId = roomId;
    SendEnterRoom(roomId);
    OpenWaitingPage();
}

void CMyMiraboGameDlg::EnterRoomGroup(const std::string& list) {
    CMyMiraboGameApp* app = GetLobbyApp();
    if (app->IsGameRunning()) {
        app->PostMessageBox("检测到玩家正在游戏中，请先退出游戏，再进行房间切换！", "提示", 0);
        return;
    }
    if (m_entering) return;
    std::vector<int> candidates = ParseRoomCandidates(list);
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        LobbyRoomRecord* first = hub.FindRoom(candidates.front());
        if (first && first->openFlag != "1") {
            app->PostMessageBox(first->closedText.c_str(), "提示信息", 0);
            return;
        }
    }
    OpenWaitingPage();
    m_candidates = candidates;
    m_entering = 1;
    m_candidateIndex = 0;
    m_currentRoomId = m_candidates.front();
    SendEnterRoom(m_currentRoomId);
}

void CMyMiraboGameDlg::EnterMatchRooms(int matchNumber) {
    std::string list;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        for (LobbyGameRecord* game : hub.gameList)
            for (LobbyRoomRecord* room : game->rooms) {
                const int number = std::atoi(room->text7.c_str());
                if (number < 0 || number != matchNumber) continue;
                if (!list.empty()) list += ',';
                list += room->id;
            }
    }
    if (list.empty()) {
        GetLobbyApp()->PostMessageBox("找不到对应的房间，请确认该比赛已经开始！", "提示", 0);
        return;
    }
    EnterRoomGroup(list);
}

void CMyMiraboGameDlg::OpenWaitingPage() {
    if (m_waitingPageId != -1 && m_mid.GetPageWnd(m_waitingPageId)) {
        m_mid.ActivatePage(m_waitingPageId);
        return;
    }
    CSkinRes* skin = GetLobbySkin();
    DlgCartoon* page = new DlgCartoon();
    page->SetFrames(skin->GetWaitFrameCount(), 500, skin->GetWaitImage());
    page->SetNotifyWindow(GetSafeHwnd());
    if (!page->Create(DlgCartoon::IDD, &m_mid)) {
        delete page;
        return;
    }
    m_waitingPageId = m_mid.AddPage("等  待", page);
}

void CMyMiraboGameDlg::CloseWaitingPage() {
    if (m_waitingPageId != -1) m_mid.ClosePage(m_waitingPageId);
    m_waitingPageId = -1;
}

void CMyMiraboGameDlg::EndGroupEntry() {
    m_entering = 0;
    m_currentRoomId = 0;
    m_candidateIndex = -1;
    m_candidates.clear();
}

void CMyMiraboGameDlg::OnRoomRefused(CRejectStartGame* message) {
    const std::string reason = message->reason;
    const bool money = reason.find("金额") != std::string::npos;
    if (!money && ++m_candidateIndex >= 0 && m_candidateIndex < static_cast<int>(m_candidates.size())) {
        m_currentRoomId = m_candidates[static_cast<size_t>(m_candidateIndex)];
        SendEnterRoom(m_currentRoomId);
        return;
    }
    EndGroupEntry();
    GetLobbyApp()->PostMessageBox(reason.c_str(), "失败", 0, 0, 0, money ? 1 : 0);
    CloseWaitingPage();
}

void CMyMiraboGameDlg::OnStartGame(CStartGameMsg* message) {
    CMyMiraboGameApp* app = GetLobbyApp();
    KeepRoomToken(message->roomId, message->token);  // the room page's seat launch passes it on
    m_entering = 0;
    m_candidateIndex = -1;
    m_candidates.clear();
    if (app->m_developer) {
        CloseWaitingPage();
    } else if (CWnd* waiting = m_mid.GetPageWnd(m_waitingPageId)) {
        waiting->PostMessage(kMsgWaitingPage, 2, 0);
    }

    LaunchRoom launch;
    std::string user;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        LobbyRoomRecord* room = nullptr;
        if (m_currentRoomId != 0) {
            room = hub.FindRoom(m_currentRoomId);
        } else {
            for (LobbyGameRecord* game : hub.gameList) {
                if (game->code != "FENLO") continue;
                for (LobbyRoomRecord* r : game->rooms)
                    if (!room && r->flag) room = r;
            }
        }
        if (!room) {
            app->PostMessageBox("游戏信息已更新，请重试", "提示", 0);
            return;
        }
        launch.host = room->host;
        launch.port = room->port;
        launch.host2 = room->host2;
        launch.port2 = room->port2;
        launch.directStart = room->flag;
        launch.gameName = room->owner ? room->owner->name : std::string();
        user = hub.userName;
    }
    const std::string parameters = MakeFullLaunchLine(launch, user, message->roomId, message->token, "1 0 0");
    if (!launch.directStart) m_currentRoomId = std::atoi(message->roomId.c_str());
    const std::string program = GameProgramFor(launch.gameName, message->roomId);
    LobbyTrace("start %s|%s", program.c_str(), parameters.c_str());
    ::ShellExecuteA(GetSafeHwnd(), "open", program.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void CMyMiraboGameDlg::OnDeskList(CDeskInfoMsg* message) {
    CloseWaitingPage();
    m_right.ClearChat();
    m_left.m_roomState = 3;
    if (m_mid.GetPageWnd(m_roomPageId)) {
        delete message;
        return;
    }
    CreateRoomPage(message);
}

// ---- room page and right panel --------------------------------------------------

void CMyMiraboGameDlg::PassToRoomPage(int code, CMessage* message) {
    CWnd* page = m_mid.GetPageWnd(m_roomPageId);
    const int kind = message->kind;
    if (!PostOwned(page ? page->GetSafeHwnd() : nullptr, kRoomUpdateMessage, static_cast<WPARAM>(code),
                   std::unique_ptr<CMessage>(message)))
        LobbyTrace("drop room message %d", kind);
}

void CMyMiraboGameDlg::PassToRightPanel(int code, CMessage* message) {
    PostOwned(m_right.GetSafeHwnd(), kRightPanelMessage, static_cast<WPARAM>(code), std::unique_ptr<CMessage>(message));
}

CString CMyMiraboGameDlg::MemberPageFormBody() {
    CLobbyData& hub = GetLobbyData();
    LobbyLockGuard guard(hub.lobbyLock);
    const std::string body =
        "membername=" + FormEncode(hub.userName) + "&memberpassword=" + FormEncode(hub.storedDigest);
    return body.c_str();
}

// ---- web pages: the member and order pages and the advertisement (lobby/ui/web) ----

void CMyMiraboGameDlg::OpenMemberPage(bool post) {
    LobbyTrace("member page %d %s", post ? 1 : 0, MemberPageFormBody().GetString());
    if (auto* page = static_cast<CDlgOrderWeb*>(m_mid.GetPageWnd(m_memberPageId))) {
        m_mid.ActivatePage(m_memberPageId);
        if (post) page->Navigate(GetLobbyApp()->PostWeb, 0, nullptr, MemberPageFormBody(), kFormHeader);
        return;
    }
    auto* page = new CDlgOrderWeb();
    page->SetCloseButton(0);
    if (!page->Create(CDlgOrderWeb::IDD, &m_mid)) {
        delete page;
        return;
    }
    m_memberPageId = m_mid.AddPage("主  页", page);
    page->SetPageKey(m_memberPageId);
    // The main window's opening (command 10) does not wait for the web view.
    page->NavigateSoon(GetLobbyApp()->PostWeb, 0, nullptr, MemberPageFormBody(), kFormHeader);
}

// how 1: navigate to the address; 2: refresh a member page; 3: drop the next navigate.
void CMyMiraboGameDlg::NavigateMemberPage(int how, const CString* address) {
    LobbyTrace("member page navigate %d %s", how, address ? address->GetString() : "");
    auto* page = static_cast<CDlgOrderWeb*>(m_mid.GetPageWnd(m_memberPageId));
    if (!page) return;
    if (how == 1 && address) PostOwned(page->GetSafeHwnd(), kWebPageText, 1, HeapText(address->GetString()));
    else if (how == 2) page->PostMessage(kMsgWebPage, 2, 0);
    else if (how == 3) page->SetSkipNextNavigate(1);
}

void CMyMiraboGameDlg::MarkMemberPage() { NavigateMemberPage(3, nullptr); }

void CMyMiraboGameDlg::OpenOrderPage(const CString& address) {
    LobbyTrace("order page %s", address.GetString());
    if (auto* page = static_cast<CDlgOrderWeb*>(m_mid.GetPageWnd(m_orderPageId))) {
        m_mid.ActivatePage(m_orderPageId);
        CString current;
        page->GetLocationURL(current);
        if (current != address) page->Navigate(address);
        return;
    }
    auto* page = new CDlgOrderWeb();
    if (!page->Create(CDlgOrderWeb::IDD, &m_mid)) {
        delete page;
        return;
    }
    m_orderPageId = m_mid.AddPage("说  明", page);
    page->SetPageKey(m_orderPageId);
    page->Navigate(address);
}

void CMyMiraboGameDlg::ShowAdvertisement() {
    CMyMiraboGameApp* app = GetLobbyApp();
    LobbyTrace("advertisement %s", app->AdvWeb.GetString());
    CDlgAdvWeb advertisement(this);
    advertisement.SetPage(app->AdvWeb, app->AdvWidth, app->AdvHeight, app->AdvCloseTime);
    advertisement.DoModal();
}

// ---- end of web pages ----

void CMyMiraboGameDlg::ShowPopupNotice(std::unique_ptr<PopupNoticeRequest> request) {
    if (!request) return;
    LobbyTrace("popup %s|%s|%d|%d", request->caption.GetString(), request->text.GetString(), request->time,
               request->flag);
    m_popups.Show(request->text, request->caption, request->time, this, request->flag);
}

void CMyMiraboGameDlg::RemovePopupNotice(int id) {
    LobbyTrace("popup removed %d", id);
    m_popups.Remove(id);
}

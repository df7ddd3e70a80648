// The main lobby window (dialog 102, "游戏大厅", the title by which the game
// client finds it). Its 50 ms timer watches the connection, reconnects, and
// takes one queued server message per tick from the data hub and hands it to
// the window it concerns. Windows post it kMsgMainCommand commands; the game
// client reports by WM_COPYDATA.
//
// Ownership of a popped message: a handler that passes it on (room page,
// right panel) hands it over; every other is deleted here once handled.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/DSkinWin.h"
#include "lobby/ui/PopMsgList.h"
#include "lobby/ui/app/LobbyPanels.h"
#include "platform/Framework.h"

class CMessage;
class CNLogin;
class CDeskInfoMsg;
class CNoticeMsg;
class CStartGameMsg;
class CRejectStartGame;
class CPlayerKickMsg;
class CAddGameList;
class CRemoveGameList;
class CAddRoomList;
class CRemoveRoomList;
class CPlayerCountList;
class CMoneyIsNotEnoughMsg;
class CValidateFailMsg;
class CTreeData;
class CRoomWnd;
struct LobbyGameRecord;
struct LobbyRoomRecord;

class CMyMiraboGameDlg : public CDialog {
public:
    enum { IDD = 102 };
    explicit CMyMiraboGameDlg(CWnd* parent = nullptr);
    ~CMyMiraboGameDlg() override;

    // Panel operations; 1 when something changed.
    int HideLeftPanel();
    int ShowLeftPanel();
    int ShowRightPanel();
    int HideRightPanel();
    int IsRightPanelShown() const { return m_rightHidden ? 0 : 1; }
    int GetRoomPageId() const { return m_roomPageId; }
    int GetCurrentRoomId() const { return m_currentRoomId; }
    int GetMemberPageId() const { return m_memberPageId; }

    // The pump's one step: the message is handled and deleted or passed on.
    void HandleServerMessage(CMessage* message);
    // Rebuilds the tree from the hub's game list (command 5).
    void LoadRoomTree();
    // Sends the game client a text record (kind 0 notice, 1 chat line, 2 room path).
    void SendToGameClient(const std::string& text, const std::string& rooms, int kind, int value);

    CDlgTop m_top;
    CDlgLeft m_left;
    CDlgMid m_mid;
    CDlgRight m_right;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_icon); }
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    BOOL OnEraseBkgnd(CDC* dc);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    void OnTimer(UINT_PTR id);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    LRESULT OnShowMessageBox(WPARAM wParam, LPARAM lParam);
    LRESULT OnCommandMessage(WPARAM code, LPARAM lParam);
    LRESULT OnClosePageMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopupNotice(WPARAM wParam, LPARAM lParam);
    LRESULT OnPumpKick(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    template <class Window>
    friend void DispatchServerMessage(Window& w, std::unique_ptr<CMessage> message);

    // ---- pump and connection (main window)
    void Layout();
    void ApplyRegion();
    void EndLobby();
    void PumpTick();
    void StartReconnect();
    void PollReconnect();
    void RequestRoomList();
    void OnNewerClientWhileReconnecting();
    // The server's LoginFailed while logged in, and its ValidateFail: a box, then the end.
    void OnLoginRefused();
    void OnValidateFail(CValidateFailMsg* message);

    // ---- commands, room entry, launch
    void CloseRoomPage();
    void EnterRoom(int roomId);
    void EnterRoomGroup(const std::string& list);
    void EnterMatchRooms(int matchNumber);
    void OpenWaitingPage();
    void CloseWaitingPage();
    void EndGroupEntry();
    void SendEnterRoom(int roomId);
    void OnRoomRefused(CRejectStartGame* message);
    void OnStartGame(CStartGameMsg* message);
    void OnKick(CPlayerKickMsg* message);
    void OnMoneyNotEnough(CMoneyIsNotEnoughMsg* message);
    void OnDeskList(CDeskInfoMsg* message);
    // The member page's form body: user name and stored digest, URL-encoded.
    CString MemberPageFormBody();

    // ---- tree
    void OnGameList();
    void OnAddGames(CAddGameList* message);
    void OnRemoveGames(CRemoveGameList* message);
    void OnAddRooms(CAddRoomList* message);
    void OnRemoveRooms(CRemoveRoomList* message);
    void OnPlayerCounts(CPlayerCountList* message);
    void RepaintTree();
    void UpdateTotalCount();
    void ShowGroupTotal(CTreeData* node, bool inMatch);
    COLORREF SkinColour(int number) const;

    // ---- client link and notices
    void OnNotice(CNoticeMsg* message);
    void PostPopupNotice(const CString& text, int time, int flag);

    // ---- the pages and panels the pump feeds; each takes what it is handed
    // The room page (CRoomWnd) made from a desk list; takes the message.
    void CreateRoomPage(CDeskInfoMsg* message);
    // A message for the room page as kMsgRoomUpdate with the code; takes it.
    void PassToRoomPage(int code, CMessage* message);
    // The room page's desk view learns whether its seat was granted.
    void SetDeskGranted(bool granted);
    // The room page (MainRoomPage.cpp): the page of the current room, null
    // when none; the room-entry token kept per room and handed to the page.
    CRoomWnd* RoomPage();
    void KeepRoomToken(const std::string& roomIdText, const std::string& token);
    // A message for the right panel as kMsgRoomMessage with the code; takes it.
    void PassToRightPanel(int code, CMessage* message);
    // The member page (codes 10, 11), navigated again with post.
    void OpenMemberPage(bool post);
    // The member page gets kMsgWebPage: 1 with a heap copy of the address
    // (code 7), 2 a refresh (timer 1).
    void NavigateMemberPage(int how, const CString* address);
    // The member page's mark set to 1 (after a tree rebuild).
    void MarkMemberPage();
    // The order page at the address (code 13).
    void OpenOrderPage(const CString& address);
    // The advertisement dialog (code 14).
    void ShowAdvertisement();
    // A pop-up notice shown or removed by id.
    void ShowPopupNotice(std::unique_ptr<PopupNoticeRequest> request);
    void RemovePopupNotice(int id);

    CDSkinWin m_skinWin;
    HICON m_icon = nullptr;
    CRect m_topRect, m_leftRect, m_midRect, m_rightRect;
    int m_memberPageId = -1;
    int m_rightHidden = 0;
    int m_leftHidden = 0;
    int m_entering = 0;
    int m_candidateIndex = -1;
    std::vector<int> m_candidates;
    DWORD m_reconnectStart = 0;
    int m_reconnecting = 0;
    bool m_updaterOffered = false;
    bool m_treeTraced = false;  // the start-up trace has reached the filled tree
    CNLogin* m_reconnectStep = nullptr;
    int m_waitingPageId = -1;
    bool m_layoutReady = false;
    int m_roomPageId = -1;
    int m_orderPageId = -1;
    int m_currentRoomId = 0;
    CPopMsgList m_popups;  // the notices of kMsgPopupNotice
};

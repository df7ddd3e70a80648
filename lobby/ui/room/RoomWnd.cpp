// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/room/RoomWnd.h"

#include <cstdlib>
#include <memory>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/ui/PngButton.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/room/ExScrollView.h"
#include "lobby/ui/room/RoomHost.h"

namespace {

const int kStripHeight = 22;
const UINT kViewId = 10200;
const UINT kQuickJoinId = 10201;
const UINT kLeaveId = 10202;
const COLORREF kButtonFill = 0x408000;

// Room updates still queued for a window that goes: code 0 carries a room id
// text, codes 1-5 a message, each the receiver's to free.
void FreeQueuedUpdates(HWND window) {
    MSG msg;
    while (window && ::PeekMessageA(&msg, window, kMsgRoomUpdate, kMsgRoomUpdate, PM_REMOVE)) {
        if (msg.wParam == 0)
            TakeOwned(kRoomIdText, msg.lParam);
        else if (msg.wParam <= 5)
            TakeOwned(kRoomUpdateMessage, msg.lParam);
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CRoomWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(kQuickJoinId, OnQuickJoin)
    ON_BN_CLICKED(kLeaveId, OnLeave)
    ON_MESSAGE(kMsgRoomUpdate, OnRoomUpdate)
END_MESSAGE_MAP()

CRoomWnd::CRoomWnd() {}

CRoomWnd::~CRoomWnd() {
    DestroyWindow();
    delete m_quick;
    delete m_leave;
    delete m_view;
}

int CRoomWnd::SetRoomRes(CSkinRes* skin) {
    if (!skin) return 0;
    if (m_view) m_view->SetSkinRes(skin);
    m_skin = skin;
    m_skinGiven = true;
    return 1;
}

void CRoomWnd::SetRoomId(const std::string& roomId) {
    if (!m_view || !m_view->m_hWnd) return;
    PostOwned(m_view->m_hWnd, kRoomIdText, 0, HeapText(roomId.c_str(), 128));
    m_roomNumber = std::atol(roomId.c_str());
}

void CRoomWnd::SetValidationToken(const std::string& token) {
    m_token = token;
    if (m_view) m_view->SetValidationToken(token);
}

void CRoomWnd::OnEnterDeskAck(BOOL accepted) {
    if (m_view) m_view->OnEnterDeskAck(accepted);
}

void CRoomWnd::NotifyView(CMessage* message) {
    SendOwned(m_view ? m_view->m_hWnd : nullptr, kRoomUpdateMessage, 5, std::unique_ptr<CMessage>(message));
}

int CRoomWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    m_view = new CExScrollView;
    m_view->SetGroupMode(m_autoGroup);
    m_view->SetValidationToken(m_token);
    if (m_skinGiven) m_view->SetSkinRes(m_skin);
    CRect client;
    GetClientRect(&client);
    if (!m_view->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, this, kViewId)) return -1;

    struct StripButton {
        PngButton** button;
        UINT id;
        int x, normal, hover;
    } buttons[] = {{&m_quick, kQuickJoinId, 10, 10, 11}, {&m_leave, kLeaveId, 100, 12, 13}};
    for (const StripButton& s : buttons) {
        *s.button = new PngButton;
        PngButton* b = *s.button;
        if (!b->CreateEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(s.x, 1, s.x, 1), this, s.id))
            continue;
        if (m_skin) {
            Gdiplus::Image* normal = m_skin->GetImage(s.normal);
            b->SetImages(normal, m_skin->GetImage(s.hover), normal, normal);
        }
        b->SetFill(TRUE);
        b->SetFillColor(kButtonFill);
    }
    SetActiveView(m_view);
    InitialUpdateFrame();
    if (CRoomHost* host = GetRoomHost()) {
        host->ShowRoomPanels(1);
        m_panelsShown = true;
    }
    return 0;
}

void CRoomWnd::OnDestroy() {
    FreeQueuedUpdates(m_hWnd);
    if (m_view) FreeQueuedUpdates(m_view->m_hWnd);
    if (m_panelsShown)
        if (CRoomHost* host = GetRoomHost()) host->ShowRoomPanels(0);
    m_panelsShown = false;
    CFrameWnd::OnDestroy();
}

void CRoomWnd::OnSize(UINT type, int cx, int cy) {
    if (m_view && m_view->m_hWnd) {
        CRect client;
        GetClientRect(&client);
        m_view->MoveWindow(client.left, client.top + kStripHeight, client.Width(),
                           client.Height() - kStripHeight);
    }
    CFrameWnd::OnSize(type, cx, cy);
    UpdateWindow();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
}

void CRoomWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || !m_skin) return;
    CMemDC mem(dc, CRect(0, 0, client.Width(), kStripHeight));
    m_skin->DrawFrame(&mem, client.left, client.top, client.right, client.bottom, 6);
}

void CRoomWnd::OnQuickJoin() {
    if (m_view) m_view->OnEnterDesk(kQuickJoinId);
}

void CRoomWnd::OnLeave() {
    CRoomHost* host = GetRoomHost();
    if (host && host->GetMainWindow()) ::PostMessageA(host->GetMainWindow(), kMsgMainCommand, 0, 0);
}

LRESULT CRoomWnd::OnRoomUpdate(WPARAM code, LPARAM message) {
    if (code < 1 || code > 5) return 0;
    LobbyLockGuard hub(GetLobbyData().lobbyLock);
    SendOwned(m_view ? m_view->m_hWnd : nullptr, kRoomUpdateMessage, code, TakeOwned(kRoomUpdateMessage, message));
    return 0;
}

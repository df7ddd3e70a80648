// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "lobby/ui/app/LobbyPanels.h"

#include <gdiplus.h>

#include <cstdlib>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/ui/PanelRules.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/MiraboGameApp.h"

// ---- left panel: the game tree ----------------------------------------------------

BEGIN_MESSAGE_MAP(CDlgLeft, CDialog)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_NOTIFY(TVN_SELCHANGEDA, 1000, OnSelChanged)
    ON_NOTIFY(NM_DBLCLK, 1000, OnDblClk)
END_MESSAGE_MAP()

void CDlgLeft::ImageDelete::operator()(Gdiplus::Image* image) const { delete image; }

BOOL CDlgLeft::OnInitDialog() {
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(1000, this);
    CSkinRes* skin = GetLobbySkin();
    const CString bk = skin->GetTreeBkPath();
    if (!bk.IsEmpty()) {
        wchar_t path[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, bk, -1, path, MAX_PATH);
        m_treeBk.reset(new Gdiplus::Image(path));
        m_tree.SetBkImage(m_treeBk.get());
    }
    if (HIMAGELIST icons = *skin->GetTreeImageList())
        m_tree.SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    m_tree.SetTextColor(0xFFFFFF);
    m_tree.SetBkColor(skin->GetListColor(5));
    m_ready = true;
    CRect client;
    GetClientRect(&client);
    OnSize(0, client.Width(), client.Height());
    return TRUE;
}

void CDlgLeft::OnSize(UINT, int cx, int cy) {
    if (!m_ready) return;
    Gdiplus::Image* top = GetLobbySkin()->GetTreeTopImage();
    const int y = (top ? static_cast<int>(top->GetHeight()) : 0) + 10;
    m_tree.MoveWindow(11, y, cx - 22, cy - 10 - y);
}

void CDlgLeft::PostText(int code, const std::string& text) {
    PostOwned(GetParent()->GetSafeHwnd(), kMainCommandText, static_cast<WPARAM>(code),
              std::make_unique<CString>(text.c_str()));
}

void CDlgLeft::OnSelChanged(NMHDR*, LRESULT* result) {
    *result = 0;
    m_tree.Lock();
    HTREEITEM item = m_tree.GetSelectedItem();
    CTreeData* node = m_tree.ItemNode(item);
    int kind = 0, number = 0;
    if (node && TreeIntroCommand(node->m_id, kind, number)) {
        PostText(7, TreeIntroText(kind, number));
        // A room group's page is its parent's; a style entry has its own.
        CTreeData* page = kind == 3 ? m_tree.ItemNode(m_tree.GetParentItem(item)) : kind == 2 ? node : nullptr;
        if (page && !page->m_address.empty()) PostText(13, page->m_address);
    }
    m_tree.Unlock();
}

void CDlgLeft::OnDblClk(NMHDR*, LRESULT* result) {
    *result = 0;
    m_tree.Lock();
    CTreeData* node = m_tree.ItemNode(m_tree.GetSelectedItem());
    const int id = node ? node->m_id : 0;
    std::string ids;
    std::string code;
    if (id >= 1 && id < 60000) {
        if (node->GetRoomIds(ids) > 0) PostText(6, ids);
    } else if (id >= 60000 && id < 90000) {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        for (LobbyGameRecord* game : hub.gameList)
            if (code.empty() && std::atol(game->id.c_str()) == id - 60000) code = game->code;
    }
    m_tree.Unlock();
    if (id >= 60000 && id < 90000 && !GetLobbyApp()->IsGameClientPresent(code.c_str()) &&
        OfferGameDownload(code))
        GetParent()->PostMessage(kMsgMainCommand, 5, 0);
}

// The download offer for a missing game client; 1 when the client was fetched.
int CDlgLeft::OfferGameDownload(const std::string& code) { return GetLobbyApp()->OfferGameDownload(code.c_str()); }

// ---- middle panel: the pages ---------------------------------------------------------
// (tab strip and panel buttons: PanelMid.cpp)

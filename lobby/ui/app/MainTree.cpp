// The main window's game tree handlers: the whole game list, games and rooms
// added or removed, player counts.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "lobby/net/base/IniSection.h"
#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyData.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/ui/RoomLaunch.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/TreeData.h"
#include "lobby/ui/app/MiraboGameApp.h"
#include "lobby/ui/app/MiraboGameDlg.h"

namespace {

constexpr int kGameBase = 60000;
constexpr int kEntryBase = 90000;

// Node numbers of room groups; others would be taken for games or entries.
bool IsGroupNumber(int number) { return number >= 1 && number < kGameBase; }

// Both locks for a scope, in the order given.
class TreeAndHub {
public:
    TreeAndHub(CKvTreeCtrl& tree, bool hubFirst) : tree_(tree), hub_(GetLobbyData().lobbyLock), hubFirst_(hubFirst) {
        if (hubFirst_) hub_.Lock();
        tree_.Lock();
        if (!hubFirst_) hub_.Lock();
    }
    ~TreeAndHub() {
        if (!hubFirst_) hub_.Unlock();
        tree_.Unlock();
        if (hubFirst_) hub_.Unlock();
    }

private:
    CKvTreeCtrl& tree_;
    LobbyLock& hub_;
    bool hubFirst_;
};

std::string IniText(const std::string& file, const char* section, const char* key) {
    char value[1024] = "";
    ::GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

// "r g b", each taken modulo 256.
COLORREF IniColour(const std::string& text) {
    int rgb[3] = {0, 0, 0};
    std::sscanf(text.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]);
    return RGB(rgb[0] % 256, rgb[1] % 256, rgb[2] % 256);
}

// An entry of FENLORoomTree.ini.
struct IniItem {
    int id, icon, parent;
    std::string text, url;
    COLORREF colour;
    bool expand;
};

std::vector<IniItem> ReadRoomTreeIni(const std::string& ini) {
    std::vector<IniItem> items;
    int count = static_cast<int>(::GetPrivateProfileIntA("count", "item_count", 0, ini.c_str()));
    if (count > 0) count = static_cast<int>(std::min<size_t>(static_cast<size_t>(count), IniSectionCount(ini)));
    for (int k = 0; k < count; ++k) {
        char section[32];
        std::snprintf(section, sizeof section, "item%d", k);
        const int id = std::atoi(IniText(ini, section, "id").c_str());
        if (id == 0) continue;
        items.push_back({id, std::atoi(IniText(ini, section, "icon").c_str()),
                         std::atoi(IniText(ini, section, "parent").c_str()), IniText(ini, section, "text"),
                         IniText(ini, section, "url"), IniColour(IniText(ini, section, "color")),
                         std::atoi(IniText(ini, section, "expand").c_str()) == 1});
    }
    return items;
}

HTREEITEM Insert(CKvTreeCtrl& tree, const std::string& text, int image, HTREEITEM parent, CTreeData* node) {
    HTREEITEM item = tree.InsertItem(text.c_str(), image, image, parent);
    if (item) tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(node));
    return item;
}

// Deletes the item with its subtree and every node those items carry.
void DeleteWithNodes(CKvTreeCtrl& tree, HTREEITEM item) {
    std::vector<int> ids;
    std::vector<HTREEITEM> pending{item};
    while (!pending.empty()) {
        HTREEITEM at = pending.back();
        pending.pop_back();
        if (CTreeData* node = tree.ItemNode(at)) ids.push_back(node->m_id);
        for (HTREEITEM child = tree.GetChildItem(at); child; child = tree.GetNextSiblingItem(child))
            pending.push_back(child);
    }
    tree.DeleteItem(item);
    for (int id : ids) tree.RemoveData(id);
}

}  // namespace

COLORREF CMyMiraboGameDlg::SkinColour(int number) const { return GetLobbySkin()->GetListColor(number); }

void CMyMiraboGameDlg::ShowGroupTotal(CTreeData* node, bool inMatch) {
    node->m_color = SkinColour(inMatch ? 3 : 4);
    if (HTREEITEM item = m_left.m_tree.FindItem(node->m_id))
        m_left.m_tree.SetItemText(item, RoomGroupText(node->m_name, node->GetTotalCount(), inMatch).c_str());
}

void CMyMiraboGameDlg::OnGameList() {
    bool empty;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        empty = hub.gameList.empty();
        if (empty) {
            ::OutputDebugStringA("Game List is empty");
            CKvTreeCtrl& tree = m_left.m_tree;
            tree.Lock();
            tree.DeleteAllItems();
            tree.RemoveAllData();
            tree.Unlock();
        }
    }
    if (!empty) LoadRoomTree();
    if (!m_treeTraced) LobbyStep("tree filled");
    m_treeTraced = !empty;
}

void CMyMiraboGameDlg::LoadRoomTree() {
    CKvTreeCtrl& tree = m_left.m_tree;
    CMyMiraboGameApp* app = GetLobbyApp();
    bool missing = false;
    {
        TreeAndHub locks(tree, true);
        CLobbyData& hub = GetLobbyData();
        tree.DeleteAllItems();
        tree.RemoveAllData();
        const std::string ini = std::string(app->m_programFolder) + "FENLORoomTree.ini";
        const bool iniPresent = CMyMiraboGameApp::FileExists(ini.c_str());
        // Read once for all games; a file read per game and item held the
        // window for seconds on a long game list.
        const std::vector<IniItem> iniItems = iniPresent ? ReadRoomTreeIni(ini) : std::vector<IniItem>();
        // The first item made for each entry id, as a search of the tree would find it.
        std::map<int, HTREEITEM> entryItems;
        for (LobbyGameRecord* game : hub.gameList) {
            if (game->code == "QOLT") continue;
            const int gameImage = app->IsGameClientPresent(game->code.c_str()) ? 2 : 1;
            CTreeData* gameNode = tree.AddData(kGameBase + std::atoi(game->id.c_str()), SkinColour(4), game->name);
            HTREEITEM gameItem = Insert(tree, game->name, gameImage, TVI_ROOT, gameNode);
            if (!iniPresent) {
                missing = true;
                break;
            }
            std::vector<HTREEITEM> expand;
            for (const IniItem& e : iniItems) {
                auto parentAt = e.parent != 0 ? entryItems.find(e.parent) : entryItems.end();
                HTREEITEM parentItem = parentAt != entryItems.end() ? parentAt->second : nullptr;
                CTreeData* node = tree.AddData(kEntryBase + e.id, e.colour, e.text);
                if (e.url != "0") node->m_address = e.url;
                HTREEITEM item = tree.InsertItem(e.text.c_str(), e.icon, e.icon, parentItem ? parentItem : gameItem);
                if (item) {
                    tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(node));
                    entryItems.emplace(e.id, item);
                }
                if (e.expand) expand.push_back(item);
            }
            for (LobbyRoomRecord* room : game->rooms) {
                auto entryAt = entryItems.find(room->group);
                HTREEITEM entry = entryAt != entryItems.end() ? entryAt->second : nullptr;
                const int number = std::atoi(room->text12.c_str());
                if (!entry || !IsGroupNumber(number)) continue;
                const bool match = IsMatchRoom(room->text7);
                const int roomId = std::atoi(room->id.c_str());
                if (CTreeData* node = tree.FindData(number)) {
                    node->AddRoom(roomId, room->name, room->playerCount);
                    ShowGroupTotal(node, match);
                } else {
                    node = tree.AddData(number, SkinColour(match ? 3 : 4), room->name);
                    node->AddRoom(roomId, room->name, room->playerCount);
                    Insert(tree, RoomGroupText(room->name, room->playerCount, match), 0, entry, node);
                    tree.SortChildren(entry);
                }
            }
            tree.Expand(gameItem, TVE_EXPAND);
            MarkMemberPage();
            tree.SelectItem(gameItem);
            for (HTREEITEM item : expand) tree.Expand(item, TVE_EXPAND);
        }
        if (m_left.m_totalCount != 0) {
            m_left.m_totalCount = 0;
            m_left.Refresh();
        }
        tree.Invalidate();
    }
    // Asked with no lock held: the socket thread must not wait for the player.
    if (missing) ::MessageBoxA(GetSafeHwnd(), "找不到FENLORoomTree.ini,请重新下载客户端!", "错误", MB_OK);
}

void CMyMiraboGameDlg::OnAddGames(CAddGameList* message) {
    CKvTreeCtrl& tree = m_left.m_tree;
    CMyMiraboGameApp* app = GetLobbyApp();
    for (AddGameRecord* entry : message->entries) {
        if (!entry) continue;
        const int nodeId = kGameBase + std::atoi(entry->id.c_str());
        TreeAndHub locks(tree, false);
        CLobbyData& hub = GetLobbyData();
        // A game the hub knows (in the tree or not: other games have no item)
        // is updated, never added twice.
        LobbyGameRecord* known = nullptr;
        for (LobbyGameRecord* game : hub.gameList)
            if (!known && game->id == entry->id) known = game;
        HTREEITEM item = tree.FindItem(nodeId);
        if (known || item) {
            if (known) {
                known->code = entry->code;
                known->name = entry->name;
                known->text4 = entry->text4;
            }
            if (item) tree.SetItemText(item, entry->name.c_str());
            continue;
        }
        if (hub.gameList.size() + hub.RoomCount() >= CLobbyData::kMaxRooms) continue;
        LobbyGameRecord* game = new LobbyGameRecord();
        game->id = entry->id;
        game->code = entry->code;
        game->name = entry->name;
        game->text4 = entry->text4;
        hub.gameList.push_back(game);
        if (entry->code != "FENLO") continue;
        const int image = app->IsGameClientPresent(entry->code.c_str()) ? 2 : 0;
        HTREEITEM gameItem = Insert(tree, entry->name, image, TVI_ROOT, tree.AddData(nodeId, SkinColour(4), entry->name));
        for (int i = 0; i < 4; ++i) {
            CString text;
            int id = 0;
            if (!GetLobbySkin()->GetStyleText(i, text, id)) continue;
            Insert(tree, std::string(text), 3, gameItem, tree.AddData(kEntryBase + id, SkinColour(4), std::string(text)));
        }
    }
}

void CMyMiraboGameDlg::OnRemoveGames(CRemoveGameList* message) {
    CKvTreeCtrl& tree = m_left.m_tree;
    for (std::string* id : message->entries) {
        if (!id) continue;
        TreeAndHub locks(tree, false);
        HTREEITEM item = tree.FindItem(kGameBase + std::atoi(id->c_str()));
        if (!item) continue;
        DeleteWithNodes(tree, item);
        std::vector<LobbyGameRecord*>& games = GetLobbyData().gameList;
        for (auto it = games.begin(); it != games.end(); ++it) {
            if ((*it)->id != *id) continue;
            for (LobbyRoomRecord* room : (*it)->rooms) delete room;
            delete *it;
            games.erase(it);
            break;
        }
    }
    m_left.Invalidate();
    UpdateTotalCount();
}

namespace {

// An added room's fields, all but its id and owner.
void TakeRoomFields(LobbyRoomRecord& room, const AddRoomRecord& entry) {
    room.name = entry.name;
    room.host = entry.host;
    room.host2 = entry.host2;
    room.port = entry.port;
    room.port2 = entry.port2;
    room.flag = entry.flag;
    room.playerCount = entry.playerCount;
    room.group = entry.group;
    room.openFlag = entry.openFlag;
    room.closedText = entry.closedText;
    room.gameId = entry.gameId;
    room.text7 = entry.text7;
    room.text12 = entry.text12;
}

}  // namespace

void CMyMiraboGameDlg::OnAddRooms(CAddRoomList* message) {
    CKvTreeCtrl& tree = m_left.m_tree;
    CMyMiraboGameApp* app = GetLobbyApp();
    for (AddRoomRecord* entry : message->entries) {
        if (!entry) continue;
        TreeAndHub locks(tree, false);
        CLobbyData& hub = GetLobbyData();
        const int roomId = std::atoi(entry->id.c_str());
        const bool match = IsMatchRoom(entry->text7);
        if (LobbyRoomRecord* room = hub.FindRoom(roomId)) {
            const bool matchChanged = room->text7 != entry->text7;
            TakeRoomFields(*room, *entry);
            if (matchChanged) PostMessage(kMsgMainCommand, 12, 0);
            CTreeData* node = nullptr;
            if (CRoomData* data = tree.FindRoom(roomId, &node)) {
                data->m_count = entry->playerCount;
                data->m_name = entry->name;
                ShowGroupTotal(node, match);
            }
            continue;
        }
        LobbyGameRecord* game = nullptr;
        for (LobbyGameRecord* g : hub.gameList)
            if (!game && g->id == entry->gameId) game = g;
        if (!game || hub.RoomCount() >= CLobbyData::kMaxRooms) continue;
        LobbyRoomRecord* room = new LobbyRoomRecord();
        room->id = entry->id;
        TakeRoomFields(*room, *entry);
        room->owner = game;
        game->rooms.push_back(room);
        const int number = std::atoi(entry->text12.c_str());
        if (!IsGroupNumber(number)) continue;
        if (match) PostMessage(kMsgMainCommand, 12, 0);
        if (CTreeData* node = tree.FindData(number)) {
            node->AddRoom(roomId, entry->name, entry->playerCount);
            ShowGroupTotal(node, match);
            continue;
        }
        CTreeData* node = tree.AddData(number, SkinColour(match ? 3 : 4), entry->name);
        node->AddRoom(roomId, entry->name, entry->playerCount);
        HTREEITEM entryItem = tree.FindItem(kEntryBase + entry->group);
        if (!tree.FindItem(kGameBase + std::atoi(game->id.c_str())) || game->code != "FENLO" || !entryItem) continue;
        const int image = app->IsGameClientPresent(game->code.c_str()) ? 0 : 1;
        Insert(tree, RoomGroupText(entry->name, entry->playerCount, match), image, entryItem, node);
        tree.SortChildren(entryItem);
        tree.Expand(entryItem, TVE_EXPAND);
    }
    m_left.Invalidate();
    UpdateTotalCount();
}

void CMyMiraboGameDlg::OnRemoveRooms(CRemoveRoomList* message) {
    CKvTreeCtrl& tree = m_left.m_tree;
    for (std::string* id : message->entries) {
        if (!id) continue;
        TreeAndHub locks(tree, false);
        for (LobbyGameRecord* game : GetLobbyData().gameList) {
            for (auto it = game->rooms.begin(); it != game->rooms.end(); ++it) {
                if ((*it)->id != *id) continue;
                delete *it;
                game->rooms.erase(it);
                break;
            }
        }
        CTreeData* node = nullptr;
        const int roomId = std::atoi(id->c_str());
        if (!tree.FindRoom(roomId, &node)) continue;
        node->RemoveRoom(roomId);
        if (!node->IsEmpty()) continue;
        const int nodeId = node->m_id;
        if (HTREEITEM item = tree.FindItem(nodeId)) tree.DeleteItem(item);
        tree.RemoveData(nodeId);
    }
    m_left.Invalidate();
    UpdateTotalCount();
}

void CMyMiraboGameDlg::OnPlayerCounts(CPlayerCountList* message) {
    CKvTreeCtrl& tree = m_left.m_tree;
    bool unknown = false;
    {
        TreeAndHub locks(tree, true);
        CLobbyData& hub = GetLobbyData();
        for (PlayerCountRecord* entry : message->entries) {
            if (!entry) continue;
            LobbyRoomRecord* room = hub.FindRoom(entry->roomId);
            if (!room) {
                unknown = true;
                continue;
            }
            room->playerCount = entry->count;
            CTreeData* node = nullptr;
            if (CRoomData* data = tree.FindRoom(entry->roomId, &node)) {
                data->m_count = entry->count;
                ShowGroupTotal(node, IsMatchRoom(room->text7));
                tree.Invalidate();
            }
        }
    }
    if (unknown) RequestRoomList();
    UpdateTotalCount();
}

void CMyMiraboGameDlg::UpdateTotalCount() {
    std::vector<int> counts;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        for (LobbyGameRecord* game : hub.gameList)
            for (LobbyRoomRecord* room : game->rooms) counts.push_back(room->playerCount);
    }
    const int total = SumOfCounts(counts);
    if (total == m_left.m_totalCount) return;
    m_left.m_totalCount = total;
    m_left.Refresh();
}

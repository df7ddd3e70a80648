// CKvTreeCtrl: the lobby's game tree. Every item carries a CTreeData of the
// embedded list as its item data; the reflected custom draw colours each
// item's text with its node's colour.
#pragma once

#include <string>

#include "lobby/ui/TreeData.h"
#include "platform/Framework.h"

namespace Gdiplus {
class Image;
}

class CKvTreeCtrl : public CTreeCtrl {
public:
    void Lock() { m_list.Lock(); }
    void Unlock() { m_list.Unlock(); }

    CTreeData* AddData(int id, COLORREF colour, const std::string& name) { return m_list.AddData(id, colour, name); }
    int RemoveData(int id) { return m_list.RemoveData(id); }
    CTreeData* FindData(int id) { return m_list.FindData(id); }
    CRoomData* FindRoom(int roomId, CTreeData** node) { return m_list.FindRoom(roomId, node); }
    void RemoveAllData() { m_list.RemoveAllData(); }

    // The item whose node id is id, depth first from the first root; null if none.
    HTREEITEM FindItem(int id);
    // Children sorted by ascending node id.
    BOOL SortChildren(HTREEITEM parent);
    using CTreeCtrl::GetParentItem;
    // "game\entries\group name" of the room's group; 1 when found.
    int GetItemPath(int roomId, std::string& path);
    // Kept with its size; the tree's background becomes the key colour.
    void SetBkImage(Gdiplus::Image* image);
    CTreeData* ItemNode(HTREEITEM item) const { return item ? reinterpret_cast<CTreeData*>(GetItemData(item)) : nullptr; }

protected:
    void OnCustomDraw(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM FindFrom(HTREEITEM item, int id);
    static int CALLBACK CompareIds(LPARAM a, LPARAM b, LPARAM);

    CTreeDataList m_list;
    Gdiplus::Image* m_bkImage = nullptr;
    int m_bkWidth = 0, m_bkHeight = 0;
};

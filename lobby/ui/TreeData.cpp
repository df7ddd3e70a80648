#include "lobby/ui/TreeData.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace {
class Held {
public:
    explicit Held(CTreeDataList* list) : list_(list) {
        if (list_) list_->Lock();
    }
    ~Held() {
        if (list_) list_->Unlock();
    }

private:
    CTreeDataList* list_;
};
}  // namespace

CTreeData::~CTreeData() {
    Held held(m_owner);
    for (CRoomData* room : m_rooms) delete room;
    m_rooms.clear();
}

CRoomData* CTreeData::AddRoom(int id, const std::string& name, int count) {
    Held held(m_owner);
    m_rooms.push_back(new CRoomData(id, name, count));
    return m_rooms.back();
}

int CTreeData::RemoveRoom(int id) {
    Held held(m_owner);
    for (auto it = m_rooms.begin(); it != m_rooms.end(); ++it) {
        if ((*it)->m_id != id) continue;
        delete *it;
        m_rooms.erase(it);
        return 1;
    }
    return 0;
}

CRoomData* CTreeData::FindRoom(int id) {
    Held held(m_owner);
    for (CRoomData* room : m_rooms)
        if (room->m_id == id) return room;
    return nullptr;
}

bool CTreeData::IsEmpty() {
    Held held(m_owner);
    return m_rooms.empty();
}

int CTreeData::GetTotalCount() {
    Held held(m_owner);
    std::vector<int> counts;
    for (CRoomData* room : m_rooms) counts.push_back(room->m_count);
    return SumOfCounts(counts);
}

int CTreeData::GetRoomIds(std::string& text) {
    Held held(m_owner);
    text.clear();
    for (CRoomData* room : m_rooms) {
        if (!text.empty()) text += ',';
        text += std::to_string(room->m_id);
    }
    return static_cast<int>(m_rooms.size());
}

int SumOfCounts(const std::vector<int>& counts) {
    long long total = 0;
    for (int count : counts) total = std::min<long long>(total + std::max(count, 0), INT_MAX);
    return static_cast<int>(total);
}

CTreeDataList::~CTreeDataList() { RemoveAllData(); }

CTreeData* CTreeDataList::AddData(int id, COLORREF colour, const std::string& name) {
    Held held(this);
    CTreeData* node = new CTreeData(id, colour, name);
    node->m_owner = this;
    m_nodes.push_back(node);
    return node;
}

int CTreeDataList::RemoveData(int id) {
    Held held(this);
    for (auto it = m_nodes.begin(); it != m_nodes.end(); ++it) {
        if ((*it)->m_id != id) continue;
        delete *it;
        m_nodes.erase(it);
        return 1;
    }
    return 0;
}

CTreeData* CTreeDataList::FindData(int id) {
    Held held(this);
    for (CTreeData* node : m_nodes)
        if (node->m_id == id) return node;
    return nullptr;
}

CRoomData* CTreeDataList::FindRoom(int roomId, CTreeData** node) {
    Held held(this);
    for (CTreeData* n : m_nodes) {
        if (CRoomData* room = n->FindRoom(roomId)) {
            if (node) *node = n;
            return room;
        }
    }
    if (node) *node = nullptr;
    return nullptr;
}

void CTreeDataList::RemoveAllData() {
    Held held(this);
    for (CTreeData* node : m_nodes) delete node;
    m_nodes.clear();
}

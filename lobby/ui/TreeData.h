// The node data of the game tree: each item carries a CTreeData, which for a
// room group lists its rooms. The owning CTreeDataList's one critical section
// guards the list and every node in it.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "lobby/net/base/Locks.h"

class CTreeDataList;

// Player counts added up, negative ones as 0, the total held at INT_MAX.
int SumOfCounts(const std::vector<int>& counts);

class CRoomData {
public:
    CRoomData(int id, const std::string& name, int count) : m_id(id), m_name(name), m_count(count) {}
    virtual ~CRoomData() {}
    int m_id;
    std::string m_name;
    int m_count;
};

class CTreeData {
public:
    CTreeData(int id, COLORREF colour, const std::string& name) : m_id(id), m_color(colour), m_name(name) {}
    virtual ~CTreeData();

    CRoomData* AddRoom(int id, const std::string& name, int count);
    int RemoveRoom(int id);
    CRoomData* FindRoom(int id);
    bool IsEmpty();
    int GetTotalCount();
    // The room ids in list order joined by ","; returns how many.
    int GetRoomIds(std::string& text);

    int m_id;
    COLORREF m_color = 0xFFFFFF;
    std::list<CRoomData*> m_rooms;
    std::string m_name;
    std::string m_address;
    CTreeDataList* m_owner = nullptr;

private:
    void Lock();
    void Unlock();
};

class CTreeDataList : public CCirSecLock {
public:
    ~CTreeDataList() override;
    CTreeData* AddData(int id, COLORREF colour, const std::string& name);
    int RemoveData(int id);
    CTreeData* FindData(int id);
    // The room and, through node, the node holding it; nodes in order.
    CRoomData* FindRoom(int roomId, CTreeData** node);
    void RemoveAllData();
    size_t Count() { return m_nodes.size(); }

private:
    std::list<CTreeData*> m_nodes;
};

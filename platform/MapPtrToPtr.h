// Map from pointer to pointer (keys compared by address).
#pragma once

#include <unordered_map>

class CMapPtrToPtr {
public:
    explicit CMapPtrToPtr(int hashSize = 17) : m_map(static_cast<size_t>(hashSize > 0 ? hashSize : 1)) {}
    virtual ~CMapPtrToPtr() = default;

    bool Lookup(void* key, void*& value) const {
        auto it = m_map.find(key);
        if (it == m_map.end()) return false;
        value = it->second;
        return true;
    }
    void SetAt(void* key, void* value) { m_map[key] = value; }
    bool RemoveKey(void* key) { return m_map.erase(key) != 0; }
    void RemoveAll() { m_map.clear(); }
    int GetCount() const { return static_cast<int>(m_map.size()); }
    bool IsEmpty() const { return m_map.empty(); }

private:
    std::unordered_map<void*, void*> m_map;
};

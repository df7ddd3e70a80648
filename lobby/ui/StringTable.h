// Ordered map from text to text; the first entry for a key wins.
#pragma once

#include <map>
#include <string>

class StringTable {
public:
    int Add(const std::string& key, const std::string& value) {
        m_map.emplace(key, value);
        return 1;
    }
    std::string Lookup(const std::string& key) const {
        auto it = m_map.find(key);
        return it == m_map.end() ? std::string() : it->second;
    }
    const std::map<std::string, std::string>& Entries() const { return m_map; }

private:
    std::map<std::string, std::string> m_map;
};

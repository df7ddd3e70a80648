// Temporary wrappers for handles the framework did not create: FromHandle
// gives an object that owns nothing and is freed at the thread's next idle
// moment, so pointers returned by SelectObject, GetDlgItem... stay valid while
// the current message is handled.
#pragma once

#include <map>
#include <memory>

namespace afx_detail {

void RegisterTempMapCleaner(void (*clear)());

template <class T, class H>
struct TempMap {
    static std::map<H, std::unique_ptr<T>>& Map() {
        thread_local std::map<H, std::unique_ptr<T>> map;
        thread_local bool registered = (RegisterTempMapCleaner(&Clear), true);
        (void)registered;
        return map;
    }
    static T* Get(H h) {
        auto& map = Map();
        auto it = map.find(h);
        if (it != map.end()) return it->second.get();
        T* obj = new T;
        obj->AttachTemporary(h);
        map.emplace(h, std::unique_ptr<T>(obj));
        return obj;
    }
    static void Clear() {
        auto& map = Map();
        for (auto& kv : map) kv.second->AttachTemporary(H());
        map.clear();
    }
};

}  // namespace afx_detail

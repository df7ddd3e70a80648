// CPageWndMap: the page windows of the middle panel by page id; it owns them.
#pragma once

#include <map>

#include "lobby/net/base/Locks.h"
#include "platform/Framework.h"

class CPageWndMap {
public:
    ~CPageWndMap() { DestroyAll(); }
    void Lock() { m_lock.Lock(); }
    void Unlock() { m_lock.Unlock(); }

    // -1 for a null window, else the id.
    int AddPage(int id, CWnd* window);
    // Destroys and deletes the page; 1 if found.
    int RemovePage(int id);
    // Shows that page and hides every other; true when it exists.
    bool ShowPage(int id);
    CWnd* GetPage(int id);
    void MoveAll(int left, int top, int right, int bottom);
    void DestroyAll();

private:
    static void Delete(CWnd* window);
    CCirSecLock m_lock;
    std::map<int, CWnd*> m_pages;
};

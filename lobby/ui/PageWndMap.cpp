#include "lobby/ui/PageWndMap.h"

void CPageWndMap::Delete(CWnd* window) {
    if (window->GetSafeHwnd()) window->DestroyWindow();
    delete window;
}

int CPageWndMap::AddPage(int id, CWnd* window) {
    if (!window) return -1;
    Lock();
    m_pages[id] = window;
    Unlock();
    return id;
}

int CPageWndMap::RemovePage(int id) {
    Lock();
    auto it = m_pages.find(id);
    CWnd* window = it == m_pages.end() ? nullptr : it->second;
    if (window) m_pages.erase(it);
    Unlock();
    if (!window) return 0;
    Delete(window);
    return 1;
}

bool CPageWndMap::ShowPage(int id) {
    Lock();
    const bool found = m_pages.count(id) != 0;
    for (auto& page : m_pages)
        if (page.first != id && page.second->GetSafeHwnd()) page.second->ShowWindow(SW_HIDE);
    if (found && m_pages[id]->GetSafeHwnd()) m_pages[id]->ShowWindow(SW_SHOW);
    Unlock();
    return found;
}

CWnd* CPageWndMap::GetPage(int id) {
    Lock();
    auto it = m_pages.find(id);
    CWnd* window = it == m_pages.end() ? nullptr : it->second;
    Unlock();
    return window;
}

void CPageWndMap::MoveAll(int left, int top, int right, int bottom) {
    Lock();
    const int width = right - left, height = bottom - top;
    for (auto& page : m_pages) {
        if (!page.second->GetSafeHwnd()) continue;
        page.second->MoveWindow(left, top, width, height);
        page.second->SetWindowRgn(::CreateRectRgn(0, 0, width + 1, height + 1), TRUE);
    }
    Unlock();
}

void CPageWndMap::DestroyAll() {
    Lock();
    std::map<int, CWnd*> pages;
    pages.swap(m_pages);
    Unlock();
    for (auto& page : pages) Delete(page.second);
}

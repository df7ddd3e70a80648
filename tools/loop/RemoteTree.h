// Another process's tree control read through memory in that process: the
// item texts, a search by text and a double click on an item.
#pragma once

// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on
#include <commctrl.h>

#include <string>
#include <vector>

namespace loop {

class RemoteTree {
public:
    RemoteTree(HWND tree, DWORD pid);
    ~RemoteTree();
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    HWND Window() const { return tree_; }
    std::string Text(HTREEITEM item);
    // Every item depth first as "depth:text".
    std::vector<std::string> Items();
    HTREEITEM Find(const std::string& text);
    // The first item whose text starts with the prefix.
    HTREEITEM FindPrefix(const std::string& prefix);
    // The item's rectangle in the tree's client area (its text only).
    RECT ItemRect(HTREEITEM item);
    // A double click in the middle of the item's text.
    void DoubleClick(HTREEITEM item);

private:
    HTREEITEM Root();
    HTREEITEM Next(HTREEITEM item, UINT code);
    void Walk(HTREEITEM item, int depth, std::vector<std::string>& out);
    HTREEITEM FindFrom(HTREEITEM item, const std::string& text, bool prefix);

    HWND tree_;
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

}  // namespace loop

#include "tools/loop/RemoteTree.h"

namespace loop {

RemoteTree::RemoteTree(HWND tree, DWORD pid) : tree_(tree) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    remote_ = process_ ? VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE) : nullptr;
}

RemoteTree::~RemoteTree() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

std::string RemoteTree::Text(HTREEITEM item) {
    if (!remote_) return "";
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = static_cast<char*>(remote_) + 512;
    tv.cchTextMax = 256;
    WriteProcessMemory(process_, remote_, &tv, sizeof tv, nullptr);
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_));
    char text[256] = "";
    ReadProcessMemory(process_, static_cast<char*>(remote_) + 512, text, sizeof text - 1, nullptr);
    return text;
}

std::vector<std::string> RemoteTree::Items() {
    std::vector<std::string> out;
    Walk(Root(), 0, out);
    return out;
}

HTREEITEM RemoteTree::Find(const std::string& text) { return FindFrom(Root(), text, false); }
HTREEITEM RemoteTree::FindPrefix(const std::string& prefix) { return FindFrom(Root(), prefix, true); }

RECT RemoteTree::ItemRect(HTREEITEM item) {
    RECT r{};
    if (!remote_) return r;
    WriteProcessMemory(process_, remote_, &r, sizeof r, nullptr);
    WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr);  // TVM_GETITEMRECT's item
    SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote_));
    ReadProcessMemory(process_, remote_, &r, sizeof r, nullptr);
    return r;
}

void RemoteTree::DoubleClick(HTREEITEM item) {
    const RECT r = ItemRect(item);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    PostMessageA(tree_, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(tree_, WM_LBUTTONUP, 0, at);
}

HTREEITEM RemoteTree::Root() {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM RemoteTree::Next(HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

void RemoteTree::Walk(HTREEITEM item, int depth, std::vector<std::string>& out) {
    for (; item; item = Next(item, TVGN_NEXT)) {
        out.push_back(std::to_string(depth) + ":" + Text(item));
        Walk(Next(item, TVGN_CHILD), depth + 1, out);
    }
}

HTREEITEM RemoteTree::FindFrom(HTREEITEM item, const std::string& text, bool prefix) {
    for (; item; item = Next(item, TVGN_NEXT)) {
        const std::string t = Text(item);
        if (prefix ? t.compare(0, text.size(), text) == 0 : t == text) return item;
        if (HTREEITEM found = FindFrom(Next(item, TVGN_CHILD), text, prefix)) return found;
    }
    return nullptr;
}

}  // namespace loop

#include "tools/loop/PlayFolder.h"

#include <windows.h>

#include <cstdio>

namespace loop {

namespace {
template <class Fn>
void ForEachEntry(const std::string& folder, const char* pattern, Fn fn) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + pattern).c_str(), &f);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &f)) {
        const std::string name = f.cFileName;
        if (name != "." && name != "..") fn(name, (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}
}  // namespace

void CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    ForEachEntry(from, "*", [&](const std::string& name, bool folder) {
        if (folder) CopyTree(from + name + "\\", to + name + "\\");
        else CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    });
}

void CopyMatching(const std::string& from, const std::string& to, const char* pattern) {
    ForEachEntry(from, pattern, [&](const std::string& name, bool folder) {
        if (!folder) CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    });
}

void RemoveTree(const std::string& folder) {
    ForEachEntry(folder, "*", [&](const std::string& name, bool sub) {
        if (sub) RemoveTree(folder + name + "\\");
        else DeleteFileA((folder + name).c_str());
    });
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& folder) {
    for (size_t at = folder.find_first_of("\\/", 3); at != std::string::npos; at = folder.find_first_of("\\/", at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

bool WriteText(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadText(const std::string& path, std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
    std::fclose(f);
    return true;
}

}  // namespace loop

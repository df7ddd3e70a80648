#include "tools/loop/PlayFolder.h"

#include <windows.h>

#include "tests/platform/FileBytes.h"

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

bool WriteText(const std::string& path, const std::string& bytes) { return WriteFileBytes(path, bytes); }

bool ReadText(const std::string& path, std::string& bytes) { return ReadFileBytes(path, bytes); }

}  // namespace loop

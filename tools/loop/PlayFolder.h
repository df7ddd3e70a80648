// Files of a play folder: whole trees copied and removed, texts written and read.
#pragma once

#include <string>

namespace loop {

// Folders end with a backslash.
void CopyTree(const std::string& from, const std::string& to);
// The files of the folder matching the pattern (e.g. "*.dll"), not its subfolders.
void CopyMatching(const std::string& from, const std::string& to, const char* pattern);
void RemoveTree(const std::string& folder);
// The folder and every missing folder above it.
void MakeFolders(const std::string& folder);
bool WriteText(const std::string& path, const std::string& bytes);
bool ReadText(const std::string& path, std::string& bytes);

}  // namespace loop

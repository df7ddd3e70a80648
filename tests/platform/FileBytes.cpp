#include "tests/platform/FileBytes.h"

#include <cstdio>

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char block[65536];
    for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
    std::fclose(f);
    return true;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A whole file read or written at once, as the test helpers and the loop
// need it.
#pragma once

#include <string>

bool ReadFileBytes(const std::string& path, std::string& bytes);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

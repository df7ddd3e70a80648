// Cleans a Windows path before a log file is opened with it: no control or
// reserved characters, no stray colons, no "." or ".." steps, no doubled
// backslashes after the first character.
#pragma once

#include <string>

std::string SanitizePath(const std::string& path);

// The link a page navigates to in order to start the lobby, and what of it
// reaches the lobby's command line. Portable: no windows.h.
#pragma once

#include <string>

// The start keyword, matched byte for byte, case-sensitive, first occurrence.
extern const char kLaunchKeyword[];
// Longest tail (keyword included) that is handed on.
enum { kMaxLaunchTail = 1024 };

enum class LaunchVerdict {
    NotALaunch,  // no keyword: the navigation goes on
    Refused,     // keyword, but the tail is too long or holds control bytes
    Launch,      // keyword and an acceptable tail
};

// Looks for the keyword in an ANSI url; tail receives the url from the
// keyword on (also when refused).
LaunchVerdict ReadLaunchLink(const std::string& url, std::string& tail);

// The folder of a program path, cut after its last backslash (which stays);
// empty when the path holds none. The path is GBK text.
std::string WorkingFolderOf(const std::string& path);

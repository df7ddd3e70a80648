// DWORD and COLORREF for code that builds without windows.h. On Windows they are
// the same typedefs as there, so both headers may be included together.
#pragma once

#include <cstdint>

#ifdef _WIN32
typedef unsigned long DWORD;
#else
typedef std::uint32_t DWORD;
#endif
typedef DWORD COLORREF;

// Parsed once for every test program (a precompiled header): GoogleTest,
// the Windows headers and the standard library.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// The main window's guard around one server message's handler.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "lobby/ui/app/MessageGuard.h"

// A handler that throws is traced with its message's kind and stops there;
// one that returns leaves no trace.
TEST(MessageGuard, AThrowingHandlerIsTracedAndGoesNoFurther) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string trace = std::string(temp) + "guard_trace_" + std::to_string(GetCurrentProcessId()) + ".txt";
    std::remove(trace.c_str());
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", trace.c_str());
    int ran = 0;
    GuardMessageHandler(8, [&] { ++ran; });
    GuardMessageHandler(13, [&] {
        ++ran;
        throw std::runtime_error("a handler's failure");
    });
    GuardMessageHandler(4, [&] { throw 1; });
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
    EXPECT_EQ(ran, 2);
    std::ifstream f(trace);
    std::stringstream lines;
    lines << f.rdbuf();
    EXPECT_EQ(lines.str(), "handler of kind 13 failed\nhandler of kind 4 failed\n");
    f.close();
    std::remove(trace.c_str());
}

// Shared set-up of the COM tests: OLE on the test thread, the recording
// control registered, its log, and a plain top-level
// window to host controls in.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Framework.h"
#include "tests/support/recording/RecordingControl.h"

namespace comtest {

// {6E0B5D20-3C2A-4F7E-9A41-52D8C3E1B700}: the class id the tests register.
const CLSID kRecordingClsid = {0x6E0B5D20, 0x3C2A, 0x4F7E, {0x9A, 0x41, 0x52, 0xD8, 0xC3, 0xE1, 0xB7, 0x00}};
constexpr char kRecordingProgId[] = "Mirabo.RecordingTest";

class ComTest : public ::testing::Test {
public:
    // Runs the window messages that are waiting.
    static void Pump();

protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // The log's lines so far.
    static std::vector<std::string> LogLines();

    static std::string s_logPath;
};

// A visible top-level window made for hosting.
BOOL CreateHostWindow(CWnd& host, int width = 400, int height = 300);

}  // namespace comtest

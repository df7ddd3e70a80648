#include "tests/com/ComTestKit.h"

#include <fstream>

namespace comtest {

std::string ComTest::s_logPath;

void ComTest::SetUpTestSuite() {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    char exe[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe, n);
    dir = dir.substr(0, dir.rfind('\\') + 1);
    ASSERT_TRUE(RegisterRecordingControl(kRecordingClsid, kRecordingProgId, dir + "RecordingControl.dll"));
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    s_logPath = std::string(temp) + "recording_" + std::to_string(::GetCurrentProcessId()) + ".log";
    ::SetEnvironmentVariableA("MIRABO_RECORDING_LOG", s_logPath.c_str());
}

void ComTest::TearDownTestSuite() {
    UnregisterRecordingControl(kRecordingClsid, kRecordingProgId);
    ::DeleteFileA(s_logPath.c_str());
    ::OleUninitialize();
}

void ComTest::SetUp() { ::DeleteFileA(s_logPath.c_str()); }

std::vector<std::string> ComTest::LogLines() {
    std::vector<std::string> lines;
    std::ifstream in(s_logPath, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void ComTest::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

BOOL CreateHostWindow(CWnd& host, int width, int height) {
    return host.CreateEx(0, "STATIC", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, width, height),
                         nullptr, 0);
}

}  // namespace comtest

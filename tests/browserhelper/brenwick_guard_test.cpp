// CIBrenwick::Invoke runs inside the browser's process: an exception from its
// handling is logged and the navigation goes on. The start-link reader here
// stands in for the real one and throws.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "browserhelper/CIBrenwick.h"
#include "browserhelper/LaunchLink.h"
#include "platform/LogSink.h"
#include "tests/browserhelper/BrenwickTestKit.h"

LaunchVerdict ReadLaunchLink(const std::string&, std::string&) { throw std::runtime_error("reader failed"); }
std::string WorkingFolderOf(const std::string&) { return std::string(); }

namespace {
std::vector<std::string> g_logged;
void Record(const char* line) { g_logged.push_back(line); }
}  // namespace

TEST(BrenwickInvoke, AThrowingHandlerIsLoggedAndTheNavigationGoesOn) {
    IDispatch* sink = nullptr;
    ASSERT_EQ(CIBrenwick::Create(IID_IDispatch, reinterpret_cast<void**>(&sink)), S_OK);
    AfxSetLogSink(&Record);
    brenwicktest::NavigateEvent event(L"http://example.test/mirabo:start");
    EXPECT_EQ(sink->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &event.params, nullptr, nullptr, nullptr), S_OK);
    AfxSetLogSink(nullptr);
    EXPECT_EQ(event.cancel, VARIANT_FALSE);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("250"), std::string::npos) << g_logged[0];
    EXPECT_NE(g_logged[0].find("reader failed"), std::string::npos);
    sink->Release();
}

// The client's loading sequence: the table window hears its outcome once, a
// success, a failure of the pictures or the time limit.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/core/ClientLoading.h"
#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "game/core/TableSide.h"
#include "game/ui/GameImages.h"
#include "game/ui/GameTableSide.h"
#include "platform/Wnd.h"
#include "tests/support/LoopbackServer.h"

namespace {

// A message-only window standing in for the table window.
struct Owner {
    CWnd wnd;
    Owner() { wnd.m_hWnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~Owner() {
        DestroyWindow(wnd.m_hWnd);
        wnd.m_hWnd = nullptr;
    }
    // The loading messages posted so far: wParam and the text (or null).
    std::vector<std::pair<WPARAM, const char*>> Taken() {
        std::vector<std::pair<WPARAM, const char*>> got;
        for (MSG m; PeekMessageA(&m, wnd.m_hWnd, kImagesLoadedMessage, kImagesLoadedMessage, PM_REMOVE);)
            got.emplace_back(m.wParam, reinterpret_cast<const char*>(m.lParam));
        return got;
    }
};

TEST(ClientLoading, TheTableHearsTheOutcomeOnce) {
    InstallGameTableSide();
    Owner owner;
    CLoading loading;
    ASSERT_EQ(loading.Start(&owner.wnd), 1);
    EXPECT_EQ(loading.GetProgressStep(), 100u);
    std::vector<std::pair<WPARAM, const char*>> taken;
    testsupport::WaitFor([&] { return !(taken = owner.Taken()).empty(); }, 10000);
    loading.GetCurrentStep()->Join();
    for (auto& later : owner.Taken()) taken.push_back(later);
    EXPECT_EQ(taken, (std::vector<std::pair<WPARAM, const char*>>{{1, nullptr}}));
    EXPECT_NE(GetGameImages(), nullptr);
}

// Pictures that the table side cannot make (null), whose making throws a
// text, or that are made once released.
class TestSide : public CTableSide {
public:
    enum Mode { kNone, kThrow, kSlow } mode = kNone;
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~TestSide() override { CloseHandle(release); }
    CTablePictures* CreatePictures() override {
        if (mode == kThrow) throw "图片不全";
        if (mode == kNone) return nullptr;
        WaitForSingleObject(release, 60000);
        return new CGameImages;
    }
    int ShowBox(const char*, int) override { return IDOK; }
};

DWORD g_now = 100000;
DWORD Now() { return g_now; }

TEST(ClientLoading, PicturesThatCannotBeMadeOrThrowReportTheFailureText) {
    TestSide side;
    SetTableSide(&side);
    Owner owner;
    for (TestSide::Mode mode : {TestSide::kNone, TestSide::kThrow}) {
        side.mode = mode;
        CLoading loading;
        ASSERT_EQ(loading.Start(&owner.wnd), 1);
        std::vector<std::pair<WPARAM, const char*>> taken;
        testsupport::WaitFor([&] { return !(taken = owner.Taken()).empty(); }, 10000);
        loading.GetCurrentStep()->Join();
        for (auto& later : owner.Taken()) taken.push_back(later);
        EXPECT_EQ(taken, (std::vector<std::pair<WPARAM, const char*>>{{0, CLoading::kFailureText}})) << mode;
    }
    SetTableSide(nullptr);
}

// Pictures still loading after 30 s: the sequence's tick reports the failure
// once, with the step's own text when it has one; the load that ends later
// posts nothing more.
TEST(ClientLoading, TheTimeLimitReportsAFailureWhileThePicturesStillLoad) {
    TestSide side;
    side.mode = TestSide::kSlow;
    SetTableSide(&side);
    SetGameClockSource(Now);
    Owner owner;
    for (const char* error : {"", "图片不全"}) {
        ResetEvent(side.release);
        CLoading loading;
        ASSERT_EQ(loading.Start(&owner.wnd), 1);
        CLoaderBase* step = loading.GetCurrentStep();
        step->SetErrorText(error);
        g_now += 30000;
        loading.Tick(kLoadingTimerId);
        EXPECT_TRUE(owner.Taken().empty()) << "not past the limit yet";
        g_now += 1;
        loading.Tick(kLoadingTimerId + 1);
        EXPECT_TRUE(owner.Taken().empty()) << "another timer's tick";
        loading.Tick(kLoadingTimerId);
        loading.Tick(kLoadingTimerId);
        SetEvent(side.release);
        step->Join();
        const auto taken = owner.Taken();
        ASSERT_EQ(taken.size(), 1u) << error;
        EXPECT_EQ(taken[0].first, 0u);
        EXPECT_STREQ(taken[0].second, *error ? step->GetErrorText().c_str() : CLoading::kFailureText);
    }
    SetGameClockSource(nullptr);
    SetTableSide(nullptr);
}

}  // namespace

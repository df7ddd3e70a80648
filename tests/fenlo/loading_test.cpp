// The client's loading sequence: the table window hears its outcome once.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/core/ClientLoading.h"
#include "game/core/GameSession.h"
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
    {
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

    // The time limit reports a failure while the pictures still load: their
    // success then posts nothing more. The step's own text is posted.
    for (const char* error : {"", "图片不全"}) {
        CLoading loading;
        ASSERT_EQ(loading.Start(&owner.wnd), 1);
        CLoaderBase* step = loading.GetCurrentStep();
        step->SetErrorText(error);
        int answer = 1;
        loading.OnStepFailed(step, &answer);
        EXPECT_EQ(answer, 0);
        step->Join();
        auto taken = owner.Taken();
        ASSERT_EQ(taken.size(), 1u);
        EXPECT_EQ(taken[0].first, 0u);
        EXPECT_STREQ(taken[0].second, *error ? step->GetErrorText().c_str() : CLoading::kFailureText);
    }
}

}  // namespace

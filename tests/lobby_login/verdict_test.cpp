// The login step's states as the login dialogs and the main window's
// reconnection read them.
#include <gtest/gtest.h>

#include "lobby/net/startup/LoginVerdict.h"

namespace {

TEST(LoginVerdict, EveryStateHasItsReading) {
    using S = LoginStates;
    using V = LoginVerdict;
    const struct {
        int state;
        V verdict;
    } table[] = {
        {S::kStateLost, V::kFailed},
        {S::kStateWaiting, V::kWorking},
        {S::kStateLoggedIn, V::kLoggedIn},
        {S::kStateRefused, V::kFailed},
        {S::kStateStopped, V::kFailed},
        {S::kStateConnecting, V::kWorking},
        {S::kStateProbing, V::kWorking},
        {S::kStateDenied, V::kFailed},
        {S::kStateBusy, V::kWorking},
        {S::kStateFailed, V::kFailed},
        {S::kStateTimedOut, V::kTimedOut},
        {S::kStateNewerClient, V::kNewerClient},
        {S::kStateCreated, V::kNotStarted},
        {-1, V::kWorking},
        {13, V::kWorking},
    };
    for (const auto& row : table) EXPECT_EQ(LoginVerdictOf(row.state), row.verdict) << row.state;
    // The numbers are the step's word as the dialogs have always read it.
    EXPECT_EQ(S::kStateDenied, 7);
    EXPECT_EQ(S::kStateTimedOut, 10);
    EXPECT_EQ(S::kStateNewerClient, 11);
}

}  // namespace

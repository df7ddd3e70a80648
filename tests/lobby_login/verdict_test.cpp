// The login step's state words as the login dialogs and the main window's
// reconnection read them: the dialog's table, by the numbers the step writes
// and the readers have always known.
#include <gtest/gtest.h>

#include "lobby/net/startup/LoginVerdict.h"

namespace {

TEST(LoginVerdict, TheDialogsTableOfStateWords) {
    using V = LoginVerdict;
    const struct {
        int word;
        V reaction;
    } table[] = {
        {2, V::kLoggedIn},                                                          // the dialog ends with IDOK
        {0, V::kFailed},     {3, V::kFailed},     {4, V::kFailed},  {7, V::kFailed},  {9, V::kFailed},  // re-enable
        {10, V::kTimedOut},                                                         // re-enable, the time-out box
        {11, V::kNewerClient},                                                      // the updater
        {1, V::kWorking},    {5, V::kWorking},    {6, V::kWorking}, {8, V::kWorking}, {-1, V::kWorking},
        {13, V::kWorking},   {12, V::kNotStarted},                                  // nothing yet
    };
    for (const auto& row : table) EXPECT_EQ(LoginVerdictOf(row.word), row.reaction) << row.word;
}

}  // namespace

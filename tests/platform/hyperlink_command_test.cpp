// The command line a hyperlink runs through the web-page class's open command.
#include "platform/HyperLinkCommand.h"

#include <gtest/gtest.h>

TEST(HyperLinkCommandLine, CutsAtThePlaceholderAndQuotesTheAddress) {
    // "%1" between quotes: the quotes go too.
    EXPECT_STREQ(HyperLinkCommandLine("\"C:\\web\\view.exe\" -nohome \"%1\"", "a b.htm"),
                 "\"C:\\web\\view.exe\" -nohome  \"a b.htm\"");
    // Bare %1: cut there, whatever follows goes.
    EXPECT_STREQ(HyperLinkCommandLine("view.exe %1 -new", "http://x/y z"), "view.exe  \"http://x/y z\"");
    // No placeholder: the address is appended after a blank.
    EXPECT_STREQ(HyperLinkCommandLine("view.exe", "page"), "view.exe \"page\"");
    // A quote inside the address cannot end the argument.
    EXPECT_STREQ(HyperLinkCommandLine("view.exe", "a\" b"), "view.exe \"a%22 b\"");
}

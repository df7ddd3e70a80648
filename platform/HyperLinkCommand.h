// The command line a hyperlink runs when the shell cannot open its address
// itself: the web-page class's open command (from the registry) cut before
// its "%1" placeholder, then the address as one quoted argument.
#pragma once

#include "platform/CString.h"

// Cuts at the first "%1" standing between double quotes (the quotes go too),
// else at the first %1; a command without one stays whole. Appends a blank
// and the address in double quotes (a double quote inside it as %22), so an
// address with blanks stays one argument.
CString HyperLinkCommandLine(const CString& openCommand, const CString& url);

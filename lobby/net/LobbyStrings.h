// Number and path texts of the lobby: decimal conversions through a string
// stream, and a file name put behind a folder.
#pragma once

#include <string>

#include "platform/CString.h"

std::string IntToString(int value);

// Reads a decimal int as atoi does: leading white space is skipped, an optional
// sign is taken, and reading stops at the first character that is not a digit.
// A text that does not begin with a number gives 0; a number beyond the range
// of int gives the nearest end of that range.
int StringToInt(const std::string& text);

// head followed by tail; a null tail adds nothing.
CString JoinString(const CString& head, const char* tail);

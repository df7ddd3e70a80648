// Decimal texts through a string stream, shared by both programs' parsers.
#pragma once

#include <string>

std::string IntToString(int value);

// Reads a decimal int as atoi does: leading white space is skipped, an optional
// sign is taken, and reading stops at the first character that is not a digit.
// A text that does not begin with a number gives 0; a number beyond the range
// of int gives the nearest end of that range.
int StringToInt(const std::string& text);

// Decimal conversions of the card-game client's message texts.
#pragma once

#include <string>

#include "lobby/net/base/NumberText.h"  // IntToString, StringToInt

// Leading blanks, an optional sign and decimal digits, read as a stream would:
// "12abc" gives 12. A text that does not start with a number gives 0; one out of
// range gives the nearest limit. For a signed 32-bit long, whatever the width of long.
long StringToLong(const std::string& text);
// The same for a double (decimal point and exponent accepted).
double StringToDouble(const std::string& text);

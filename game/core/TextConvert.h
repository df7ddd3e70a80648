// Decimal and Base64 conversions of the card-game client's message texts.
#pragma once

#include <string>

// Leading blanks, an optional sign and decimal digits, read as a stream would:
// "12abc" gives 12. A text that does not start with a number gives 0; one out of
// range gives the nearest limit.
int StringToInt(const std::string& text);
// The same for a signed 32-bit long, whatever the width of long.
long StringToLong(const std::string& text);
// The same for a double (decimal point and exponent accepted).
double StringToDouble(const std::string& text);
std::string IntToString(int value);

// Decodes Base64 text (CR and LF between groups are skipped) into out,
// replacing its content, and adds the number of bytes produced to *counter
// (when counter is not null). Never reads past text[length - 1]; a short last
// group ends where the text ends, and characters outside the alphabet count as 0.
void Base64Decode(const char* text, int length, unsigned* counter, std::string& out);

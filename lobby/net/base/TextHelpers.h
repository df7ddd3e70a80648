// Text helpers of the base library: the program's folder, the system's text for
// a Windows error, numbers as text, and conversions between the ANSI code page,
// UTF-16 and UTF-8. Texts held in this layer are UTF-8 unless said otherwise.
#pragma once

#include <string>

// Full path of the program's folder, ending with a backslash; worked out once.
const std::string& GetProgramFolder();

// The system's message for a Windows error, without CR or LF characters.
std::string GetSystemErrorText(unsigned long error);

std::string NumberToText(int value);
std::string NumberToText(unsigned value);

// Conversions that fail give an empty text; none of them throws.
std::wstring AnsiToUtf16(const std::string& ansi);
std::string Utf16ToAnsi(const std::wstring& wide);
std::wstring Utf8ToWide(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);

// Texts of the side panel: the chat wire form's escapes and the match time.
#pragma once

#include <string>

// "\" "=" "<" ">" "/" "&" become "@_1" to "@_6", in that order.
std::string EscapeChat(const std::string& text);
// "@_1" to "@_6" back, in that order, then "&#xD;&#xA;" to CR LF.
std::string UnescapeChat(const std::string& text);
// A number of the match time: "%d", with a leading "0" below two digits.
std::string TwoDigits(int value);

// Texts of the side panel: the chat wire form's escapes and the match time.
#pragma once

#include <cstddef>
#include <string>

// "\" "=" "<" ">" "/" "&" become "@_1" to "@_6", in that order.
std::string EscapeChat(const std::string& text);
// "@_1" to "@_6" back, in that order, then "&#xD;&#xA;" to CR LF.
std::string UnescapeChat(const std::string& text);
// A line for the chat history cut to at most kMaxChatLine bytes, on a GBK
// character's boundary, keeping its line break: the history's layout slows
// down beyond measure on a very long line.
const size_t kMaxChatLine = 1024;
std::string ClipChatLine(const std::string& line);
// A number of the match time: "%d", with a leading "0" below two digits.
std::string TwoDigits(int value);

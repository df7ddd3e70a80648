// Plain rules of the lobby panels and their controls: the list's column text
// and row order, the chat escapes and emote codes, the game tree's intro
// commands and the sizes of the emote picker and the pop-up slide. No
// windows.h: also built natively.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// "name,width;name,width[;]": one (name, width) per comma found.
std::vector<std::pair<std::string, int>> ParseColumnList(const char* columnText);

// Row order of the sortable list: when every byte of a is a digit (empty
// counts), both compare as leading integers (-1, 0, 1), else as text through
// textCompare. Only a decides, so the rule is not symmetric.
int CompareListTexts(const char* a, const char* b, const std::function<int(const char*, const char*)>& textCompare);

// Chat escapes: " = < > / & to "@_1".."@_6" and back, in that order.
std::string EscapeChatText(const std::string& text);
std::string UnescapeChatText(const std::string& text);

// A chat line cut into plain text and emote codes: a code is "/" and the next
// three bytes, and only known codes are cut out; anything else stays text.
struct ChatPiece {
    bool emote;
    std::string text;
};
std::vector<ChatPiece> ScanEmotes(const std::string& line, const std::function<bool(const std::string&)>& known);

// The intro command a tree selection posts: kind 3 (room groups 1..59999,
// the id), 1 (games 60001..89999, id - 60000), 2 (90001..99999, id - 90000).
// False for every other id.
bool TreeIntroCommand(int id, int& kind, int& number);
std::string TreeIntroText(int kind, int number);  // "javascript:instro(k,n)"

// Emote picker height: 27 per row of 8 (count / 8 rows) plus one row.
int FacePickerHeight(int count);

// Slide of a pop-up of height h by step: steps = h / step - 1 ticks of step,
// the remainder added at the last tick.
struct SlidePlan {
    int steps;
    int remainder;
};
SlidePlan PlanSlide(int height, int step);

// A notice's mark-up: pieces between two "$" are links; a "$" left open
// makes the rest plain text. Empty pieces are left out; "$" never shows.
struct NoticePiece {
    bool link;
    std::string text;
};
std::vector<NoticePiece> ParseNoticePieces(const std::string& text);
// "label,address": the label before the first ",", the address after it
// with every further "," left out.
void SplitLinkPiece(const std::string& piece, std::string& label, std::string& address);

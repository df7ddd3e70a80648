// Plain text helpers of the skin and its text pictures: the value reader of
// the skin ini, the byte-wise line wrapper, the link mark of a message and
// the picture-size conversion. No windows.h: also built natively.
#pragma once

#include <string>

// Reads blank-separated tokens of one ini value. A token ends at the first
// blank, tab or line end (that one separator is consumed), so two blanks in a
// row give an empty token. A byte above 0x80 starts a two-byte character,
// which is never cut in half.
class SkinTokenReader {
public:
    explicit SkinTokenReader(const char* text) : m_p(text ? text : "") {}
    // False once the text is used up.
    bool Next(std::string& token);
    // The next token as a number; an empty or missing token is 0.
    int NextInt();

private:
    const char* m_p;
};

// Reads count numbers of value into out (missing ones are 0). Colour parts
// keep only their low byte.
void ParseSkinNumbers(const char* value, int* out, int count);
unsigned ParseSkinColor(const char* value);  // 0x00BBGGRR

// A new text of every byte of text but the last (callers append a blank),
// with "\r\n" inserted whenever a line reaches width bytes; a two-byte
// character counts 2 and is never split, a line feed starts a new line.
std::string WrapText(const std::string& text, int width);

// "message$label,address$tail": true with the three parts when a first "$",
// a later second "$" and a "," between them are all there.
bool SplitMessageLink(const std::string& text, std::string& message, std::string& label, std::string& address);

// HIMETRIC (0.01 mm) to pixels at dpi pixels per inch, rounded.
int HimetricToPixels(long himetric, int dpi);

#include "game/ui/PanelText.h"

#include "platform/CString.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const char* const kPlain[] = {"\\", "=", "<", ">", "/", "&"};
const char* const kEscaped[] = {"@_1", "@_2", "@_3", "@_4", "@_5", "@_6"};

}  // namespace

std::string EscapeChat(const std::string& text) {
    std::string out = text;
    for (int i = 0; i < 6; ++i) out = ReplaceAll(out, kPlain[i], kEscaped[i]);
    return out;
}

std::string UnescapeChat(const std::string& text) {
    std::string out = text;
    for (int i = 0; i < 6; ++i) out = ReplaceAll(out, kEscaped[i], kPlain[i]);
    return ReplaceAll(out, "&#xD;&#xA;", "\r\n");
}

std::string ClipChatLine(const std::string& line) {
    if (line.size() <= kMaxChatLine) return line;
    const bool broken = line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0;
    return CutText(line, kMaxChatLine) + (broken ? "\r\n" : "");
}

std::string TwoDigits(int value) {
    std::string s = std::to_string(value);
    return s.size() < 2 ? "0" + s : s;
}

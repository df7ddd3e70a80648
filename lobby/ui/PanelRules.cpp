#include "lobby/ui/PanelRules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::vector<std::pair<std::string, int>> ParseColumnList(const char* columnText) {
    std::vector<std::pair<std::string, int>> columns;
    if (!columnText) return columns;
    std::string s(columnText);
    size_t pos = 0;
    for (;;) {
        const size_t comma = s.find(',', pos);
        if (comma == std::string::npos) break;
        size_t end = s.find(';', comma + 1);
        if (end == std::string::npos) end = s.size();
        columns.emplace_back(s.substr(pos, comma - pos), std::atoi(s.substr(comma + 1, end - comma - 1).c_str()));
        if (end >= s.size()) break;
        pos = end + 1;
    }
    return columns;
}

int CompareListTexts(const char* a, const char* b, const std::function<int(const char*, const char*)>& textCompare) {
    a = a ? a : "";
    b = b ? b : "";
    bool digits = true;
    for (const char* p = a; *p; ++p)
        if (*p < '0' || *p > '9') digits = false;
    if (!digits) return textCompare(a, b);
    const long x = std::atol(a), y = std::atol(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

namespace {
const char kEscaped[] = "\"=<>/&";

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}
}  // namespace

std::string EscapeChatText(const std::string& text) {
    std::string out = text;
    for (int i = 0; i < 6; ++i) out = ReplaceAll(out, std::string(1, kEscaped[i]), "@_" + std::to_string(i + 1));
    return out;
}

std::string UnescapeChatText(const std::string& text) {
    std::string out = text;
    for (int i = 0; i < 6; ++i) out = ReplaceAll(out, "@_" + std::to_string(i + 1), std::string(1, kEscaped[i]));
    return out;
}

std::vector<ChatPiece> ScanEmotes(const std::string& line, const std::function<bool(const std::string&)>& known) {
    std::vector<ChatPiece> pieces;
    std::string pending;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '/') {
            pending += line[i++];
            continue;
        }
        const std::string code = line.substr(i, 4);
        i += code.size();
        if (code.size() == 4 && known(code)) {
            if (!pending.empty()) pieces.push_back({false, pending});
            pending.clear();
            pieces.push_back({true, code});
        } else {
            pending += code;
        }
    }
    if (!pending.empty()) pieces.push_back({false, pending});
    return pieces;
}

bool TreeIntroCommand(int id, int& kind, int& number) {
    if (id >= 1 && id <= 59999) {
        kind = 3;
        number = id;
    } else if (id >= 60001 && id <= 89999) {
        kind = 1;
        number = id - 60000;
    } else if (id >= 90001 && id <= 99999) {
        kind = 2;
        number = id - 90000;
    } else {
        return false;
    }
    return true;
}

std::string TreeIntroText(int kind, int number) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "javascript:instro(%d,%d)", kind, number);
    return buf;
}

int FacePickerHeight(int count) { return (count / 8) * 27 + 27; }

SlidePlan PlanSlide(int height, int step) {
    if (step <= 0) return {0, 0};
    return {height / step - 1, height % step};
}

std::vector<NoticePiece> ParseNoticePieces(const std::string& text) {
    std::vector<NoticePiece> pieces;
    std::string plain, link;
    bool inLink = false;
    for (char c : text) {
        if (c != '$') {
            (inLink ? link : plain) += c;
            continue;
        }
        if (!inLink && !plain.empty()) pieces.push_back({false, plain});
        if (inLink && !link.empty()) pieces.push_back({true, link});
        (inLink ? link : plain).clear();
        inLink = !inLink;
    }
    const std::string& rest = inLink ? link : plain;
    if (!rest.empty()) pieces.push_back({false, rest});
    return pieces;
}

void SplitLinkPiece(const std::string& piece, std::string& label, std::string& address) {
    const size_t comma = piece.find(',');
    label = piece.substr(0, comma);
    address.clear();
    if (comma == std::string::npos) return;
    for (size_t i = comma + 1; i < piece.size(); ++i)
        if (piece[i] != ',') address += piece[i];
}

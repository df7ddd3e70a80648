#include "lobby/ui/LoginRules.h"

#include <cstdlib>
#include <vector>

#include "xml/XMLReadText.h"

void ScanQuotedFields(const std::string& text, size_t start, std::string& first, std::string& second) {
    int state = 0;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',') {
            state = 2;
        } else if (c == '\'') {
            if (state == 0) state = 1;
            else if (state == 2) break;
        } else if (state == 1) {
            first += c;
        } else if (state == 2) {
            second += c;
        }
    }
}

LobbyCommandLine ScanLobbyCommandLine(const std::string& line) {
    LobbyCommandLine result;
    if (line == "reg") {
        result.kind = LobbyCommandLine::kRegister;
        return result;
    }
    const size_t start = line.find("('");
    if (start == std::string::npos) return result;
    ScanQuotedFields(line, start, result.user, result.password);
    if (!result.user.empty() && !result.password.empty()) result.kind = LobbyCommandLine::kAutoLogin;
    return result;
}

bool IsLoginNameText(const std::string& text) {
    for (unsigned char c : text)
        if (c > 0x80 || c == '"' || c == '<' || c == '>') return false;
    return true;
}

std::string CutTrailingBlanks(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

ServerLineChoice ServerLineForRadio(int radioId) {
    switch (radioId) {
    case 1033: return {true, "0", 0, false};
    case 1034: return {true, "1", 3, true};
    case 1035: return {true, "2", 1, true};
    case 1036: return {true, "3", 2, true};
    default: return {};
    }
}

int RadioForServerSelect(int svrSelect) {
    return svrSelect >= 0 && svrSelect <= 3 ? 1033 + svrSelect : 0;
}

bool ReadLoginNotice(const std::string& document, LoginNotice& notice) {
    XMLTextReader reader;
    if (!ReadXmlText(reader, document) || !reader.Read()) return false;
    std::vector<std::string> head = AttributeValues(reader, 2);
    if (!reader.Read()) return false;
    std::vector<std::string> banner = AttributeValues(reader, 1);
    if (!reader.Read()) return false;
    std::vector<std::string> page = AttributeValues(reader, 3);
    if (head.size() < 2 || banner.empty() || page.size() < 3) return false;
    notice.type = std::atoi(head[0].c_str());
    notice.blocking = std::atoi(head[1].c_str());
    notice.bannerText = banner[0];
    notice.url = page[0];
    notice.width = std::atoi(page[1].c_str());
    notice.height = std::atoi(page[2].c_str());
    return true;
}

std::string VersionFromXml(const std::string& versionXml) {
    XMLTextReader reader;
    if (!ReadXmlText(reader, versionXml) || !reader.Read()) return std::string();
    if (!reader.MoveToNextAttribute() || !reader.MoveToNextAttribute()) return std::string();
    return reader.Value();
}

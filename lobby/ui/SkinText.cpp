#include "lobby/ui/SkinText.h"

#include <cstdlib>

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool SkinTokenReader::Next(std::string& token) {
    token.clear();
    if (!*m_p) return false;
    while (*m_p && !IsSeparator(*m_p)) {
        if (static_cast<unsigned char>(*m_p) > 0x80 && m_p[1]) {
            token.append(m_p, 2);
            m_p += 2;
        } else {
            token += *m_p++;
        }
    }
    if (*m_p) ++m_p;  // the separator
    return true;
}

int SkinTokenReader::NextInt() {
    std::string token;
    if (!Next(token) || token.empty()) return 0;
    return std::atoi(token.c_str());
}

void ParseSkinNumbers(const char* value, int* out, int count) {
    SkinTokenReader reader(value);
    for (int i = 0; i < count; ++i) out[i] = reader.NextInt();
}

unsigned ParseSkinColor(const char* value) {
    int rgb[3];
    ParseSkinNumbers(value, rgb, 3);
    return (rgb[0] & 0xFFu) | (rgb[1] & 0xFFu) << 8 | (rgb[2] & 0xFFu) << 16;
}

std::string WrapText(const std::string& text, int width) {
    std::string out;
    if (text.empty()) return out;
    const size_t end = text.size() - 1;
    int count = 0;
    for (size_t i = 0; i < end; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c > 128) {
            out += text[i];
            out += text[++i];  // i + 1 <= end: the dropped last byte at most
            count += 2;
        } else if (c == '\n') {
            out += '\n';
            count = 0;
        } else {
            out += text[i];
            ++count;
        }
        if (count >= width) {
            out += "\r\n";
            count = 0;
        }
    }
    return out;
}

bool SplitMessageLink(const std::string& text, std::string& message, std::string& label, std::string& address) {
    size_t first = text.find('$');
    size_t second = first == std::string::npos ? first : text.find('$', first + 1);
    size_t comma = second == std::string::npos ? second : text.find(',', first + 1);
    if (comma == std::string::npos || comma > second) return false;
    message = text.substr(0, first);
    label = text.substr(first + 1, comma - first - 1);
    address = text.substr(comma + 1, second - comma - 1);
    return true;
}

int HimetricToPixels(long himetric, int dpi) {
    long long n = static_cast<long long>(himetric) * dpi;
    return static_cast<int>(n >= 0 ? (n + 1270) / 2540 : -((-n + 1270) / 2540));
}


// One section of an ini file read with a single profile call
// (GetPrivateProfileSection: "key=value" strings one after another, an empty
// one last), its keys then looked up in memory as GetPrivateProfileString
// looks a key up in the file: the name without regard to case or surrounding
// blanks, the first of equal names, a value enclosed in matching quotes
// without them, cut to the buffer, "" when absent. Keys beginning with ';'
// are comments, which the section call leaves out. A start-up that
// reads many keys of few sections asks the system once per section instead of
// once per key.
#pragma once

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

class IniSection {
public:
    IniSection() = default;
    // The section as the profile call wrote it into text (up to the empty string).
    explicit IniSection(const char* text) {
        for (const char* entry = text; entry && *entry; entry += std::char_traits<char>::length(entry) + 1) {
            const std::string line(entry);
            const size_t equals = line.find('=');
            entries_.emplace_back(Trim(line.substr(0, equals)),
                                  equals == std::string::npos ? std::string() : line.substr(equals + 1));
        }
    }

    std::string Value(const std::string& key, size_t size = 512) const {
        const std::string name = Trim(key);
        for (const auto& entry : entries_)
            if (SameName(entry.first, name)) return Copied(entry.second, size);
        return std::string();
    }

    size_t Count() const { return entries_.size(); }

private:
    static std::string Trim(const std::string& text) {
        size_t begin = 0, end = text.size();
        while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
        while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
        return text.substr(begin, end - begin);
    }

    static bool SameName(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }

    // As the string call copies a value into a buffer of size: in characters
    // (a double-byte one counts once), at most size - 1 of them, a leading
    // quote matched by the last character dropped with it (the closing one
    // only when the value fits); then at most size - 1 bytes, never half a
    // character.
    static std::string Copied(const std::string& value, size_t size) {
        if (size == 0) return std::string();
        std::vector<std::string> chars;
        for (size_t i = 0; i < value.size();) {
            const size_t n = LeadByte(value[i]) && i + 1 < value.size() ? 2 : 1;
            chars.push_back(value.substr(i, n));
            i += n;
        }
        const bool quoted = chars.size() >= 2 && (chars[0] == "'" || chars[0] == "\"") && chars.back() == chars[0];
        if (quoted) chars.erase(chars.begin());
        const bool fits = size >= chars.size();
        if (chars.size() > size - 1) chars.resize(size - 1);
        if (quoted && fits && !chars.empty()) chars.pop_back();
        std::string text;
        for (const std::string& c : chars) {
            if (text.size() + c.size() > size - 1) break;
            text += c;
        }
        return text;
    }

    static bool LeadByte(char c) {
#ifdef _WIN32
        return ::IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
#else
        return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE;  // GBK
#endif
    }

    std::vector<std::pair<std::string, std::string>> entries_;
};

#ifdef _WIN32
// How many sections the file holds: the bound of a count the file gives of its
// own sections (a corrupt count is cut to it).
template <class Char, class NamesCall>
size_t CountIniSections(NamesCall names) {
    std::vector<Char> text(64 * 1024);
    DWORD n = 0;
    for (;;) {
        n = names(text.data(), static_cast<DWORD>(text.size()));
        if (n + 2 < text.size() || text.size() >= (1u << 24)) break;
        text.assign(text.size() * 4, Char());
    }
    size_t count = 0;
    for (DWORD i = 0; i < n; ++i)
        if (text[i] == Char() && (i == 0 || text[i - 1] != Char())) ++count;
    return count;
}

inline size_t IniSectionCount(const std::string& file) {
    return CountIniSections<char>([&](char* text, DWORD size) {
        return ::GetPrivateProfileSectionNamesA(text, size, file.c_str());
    });
}

inline size_t IniSectionCount(const std::wstring& file) {
    return CountIniSections<wchar_t>([&](wchar_t* text, DWORD size) {
        return ::GetPrivateProfileSectionNamesW(text, size, file.c_str());
    });
}

// The section of the file in one profile call.
inline IniSection ReadIniSection(const std::string& file, const char* section) {
    std::vector<char> text(8192);
    for (;;) {
        const DWORD n = ::GetPrivateProfileSectionA(section, text.data(), static_cast<DWORD>(text.size()), file.c_str());
        if (n + 2 < text.size() || text.size() >= (1u << 24)) break;
        text.assign(text.size() * 4, '\0');
    }
    text[text.size() - 1] = text[text.size() - 2] = '\0';
    return IniSection(text.data());
}
#endif

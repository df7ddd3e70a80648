#include "lobby/net/base/TextHelpers.h"

// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <vector>

#include "lobby/net/base/Utf8.h"

const std::string& GetProgramFolder() {
    static const std::string folder = [] {
        std::vector<char> path(MAX_PATH);
        for (;;) {
            DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return std::string();
            if (n < path.size()) {
                std::string full = AnsiToUtf8(std::string(path.data(), n));
                return full.substr(0, full.rfind('\\') + 1);
            }
            path.resize(path.size() * 2);
        }
    }();
    return folder;
}

std::string GetSystemErrorText(unsigned long error) {
    char* text = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string ansi;
    if (n && text) ansi.assign(text, n);
    if (text) LocalFree(text);
    std::string out = AnsiToUtf8(ansi);
    std::string clean;
    for (char c : out)
        if (c != '\r' && c != '\n') clean += c;
    return clean;
}

std::string NumberToText(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", value);
    return buf;
}

std::string NumberToText(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u", value);
    return buf;
}

std::wstring AnsiToUtf16(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n) != n)
        return std::wstring();
    return wide;
}

std::string Utf16ToAnsi(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string ansi(static_cast<size_t>(n), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], n, nullptr, nullptr) != n)
        return std::string();
    return ansi;
}

std::wstring Utf8ToWide(const std::string& utf8) {
    std::u16string u = Utf8ToUtf16(utf8);
    return std::wstring(u.begin(), u.end());
}

std::string AnsiToUtf8(const std::string& ansi) {
    std::wstring wide = AnsiToUtf16(ansi);
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string Utf8ToAnsi(const std::string& utf8) { return Utf16ToAnsi(Utf8ToWide(utf8)); }

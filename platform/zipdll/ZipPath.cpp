#include "platform/zipdll/ZipPath.h"

#include <vector>

namespace zip {

namespace {

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool IsDeviceName(const std::wstring& step) {
    std::wstring base = step.substr(0, step.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) c = Upper(c);
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" || base == L"CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

bool SafeStep(const std::wstring& step) {
    if (step.back() == L'.' || step.back() == L' ') return false;  // also "..", "...", " "
    for (wchar_t c : step)
        if (c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return false;
    return !IsDeviceName(step);
}

bool Match(const wchar_t* name, const wchar_t* pattern) {
    // Greedy with one back-track point: the last '*' seen.
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*name) {
        if (*pattern == L'*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == L'?' || (*pattern && Upper(*pattern) == Upper(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == L'*') ++pattern;
    return *pattern == 0;
}

}  // namespace

bool SafeRelativePath(const std::wstring& name, std::wstring& out) {
    if (name.empty() || name[0] == L'/' || name[0] == L'\\') return false;
    std::vector<std::wstring> steps;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of(L"/\\", start);
        if (end == std::wstring::npos) end = name.size();
        const std::wstring step = name.substr(start, end - start);
        start = end + 1;
        if (step.empty() || step == L".") continue;
        if (!SafeStep(step)) return false;
        steps.push_back(step);
    }
    if (steps.empty()) return false;
    std::wstring path;
    for (const std::wstring& step : steps) path += (path.empty() ? L"" : L"\\") + step;
    out = path;
    return true;
}

bool MatchesPattern(const std::wstring& name, const std::wstring& pattern) {
    return pattern == L"*.*" || Match(name.c_str(), pattern.c_str());
}

}  // namespace zip

#include "platform/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Byte length of the character starting at i (1, or 2 for a GBK pair).
size_t CharLen(const std::string& s, size_t i) {
    return (IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

bool InSet(const char* set, char ch) {
    return set && ch != '\0' && std::strchr(set, ch) != nullptr;
}

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

// Index of the first character at or after 'from' whose single byte satisfies pred,
// stepping over double-byte characters; npos when none.
template <class Pred>
size_t FindChar(const std::string& s, size_t from, Pred pred) {
    for (size_t i = 0; i < s.size(); i += CharLen(s, i)) {
        if (i >= from && CharLen(s, i) == 1 && pred(s[i])) return i;
    }
    return std::string::npos;
}

}  // namespace

CString::CString(const char* s, int length) {
    if (s && length > 0) s_.assign(s, static_cast<size_t>(length));
}

int CString::Compare(const char* s) const {
    int r = std::strcmp(s_.c_str(), s ? s : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* s) const {
    CString a(*this), b(s);
    return a.MakeLower().Compare(b.MakeLower());
}

CString CString::Left(int count) const {
    return CString(s_.substr(0, static_cast<size_t>(Clamp(count, 0, GetLength()))));
}

CString CString::Right(int count) const {
    int n = Clamp(count, 0, GetLength());
    return CString(s_.substr(s_.size() - static_cast<size_t>(n)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    int f = Clamp(first, 0, GetLength());
    int n = Clamp(count, 0, GetLength() - f);
    return CString(s_.substr(static_cast<size_t>(f), static_cast<size_t>(n)));
}

CString CString::SpanIncluding(const char* set) const {
    // A double-byte character is never in an ASCII set, so it ends the span too.
    size_t i = 0;
    while (i < s_.size() && CharLen(s_, i) == 1 && InSet(set, s_[i])) ++i;
    return Left(static_cast<int>(i));
}

CString CString::SpanExcluding(const char* set) const {
    size_t i = FindChar(s_, 0, [&](char c) { return InSet(set, c); });
    return Left(static_cast<int>(std::min(i, s_.size())));
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    size_t i = FindChar(s_, static_cast<size_t>(start), [&](char c) { return c == ch; });
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::Find(const char* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t n = std::strlen(sub);
    for (size_t i = 0; i + n <= s_.size(); i += (i < s_.size() ? CharLen(s_, i) : 1)) {
        if (i >= static_cast<size_t>(start) && s_.compare(i, n, sub) == 0) return static_cast<int>(i);
        if (i == s_.size()) break;
    }
    return -1;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (size_t i = 0; i < s_.size(); i += CharLen(s_, i))
        if (CharLen(s_, i) == 1 && s_[i] == ch) found = static_cast<int>(i);
    return found;
}

int CString::FindOneOf(const char* set) const {
    size_t i = FindChar(s_, 0, [&](char c) { return InSet(set, c); });
    return i == std::string::npos ? -1 : static_cast<int>(i);
}

int CString::Replace(char from, char to) {
    int n = 0;
    for (size_t i = 0; i < s_.size(); i += CharLen(s_, i))
        if (CharLen(s_, i) == 1 && s_[i] == from) { s_[i] = to; ++n; }
    return n;
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from) return 0;
    std::string out;
    size_t n = std::strlen(from);
    int count = 0;
    for (size_t i = 0; i < s_.size();) {
        if (i + n <= s_.size() && s_.compare(i, n, from) == 0) {
            out += to ? to : "";
            i += n;
            ++count;
        } else {
            size_t len = CharLen(s_, i);
            out.append(s_, i, len);
            i += len;
        }
    }
    s_.swap(out);
    return count;
}

int CString::Remove(char ch) {
    std::string out;
    int count = 0;
    for (size_t i = 0; i < s_.size();) {
        size_t len = CharLen(s_, i);
        if (len == 1 && s_[i] == ch) ++count;
        else out.append(s_, i, len);
        i += len;
    }
    s_.swap(out);
    return count;
}

int CString::Insert(int index, char ch) {
    s_.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* s) {
    if (s) s_.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::MakeUpper() {
    for (size_t i = 0; i < s_.size(); i += CharLen(s_, i))
        if (CharLen(s_, i) == 1 && s_[i] >= 'a' && s_[i] <= 'z') s_[i] = static_cast<char>(s_[i] - 'a' + 'A');
    return *this;
}

CString& CString::MakeLower() {
    for (size_t i = 0; i < s_.size(); i += CharLen(s_, i))
        if (CharLen(s_, i) == 1 && s_[i] >= 'A' && s_[i] <= 'Z') s_[i] = static_cast<char>(s_[i] - 'A' + 'a');
    return *this;
}

CString& CString::MakeReverse() {
    // Reverse by characters, keeping each double-byte pair in order.
    std::vector<std::string> chars;
    for (size_t i = 0; i < s_.size(); i += CharLen(s_, i)) chars.push_back(s_.substr(i, CharLen(s_, i)));
    std::string out;
    for (auto it = chars.rbegin(); it != chars.rend(); ++it) out += *it;
    s_.swap(out);
    return *this;
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < s_.size() && IsSpace(s_[i])) ++i;
    s_.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char ch) {
    char set[2] = {ch, '\0'};
    return TrimLeft(set);
}

CString& CString::TrimLeft(const char* set) {
    size_t i = 0;
    while (i < s_.size() && InSet(set, s_[i])) ++i;  // a lead byte is never in an ASCII set
    s_.erase(0, i);
    return *this;
}

// Trailing trim walks forward so that a GBK trail byte equal to a set member
// (0x40..0x7E are valid trail bytes) is not cut off its character.
template <class Pred>
static void TrimTail(std::string& s, Pred trim) {
    size_t keep = 0;
    for (size_t i = 0; i < s.size(); i += CharLen(s, i))
        if (!(CharLen(s, i) == 1 && trim(s[i]))) keep = i + CharLen(s, i);
    s.erase(keep);
}

CString& CString::TrimRight() {
    TrimTail(s_, IsSpace);
    return *this;
}

CString& CString::TrimRight(char ch) {
    TrimTail(s_, [ch](char c) { return c == ch; });
    return *this;
}

CString& CString::TrimRight(const char* set) {
    TrimTail(s_, [set](char c) { return InSet(set, c); });
    return *this;
}

CString CString::Tokenize(const char* set, int& pos) const {
    if (pos < 0) return CString();
    size_t i = static_cast<size_t>(pos);
    auto sep = [&](char c) { return InSet(set, c); };
    while (i < s_.size() && CharLen(s_, i) == 1 && sep(s_[i])) ++i;
    if (i >= s_.size()) {
        pos = -1;
        return CString();
    }
    size_t end = FindChar(s_, i, sep);
    if (end == std::string::npos) end = s_.size();
    pos = static_cast<int>(end < s_.size() ? end + 1 : end);
    return CString(s_.substr(i, end - i));
}

void CString::FormatV(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        s_.clear();
        return;
    }
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<size_t>(n));
    s_.swap(out);
}

void CString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const char* fmt, ...) {
    CString tail;
    va_list args;
    va_start(args, fmt);
    tail.FormatV(fmt, args);
    va_end(args);
    s_ += tail.s_;
}

char* CString::GetBuffer(int minLength) {
    size_t want = static_cast<size_t>(std::max(minLength, 0));
    if (s_.size() < want) s_.resize(want, '\0');
    return &s_[0];  // s_[size()] is the terminating NUL, writable as '\0'
}

char* CString::GetBufferSetLength(int length) {
    s_.resize(static_cast<size_t>(std::max(length, 0)), '\0');
    return &s_[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) s_.resize(std::strlen(s_.c_str()));
    else s_.resize(std::min(static_cast<size_t>(newLength), s_.size()));
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

void CStringArray::InsertAt(int i, const CString& s) {
    items_.insert(items_.begin() + Clamp(i, 0, GetSize()), s);
}

void CStringArray::RemoveAt(int i, int count) {
    if (i < 0 || i >= GetSize() || count <= 0) return;
    int end = std::min(GetSize(), i + count);
    items_.erase(items_.begin() + i, items_.begin() + end);
}

std::string CutText(const std::string& text, size_t limit) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t step = IsGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
        if (at + step > limit) break;
        at += step;
    }
    return text.substr(0, at);
}

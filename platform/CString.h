// CString: the framework's 8-bit string. Texts are GBK (code page 936):
// searching, trimming and case changes step over double-byte characters, so a
// trail byte is never taken for an ASCII character.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

#ifndef _WIN32
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef LPCSTR LPCTSTR;
typedef LPSTR LPTSTR;
#else
#include <windows.h>
#endif

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const char* s) : s_(s ? s : "") {}
    CString(const char* s, int length);
    CString(char ch, int repeat = 1) : s_(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::string& s) : s_(s) {}
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* s) { s_ = s ? s : ""; return *this; }
    CString& operator=(char ch) { s_.assign(1, ch); return *this; }

    int GetLength() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    char GetAt(int i) const { return s_.at(static_cast<size_t>(i)); }
    void SetAt(int i, char ch) { s_.at(static_cast<size_t>(i)) = ch; }
    char operator[](int i) const { return GetAt(i); }
    operator LPCTSTR() const { return s_.c_str(); }
    LPCTSTR GetString() const { return s_.c_str(); }
    const std::string& str() const { return s_; }

    CString& operator+=(const CString& s) { s_ += s.s_; return *this; }
    CString& operator+=(const char* s) { if (s) s_ += s; return *this; }
    CString& operator+=(char ch) { s_ += ch; return *this; }
    void Append(const char* s, int length) { if (s && length > 0) s_.append(s, static_cast<size_t>(length)); }
    void AppendChar(char ch) { s_ += ch; }

    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    // Positions are byte offsets; -1 when not found.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* s);
    int Delete(int index, int count = 1);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& Trim() { TrimRight(); return TrimLeft(); }
    CString& Trim(char ch) { TrimRight(ch); return TrimLeft(ch); }
    CString& Trim(const char* set) { TrimRight(set); return TrimLeft(set); }
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);

    // Splits at any character of set, starting at pos; pos becomes -1 at the end.
    CString Tokenize(const char* set, int& pos) const;

    void Format(const char* fmt, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void AppendFormat(const char* fmt, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* fmt, va_list args);

    // Direct access to the characters: write up to minLength bytes and a NUL,
    // then ReleaseBuffer (the length becomes the text up to the first NUL).
    char* GetBuffer(int minLength = 0);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string s_;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);
inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }

// True when byte c starts a double-byte GBK character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// The text cut to at most limit bytes at a character's start (a GBK lead
// byte takes two): what a window shows of a longer text from a server.
std::string CutText(const std::string& text, size_t limit);

class CStringArray {
public:
    int GetSize() const { return static_cast<int>(items_.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return items_.empty(); }
    int Add(const CString& s) { items_.push_back(s); return GetSize() - 1; }
    const CString& GetAt(int i) const { return items_.at(static_cast<size_t>(i)); }
    CString& ElementAt(int i) { return items_.at(static_cast<size_t>(i)); }
    void SetAt(int i, const CString& s) { items_.at(static_cast<size_t>(i)) = s; }
    const CString& operator[](int i) const { return GetAt(i); }
    CString& operator[](int i) { return ElementAt(i); }
    void InsertAt(int i, const CString& s);
    void RemoveAt(int i, int count = 1);
    void RemoveAll() { items_.clear(); }
    void SetSize(int n) { items_.resize(n > 0 ? static_cast<size_t>(n) : 0); }

private:
    std::vector<CString> items_;
};

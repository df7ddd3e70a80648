// Cuts a text into pieces at a separator ("," unless set), dropping empty
// pieces unless told otherwise. The text is trimmed of white space at both
// ends when set; pieces are not trimmed.
#pragma once

#include "platform/CString.h"

class StringSplitter {
public:
    StringSplitter() : m_separator(","), m_skipEmpty(1) {}
    virtual ~StringSplitter() = default;

    void SetText(const CString& text);
    void SetSeparator(const CString& separator) { m_separator = separator; }
    void SetSkipEmpty(int skip) { m_skipEmpty = skip; }
    CString GetText() const { return m_text; }
    CString GetSeparator() const { return m_separator; }

    // Appends the pieces to out.
    void Split(CStringArray& out) const;

private:
    CString m_separator;
    int m_skipEmpty;
    CString m_text;
};

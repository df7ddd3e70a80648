#include "platform/StringSplitter.h"

void StringSplitter::SetText(const CString& text) {
    m_text = text;
    m_text.Trim();
}

void StringSplitter::Split(CStringArray& out) const {
    CString text = m_text;
    const CString& sep = m_separator;
    if (sep.IsEmpty()) {
        // Nothing to cut at: the whole text is the one piece.
        if (!text.IsEmpty() || !m_skipEmpty) out.Add(text);
        return;
    }
    if (text.IsEmpty() || text.Right(1) != sep.Left(1)) text += sep;
    for (int at = text.Find(sep); at >= 0; at = text.Find(sep)) {
        CString piece = text.Left(at);
        if (!piece.IsEmpty() || !m_skipEmpty) out.Add(piece);
        text = text.Mid(at + 1);
    }
}

// The lobby's read-only chat box: lines appended in a colour, emote codes
// shown as embedded animated GIF controls (ImageOle.dll), or as their text
// where the control fails, clicked links opened with the shell.
#pragma once

#include <string>
#include <vector>

#include "lobby/net/base/Locks.h"
#include "lobby/ui/StringTable.h"
#include "platform/Framework.h"

class CExRichEdit : public CRichEditCtrl, public CCirSecLock {
public:
    struct Link {
        long position;
        CString text;
        CString target;
    };

    void AppendColoredText(LPCSTR text, COLORREF color);
    // -1 without an emote table or with an empty text, else 0.
    int AppendMessage(LPCSTR text, COLORREF color);
    // FALSE when the picture cannot be embedded; the first failure's system
    // text is kept for TakeGifError. No box here: the caller may hold the
    // lobby lock.
    BOOL InsertGif(LPCSTR path);
    // The text of the first failed picture, once; empty after that.
    CString TakeGifError();
    void ScrollToEnd() { PostMessage(WM_VSCROLL, SB_BOTTOM, 0); }
    void Clear();
    void SetEmoteTable(const StringTable* table) { m_pEmotes = table; }
    void AddLink(long position, LPCSTR text, LPCSTR target);
    // Embedded objects (the pictures) in the box.
    int GetObjectCount() const;

protected:
    void OnLink(NMHDR* header, LRESULT* result);

private:
    const StringTable* m_pEmotes = nullptr;
    std::vector<Link> m_links;
    bool m_gifFailed = false;
    CString m_gifError;

    DECLARE_MESSAGE_MAP()
};

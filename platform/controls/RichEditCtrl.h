// Rich edit 2.0 controls (class "RichEdit20A"; AfxInitRichEdit2 loads it).
#pragma once

#include <windows.h>
#include <richedit.h>
#include <richole.h>

#include "platform/Wnd.h"

class CRichEditCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    DWORD SetEventMask(DWORD mask) { return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask))); }
    DWORD GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
    // Embedded objects ask the callback for their storage. TRUE when taken.
    BOOL SetOLECallback(IRichEditOleCallback* callback) {
        return static_cast<BOOL>(SendMessage(EM_SETOLECALLBACK, 0, reinterpret_cast<LPARAM>(callback)));
    }
    COLORREF SetBackgroundColor(BOOL useSystem, COLORREF c) {
        return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, useSystem, static_cast<LPARAM>(c)));
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    void LimitText(long chars = 0) { SendMessage(EM_EXLIMITTEXT, 0, chars); }

    void SetSel(long start, long end);
    void GetSel(long& start, long& end) const;
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) {
        SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
    }
    BOOL SetSelectionCharFormat(CHARFORMATA& cf) {
        cf.cbSize = sizeof cf;
        return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
    }
    BOOL SetDefaultCharFormat(CHARFORMATA& cf) {
        cf.cbSize = sizeof cf;
        return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
    }
    long GetTextLength() const { return static_cast<long>(::GetWindowTextLengthA(m_hWnd)); }
    CString GetTextRange(long first, long last) const;

    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    int GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
    BOOL LineScroll(int lines, int chars = 0) { return static_cast<BOOL>(SendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines)); }
    long LineFromChar(long index) const { return static_cast<long>(SendMessage(EM_EXLINEFROMCHAR, 0, index)); }
    int LineIndex(int line = -1) const { return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); }
    void GetRect(LPRECT rect) const { SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(rect)); }
    CPoint PosFromChar(UINT index) const;
    int CharFromPos(CPoint point) const;
};

#include "platform/controls/RichEditCtrl.h"

#include <vector>

#include "platform/AppServices.h"

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!AfxInitRichEdit2()) return FALSE;
    return CreateEx(0, RICHEDIT_CLASSA, "", style, rect, parent, id);
}

void CRichEditCtrl::SetSel(long start, long end) {
    CHARRANGE range{start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditCtrl::GetSel(long& start, long& end) const {
    CHARRANGE range{0, 0};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    start = range.cpMin;
    end = range.cpMax;
}

CString CRichEditCtrl::GetTextRange(long first, long last) const {
    if (last < first) return CString();
    // Two bytes a character: GBK text.
    std::vector<char> buf(static_cast<size_t>(last - first) * 2 + 1, '\0');
    TEXTRANGEA range{{first, last}, buf.data()};
    SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return CString(buf.data());
}

CPoint CRichEditCtrl::PosFromChar(UINT index) const {
    POINTL p{0, 0};
    SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), static_cast<LPARAM>(index));
    return CPoint(static_cast<int>(p.x), static_cast<int>(p.y));
}

int CRichEditCtrl::CharFromPos(CPoint point) const {
    POINTL p{point.x, point.y};
    return static_cast<int>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p)));
}

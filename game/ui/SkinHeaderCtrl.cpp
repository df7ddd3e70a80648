#include "game/ui/SkinHeaderCtrl.h"

#include "game/ui/SkinPaint.h"

BEGIN_MESSAGE_MAP(CSkinHeaderCtrl, CHeaderCtrl)
ON_MESSAGE(HDM_LAYOUT, OnLayout)
ON_NOTIFY_REFLECT(HDN_BEGINTRACKA, OnRefuse)
ON_NOTIFY_REFLECT(HDN_BEGINTRACKW, OnRefuse)
ON_NOTIFY_REFLECT(HDN_DIVIDERDBLCLICKA, OnRefuse)
ON_NOTIFY_REFLECT(HDN_DIVIDERDBLCLICKW, OnRefuse)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

LRESULT CSkinHeaderCtrl::OnLayout(WPARAM, LPARAM lParam) {
    const LRESULT result = Default();
    HDLAYOUT* layout = reinterpret_cast<HDLAYOUT*>(lParam);
    const int height = skin::Height(m_span);
    if (layout && layout->pwpos && layout->prc && height > 0) {
        layout->pwpos->cy = height;
        layout->prc->top = height;
    }
    return result;
}

void CSkinHeaderCtrl::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC buffer(paint, client);
    HDC dc = buffer;
    HWND list = ::GetParent(m_hWnd);
    buffer.FillSolidRect(&client, static_cast<COLORREF>(::SendMessageA(list, LVM_GETBKCOLOR, 0, 0)));
    skin::Draw(m_span, dc, 0, 0, client.Width(), client.Height());
    const int startW = skin::Width(m_start), endW = skin::Width(m_end);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    ::SetTextColor(dc, m_textColour);
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < GetItemCount(); ++i) {
        char text[256] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        CRect r;
        if (!GetItem(i, &item) || !GetItemRect(i, &r)) continue;
        if (item.iOrder == 0) {
            skin::Draw(m_start, dc, r.left, 0);
        } else {
            skin::Draw(m_start, dc, r.left - 1, 0);
            if (m_span && m_span->IsValid()) m_span->Draw(dc, r.left + startW - 1, 0, 1, skin::Height(m_span));
        }
        skin::Draw(m_span, dc, r.left + startW, 0, r.Width() - startW - endW, skin::Height(m_span));
        skin::Draw(m_end, dc, r.right - endW, 0);
        CRect textRect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
        ::DrawTextA(dc, text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    ::SelectObject(dc, oldFont);
}

#include "lobby/ui/DlgFaceSel.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/PanelRules.h"

BEGIN_MESSAGE_MAP(CDlgFaceSel, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

BOOL CDlgFaceSel::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pTable) {
        for (const auto& entry : m_pTable->Entries()) {
            wchar_t wide[MAX_PATH] = L"";
            ::MultiByteToWideChar(CP_ACP, 0, entry.second.c_str(), -1, wide, MAX_PATH);
            Cell cell;
            cell.image = std::make_unique<GifFrames>();
            if (!cell.image->Load(wide)) continue;  // an emote that does not load is left out
            const int i = static_cast<int>(m_cells.size());
            cell.rect = CRect(3 + (i % 8) * 27, 3 + (i / 8) * 27, 27 + (i % 8) * 27, 27 + (i / 8) * 27);
            cell.path = entry.second.c_str();
            cell.code = entry.first.c_str();
            m_cells.push_back(std::move(cell));
        }
    }
    if (m_nX > 0 && m_nY > 0) {
        const int height = FacePickerHeight(static_cast<int>(m_cells.size()));
        MoveWindow(m_nX, m_nY - height, 216, height);
    }
    SetTimer(1, 300);
    return TRUE;
}

CDlgFaceSel::Cell* CDlgFaceSel::Hovered() {
    for (Cell& c : m_cells)
        if (c.hovered) return &c;
    return nullptr;
}

void CDlgFaceSel::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    Cell* hovered = nullptr;
    for (Cell& c : m_cells) {
        const UINT current = c.image->Current();
        c.image->Select(0);
        c.image->Draw(dc, c.rect);
        c.image->Select(current);
        if (c.hovered) {
            hovered = &c;
            ::Rectangle(dc, c.rect.left - 1, c.rect.top - 1, c.rect.right + 1, c.rect.bottom + 1);
        }
    }
    if (hovered) {
        const int w = hovered->image->Width(), h = hovered->image->Height();
        const int x = hovered->rect.left <= client.Width() / 2 ? client.Width() - w - 10 : 10;
        ::Rectangle(dc, x - 5, 10 - 5, x + w + 5, 10 + h + 5);
        hovered->image->Draw(dc, CRect(x, 10, x + w, 10 + h));
    }
    ::SelectObject(dc, oldBrush);
}

void CDlgFaceSel::OnMouseMove(UINT, CPoint point) {
    bool repaint = false;
    for (Cell& c : m_cells) {
        const bool now = c.rect.PtInRect(point) != 0;
        if (now && !c.hovered) repaint = true;
        c.hovered = now;
    }
    if (repaint) Invalidate(FALSE);
}

void CDlgFaceSel::OnTimer(UINT_PTR id) {
    if (id == 1) {
        if (Cell* c = Hovered()) {
            c->image->Advance();
            Invalidate(FALSE);
        }
    }
}

void CDlgFaceSel::OnLButtonDown(UINT, CPoint point) {
    for (Cell& c : m_cells) {
        if (!c.rect.PtInRect(point)) continue;
        char code[64] = "";
        lstrcpynA(code, c.code, sizeof code);
        ::SendMessageA(::GetParent(m_hWnd), kMsgFaceChosen, 0, reinterpret_cast<LPARAM>(code));
        ShowWindow(SW_HIDE);
        return;
    }
}

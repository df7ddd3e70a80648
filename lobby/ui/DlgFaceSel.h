// The emote picker of the room chat: a grid of 24 x 24 animated emotes, the
// hovered one also shown at its own size; a click sends kMsgFaceChosen (0, the
// code text) to the parent panel and hides the picker.
#pragma once

#include <memory>
#include <vector>

#include "lobby/ui/StringTable.h"
#include "platform/Framework.h"
#include "platform/GifFrames.h"

class CDlgFaceSel : public CDialog {
public:
    enum { IDD = 148 };
    struct Cell {
        bool hovered = false;
        CRect rect;
        std::unique_ptr<GifFrames> image;
        CString path, code;
    };

    CDlgFaceSel() : CDialog(IDD) {}
    void SetEmoteTable(const StringTable* table) { m_pTable = table; }
    void SetAnchor(int x, int y) {
        m_nX = x;
        m_nY = y;
    }
    const std::vector<Cell>& GetCells() const { return m_cells; }

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { ShowWindow(SW_HIDE); }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT, CPoint) { ShowWindow(SW_HIDE); }
    void OnKillFocus(CWnd*) { ShowWindow(SW_HIDE); }
    Cell* Hovered();

    std::vector<Cell> m_cells;
    const StringTable* m_pTable = nullptr;
    int m_nX = -1, m_nY = -1;

    DECLARE_MESSAGE_MAP()
};

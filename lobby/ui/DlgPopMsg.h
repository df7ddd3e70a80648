// A pop-up notice: a top-most window that slides up from the bottom-right
// corner of the work area, stays its display time (0: until closed) and
// closes itself; on destruction it posts kMsgPopupNotice (0, id) to its owner.
// Its text's "$label,address$" pieces are links.
#pragma once

#include <vector>

#include "lobby/ui/PngButton.h"
#include "platform/Framework.h"

namespace Gdiplus {
class Image;
}

class CDlgPopMsg : public CDialog {
public:
    enum { IDD = 152 };
    CDlgPopMsg() : CDialog(IDD) {}
    ~CDlgPopMsg() override;

    void SetTexts(LPCSTR text, LPCSTR caption, int displayTime, int style);
    void SetOffsets(int x, int y) {
        m_nOffsetX = x;
        m_nOffsetY = y;
    }
    void SetOwner(HWND owner) { m_hOwner = owner; }
    void SetId(int id) { m_nId = id; }
    int GetId() const { return m_nId; }
    CRect GetTargetRect() const { return m_target; }
    const std::vector<CWnd*>& GetPieces() const { return m_pieces; }

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { DestroyWindow(); }
    // Escape never closes a notice.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void ParseNoticeText(const CString& text);
    void AddTextPiece(const std::string& text, COLORREF color, COLORREF glow);
    void AddLinkPiece(const std::string& text, COLORREF color, COLORREF hover, COLORREF glow);
    Gdiplus::Image* Background() const { return m_nStyle == 1 ? m_pBk2 : m_pBk; }

    void OnTimer(UINT_PTR id);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnNcDestroy();
    void OnCloseButton();
    LRESULT OnPopMessage(WPARAM wParam, LPARAM lParam);

    CString m_text, m_caption;
    int m_nStyle = 0;
    HWND m_hOwner = nullptr;
    int m_nId = 0;
    int m_nDisplayTime = 60000;
    int m_nOffsetX = 5, m_nOffsetY = 5;
    int m_nStep = 10, m_nSteps = 16, m_nRemainder = 0, m_nTicks = 0;
    int m_nPeriod = 30;
    int m_nPieceX = 10, m_nPieceY = 35;
    int m_nFontSize = 14;
    std::vector<CWnd*> m_pieces;
    CWnd* m_pTitle = nullptr;
    CPngButton1 m_btnClose;
    Gdiplus::Image *m_pBk = nullptr, *m_pClose = nullptr, *m_pBk2 = nullptr, *m_pClose2 = nullptr;
    CRect m_target, m_current;

    DECLARE_MESSAGE_MAP()
};

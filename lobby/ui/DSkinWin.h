// A hook that gives a dialog the skin's caption, border and caption buttons
// and turns clicks on those buttons into close, minimise, maximise, restore.
#pragma once

#include "lobby/ui/SkinGeometry.h"
#include "lobby/ui/SubclassWnd.h"
#include "platform/CString.h"
#include "platform/Types.h"

class CDC;
class CSkinRes;

class CDSkinWin : public CSubclassWnd {
public:
    void SetSkin(CSkinRes* skin);
    BOOL InstallSkin(CWnd* dlg);
    BOOL Maximize();
    BOOL Minimize();
    BOOL Restore();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The frame as the hit test sees it, for the window's present size.
    SkinFrameLayout Layout() const;
    bool IsMaximized() const { return m_bMaximized; }

private:
    int HitTest(CPoint screen) const;
    void ComputeButtons();
    void PaintFrame();
    // Steps 1 to 3 of the frame: the caption band, its text and buttons, W wide.
    void DrawCaption(CDC* dc, int W);
    void Repaint() { PaintFrame(); }
    bool IsSizingCode(int code) const { return code >= 10 && code <= 17; }
    // The maximise button's rectangle and bitmap (restore while maximised).
    CRect ButtonRect(int code) const;

    bool m_bInstalled = false;
    CSkinRes* m_pSkin = nullptr;
    bool m_bHaveSkin = false;
    bool m_bActive = true;
    bool m_bMaxBox = false, m_bSizable = false, m_bMinBox = false;
    int m_nHover = 0, m_nPressed = 0, m_nLastHover = 0;
    bool m_bMaximized = false, m_bSavedMaximized = false;
    // Insets from the window's right edge: left = W - m_rc.left etc.
    CRect m_rcClose, m_rcMax, m_rcRestore, m_rcMin;
    CString m_title;
};

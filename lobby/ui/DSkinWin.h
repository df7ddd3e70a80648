// A hook that gives a dialog the skin's caption, border and caption buttons
// and turns clicks on those buttons into close, minimise, maximise, restore.
// The dialog keeps it as a member and installs it in its set-up; its map sees
// the dialog's non-client messages before the dialog's own.
#pragma once

#include "lobby/ui/SkinGeometry.h"
#include "platform/CString.h"
#include "platform/Types.h"
#include "platform/Wnd.h"

class CSkinRes;

class CDSkinWin : public CSubclassWnd {
public:
    void SetSkin(CSkinRes* skin);
    BOOL InstallSkin(CWnd* dlg);
    BOOL Maximize();
    BOOL Minimize();
    BOOL Restore();

    // The frame as the hit test sees it, for the window's present size.
    SkinFrameLayout Layout() const;
    bool IsMaximized() const { return m_bMaximized; }

private:
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint screen) { return HitTest(screen); }
    void OnNcPaint() { PaintFrame(); }
    BOOL OnNcActivate(BOOL active);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    LRESULT OnSetText(WPARAM, LPARAM text);
    void OnNcMouseMove(UINT hit, CPoint);
    void OnNcLButtonDown(UINT hit, CPoint);
    LRESULT OnNcLButtonUp(WPARAM hit, LPARAM);
    void OnNcLButtonDblClk(UINT hit, CPoint);
    void OnSysCommand(UINT id, LPARAM);
    // The themed caption drawing message (0x00AE): swallowed.
    LRESULT OnThemedCaption(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()

    int HitTest(CPoint screen) const;
    void ComputeButtons();
    // The frame from its kept picture, drawn again when the window's size, the
    // skin, the activation, a caption button's look or the title changed.
    void PaintFrame();
    // The caption (over black, within its band), the sides and the bottom.
    void DrawFrame(CDC* dc, int W, int H);
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

    // What the kept picture of the frame shows.
    struct Look {
        const CSkinRes* skin = nullptr;
        unsigned generation = 0;
        bool active = false, maximized = false;
        int hover = 0, pressed = 0;
        CString title;
        bool operator==(const Look& o) const {
            return skin == o.skin && generation == o.generation && active == o.active && maximized == o.maximized &&
                   hover == o.hover && pressed == o.pressed && title == o.title;
        }
    };
    Look CurrentLook() const;
    CBitmap m_frame;  // the window's size; only the frame's parts reach the window
    Look m_look;
};

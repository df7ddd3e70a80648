// A push button drawn from bitmaps (normal, hover, pressed, disabled),
// clipped to the non-magenta shape of its normal face, with a hand cursor,
// an optional tooltip and caption, and an optional radio-like group in which
// at most one button is checked.
#pragma once

#include <map>

#include "platform/Framework.h"

// A region of the bitmap's pixels that are not the key colour, scanning the
// first rows rows (all rows when 0); NULL for a NULL bitmap. The caller owns it.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key, int rows);
// Makes target a grey copy of source; magenta stays magenta.
void MakeGrayBitmap(CBitmap* source, CBitmap* target);

class CBmpButton : public CButton {
public:
    CBmpButton() = default;
    ~CBmpButton() override;

    // A NULL disabled face is replaced by a grey copy of the normal face.
    void SetBitmaps(CBitmap* normal, CBitmap* hover, CBitmap* pressed, CBitmap* disabled);
    // Caption at (x, y) over the face; a negative coordinate centres it.
    void SetButtonText(LPCSTR text, int x = -1, int y = -1);
    const CString& GetButtonText() const { return m_caption; }
    void SetCheck(BOOL check);
    BOOL GetCheck() const { return m_checked; }
    void EnableButton(BOOL enable);
    void SetTooltipText(LPCSTR text, BOOL activate = TRUE);
    void SetGroupID(int id) { m_groupId = id; }
    int GetGroupID() const { return m_groupId; }
    CBitmap* GetCurrentFace() const { return m_current; }

    static void SetDefaultFont(CFont* font, COLORREF color);
    static void SetOutlineColor(COLORREF color) { s_outlineColor = color; }
    static void SetShadow(BOOL shadow) { s_shadow = shadow; }
    static void SetOutline(BOOL outline) { s_outline = outline; }

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}

protected:
    void PreSubclassWindow() override;

    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    BOOL OnEraseBkgnd(CDC* dc);

    DECLARE_MESSAGE_MAP()

private:
    void SetFace(CBitmap* face);
    void Check();
    void Uncheck();
    // Makes this the group's registered button, unchecking the one before.
    void RegisterInGroup();
    void EnsureTooltip();

    int m_groupId = -1;
    CString m_caption;
    int m_captionX = -1;
    int m_captionY = -1;
    CBitmap* m_normal = nullptr;
    CBitmap* m_hover = nullptr;
    CBitmap* m_pressed = nullptr;
    CBitmap* m_disabled = nullptr;
    CBitmap* m_current = nullptr;
    BOOL m_enabled = TRUE;
    BOOL m_handShown = FALSE;
    BOOL m_ownsDisabled = FALSE;
    CToolTipCtrl m_tooltip;
    BOOL m_checked = FALSE;

    static std::map<int, CBmpButton*> s_groups;
    static COLORREF s_textColor;
    static COLORREF s_outlineColor;
    static BOOL s_shadow;
    static BOOL s_outline;
    static CFont s_font;
};

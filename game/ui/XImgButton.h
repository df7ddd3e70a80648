// CXImgButton: the table's picture push button. Four faces (normal, hover,
// pressed, disabled) drawn from pictures with magenta as the transparent
// colour, the window clipped to the picture's shape, a hand cursor, a
// tooltip, an optional multi-line caption and an optional radio-like group
// in which one button is registered at a time.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/Framework.h"
#include "platform/vantor/CxImage.h"

class CXImgButton : public CButton {
public:
    CXImgButton() = default;
    ~CXImgButton() override;

    // A null disabled face becomes a grey copy of the normal face, owned by
    // the button. Moves the button to its place sized to the normal face and
    // clips it to that face's shape.
    void SetImages(CxImage* normal, CxImage* hover, CxImage* pressed, CxImage* disabled = nullptr);
    // The same with a copy of the given region as the window's shape (none
    // when null).
    void SetImagesWithRgn(CxImage* normal, CxImage* hover, CxImage* pressed, HRGN region,
                          CxImage* disabled = nullptr);
    // The disabled face shows whenever the window is disabled, by this call
    // or by EnableWindow.
    void EnableButton(BOOL enable);
    // Lines cut at "\n"; x or y below 1 centres the caption on the face; a
    // line step below 1 steps by each line's height.
    void SetCaption(LPCSTR text, int x = 0, int y = 0, int lineStep = 0);
    const CString& GetCaption() const { return m_caption; }
    void SetToolTipText(LPCSTR text, BOOL activate = TRUE);
    void SetCaptionFont(CFont* font);
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void SetOutline(BOOL outline, COLORREF color) { m_outline = outline, m_outlineColor = color; }
    void SetShadow(BOOL shadow) { m_shadow = shadow; }
    // Line i drawn at positions[i] (when given).
    void SetLinePositions(const std::vector<std::pair<int, int>>& positions) { m_linePositions = positions; }
    void SetGroupID(int id) { m_groupId = id; }
    int GetGroupID() const { return m_groupId; }
    void Check();
    void Uncheck();
    BOOL IsChecked() const { return m_checked; }
    CxImage* GetCurrentFace() const { return m_current; }
    CxImage* GetDisabledFace() const { return m_disabled; }

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC* dc);
    void OnEnable(BOOL enable);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnRButtonDown(UINT flags, CPoint point) { CButton::OnRButtonDown(flags, point); }

    DECLARE_MESSAGE_MAP()

private:
    void SetFaces(CxImage* normal, CxImage* hover, CxImage* pressed, CxImage* disabled);
    void FitToFace();
    void SetFace(CxImage* face);
    void ShowEnabled(BOOL enable);
    void GroupClick();
    // The tooltip window is made on the first mouse message after a text was
    // set: a button nobody points at costs no window.
    void EnsureTooltip();
    // Writes the caption's lines into the canvas (a copy of the face).
    void DrawCaption(CDC* dc, CxImage& canvas);

    CxImage* m_normal = nullptr;
    CxImage* m_hover = nullptr;
    CxImage* m_pressed = nullptr;
    CxImage* m_disabled = nullptr;
    CxImage* m_current = nullptr;
    CToolTipCtrl m_tooltip;
    CString m_tipText;
    BOOL m_tipActive = TRUE;
    bool m_tipSet = false;
    BOOL m_enabled = TRUE;
    BOOL m_handShown = FALSE;
    BOOL m_ownsDisabled = FALSE;
    CFont m_captionFont;
    COLORREF m_textColor = 0;
    int m_groupId = -1;
    CString m_caption;
    CStringArray m_lines;
    int m_captionX = 0;
    COLORREF m_outlineColor = 0xFFFFFF;
    BOOL m_shadow = FALSE;
    BOOL m_outline = FALSE;
    int m_captionY = 0;
    BOOL m_useCaptionFont = FALSE;
    BOOL m_checked = FALSE;
    int m_lineStep = 0;
    std::vector<std::pair<int, int>> m_linePositions;
    CxImage m_canvas;  // the face with the caption written on it

    static std::map<int, CXImgButton*> s_groups;
};

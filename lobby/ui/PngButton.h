// Owner-drawn push buttons painted from GDI+ images: one strip of four
// frames (normal, hover, pressed, disabled) or four separate images. They
// size themselves to one frame, show the hand cursor and track hovering.
// PngButton also tells its parent of a press at once (kMsgPngButtonPressed, before the
// release); CPngButton1 reports clicks only as BN_CLICKED.
#pragma once

#include "platform/Controls.h"

namespace Gdiplus {
class Image;
class Graphics;
}

class CPngButtonBase : public CButton {
public:
    CPngButtonBase();
    ~CPngButtonBase() override;

    void SetImage(Gdiplus::Image* strip);
    void SetImages(Gdiplus::Image* normal, Gdiplus::Image* hover, Gdiplus::Image* pressed,
                   Gdiplus::Image* disabled);
    bool IsHovering() const { return m_bHover; }
    int FrameWidth() const { return m_nFrameWidth; }

    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeaveMsg(WPARAM, LPARAM);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

protected:
    // Frame 0 normal, 1 hover, 2 pressed, 3 disabled of the strip, or that state's image.
    void DrawState(Gdiplus::Graphics& g, int state);
    // Paints into a memory bitmap of the client size and copies it to dc.
    template <class Fn> void Buffered(HDC dc, Fn paint);
    void SizeTo(int width, int height);

    HCURSOR m_hCursor = nullptr;
    Gdiplus::Image* m_pStrip = nullptr;
    Gdiplus::Image* m_pImages[4] = {};
    int m_nWidth = 0, m_nHeight = 0, m_nFrameWidth = 0;
    bool m_bTracking = false, m_bHover = false;

    DECLARE_MESSAGE_MAP()
};

class PngButton : public CPngButtonBase {
public:
    void SetText(LPCSTR text, int x = -1, int y = -1);
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void ShowText(BOOL show) { m_bShowText = show != FALSE; }
    void SetFill(BOOL fill) { m_bFill = fill != FALSE; }
    void SetFillColor(COLORREF color) { m_fillColor = color; }
    void SetOverlay(Gdiplus::Image* overlay) { m_pOverlay = overlay; }
    void SetState(int state);
    int GetDisplayState() const { return m_nState; }
    BOOL EnableWindow(BOOL enable = TRUE);

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void OnLButtonDown(UINT flags, CPoint point);

private:
    bool m_bEnabled = true;
    bool m_bFill = false;
    COLORREF m_fillColor = 0;
    Gdiplus::Image* m_pOverlay = nullptr;
    int m_nState = 0;
    CString m_text;
    COLORREF m_textColor = 0;
    int m_nTextX = -1, m_nTextY = -1;
    bool m_bShowText = false;

    DECLARE_MESSAGE_MAP()
};

class CPngButton1 : public CPngButtonBase {
public:
    void SetBkColor(COLORREF color) { m_bkColor = color; }
    // -1 nothing, 0 solid background colour, 1 to 6 the parent's skinned frame of that type.
    void SetBkMode(int mode) { m_nBkMode = mode; }
    void SetDisabledLook(BOOL flag) { m_bDisabledLook = flag != FALSE; }
    void SetTextColor(COLORREF color) { m_textColor = color; }
    void ShowText(BOOL show) { m_bShowText = show != FALSE; }
    // Paints the resting look at once.
    void Redraw();

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void OnLButtonDown(UINT flags, CPoint point);

private:
    void Paint(HDC dc, bool pressed, bool hover);

    int m_nBkMode = 0;
    COLORREF m_bkColor = RGB(255, 255, 255);
    bool m_bDisabledLook = false;
    COLORREF m_textColor = 0;
    bool m_bShowText = false;

    DECLARE_MESSAGE_MAP()
};

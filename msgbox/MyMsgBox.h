// The skinned message box: lines of text under a caption band, an optional
// warning picture, OK or Yes/No buttons and an optional count-down that
// ends the box by itself.
#pragma once

#include "msgbox/BmpButton.h"
#include "platform/Framework.h"

class CMyMsgBox : public CDialog {
public:
    // Timer of the count-down (and of the expiry after HideAndExpire).
    static constexpr UINT_PTR kTimerId = 0x247EAC67;

    CMyMsgBox(const char* text, const char* caption, UINT type, int timeoutSeconds, CWnd* parent);
    ~CMyMsgBox() override;

    // Hides the box and makes it end itself about one second later.
    void HideAndExpire();

    BOOL PreTranslateMessage(MSG* msg) override;

    const CStringArray& GetLines() const { return m_lines; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnYes() { EndDialog(IDYES); }
    void OnNo() { EndDialog(IDNO); }
    void OnRetry() { EndDialog(IDRETRY); }
    void DrawSkin(CDC* dc);

    DECLARE_MESSAGE_MAP()

private:
    // The fourteen skin bitmaps, in load order.
    enum {
        kFace, kFaceHover, kFacePressed, kWarning, kTopLeft, kLeft, kBottomLeft, kTop, kTopRight, kRight,
        kBottomRight, kBottom, kUpperLine, kLowerLine, kBitmapCount
    };

    bool HasWarning() const { return (m_type & 0x30) == 0x30; }
    bool IsYesNo() const { return (m_type & MB_YESNO) != 0; }
    static CFont* TextFont();  // the box's text font, shared
    // Bitmap b stretched (StretchBlt, SRCCOPY) to the rectangle.
    void Stretch(CDC* dc, int b, int x, int y, int cx, int cy);
    void TintFrame(CDC* dc);
    void ShowButton(CBmpButton& button, int x, int y, LPCSTR text);

    CStringArray m_lines;
    CString m_caption;
    UINT m_type;
    int m_secondsLeft;
    UINT m_msCarried = 0;
    DWORD m_lastTick = 0;
    CBmpButton m_btnOK;
    CBmpButton m_btnCancel;
    CBmpButton m_btnYes;
    CBmpButton m_btnNo;
    CBmpButton m_btnRetry;
    CBitmap* m_bitmaps[kBitmapCount];
    // Sizes of the corner, edges, warning picture and button face.
    BITMAP m_bmTopLeft{};
    BITMAP m_bmLeft{};
    BITMAP m_bmBottomLeft{};
    BITMAP m_bmTop{};
    BITMAP m_bmBottom{};
    BITMAP m_bmWarning{};
    BITMAP m_bmFace{};
    CRect m_boxRect;
    CRect m_textRect;
};

#include "msgbox/MyMsgBox.h"

#include <algorithm>

#include "msgbox/resource.h"
#include "platform/StringSplitter.h"
#include "platform/ostral/RenderMgr.h"
#include "platform/TextFont.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTint = RGB(228, 75, 39);
constexpr int kLineStep = 17;  // a line of the 14-pixel font and its 3-pixel gap
constexpr int kGap = 14;
// A server's text beyond these is cut at a character's start: the box grows
// with its text, and its frame is drawn column by column.
constexpr size_t kMaxText = 1000;
constexpr size_t kMaxLine = 160;

const UINT kBitmapIds[] = {IDB_FACE,     IDB_FACEHOVER, IDB_FACE,    IDB_WARNING, IDB_TOPLEFT,
                           IDB_LEFT,     IDB_BOTTOMLEFT, IDB_TOP,    IDB_TOPRIGHT, IDB_RIGHT,
                           IDB_BOTTOMRIGHT, IDB_BOTTOM, IDB_UPPERLINE, IDB_LOWERLINE};

BYTE ToAlpha(float alpha) { return static_cast<BYTE>(std::min(255.0f, std::max(0.0f, alpha))); }

// A region made from a masked corner bitmap, moved to (x, y) and added to rgn.
void AddCornerRegion(CRgn& rgn, CBitmap* bitmap, int x, int y) {
    HRGN corner = CreateRegionFromBitmap(*bitmap, kMagenta, 0);
    if (!corner) return;
    ::OffsetRgn(corner, x, y);
    rgn.CombineRgn(rgn, corner, RGN_OR);
    ::DeleteObject(corner);
}

void AddRect(CRgn& rgn, int l, int t, int r, int b) {
    HRGN band = ::CreateRectRgn(l, t, r, b);
    rgn.CombineRgn(rgn, band, RGN_OR);
    ::DeleteObject(band);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMyMsgBox, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDYES, OnYes)
    ON_BN_CLICKED(IDNO, OnNo)
    ON_BN_CLICKED(IDRETRY, OnRetry)
END_MESSAGE_MAP()

CMyMsgBox::CMyMsgBox(const char* text, const char* caption, UINT type, int timeoutSeconds, CWnd* parent)
    : CDialog(IDD_MYMSGBOX, parent), m_caption(caption), m_type(type), m_secondsLeft(timeoutSeconds) {
    StringSplitter splitter;
    splitter.SetText(CutText(text ? text : "", kMaxText).c_str());
    splitter.SetSeparator("\n");
    splitter.SetSkipEmpty(1);
    splitter.Split(m_lines);
    for (int i = 0; i < m_lines.GetSize(); ++i)
        if (static_cast<size_t>(m_lines[i].GetLength()) > kMaxLine) m_lines[i] = CutText(m_lines[i].str(), kMaxLine).c_str();
    for (auto& b : m_bitmaps) b = new CBitmap;
}

CMyMsgBox::~CMyMsgBox() {
    for (auto& b : m_bitmaps) {
        delete b;
        b = nullptr;
    }
}

CFont* CMyMsgBox::TextFont() { return CFont::FromHandle(AfxTextFont("Arial", 14, 400, FALSE, 4, 32)); }

void CMyMsgBox::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDYES, m_btnYes);
    DDX_Control(dx, IDNO, m_btnNo);
    DDX_Control(dx, IDRETRY, m_btnRetry);
}

void CMyMsgBox::ShowButton(CBmpButton& button, int x, int y, LPCSTR text) {
    button.EnableWindow(TRUE);
    button.ShowWindow(SW_SHOW);
    button.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    button.SetBitmaps(m_bitmaps[kFace], m_bitmaps[kFaceHover], m_bitmaps[kFacePressed], nullptr);
    button.SetButtonText(text, -1, -1);
}

BOOL CMyMsgBox::OnInitDialog() {
    CDialog::OnInitDialog();

    for (int i = 0; i < kBitmapCount; ++i) m_bitmaps[i]->LoadBitmap(kBitmapIds[i]);
    m_bitmaps[kTopLeft]->GetBitmap(&m_bmTopLeft);
    m_bitmaps[kLeft]->GetBitmap(&m_bmLeft);
    m_bitmaps[kBottomLeft]->GetBitmap(&m_bmBottomLeft);
    m_bitmaps[kTop]->GetBitmap(&m_bmTop);
    m_bitmaps[kBottom]->GetBitmap(&m_bmBottom);
    m_bitmaps[kWarning]->GetBitmap(&m_bmWarning);
    m_bitmaps[kFace]->GetBitmap(&m_bmFace);

    CDC* dc = GetDC();
    CFont* oldFont = dc->SelectObject(TextFont());

    for (CBmpButton* b : {&m_btnOK, &m_btnCancel, &m_btnYes, &m_btnNo, &m_btnRetry}) {
        b->EnableWindow(FALSE);
        b->ShowWindow(SW_HIDE);
    }

    int width = 0, height = 0;
    for (int i = 0; i < m_lines.GetSize(); ++i) {
        CRect r;
        dc->DrawText(m_lines[i], &r, DT_CALCRECT);
        width = std::max(width, r.Width());
        height += r.Height() + 3;
    }
    m_textRect.SetRect(0, 0, width, height);

    const int faceW = m_bmFace.bmWidth, faceH = m_bmFace.bmHeight;
    const int side = m_bmTopLeft.bmWidth, top = m_bmTopLeft.bmHeight, bottom = m_bmBottomLeft.bmHeight;
    int W = width + 2 * kGap;
    int H = height + faceH + 2 * kGap;
    if (m_secondsLeft > 0) H += 2 * kGap;
    if (HasWarning()) {
        W += m_bmWarning.bmWidth + kGap;
        if (height < m_bmWarning.bmHeight && m_secondsLeft <= 0) H += m_bmWarning.bmHeight - height;
    }
    W = std::max(W, IsYesNo() ? 2 * faceW + 3 * kGap : faceW + 2 * kGap);

    // The shape: the inner rectangle, the bands around it and the masked corners.
    CRgn rgn;
    rgn.CreateRectRgn(side, top, W + side, H + top);
    AddCornerRegion(rgn, m_bitmaps[kTopLeft], 0, 0);
    AddRect(rgn, side, 0, W + side, top);
    AddRect(rgn, 0, top, side, H + top);
    AddCornerRegion(rgn, m_bitmaps[kBottomLeft], 0, H + top);
    AddRect(rgn, side, H + top, W + 2 * side - side, H + top + bottom);
    AddCornerRegion(rgn, m_bitmaps[kTopRight], W + side, 0);
    AddRect(rgn, W + side, top, W + 2 * side, H + top);
    AddCornerRegion(rgn, m_bitmaps[kBottomRight], W + 2 * side - side, H + top);
    SetWindowRgn(static_cast<HRGN>(rgn.Detach()), TRUE);

    W += 2 * side;
    H += top + bottom;
    SetWindowPos(nullptr, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_boxRect.SetRect(0, 0, W, H);

    const int y = H - faceH - 16;
    if (IsYesNo()) {
        int x = (W - 2 * faceW - kGap) / 2;
        ShowButton(m_btnYes, x, y, "是");
        ShowButton(m_btnNo, x + faceW + kGap, y, "否");
        m_btnYes.SetFocus();
    } else {
        ShowButton(m_btnOK, (W - faceW) / 2, y, "确定");
        m_btnOK.SetFocus();
    }

    if (m_secondsLeft > 0) {
        SetTimer(kTimerId, 50);
        m_lastTick = ::GetTickCount();
        m_msCarried = 0;
    }

    dc->SelectObject(oldFont);
    ReleaseDC(dc);
    return FALSE;
}

void CMyMsgBox::HideAndExpire() {
    ShowWindow(SW_HIDE);
    m_secondsLeft = 1;
    SetTimer(kTimerId, 50);
    m_lastTick = ::GetTickCount();
    m_msCarried = 0;
}

BOOL CMyMsgBox::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE)) {
        if (HWND focus = ::GetFocus()) {
            int result = 0;
            switch (::GetDlgCtrlID(focus)) {
                case IDOK: result = IDOK; break;
                case IDCANCEL: result = IDCANCEL; break;
                case IDRETRY: result = IDRETRY; break;
                case IDYES: result = IDYES; break;
                case IDNO: result = IDNO; break;
            }
            if (result) {
                // The key is used up: passed on, Enter would also press the
                // dialog's default button and change the result.
                if (result == IDOK) OnOK();
                else if (result == IDCANCEL) OnCancel();
                else EndDialog(result);
                return TRUE;
            }
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

void CMyMsgBox::OnTimer(UINT_PTR id) {
    if (id == kTimerId) {
        DWORD now = ::GetTickCount();
        DWORD elapsed = now - m_lastTick + m_msCarried;
        m_lastTick = now;
        int whole = static_cast<int>(elapsed / 1000);
        m_secondsLeft -= whole;
        m_msCarried = elapsed % 1000;
        if (m_secondsLeft <= 0) {
            m_secondsLeft = 0;
            EndDialog(IsYesNo() ? IDNO : IDOK);
        } else if (whole > 0) {
            Invalidate(FALSE);
        }
    }
    CDialog::OnTimer(id);
}

void CMyMsgBox::OnLButtonDown(UINT flags, CPoint point) {
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(flags, point);
}

BOOL CMyMsgBox::OnEraseBkgnd(CDC*) { return TRUE; }

void CMyMsgBox::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC mem(paint, client);
    DrawSkin(&mem);
}

void CMyMsgBox::Stretch(CDC* dc, int b, int x, int y, int cx, int cy) {
    BITMAP bm{};
    m_bitmaps[b]->GetBitmap(&bm);
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap* old = mem.SelectObject(m_bitmaps[b]);
    dc->StretchBlt(x, y, cx, cy, &mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    mem.SelectObject(old);
}

// Turns the non-white parts of the picture towards orange from a third of the
// width to the right edge; white stays white.
void CMyMsgBox::TintFrame(CDC* dc) {
    const int W = m_boxRect.Width(), H = m_boxRect.Height();
    CMemDC work(*dc, CRect(0, 0, W, H));
    // The white parts of the picture, and a pixel of the tint's colour.
    CDC mask, colour;
    mask.CreateCompatibleDC(dc);
    colour.CreateCompatibleDC(dc);
    CBitmap maskBmp, colourBmp;
    maskBmp.CreateCompatibleBitmap(dc, W, H);
    colourBmp.CreateCompatibleBitmap(dc, 1, 1);
    CBitmap* oldMask = mask.SelectObject(&maskBmp);
    CBitmap* oldColour = colour.SelectObject(&colourBmp);

    work.FillSolidRect(0, 0, W, H, RGB(0, 0, 0));
    work.TransparentBlt(0, 0, W, H, dc, 0, 0, W, H, kWhite);
    mask.BitBlt(0, 0, W, H, &work, 0, 0, SRCCOPY);
    mask.BitBlt(0, 0, W, H, dc, 0, 0, SRCINVERT);

    colour.SetPixel(0, 0, kTint);
    const float step = 255.0f / (2 * W / 3);
    float alpha = 0;
    for (int x = W / 3; x < W; ++x) {
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, ToAlpha(alpha), 0};
        work.AlphaBlend(x, 0, 1, H, &colour, 0, 0, 1, 1, bf);
        alpha += step;
    }
    work.TransparentBlt(0, 0, W, H, &mask, 0, 0, W, H, RGB(0, 0, 0));

    mask.SelectObject(oldMask);
    colour.SelectObject(oldColour);
}  // the tinted picture reaches dc

void CMyMsgBox::DrawSkin(CDC* dc) {
    RenderMgr render;
    const int W = m_boxRect.Width(), H = m_boxRect.Height();
    const int edge = m_bmLeft.bmWidth;

    dc->FillSolidRect(&m_boxRect, kWhite);
    Stretch(dc, kLeft, 0, 0, edge, H);
    Stretch(dc, kRight, W - edge, 0, edge, H);
    Stretch(dc, kTop, 0, 0, W, m_bmTop.bmHeight);
    Stretch(dc, kBottom, 0, H - m_bmBottom.bmHeight, W, m_bmBottom.bmHeight);

    const int cornerW = m_bmTopLeft.bmWidth, bottomH = m_bmBottomLeft.bmHeight;
    RenderMgr::DrawCBitmapToDCWithColorMask(dc, m_bitmaps[kTopLeft], kMagenta, 0, 0, 0, 0, 0, 0, 0, 0);
    RenderMgr::DrawCBitmapToDCWithColorMask(dc, m_bitmaps[kBottomLeft], kMagenta, 0, H - bottomH, 0, 0, 0, 0, 0, 0);
    RenderMgr::DrawCBitmapToDCWithColorMask(dc, m_bitmaps[kTopRight], kMagenta, W - cornerW, 0, 0, 0, 0, 0, 0, 0);
    RenderMgr::DrawCBitmapToDCWithColorMask(dc, m_bitmaps[kBottomRight], kMagenta, W - cornerW, H - bottomH, 0, 0,
                                            0, 0, 0, 0);

    // Fading title lines.
    float step = 255.0f / (W / 3);
    float alpha = 0;
    int x = W / 6;
    for (; x < W / 2; ++x, alpha += step)
        RenderMgr::DrawAlphaCBitmapToDC(dc, m_bitmaps[kUpperLine], x, 5, 1, 3, 0, 0, ToAlpha(alpha));
    RenderMgr::DrawCBitmapToDC(dc, m_bitmaps[kUpperLine], W / 2, 5, 0, 0, 0, 0, SRCCOPY);
    for (; x < W - W / 6; ++x, alpha -= step)
        RenderMgr::DrawAlphaCBitmapToDC(dc, m_bitmaps[kUpperLine], x, 5, 1, 3, 0, 0, ToAlpha(alpha));
    step = 255.0f / (W / 2);
    alpha = 0;
    for (x = W / 2; x <= W - 8; ++x, alpha += step)
        RenderMgr::DrawAlphaCBitmapToDC(dc, m_bitmaps[kLowerLine], x, 22, 1, 10, 0, 0, ToAlpha(alpha));

    TintFrame(dc);

    CFont* oldFont = dc->SelectObject(TextFont());
    dc->SetBkMode(TRANSPARENT);

    if (!m_caption.IsEmpty()) {
        CRect r;
        dc->DrawText(m_caption, &r, DT_CALCRECT | DT_SINGLELINE);
        int cx = (W - r.Width()) / 2, cy = (34 - r.Height()) / 2 + 2;
        CRect shadow(cx + 1, cy + 1, cx + 1 + r.Width(), cy + 1 + r.Height());
        dc->SetTextColor(RGB(0, 0, 0));
        dc->DrawText(m_caption, &shadow, DT_SINGLELINE | DT_NOCLIP);
        CRect text(cx, cy, cx + r.Width(), cy + r.Height());
        dc->SetTextColor(kWhite);
        dc->DrawText(m_caption, &text, DT_SINGLELINE | DT_NOCLIP);
    }

    const int lineX = 8 + kGap + (HasWarning() ? m_bmWarning.bmWidth + kGap : 0);
    const int avail = H - m_bmFace.bmHeight - 34 - 34;
    int y = 34 + (avail - m_lines.GetSize() * kLineStep) / 2 + 9;
    dc->SetTextColor(RGB(0, 0, 0));
    for (int i = 0; i < m_lines.GetSize(); ++i) {
        CRect r;
        dc->DrawText(m_lines[i], &r, DT_CALCRECT | DT_SINGLELINE);
        r.MoveToXY(lineX, y);
        dc->DrawText(m_lines[i], &r, DT_SINGLELINE | DT_NOCLIP);
        y += r.Height() + 3;
    }

    if (m_secondsLeft > 0) {
        CString count;
        count.Format("(%d)", m_secondsLeft);
        CRect r;
        dc->DrawText(count, &r, DT_CALCRECT | DT_SINGLELINE);
        r.MoveToXY((W - r.Width()) / 2, y);
        dc->SetTextColor(RGB(255, 0, 0));
        dc->DrawText(count, &r, DT_SINGLELINE | DT_NOCLIP);
    }

    if (HasWarning()) {
        int wy = std::max(48, (m_lines.GetSize() * kLineStep - 45) / 2 + 48);
        RenderMgr::DrawCBitmapToDC(dc, m_bitmaps[kWarning], 22, wy, 0, 0, 0, 0, SRCCOPY);
    }
    dc->SelectObject(oldFont);
}

#include "lobby/ui/DSkinWin.h"

#include "lobby/ui/SkinRes.h"
#include "platform/Wnd.h"
#include "platform/TextFont.h"

namespace {

// A rectangle kept as insets from the right edge, made absolute for width W.
CRect AtWidth(const CRect& r, int W) {
    return r.IsRectNull() ? CRect() : CRect(W - r.left, r.top, W - r.right, r.bottom);
}

SkinRect ToSkin(const CRect& r) { return SkinRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void CDSkinWin::SetSkin(CSkinRes* skin) {
    if (!skin) return;
    m_pSkin = skin;
    m_bHaveSkin = true;
}

BOOL CDSkinWin::InstallSkin(CWnd* dlg) {
    if (!dlg || m_bInstalled) return FALSE;
    HookWindow(dlg);
    DWORD style = dlg->GetStyle();
    m_bMaxBox = (style & WS_MAXIMIZEBOX) != 0;
    m_bSizable = (style & WS_THICKFRAME) != 0;
    m_bMinBox = (style & WS_MINIMIZEBOX) != 0;
    ComputeButtons();
    m_bInstalled = true;
    return TRUE;
}

void CDSkinWin::ComputeButtons() {
    m_rcClose = m_rcMax = m_rcRestore = m_rcMin = CRect();
    if (!m_pSkin) return;
    CMyBitmap* close = m_pSkin->GetBtnCloseImage();
    const int r = m_pSkin->GetBorderRight();
    const int w = close ? close->Size().cx / 4 : 0, h = close ? close->Size().cy : 0;
    // Stored as (W - left, top, W - right, bottom).
    if (close) m_rcClose = CRect(r + w, 5, r, h + 5);
    if (m_pSkin->GetBtnMaxImage()) m_rcMax = CRect(r + 2 * w, 5, r + w, h + 5);
    if (m_pSkin->GetBtnNormalImage()) m_rcRestore = CRect(r + 2 * w, 5, r + w, h + 5);
    if (m_pSkin->GetBtnMinImage()) m_rcMin = CRect(r + 3 * w, 5, r + 2 * w, h + 5);
}

CRect CDSkinWin::ButtonRect(int code) const {
    CRect wr;
    ::GetWindowRect(m_hWnd, &wr);
    const int W = wr.Width();
    switch (code) {
    case kHitClose: return AtWidth(m_rcClose, W);
    case kHitMinButton: return AtWidth(m_rcMin, W);
    case kHitMaxButton:
        return AtWidth(m_bMaximized && !m_rcRestore.IsRectNull() ? m_rcRestore : m_rcMax, W);
    default: return CRect();
    }
}

SkinFrameLayout CDSkinWin::Layout() const {
    SkinFrameLayout f;
    CRect wr;
    ::GetWindowRect(m_hWnd, &wr);
    f.width = wr.Width();
    f.height = wr.Height();
    if (m_pSkin) {
        f.title = m_pSkin->GetTitleHeight();
        f.left = m_pSkin->GetBorderLeft();
        f.right = m_pSkin->GetBorderRight();
        f.bottom = m_pSkin->GetBorderBottom();
    }
    f.close = ToSkin(ButtonRect(kHitClose));
    f.minimize = ToSkin(ButtonRect(kHitMinButton));
    f.maximize = ToSkin(ButtonRect(kHitMaxButton));
    f.iconWidth = ::GetSystemMetrics(SM_CXSMICON);
    f.iconHeight = ::GetSystemMetrics(SM_CYSMICON);
    f.minBox = m_bMinBox;
    f.maxBox = m_bMaxBox;
    f.sizable = m_bSizable;
    f.maximized = m_bMaximized;
    return f;
}

int CDSkinWin::HitTest(CPoint screen) const {
    CRect wr;
    ::GetWindowRect(m_hWnd, &wr);
    return SkinHitTest(Layout(), screen.x - wr.left, screen.y - wr.top);
}

BOOL CDSkinWin::Maximize() {
    m_bMaximized = true;
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, -1);
    ::UpdateWindow(m_hWnd);
    return TRUE;
}

BOOL CDSkinWin::Minimize() {
    m_bSavedMaximized = m_bMaximized;
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, -1);
    return TRUE;
}

BOOL CDSkinWin::Restore() {
    if (m_bMaximized) {
        ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, -1);
        m_bMaximized = false;
        ::UpdateWindow(m_hWnd);
    }
    return TRUE;
}

BEGIN_MESSAGE_MAP(CDSkinWin, CSubclassWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_MESSAGE(WM_NCLBUTTONUP, OnNcLButtonUp)
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_SYSCOMMAND()
    ON_MESSAGE(0x00AE, OnThemedCaption)
END_MESSAGE_MAP()

void CDSkinWin::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* p) {
    if (!calcValidRects) {
        Default();
        return;
    }
    const SkinFrameLayout f = Layout();
    p->rgrc[0].left += f.left;
    p->rgrc[0].top += f.title;
    p->rgrc[0].right -= f.right;
    p->rgrc[0].bottom -= f.bottom;
    p->rgrc[1] = p->rgrc[0];
}

BOOL CDSkinWin::OnNcActivate(BOOL active) {
    m_bActive = active != FALSE;
    Repaint();
    return active ? FALSE : TRUE;
}

void CDSkinWin::OnActivate(UINT state, CWnd*, BOOL) {
    m_bActive = state == WA_ACTIVE || state == WA_CLICKACTIVE;
    Repaint();
}

LRESULT CDSkinWin::OnSetText(WPARAM, LPARAM text) {
    Default();
    m_title = reinterpret_cast<LPCSTR>(text);
    Repaint();
    return 0;
}

void CDSkinWin::OnNcMouseMove(UINT hit, CPoint) {
    const int code = static_cast<int>(hit);
    if (IsSizingCode(code) || (code == kHitCaption && !m_bMaximized)) Default();
    m_nHover = code;
    m_nPressed = 0;
    if (code != m_nLastHover) Repaint();
}

void CDSkinWin::OnNcLButtonDown(UINT hit, CPoint) {
    const int code = static_cast<int>(hit);
    m_nPressed = m_nHover = code;
    Repaint();
    if (IsSizingCode(code) || (code == kHitCaption && !m_bMaximized)) Default();
}

LRESULT CDSkinWin::OnNcLButtonUp(WPARAM hit, LPARAM) {
    const int code = static_cast<int>(hit);
    if (code == kHitClose) ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
    else if (code == kHitMinButton) Minimize();
    else if (code == kHitMaxButton) m_bMaximized ? Restore() : Maximize();
    else return code;
    m_nHover = m_nPressed = 0;
    if (::IsWindow(m_hWnd)) Repaint();
    return 0;
}

void CDSkinWin::OnNcLButtonDblClk(UINT hit, CPoint) {
    if (static_cast<int>(hit) != kHitCaption || !m_bSizable) return;
    m_bMaximized ? Restore() : Maximize();
    m_nHover = m_nPressed = 0;
    Repaint();
}

void CDSkinWin::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == SC_MAXIMIZE) m_bMaximized = true;
    else if ((id & 0xFFF0) == SC_RESTORE && m_bMaximized) m_bMaximized = false;
    Default();
}

CDSkinWin::Look CDSkinWin::CurrentLook() const {
    Look look;
    look.skin = m_pSkin;
    look.generation = m_pSkin ? m_pSkin->Generation() : 0;
    look.active = m_bActive;
    look.maximized = m_bMaximized;
    look.hover = m_nHover;
    look.pressed = m_nPressed;
    look.title = m_title;
    return look;
}

void CDSkinWin::PaintFrame() {
    if (!m_pSkin || !::IsWindow(m_hWnd)) return;
    CRect wr;
    ::GetWindowRect(m_hWnd, &wr);
    const int W = wr.Width(), H = wr.Height();
    const int T = m_pSkin->GetTitleHeight(), L = m_pSkin->GetBorderLeft(), R = m_pSkin->GetBorderRight(),
              B = m_pSkin->GetBorderBottom();
    if (W <= 0 || H <= 0 || T <= 0) return;
    if (m_title.IsEmpty()) {
        char text[512] = "";
        ::GetWindowTextA(m_hWnd, text, sizeof text);
        m_title = text;
    }
    const Look look = CurrentLook();
    HDC windowDc = ::GetWindowDC(m_hWnd);
    {
        CMemDC frame(windowDc, CRect(0, 0, W, H), m_frame);
        // Where keyed corners leave pixels alone, the picture holds what the window showed.
        if (frame.IsNew()) ::BitBlt(frame, 0, 0, W, H, windowDc, 0, 0, SRCCOPY);
        if (frame.IsNew() || !(look == m_look)) {
            DrawFrame(&frame, W, H);
            m_look = look;
        }
        frame.CopyBackOnly(CRect(0, 0, W, T));
        frame.CopyBackOnly(CRect(0, T, L, H - B));
        frame.CopyBackOnly(CRect(W - R, T, W, H - B));
        frame.CopyBackOnly(CRect(0, H - B, W, H));
    }
    ::ReleaseDC(m_hWnd, windowDc);
    m_nLastHover = m_nHover;
}

void CDSkinWin::DrawFrame(CDC* dc, int W, int H) {
    const int T = m_pSkin->GetTitleHeight(), R = m_pSkin->GetBorderRight(), B = m_pSkin->GetBorderBottom();
    const COLORREF key = m_pSkin->GetColorKey();
    {
        // 1 to 4: the caption band, drawn over black and kept within it.
        const int saved = dc->SaveDC();
        dc->IntersectClipRect(0, 0, W, T);
        dc->FillSolidRect(0, 0, W, T, RGB(0, 0, 0));
        DrawCaption(dc, W);
        dc->RestoreDC(saved);
    }

    // 5. Sides.
    CMyBitmap *left = m_pSkin->GetDlgBorderLImage(), *right = m_pSkin->GetDlgBorderRImage();
    if (left && left->Size().cy > 0) {
        const int step = left->Size().cy, n = (H - B - T) / step + 1;
        for (int i = 0, y = T; i < n; ++i, y += step) {
            left->DrawPlain(dc, 0, y);
            if (right) right->DrawPlain(dc, W - R, y);
        }
    }

    // 6. Bottom.
    CMyBitmap *bl = m_pSkin->GetDlgBorderBLImage(), *bm = m_pSkin->GetDlgBorderBMImage(),
              *br = m_pSkin->GetDlgBorderBRImage();
    const int y = H - B;
    if (bl) bl->Draw(dc, 0, y, nullptr, key, TRUE);
    if (bm && bm->Size().cx > 0) {
        const int blw = bl ? bl->Size().cx : 0, brw = br ? br->Size().cx : 0, step = bm->Size().cx;
        const int n = (W - brw - blw) / step + 1;
        for (int i = 0, x = blw; i < n; ++i, x += step) bm->DrawPlain(dc, x, y);
    }
    if (br) br->Draw(dc, W - br->Size().cx, y, nullptr, key, TRUE);
}

void CDSkinWin::DrawCaption(CDC* dc, int W) {
    const int T = m_pSkin->GetTitleHeight(), L = m_pSkin->GetBorderLeft();
    const COLORREF key = m_pSkin->GetColorKey();

    // 1. Caption band.
    CMyBitmap *tl = m_pSkin->GetDlgBorderTLImage(), *tm = m_pSkin->GetDlgBorderTMImage(),
              *tr = m_pSkin->GetDlgBorderTRImage();
    if (tl) tl->Draw(dc, 0, 0, nullptr, key, TRUE);
    if (tm && tm->Size().cx > 0) {
        const int tlw = tl ? tl->Size().cx : 0, trw = tr ? tr->Size().cx : 0, step = tm->Size().cx;
        const int n = (W - tlw - trw) / step;
        for (int i = 0, x = tlw; i <= n; ++i, x += step) tm->DrawPlain(dc, x, 0);
    }
    if (tr) tr->Draw(dc, W - tr->Size().cx, 0, nullptr, key, TRUE);

    // 2. Caption text.
    CFont* oldFont = dc->SelectObject(CFont::FromHandle(AfxTextFont("宋体", 14, 700, FALSE, ANTIALIASED_QUALITY, FF_SWISS)));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_pSkin->GetTitleTextColor(m_bActive));
    CRect textRect(L, 0, W, T);
    dc->DrawText(m_title, &textRect, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS);
    dc->SelectObject(oldFont);

    // 3. Caption buttons: frame 0 normal, 1 pressed, 2 hover.
    CMyBitmap* close = m_pSkin->GetBtnCloseImage();
    const int bw = close ? close->Size().cx / 4 : 0, bh = close ? close->Size().cy : 0;
    auto drawButton = [&](int code, CMyBitmap* strip) {
        CRect r = ButtonRect(code);
        if (!strip || r.IsRectEmpty()) return;
        int index = m_nPressed == code ? 1 : m_nHover == code ? 2 : 0;
        CRect src(bw * index, 0, bw * (index + 1), bh);
        strip->Draw(dc, r.left, r.top, &src, key, TRUE);
    };
    drawButton(kHitClose, close);
    if (m_bMinBox) drawButton(kHitMinButton, m_pSkin->GetBtnMinImage());
    if (m_bMaxBox) {
        CMyBitmap* restore = m_pSkin->GetBtnNormalImage();
        drawButton(kHitMaxButton, m_bMaximized && restore ? restore : m_pSkin->GetBtnMaxImage());
    }
}

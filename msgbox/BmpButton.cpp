#include "msgbox/BmpButton.h"
#include "platform/TextFont.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key, int rows) {
    if (!bitmap) return nullptr;
    BITMAP bm{};
    ::GetObjectA(bitmap, sizeof(bm), &bm);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    int height = rows > 0 && rows < bm.bmHeight ? rows : bm.bmHeight;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < bm.bmWidth;) {
            if ((::GetPixel(dc, x, y) & 0xFFFFFF) == key) { ++x; continue; }
            int start = x;
            while (x < bm.bmWidth && (::GetPixel(dc, x, y) & 0xFFFFFF) != key) ++x;
            HRGN run = ::CreateRectRgn(start, y, x, y + 1);
            ::CombineRgn(region, region, run, RGN_OR);
            ::DeleteObject(run);
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return region;
}

void MakeGrayBitmap(CBitmap* source, CBitmap* target) {
    if (!source || !target || !source->m_hObject) return;
    BITMAP bm{};
    source->GetBitmap(&bm);
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    target->CreateCompatibleBitmap(&screen, bm.bmWidth, bm.bmHeight);
    CDC src, dst;
    src.CreateCompatibleDC(&screen);
    dst.CreateCompatibleDC(&screen);
    ::ReleaseDC(nullptr, screen.Detach());
    HGDIOBJ oldSrc = src.SelectObject(source->m_hObject);
    HGDIOBJ oldDst = dst.SelectObject(target->m_hObject);
    for (int y = 0; y < bm.bmHeight; ++y) {
        for (int x = 0; x < bm.bmWidth; ++x) {
            COLORREF c = src.GetPixel(x, y) & 0xFFFFFF;
            if (c == kMagenta) {
                dst.SetPixel(x, y, kMagenta);
                continue;
            }
            int g = static_cast<int>(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
            dst.SetPixel(x, y, RGB(g, g, g));
        }
    }
    src.SelectObject(oldSrc);
    dst.SelectObject(oldDst);
}

// ---- CBmpButton -----------------------------------------------------------------

std::map<int, CBmpButton*> CBmpButton::s_groups;
COLORREF CBmpButton::s_textColor = 0;
COLORREF CBmpButton::s_outlineColor = 0xFFFFFF;
BOOL CBmpButton::s_shadow = FALSE;
BOOL CBmpButton::s_outline = FALSE;
CFont CBmpButton::s_font;

BEGIN_MESSAGE_MAP(CBmpButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBmpButton::~CBmpButton() {
    // A destroyed button must not stay registered as its group's current one.
    auto it = s_groups.find(m_groupId);
    if (it != s_groups.end() && it->second == this) s_groups.erase(it);
    if (m_ownsDisabled) delete m_disabled;
}

void CBmpButton::PreSubclassWindow() {
    SetButtonStyle(0x1008B, TRUE);
    CButton::SetCheck(2);
    CButton::PreSubclassWindow();
}

void CBmpButton::SetBitmaps(CBitmap* normal, CBitmap* hover, CBitmap* pressed, CBitmap* disabled) {
    m_normal = normal;
    m_hover = hover;
    m_pressed = pressed;
    if (m_ownsDisabled) delete m_disabled;
    m_ownsDisabled = FALSE;
    m_disabled = disabled;
    if (!m_disabled && normal) {
        m_disabled = new CBitmap;
        MakeGrayBitmap(normal, m_disabled);
        m_ownsDisabled = TRUE;
    }
    m_current = normal;
    if (!m_hWnd || !normal) return;

    CSize size = normal->GetSize();
    CRect self, parent;
    GetWindowRect(&self);
    HWND parentWnd = ::GetParent(m_hWnd);
    if (parentWnd) ::GetWindowRect(parentWnd, &parent);
    MoveWindow(self.left - parent.left, self.top - parent.top, size.cx, size.cy, TRUE);
    HRGN region = CreateRegionFromBitmap(*normal, kMagenta, 0);
    if (region) SetWindowRgn(region, TRUE);
}

void CBmpButton::SetButtonText(LPCSTR text, int x, int y) {
    m_caption = text;
    m_captionX = x;
    m_captionY = y;
}

void CBmpButton::SetFace(CBitmap* face) {
    if (face == m_current) return;
    m_current = face;
    if (m_hWnd) Invalidate(TRUE);
}

void CBmpButton::Check() {
    if (!m_enabled) return;
    m_checked = TRUE;
    SetFace(m_pressed);
}

void CBmpButton::Uncheck() {
    if (!m_enabled) return;
    m_checked = FALSE;
    SetFace(m_normal);
}

void CBmpButton::RegisterInGroup() {
    auto it = s_groups.find(m_groupId);
    if (it == s_groups.end()) {
        s_groups.emplace(m_groupId, this);
    } else if (it->second != this) {
        it->second->Uncheck();
        it->second = this;
    }
}

void CBmpButton::SetCheck(BOOL check) {
    RegisterInGroup();
    if (check) Check();
    else Uncheck();
}

void CBmpButton::EnableButton(BOOL enable) {
    EnableWindow(enable);
    SetFace(enable ? m_normal : m_disabled);
    m_enabled = enable;
}

void CBmpButton::EnsureTooltip() {
    if (m_tooltip.m_hWnd) return;
    m_tooltip.Create(this);
    m_tooltip.Activate(TRUE);
}

void CBmpButton::SetTooltipText(LPCSTR text, BOOL activate) {
    EnsureTooltip();
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_tooltip.AddTool(this, text, &client, 1);
    }
    m_tooltip.UpdateTipText(text, this, 1);
    m_tooltip.Activate(activate);
}

void CBmpButton::SetDefaultFont(CFont* font, COLORREF color) {
    LOGFONTA lf{};
    if (font && font->GetLogFont(&lf)) {
        s_font.DeleteObject();
        s_font.CreateFontIndirect(&lf);
    }
    s_textColor = color;
}

BOOL CBmpButton::PreTranslateMessage(MSG* msg) {
    EnsureTooltip();
    m_tooltip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void CBmpButton::OnLButtonDown(UINT flags, CPoint point) {
    if (m_enabled && m_groupId == -1) SetFace(m_pressed);
    CButton::OnLButtonDown(flags, point);
}

void CBmpButton::OnLButtonUp(UINT flags, CPoint point) {
    if (m_enabled) {
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(point)) {
            if (m_groupId == -1) {
                SetFace(m_hover);
            } else {
                RegisterInGroup();
                if (m_checked) Uncheck();
                else Check();
            }
        } else if (m_groupId == -1) {
            SetState(FALSE);
            SetFace(m_normal);
        }
    }
    CButton::OnLButtonUp(flags, point);
}

void CBmpButton::OnMouseMove(UINT flags, CPoint point) {
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        if (m_enabled && m_current != m_pressed && m_groupId == -1) SetFace(m_hover);
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        m_handShown = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    CButton::OnMouseMove(flags, point);
}

void CBmpButton::OnMouseLeave() {
    if (m_enabled && m_groupId == -1 && !m_checked) SetFace(m_normal);
}

BOOL CBmpButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_handShown) return TRUE;
    return CButton::OnSetCursor(wnd, hitTest, message);
}

BOOL CBmpButton::OnEraseBkgnd(CDC* dc) {
    if (!m_current || !m_current->m_hObject) return FALSE;
    CSize size = m_current->GetSize();
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap* old = mem.SelectObject(m_current);
    dc->TransparentBlt(0, 0, size.cx, size.cy, &mem, 0, 0, size.cx, size.cy, kMagenta);
    mem.SelectObject(old);
    if (m_caption.IsEmpty()) return TRUE;

    int saved = dc->SaveDC();
    dc->SelectObject(CFont::FromHandle(AfxTextFont("宋体", 12, 0, FALSE, 4, 32)));
    CRect text;
    dc->DrawText(m_caption, &text, DT_CALCRECT);
    if (m_captionX < 0) m_captionX = (size.cx - text.Width()) / 2;
    if (m_captionY < 0) m_captionY = (size.cy - text.Height()) / 2;
    text.MoveToXY(m_captionX, m_captionY);
    if (m_current == m_pressed) text.OffsetRect(1, 1);
    dc->SetBkMode(TRANSPARENT);

    auto draw = [&](const CRect& at, COLORREF color) {
        CRect r = at;
        dc->SetTextColor(color);
        dc->DrawText(m_caption, &r, DT_CENTER);
    };
    if (s_outline) {
        const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& o : offsets) {
            CRect r = text;
            r.OffsetRect(o[0], o[1]);
            draw(r, s_outlineColor);
        }
    } else if (s_shadow) {
        CRect r = text;
        r.OffsetRect(1, 1);
        draw(r, s_outlineColor);
    }
    COLORREF color = s_textColor;
    if (m_current == m_disabled) {
        draw(text, RGB(255, 255, 255));
        text.OffsetRect(-1, -1);
        color = RGB(176, 168, 153);
    }
    draw(text, color);
    dc->RestoreDC(saved);
    return TRUE;
}

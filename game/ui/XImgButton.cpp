#include "game/ui/XImgButton.h"

#include <cstring>

#include "game/ui/ImageRegion.h"
#include "platform/StringSplitter.h"
#include "platform/TextFont.h"

namespace {

RGBQUAD Magenta() {
    RGBQUAD key;
    key.rgbBlue = 255;
    key.rgbGreen = 0;
    key.rgbRed = 255;
    key.rgbReserved = 0;
    return key;
}

void KeyMagenta(CxImage* face) {
    if (!face) return;
    face->SetTransIndex(0);
    face->SetTransColor(Magenta());
}

}  // namespace

std::map<int, CXImgButton*> CXImgButton::s_groups;

BEGIN_MESSAGE_MAP(CXImgButton, CButton)
ON_WM_ERASEBKGND()
ON_WM_ENABLE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
ON_WM_SETCURSOR()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

CXImgButton::~CXImgButton() {
    // A destroyed button must not stay registered as its group's current one.
    auto it = s_groups.find(m_groupId);
    if (it != s_groups.end() && it->second == this) s_groups.erase(it);
    if (m_ownsDisabled) delete m_disabled;
}

void CXImgButton::PreSubclassWindow() {
    SendMessage(BM_SETSTYLE, 0x1008B, TRUE);
    SendMessage(BM_SETCHECK, 2);
    CButton::PreSubclassWindow();
    m_enabled = IsWindowEnabled();
}

void CXImgButton::SetFaces(CxImage* normal, CxImage* hover, CxImage* pressed, CxImage* disabled) {
    for (CxImage* face : {normal, hover, pressed, disabled}) KeyMagenta(face);
    if (m_ownsDisabled) delete m_disabled;
    m_ownsDisabled = FALSE;
    m_normal = normal;
    m_hover = hover;
    m_pressed = pressed;
    m_disabled = disabled;
    if (m_hWnd) m_enabled = IsWindowEnabled();
    if (!disabled && normal) {
        m_disabled = new CxImage(*normal);
        m_disabled->SetTransColor(Magenta());
        // A picture with its own alpha channel keeps it: only a keyed one
        // takes its alpha from the key colour.
        if (!m_disabled->AlphaIsValid()) m_disabled->AlphaFromTransparency();
        m_disabled->GrayScale();
        m_ownsDisabled = TRUE;
    }
    m_current = m_enabled ? normal : m_disabled;
}

void CXImgButton::FitToFace() {
    if (!m_hWnd || !m_normal) return;
    RECT self;
    GetWindowRect(&self);
    POINT at = {self.left, self.top};
    if (HWND parent = ::GetParent(m_hWnd)) ::ScreenToClient(parent, &at);
    MoveWindow(at.x, at.y, static_cast<int>(m_normal->GetWidth()), static_cast<int>(m_normal->GetHeight()), TRUE);
}

void CXImgButton::SetImages(CxImage* normal, CxImage* hover, CxImage* pressed, CxImage* disabled) {
    SetFaces(normal, hover, pressed, disabled);
    if (!m_hWnd) return;
    FitToFace();
    if (normal) {
        HRGN shape = CreateRegionFromImage(normal);
        if (shape) SetWindowRgn(shape, TRUE);
    }
    Invalidate();
}

void CXImgButton::SetImagesWithRgn(CxImage* normal, CxImage* hover, CxImage* pressed, HRGN region,
                                   CxImage* disabled) {
    SetFaces(normal, hover, pressed, disabled);
    if (!m_hWnd) return;
    FitToFace();
    HRGN copy = nullptr;
    if (region) {
        copy = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(copy, region, nullptr, RGN_COPY);
    }
    SetWindowRgn(copy, TRUE);
    Invalidate();
}

void CXImgButton::SetFace(CxImage* face) {
    if (face == m_current) return;
    m_current = face;
    if (!m_hWnd) return;
    Invalidate(TRUE);
    if (HWND parent = ::GetParent(m_hWnd)) ::InvalidateRect(parent, nullptr, TRUE);
}

void CXImgButton::EnableButton(BOOL enable) {
    EnableWindow(enable);
    ShowEnabled(enable);
    if (m_hWnd) Invalidate();
}

void CXImgButton::ShowEnabled(BOOL enable) {
    SetFace(enable ? m_normal : m_disabled);
    m_enabled = enable;
}

// However the window was enabled or disabled (EnableButton or a plain
// EnableWindow), its face follows.
void CXImgButton::OnEnable(BOOL enable) {
    Default();
    ShowEnabled(enable);
}

void CXImgButton::Check() {
    if (!m_enabled) return;
    m_checked = TRUE;
    SetFace(m_pressed);
}

void CXImgButton::Uncheck() {
    if (!m_enabled) return;
    m_checked = FALSE;
    SetFace(m_normal);
}

void CXImgButton::GroupClick() {
    auto it = s_groups.find(m_groupId);
    if (it == s_groups.end()) {
        s_groups.emplace(m_groupId, this);
    } else if (it->second != this) {
        it->second->Uncheck();
        it->second = this;
    }
    if (m_checked)
        Uncheck();
    else
        Check();
}

void CXImgButton::SetCaption(LPCSTR text, int x, int y, int lineStep) {
    m_lines.RemoveAll();
    StringSplitter splitter;
    splitter.SetSeparator("\n");
    splitter.SetText(text ? text : "");
    splitter.Split(m_lines);
    m_caption = text ? text : "";
    m_captionX = x;
    m_captionY = y;
    m_lineStep = lineStep;
    if (m_hWnd) Invalidate(TRUE);
}

void CXImgButton::SetCaptionFont(CFont* font) {
    LOGFONTA lf{};
    if (!font || !font->GetLogFont(&lf)) return;
    m_captionFont.DeleteObject();
    m_captionFont.CreateFontIndirect(&lf);
    m_useCaptionFont = TRUE;
}

void CXImgButton::EnsureTooltip() {
    if (m_tooltip.m_hWnd || !m_hWnd || !m_tipSet) return;
    m_tooltip.Create(this);
    if (!m_tooltip.m_hWnd) return;
    RECT client;
    GetClientRect(&client);
    m_tooltip.AddTool(this, m_tipText, &client, 1);
    m_tooltip.Activate(m_tipActive);
}

void CXImgButton::SetToolTipText(LPCSTR text, BOOL activate) {
    m_tipText = text ? text : "";
    m_tipActive = activate;
    m_tipSet = true;
    if (!m_tooltip.m_hWnd) return;
    m_tooltip.UpdateTipText(m_tipText, this, 1);
    m_tooltip.Activate(activate);
}

BOOL CXImgButton::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) EnsureTooltip();
    if (m_tooltip.m_hWnd) m_tooltip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void CXImgButton::OnLButtonDown(UINT flags, CPoint point) {
    if (m_enabled && m_groupId == -1) SetFace(m_pressed);
    CButton::OnLButtonDown(flags, point);
}

void CXImgButton::OnLButtonUp(UINT flags, CPoint point) {
    if (m_enabled) {
        RECT client;
        GetClientRect(&client);
        if (::PtInRect(&client, point)) {
            if (m_groupId == -1)
                SetFace(m_hover);
            else
                GroupClick();
        } else if (m_groupId == -1) {
            SendMessage(BM_SETSTATE, FALSE);
            SetFace(m_normal);
        }
    }
    CButton::OnLButtonUp(flags, point);
}

void CXImgButton::OnMouseMove(UINT flags, CPoint point) {
    RECT client;
    GetClientRect(&client);
    if (::PtInRect(&client, point)) {
        // Held down, the button keeps its pressed face.
        if (m_enabled && m_groupId == -1 && !(flags & MK_LBUTTON)) SetFace(m_hover);
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        m_handShown = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    CButton::OnMouseMove(flags, point);
}

void CXImgButton::OnMouseLeave() {
    if (m_groupId == -1 && !m_checked && m_enabled) SetFace(m_normal);
}

BOOL CXImgButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_handShown) return TRUE;
    return CButton::OnSetCursor(wnd, hitTest, message);
}

BOOL CXImgButton::OnEraseBkgnd(CDC* dc) {
    if (!m_current) return FALSE;
    CxImage* face = m_current;
    if (!m_caption.IsEmpty() && m_current->IsValid()) {
        // The caption goes on a private copy: the face may be shared.
        m_canvas.Copy(*m_current);
        DrawCaption(dc, m_canvas);
        face = &m_canvas;
    }
    face->Draw(*dc, 0, 0, static_cast<long>(face->GetWidth()), static_cast<long>(face->GetHeight()));
    return TRUE;
}

void CXImgButton::DrawCaption(CDC* dc, CxImage& canvas) {
    CXTEXTINFO info;
    std::memset(&info, 0, sizeof info);
    if (m_useCaptionFont && m_captionFont.m_hObject)
        m_captionFont.GetLogFont(&info.lfont);
    else
        info.lfont = AfxTextLogFont("宋体", 12, 0, FALSE, 4, 32);
    CFont used;
    used.CreateFontIndirect(&info.lfont);
    const int saved = dc->SaveDC();
    dc->SelectObject(&used);
    RECT whole = {0, 0, 0, 0};
    dc->DrawText(m_caption, &whole, DT_CALCRECT);
    if (m_captionX < 1) m_captionX = (static_cast<int>(canvas.GetWidth()) - (whole.right - whole.left)) / 2;
    if (m_captionY < 1) m_captionY = (static_cast<int>(canvas.GetHeight()) - (whole.bottom - whole.top)) / 2;
    int x = m_captionX, y = m_captionY;
    if (m_current == m_pressed) ++x, ++y;
    dc->SetBkMode(TRANSPARENT);

    auto put = [&](int px, int py, COLORREF color) {
        info.fcolor = color;
        canvas.DrawStringEx(*dc, px, py, &info);
    };
    for (int i = 0; i < m_lines.GetSize(); ++i) {
        if (i < static_cast<int>(m_linePositions.size())) {
            x = m_linePositions[static_cast<size_t>(i)].first;
            y = m_linePositions[static_cast<size_t>(i)].second;
        }
        const CString& line = m_lines[i];
        RECT size = {0, 0, 0, 0};
        dc->DrawText(line, &size, DT_CALCRECT);
        std::strncpy(info.text, line.GetString(), sizeof info.text - 1);
        if (m_outline) {
            const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& o : offsets) put(x + o[0], y + o[1], m_outlineColor);
        } else if (m_shadow) {
            put(x + 1, y + 1, m_outlineColor);
        }
        if (m_enabled) {
            put(x, y, m_textColor);
        } else {
            put(x + 1, y + 1, RGB(255, 255, 255));
            put(x, y, RGB(176, 168, 153));
        }
        if (m_linePositions.empty()) y += m_lineStep >= 1 ? m_lineStep : size.bottom - size.top;
    }
    dc->RestoreDC(saved);
}

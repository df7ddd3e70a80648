#include "lobby/ui/DlgPopMsg.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/ImgHlWnd.h"
#include "lobby/ui/ImgTextWnd.h"
#include "lobby/ui/PanelRules.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/SkinText.h"
#include "platform/CString.h"

namespace {
// Text and glow colours of the pieces, per style.
const COLORREF kTextColor[2] = {0x15ECFF, 0x91FEFA};
const COLORREF kGlowColor[2] = {0xA64502, 0x1F1F5C};
const UINT kCloseButton = 1028;
}  // namespace

BEGIN_MESSAGE_MAP(CDlgPopMsg, CDialog)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCDESTROY()
    ON_BN_CLICKED(kCloseButton, OnCloseButton)
    ON_MESSAGE(kMsgPopupNotice, OnPopMessage)
END_MESSAGE_MAP()

CDlgPopMsg::~CDlgPopMsg() {
    if (m_hWnd) DestroyWindow();
    for (CWnd* piece : m_pieces) delete piece;
    delete m_pTitle;
}

// What a pop-up shows of a notice: ten lines fill it; a longer text from a
// server would take seconds to draw.
const size_t kMaxNoticeText = 300;

void CDlgPopMsg::SetTexts(LPCSTR text, LPCSTR caption, int displayTime, int style) {
    m_text = CutText(text ? text : "", kMaxNoticeText).c_str();
    m_caption = caption ? caption : "";
    m_nDisplayTime = displayTime;
    m_nStyle = style == 1 ? 1 : 0;
}

BOOL CDlgPopMsg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CDlgPopMsg::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    m_pBk = skin->GetPopMsgBkImage();
    m_pClose = skin->GetPopMsgCloseImage();
    m_pBk2 = skin->GetPopMsgBk2Image();
    m_pClose2 = skin->GetPopMsgClose2Image();
    m_btnClose.SubclassDlgItem(kCloseButton, this);

    if (m_nStyle == 1) {
        if (m_pBk2) SetWindowPos(nullptr, 0, 0, m_pBk2->GetWidth(), m_pBk2->GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        HRGN region = skin->GetPopMsgBk2Bitmap()->IsLoaded() ? skin->GetPopMsgBk2Bitmap()->CreateRegion(RGB(255, 0, 255)) : nullptr;
        if (!region) ::MessageBoxA(m_hWnd, "创建HRGN失败", "错误", MB_OK);
        else if (!SetWindowRgn(region, TRUE)) {
            ::DeleteObject(region);
            ::MessageBoxA(m_hWnd, "设置HRGN失败", "错误", MB_OK);
        }
        m_btnClose.SetWindowPos(nullptr, 215, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (m_pClose2) m_btnClose.SetImage(m_pClose2);
        m_nPieceY = 130;
        m_nFontSize = 14;
    } else {
        if (m_pBk) SetWindowPos(nullptr, 0, 0, m_pBk->GetWidth(), m_pBk->GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        if (m_pClose) m_btnClose.SetImage(m_pClose);
    }
    m_btnClose.SetBkMode(-1);

    m_nPieceX = 10;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowText(m_caption);

    if (m_nStyle == 0) {
        auto* title = new CImgTextWnd;
        title->SetBackground(m_pBk);
        if (title->Setup(m_caption, 0xFFFFFF, 0xFF0000, "宋体", 14, 0, 10, 8, nullptr, nullptr, this)) m_pTitle = title;
        else delete title;
    }
    ParseNoticeText(m_text);

    CRect client;
    GetWindowRect(&client);
    Gdiplus::Image* bk = Background();
    const int w = bk ? static_cast<int>(bk->GetWidth()) : client.Width();
    const int h = bk ? static_cast<int>(bk->GetHeight()) : client.Height();
    CRect work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    m_target.right = work.right - m_nOffsetX;
    m_target.bottom = work.bottom - m_nOffsetY;
    m_target.left = m_target.right - w;
    m_target.top = m_target.bottom - h;
    m_current = CRect(m_target.left, m_target.bottom - m_nStep, m_target.right, m_target.bottom);
    MoveWindow(m_current.left, m_current.top, m_current.Width(), m_current.Height(), TRUE);
    const SlidePlan plan = PlanSlide(h, m_nStep);
    m_nSteps = plan.steps;
    m_nRemainder = plan.remainder;
    m_nTicks = 0;
    m_nPeriod = 30;
    ShowWindow(SW_SHOWNOACTIVATE);
    SetTimer(1, m_nPeriod);
    return TRUE;
}

void CDlgPopMsg::ParseNoticeText(const CString& text) {
    const COLORREF t = kTextColor[m_nStyle], g = kGlowColor[m_nStyle];
    for (const NoticePiece& piece : ParseNoticePieces(text.GetString())) {
        if (piece.link) AddLinkPiece(piece.text, 0xFFFFFF, t, g);
        else AddTextPiece(piece.text, t, g);
    }
}

void CDlgPopMsg::AddTextPiece(const std::string& text, COLORREF color, COLORREF glow) {
    const std::string wrapped = WrapText(text + " ", 30);
    if (wrapped.empty()) return;
    auto* piece = new CImgTextWnd;
    piece->SetBackground(Background());
    int w = 0, h = 0;
    if (piece->Setup(wrapped.c_str(), color, glow, "宋体", m_nFontSize, 0, m_nPieceX, m_nPieceY, &w, &h, this)) {
        m_nPieceY += h - 2;
        m_pieces.push_back(piece);
    } else {
        delete piece;
    }
}

void CDlgPopMsg::AddLinkPiece(const std::string& text, COLORREF color, COLORREF hover, COLORREF glow) {
    std::string label, address;
    SplitLinkPiece(text, label, address);
    if (label.empty()) return;
    const std::string wrapped = WrapText(label + " ", 30);
    auto* piece = new CImgHlWnd;
    piece->SetBackground(Background());
    int w = 0, h = 0;
    if (piece->Setup(wrapped.c_str(), address.c_str(), color, glow, hover, glow, "宋体", m_nFontSize + 1, 1, m_nPieceX,
                     m_nPieceY, &w, &h, this)) {
        m_nPieceY += h;
        m_pieces.push_back(piece);
    } else {
        delete piece;
    }
}

void CDlgPopMsg::OnTimer(UINT_PTR id) {
    if (id == 1) {
        auto move = [this] {
            MoveWindow(m_current.left, m_current.top, m_current.Width(), m_current.Height(), TRUE);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        };
        m_current.top -= m_nStep;
        move();
        ++m_nTicks;
        if (m_nRemainder != 0 && m_nTicks == m_nSteps) {
            m_current.top -= m_nRemainder;
            move();
            ++m_nTicks;
        }
        if (m_nTicks >= m_nSteps) {
            m_nTicks = 0;
            KillTimer(1);
            SetTimer(2, static_cast<UINT>(m_nDisplayTime));
        }
    } else if (id == 2) {
        KillTimer(2);
        if (m_nDisplayTime != 0) PostMessage(WM_CLOSE);
    }
    Default();
}

void CDlgPopMsg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (Gdiplus::Image* bk = Background()) {
        Gdiplus::Graphics g(dc);
        g.DrawImage(bk, 0, 0, static_cast<INT>(bk->GetWidth()), static_cast<INT>(bk->GetHeight()));
    }
    ::EndPaint(m_hWnd, &ps);
}

void CDlgPopMsg::OnNcDestroy() {
    Default();
    if (m_hOwner) ::PostMessageA(m_hOwner, kMsgPopupNotice, 0, m_nId);
}

void CDlgPopMsg::OnCloseButton() { PostMessage(WM_CLOSE); }

LRESULT CDlgPopMsg::OnPopMessage(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 && lParam) {
        std::unique_ptr<char[]> address = TakeOwned(kPopupAddress, lParam);
        LobbyTrace("open %s", address.get());
        ::ShellExecuteA(nullptr, "open", address.get(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    return 0;
}

#include "lobby/ui/DlgMes.h"

#include <gdiplus.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/base/PrivateMessages.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/SkinText.h"
#include "lobby/ui/TextImage.h"
#include "platform/CString.h"

BEGIN_MESSAGE_MAP(CDlgMes, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZE, OnSizeMsg)
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    ON_MESSAGE(kMsgImageLinkClicked, OnLinkClicked)
END_MESSAGE_MAP()

CDlgMes::CDlgMes(CWnd* parent) : CDialog(kDlgMesTemplate, parent) {}

CDlgMes::~CDlgMes() { delete m_pTextImage; }

void CDlgMes::SetCountdown(int flag, int seconds) {
    m_nCountFlag = flag;
    m_nSeconds = seconds;
}

// A box shows at most this much of a text: a longer one (a server's, say)
// would take seconds to draw and could not be read anyway.
const size_t kMaxShownText = 1000;

void CDlgMes::SetText(LPCSTR text, LPCSTR caption, int linkFlag) {
    std::string message = CutText(text ? text : "", kMaxShownText);
    m_nLinkFlag = linkFlag;
    if (linkFlag == 1) {
        std::string body, label, address;
        if (SplitMessageLink(message, body, label, address)) {
            message = body;
            m_linkLabel = label;
            m_linkAddress = address;
        } else {
            m_nLinkFlag = 0;
        }
    }
    m_text = WrapText(message + " ", 48);
    m_caption = caption;
}

void CDlgMes::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDOK, m_btnOk);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, kDlgMesCountLabel, m_countLabel);
}

int CDlgMes::ButtonHeight() const {
    CRect r;
    m_btnOk.GetWindowRect(&r);
    return r.Height();
}

void CDlgMes::SetRoundRegion() {
    CRect r;
    GetWindowRect(&r);
    SetWindowRgn(::CreateRoundRectRgn(0, 0, r.Width() + 1, r.Height() + 1, 9, 9), TRUE);
}

BOOL CDlgMes::OnInitDialog() {
    CDialog::OnInitDialog();
    CSkinRes* skin = GetLobbySkin();
    m_skinWin.SetSkin(skin);
    m_skinWin.InstallSkin(this);

    m_btnOk.SetImage(skin->GetImage(8));
    m_btnCancel.SetImage(skin->GetImage(9));
    m_btnOk.SetBkColor(skin->GetBkColor(2));
    m_btnCancel.SetBkColor(skin->GetBkColor(2));
    SetWindowText(m_caption);

    delete m_pTextImage;
    m_pTextImage = RenderTextImage(m_text, "宋体", 14, 0, skin->GetListColor(0), 1, 1);
    const int TW = m_pTextImage ? static_cast<int>(m_pTextImage->GetWidth()) : 0;
    const int TH = m_pTextImage ? static_cast<int>(m_pTextImage->GetHeight()) : 0;
    Gdiplus::Image* icon = skin->GetImage(26);
    const int IW = icon ? static_cast<int>(icon->GetWidth()) : 0;
    const int IH = icon ? static_cast<int>(icon->GetHeight()) : 0;
    const int BH = ButtonHeight();

    int height = BH + TH + 65, width = TW + IW + 20;
    int linkW = 0, linkH = 0;
    if (m_nLinkFlag) {
        height += 20;
        m_link.SetLink(m_linkLabel, m_linkAddress, RGB(0, 0, 255), skin->GetListColor(0), skin->GetListColor(2),
                       "宋体", 14, 4, 10, 10, &linkW, &linkH, this);
        m_link.ShowWindow(SW_SHOW);
    }
    if (height < IH + 60) height = IH + 60;
    if (width < 300) width = 300;
    MoveWindow(0, 0, width, height);
    CenterWindow();

    CRect client;
    GetClientRect(&client);
    if (m_nLinkFlag && m_link.m_hWnd)
        m_link.MoveWindow((client.Width() - linkW) / 2, client.bottom - BH - linkH - 5, linkW, linkH);

    CRect ok, cancel;
    m_btnOk.GetWindowRect(&ok);
    m_btnCancel.GetWindowRect(&cancel);
    const int y = client.bottom - BH - 2, centre = client.Width() / 2;
    if (m_nStyle == 1) {
        m_btnOk.MoveWindow(centre - 15 - ok.Width(), y, ok.Width(), ok.Height());
        m_btnCancel.MoveWindow(centre + 15, y, cancel.Width(), cancel.Height());
    } else {
        m_btnOk.MoveWindow(centre - ok.Width() / 2, y, ok.Width(), ok.Height());
        m_btnCancel.ShowWindow(SW_HIDE);
    }
    SetRoundRegion();

    if (m_nCountFlag != 0 && m_nSeconds > 0) {
        SetTimer(1, 1000);
        CRect anchor, label;
        (m_nCountFlag == 1 || m_nStyle != 1 ? m_btnOk : m_btnCancel).GetWindowRect(&anchor);
        ScreenToClient(&anchor);
        m_countLabel.GetWindowRect(&label);
        m_countLabel.MoveWindow(anchor.right + 3, anchor.top + 5, label.Width(), label.Height());
        m_countLabel.ShowWindow(SW_SHOW);
        CString s;
        s.Format("(%d)", m_nSeconds);
        m_countLabel.SetWindowText(s);
    } else {
        m_countLabel.ShowWindow(SW_HIDE);
    }

    if (m_bCenterWorkArea) {
        CRect work, me;
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(&me);
        MoveWindow(work.left + (work.Width() - me.Width()) / 2, work.top + (work.Height() - me.Height()) / 2,
                   me.Width(), me.Height());
    }
    m_bReady = 1;
    return TRUE;
}

void CDlgMes::OnPaint() {
    CPaintDC dc(this);
    CSkinRes* skin = GetLobbySkin();
    CRect client;
    GetClientRect(&client);
    CBrush brush(skin->GetListColor(2));
    dc.FillRect(&client, &brush);
    Gdiplus::Graphics g(dc.m_hDC);
    Gdiplus::Image* icon = skin->GetImage(26);
    int IW = 0;
    if (icon) {
        IW = static_cast<int>(icon->GetWidth());
        g.DrawImage(icon, Gdiplus::Rect(0, 0, IW, static_cast<INT>(icon->GetHeight())));
    }
    if (m_pTextImage) {
        const int TW = static_cast<int>(m_pTextImage->GetWidth()), TH = static_cast<int>(m_pTextImage->GetHeight());
        int y = client.Height() - ButtonHeight() - TH - 10;
        if (y > 20) y = 20;
        int x = IW + (client.Width() - IW - TW) / 2;
        if (x < IW) x = IW;
        g.DrawImage(m_pTextImage, Gdiplus::Rect(x, y, TW, TH));
    }
}

void CDlgMes::OnTimer(UINT_PTR id) {
    if (id == 1) {
        --m_nSeconds;
        CString s;
        s.Format("(%d)", m_nSeconds);
        m_countLabel.SetWindowText(s);
        CRect r;
        m_countLabel.GetWindowRect(&r);
        ScreenToClient(&r);
        RedrawWindow(&r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (m_nSeconds <= 0) {
            KillTimer(1);
            EndDialog(m_nCountFlag == 1 ? IDOK : IDCANCEL);
        }
    }
    Default();
}

LRESULT CDlgMes::OnSizeMsg(WPARAM, LPARAM) {
    LRESULT result = Default();
    if (m_bReady) SetRoundRegion();
    return result;
}

LRESULT CDlgMes::OnCtlColorStatic(WPARAM wParam, LPARAM) {
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CDlgMes::OnLinkClicked(WPARAM wParam, LPARAM lParam) {
    if (wParam == 0 && lParam) {
        std::unique_ptr<char[]> address = TakeOwned(kImageLinkAddress, lParam);
        LobbyTrace("open %s", address.get());
        ::ShellExecuteA(nullptr, "open", address.get(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    return 1;
}

INT_PTR ShowLobbyMessageBox(LPCSTR text, LPCSTR caption, int style, int countFlag, int seconds, int linkFlag,
                            CWnd* parent) {
    LobbyTrace("box %s|%s|%d|%d", caption ? caption : "", text ? text : "", style, countFlag);
    CDlgMes box(parent);
    box.SetCountdown(countFlag, seconds);
    box.SetText(text, caption, linkFlag);
    box.SetStyle(style);
    box.SetCenterOnWorkArea(1);
    return box.DoModal();
}

#include "game/ui/ReslutDlg.h"

#include <cstdio>

#include "game/core/PlayerInfo.h"
#include "game/core/table/SeatFields.h"
#include "game/ui/GameImages.h"
#include "game/ui/ImageRegion.h"
#include "platform/TextFont.h"
#include "platform/vantor/CxImage.h"

namespace {

CxImage* Picture(int entry) {
    CGameImages* images = GetGameImages();
    CxImage* image = images ? images->Get(entry) : nullptr;
    return image && image->IsValid() ? image : nullptr;
}

SIZE PictureSize(int entry) {
    CxImage* image = Picture(entry);
    SIZE size = {0, 0};
    if (image) size = {static_cast<LONG>(image->GetWidth()), static_cast<LONG>(image->GetHeight())};
    return size;
}

void Text(HDC dc, int x, int y, const std::string& text, COLORREF color) {
    ::SetTextColor(dc, color);
    RECT r = {x, y, x + 400, y + 40};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

}  // namespace

BEGIN_MESSAGE_MAP(CReslutDlg, CDialog)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_BN_CLICKED(IDC_RESULT_CONTINUE, OnContinue)
ON_BN_CLICKED(IDC_RESULT_BACK, OnBack)
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CReslutDlg::CReslutDlg(CWnd* parent) : CDialog(IDD, parent) {}

void CReslutDlg::SetResult(CPlayerInfo* a, CPlayerInfo* b, CPlayerInfo* c, int bombs, int spring) {
    m_seats[0] = a;
    m_seats[1] = b;
    m_seats[2] = c;
    m_bombs = bombs;
    m_spring = spring;
    if (m_hWnd) Invalidate(TRUE);
}

std::string CReslutDlg::FormatAmount(double amount) {
    if (amount != 0) amount += amount > 0.0000001 ? 0.0000001 : -0.0000001;
    char text[64];
    std::snprintf(text, sizeof text, "%0.2f", amount);
    return text;
}

HWND CReslutDlg::ChoiceTarget() const {
    CWnd* main = AfxGetMainWnd();
    if (main && main->m_hWnd) return main->m_hWnd;
    return ::GetParent(m_hWnd);
}

BOOL CReslutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (HRGN region = CreateRegionFromImage(Picture(kBackground))) SetWindowRgn(region, TRUE);
    const SIZE back = PictureSize(kBackground);
    const SIZE face = PictureSize(kContinueFace);
    const int y = back.cy - face.cy - 15;
    CGameImages* images = GetGameImages();
    const struct {
        CXImgButton& button;
        int id, x, faces;
    } buttons[] = {{m_back, IDC_RESULT_BACK, back.cx - face.cx - 50, kBackFace},
                   {m_continue, IDC_RESULT_CONTINUE, back.cx - 2 * face.cx - 55, kContinueFace}};
    for (const auto& b : buttons) {
        if (!b.button.SubclassDlgItem(b.id, this)) continue;
        b.button.SetWindowPos(nullptr, b.x, y, face.cx, face.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        if (images && images->Get(b.faces) && images->Get(b.faces)->IsValid())
            b.button.SetImagesWithRgn(images->Get(b.faces), images->Get(b.faces + 1), images->Get(b.faces + 2),
                                      images->GetRegion(b.faces + 3));
        b.button.ShowWindow(SW_SHOWNOACTIVATE);
    }
    return TRUE;
}

void CReslutDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Paint(dc);
    ::EndPaint(m_hWnd, &ps);
}

void CReslutDlg::Paint(HDC target) {
    CPlayerInfo* bySeat[3] = {};
    for (CPlayerInfo* p : m_seats)
        if (p && p->seat >= 0 && p->seat < 3) bySeat[p->seat] = p;
    if (!bySeat[0]) return;
    const SIZE size = PictureSize(kBackground);
    CMemDC dc(target, CRect(0, 0, size.cx, size.cy));
    if (CxImage* back = Picture(kBackground)) back->Draw(dc, 0, 0);
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, AfxTextFont("黑体", 14, FW_NORMAL, FALSE, ANTIALIASED_QUALITY, FF_SWISS));

    Text(dc, 120, 242, m_bombs > 0 ? std::to_string(m_bombs) : "0", kLossColor);
    if (m_spring == 0 || m_spring == 1)
        if (CxImage* spring = Picture(m_spring == 0 ? kSpring : kAntiSpring)) spring->Draw(dc, 150, 237);
    bool landlordWon = false;
    for (CPlayerInfo* p : m_seats)
        if (p && seat::Landlord(*p) == 1 && seat::ResultCount(*p) == 0) landlordWon = true;
    for (int i = 0; i < 3; ++i) {
        CPlayerInfo* p = bySeat[i];
        if (!p) continue;
        const int y = 170 + 23 * i;
        const bool landlord = seat::Landlord(*p) == 1;
        if (CxImage* icon = Picture(landlord ? kLandlordIcon : kFarmerIcon)) icon->Draw(dc, 44, y - 7);
        const bool won = landlord == landlordWon;
        const COLORREF color = won ? kWinColor : kLossColor;
        Text(dc, 70, y, p->GetNickName(), color);
        Text(dc, 174, y, won ? "赢" : "输", color);
        Text(dc, 239, y, FormatAmount(p->resultA), color);
        Text(dc, 307, y, FormatAmount(p->resultB), color);
        if (p->doubling == 2 || p->doubling == 4) Text(dc, 387, y, p->doubling == 2 ? "加倍" : "跟倍", color);
    }
    ::SelectObject(dc, oldFont);
}

void CReslutDlg::OnLButtonDown(UINT, CPoint point) {
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    m_dragging = 1;
    Default();
}

void CReslutDlg::OnWindowPosChanged(WINDOWPOS*) {
    Default();
    Invalidate(FALSE);
}

void CReslutDlg::OnContinue() { ::PostMessageA(ChoiceTarget(), WM_USER + 102, 1, 0); }

void CReslutDlg::OnBack() { ::PostMessageA(ChoiceTarget(), WM_USER + 102, 0, 0); }

BOOL CReslutDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

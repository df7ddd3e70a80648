// The table window's set-up: its frame pictures and buttons, the layout and
// faces of the game buttons, the system menu, the key filter, painting and
// the windows that float over the table.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

#include "game/core/GameSession.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "game/ui/Shockwaveflash.h"

namespace {

int W(const CxImage& image) { return static_cast<int>(image.GetWidth()); }
int H(const CxImage& image) { return static_cast<int>(image.GetHeight()); }

// The frame's pictures, in the order of CPavlenDlg::LoadFrameImages' members.
const struct FramePicture {
    const char* path;
    DWORD format;
} kFramePictures[] = {{"fenlo\\image\\desk\\bg.jpg", CXIMAGE_FORMAT_JPG},
                      {"fenlo\\image\\button\\MinizUp.bmp", CXIMAGE_FORMAT_BMP},
                      {"fenlo\\image\\button\\MinizOn.bmp", CXIMAGE_FORMAT_BMP},
                      {"fenlo\\image\\button\\CloseUp.bmp", CXIMAGE_FORMAT_BMP},
                      {"fenlo\\image\\button\\CloseOn.bmp", CXIMAGE_FORMAT_BMP},
                      {"fenlo\\image\\button\\SoundUp.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\button\\SoundOn.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\button\\SilentUp.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\button\\SilentOn.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\desk\\RigthBg.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\desk\\PeopleNum.png", CXIMAGE_FORMAT_PNG},
                      {"fenlo\\image\\desk\\PeopleNum2.png", CXIMAGE_FORMAT_PNG}};

// The picture into the frame's member (decoded ahead when it was); false when it cannot be read.
bool TakeFramePicture(const FramePicture& f, CxImage& member) {
    std::unique_ptr<CxImage> picture(TakeTablePicture(f.path, f.format));
    return picture && member.Transfer(*picture);
}

void MoveTo(CWnd& button, int x, int y) {
    if (button.m_hWnd) button.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CPavlenDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    const struct {
        int id;
        CWnd* control;
    } bound[] = {{IDC_READY, &m_ready},           {IDC_PLAY, &m_play},
                 {IDC_PASS, &m_pass},             {IDC_HINT, &m_hint},
                 {IDC_BID1, &m_bid1},             {IDC_BID2, &m_bid2},
                 {IDC_BID3, &m_bid3},             {IDC_NO_BID, &m_noBid},
                 {IDC_DOUBLE, &m_double},         {IDC_NO_DOUBLE, &m_noDouble},
                 {IDC_REDOUBLE, &m_redouble},     {IDC_NO_REDOUBLE, &m_noRedouble},
                 {IDC_CONTEST_YES, &m_contestYes}, {IDC_CONTEST_NO, &m_contestNo},
                 {IDC_NEXT_PAIR, &m_nextPair},    {IDC_NEXT_TRIPLE, &m_nextTriple},
                 {IDC_AUTO_PLAY, &m_autoPlay},    {IDC_CANCEL_AUTO, &m_cancelAuto},
                 {IDC_SORT, &m_sort},             {IDC_LEAVE, &m_leave},
                 {IDC_CONTINUE, &m_continue},     {IDC_BACK_TO_LOBBY, &m_backToLobby},
                 {IDC_SOUND_ON, &m_soundOnButton}, {IDC_SOUND_OFF, &m_soundOffButton},
                 {IDC_CLOSE, &m_close},           {IDC_MINIMIZE, &m_minimize},
                 {IDC_PLAIN_1085, &m_control1085}, {IDC_PLAIN_1086, &m_control1086}};
    for (const auto& b : bound) DDX_Control(dx, b.id, *b.control);
}

std::vector<std::string> CPavlenDlg::FramePictureFiles() {
    std::vector<std::string> paths;
    for (const FramePicture& f : kFramePictures) paths.push_back(f.path);
    return paths;
}

bool CPavlenDlg::LoadFrameImages() {
    CxImage* const frame[] = {&m_bg,      &m_minUp,       &m_minOn,    &m_closeUp,  &m_closeOn, &m_soundUp,
                              &m_soundOnFace, &m_silentUp, &m_silentOn, &m_rightBg, &m_peopleNum, &m_peopleNum2};
    static_assert(sizeof frame / sizeof frame[0] == sizeof kFramePictures / sizeof kFramePictures[0],
                  "one member per frame picture");
    // A picture that cannot be read ends the table as one that throws does.
    try {
        if (!TakeFramePicture(kFramePictures[0], m_bg)) return false;
        RECT window, client;
        GetWindowRect(&window);
        GetClientRect(&client);
        SetWindowPos(nullptr, 0, 0, W(m_bg) + (window.right - window.left) - client.right,
                     H(m_bg) + (window.bottom - window.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
        m_loading.Start(this);
        for (size_t i = 1; i < sizeof frame / sizeof frame[0]; ++i)
            if (!TakeFramePicture(kFramePictures[i], *frame[i])) return false;
    } catch (...) {
        return false;
    }
    return true;
}

void CPavlenDlg::PlaceFrameButtons() {
    const int W0 = m_client.right, H0 = m_client.bottom;
    const int wc = W(m_closeUp), hs = H(m_soundUp);
    MoveTo(m_close, W0 - wc - 10, 2);
    MoveTo(m_minimize, W0 - wc - 10 - wc - 1, 2);
    MoveTo(m_soundOnButton, 20, H0 - hs - 10);
    MoveTo(m_soundOffButton, 20, H0 - hs - 14);
    // Two faces each: the hover face also stands for the pressed one.
    m_close.SetImages(&m_closeUp, &m_closeOn, &m_closeOn);
    m_minimize.SetImages(&m_minUp, &m_minOn, &m_minOn);
    m_soundOnButton.SetImages(&m_soundUp, &m_soundOnFace, &m_soundOnFace);
    m_soundOffButton.SetImages(&m_silentUp, &m_silentOn, &m_silentOn);
    for (int id : {IDC_CLOSE, IDC_MINIMIZE}) ShowControl(id, TRUE);
}

void CPavlenDlg::SetupSystemMenu() {
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu) return;
    menu->ModifyMenu(0, MF_BYPOSITION | MF_STRING, 0xF010, "最小化(&N)");
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, SC_RESTORE, "还原(&R)");
}

void CPavlenDlg::LayoutGameButtons() {
    CGameImages* images = GetGameImages();
    if (!images) return;
    const int W0 = m_client.right, H0 = m_client.bottom;
    const int wA = images->Width(273), hA = images->Height(273), wB = images->Width(265), u = wB + wB / 2;
    const int hP = images->Height(209), wR = images->Width(237);
    const int wG = images->Width(298), hG = images->Height(298), wC = images->Width(320), hC = images->Height(320);

    const int autoY = H0 - hA - 10;
    MoveTo(m_autoPlay, wA + 30, autoY);
    MoveTo(m_cancelAuto, wA + 30, autoY);
    MoveTo(m_sort, 2 * wA + 40, autoY);
    MoveTo(m_nextPair, -1000, -1000);
    MoveTo(m_nextTriple, -1000, -1000);

    const int y = H0 - hP - 196;
    MoveTo(m_ready, (W0 - wR - 200) / 2, y);
    const int x0 = (W0 - 4 * wB - 200) / 2;
    MoveTo(m_play, x0, y);
    MoveTo(m_pass, x0 + u, y);
    MoveTo(m_hint, x0 + 2 * u, y);
    const int x1 = (W0 - (3 * wB) / 2 - 4 * wB - 200) / 2;
    CXImgButton* bids[] = {&m_bid1, &m_bid2, &m_bid3, &m_noBid};
    for (int i = 0; i < 4; ++i) MoveTo(*bids[i], x1 + i * u, y);
    const int x2 = (W0 - wB / 2 - 2 * wB - 200) / 2;
    for (CXImgButton* b : {&m_double, &m_redouble, &m_contestYes}) MoveTo(*b, x2, y);
    for (CXImgButton* b : {&m_noDouble, &m_noRedouble, &m_contestNo}) MoveTo(*b, x2 + wB + wB / 2, y);

    const int xr = (W0 - wG - 200) / 2 - wC - 50, yr = (H0 - hG) / 2 - hC - 15 + hG;
    MoveTo(m_backToLobby, xr + wG, yr);
    MoveTo(m_continue, xr + wG - wC - 5, yr);
}

void CPavlenDlg::SkinGameButtons() {
    CGameImages* images = GetGameImages();
    if (!images) return;
    const struct {
        CXImgButton* button;
        int first;  // up face; hover, pressed and region follow
    } sets[] = {{&m_ready, 237},      {&m_play, 213},       {&m_pass, 209},       {&m_hint, 217},
                {&m_bid1, 221},       {&m_bid2, 225},       {&m_bid3, 229},       {&m_noBid, 233},
                {&m_double, 241},     {&m_noDouble, 245},   {&m_redouble, 249},   {&m_noRedouble, 253},
                {&m_contestYes, 257}, {&m_contestNo, 261},  {&m_nextPair, 265},   {&m_nextTriple, 269},
                {&m_cancelAuto, 278}, {&m_sort, 294},       {&m_leave, 282},      {&m_continue, 320},
                {&m_backToLobby, 324}};
    for (const auto& s : sets)
        s.button->SetImagesWithRgn(images->Get(s.first), images->Get(s.first + 1), images->Get(s.first + 2),
                                   images->GetRegion(s.first + 3));
    // Auto play: region 277, its own disabled face 276.
    m_autoPlay.SetImagesWithRgn(images->Get(273), images->Get(274), images->Get(275), images->GetRegion(277),
                                images->Get(276));
    m_cancelAuto.SetCaption("取消托管");
    m_sort.SetCaption("排序");
    m_leave.SetCaption("退出游戏");
    for (CXImgButton* b : {&m_play, &m_pass, &m_hint, &m_bid1, &m_bid2, &m_bid3, &m_noBid}) b->SetCaption("");
}

void CPavlenDlg::ReleaseScreen() {
    if (m_windowDC.m_hDC) ::ReleaseDC(m_hWnd, m_windowDC.Detach());
    m_backBuffer.DeleteObject();
}

BOOL CPavlenDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_RBUTTONDOWN && m_groupMovie && msg->hwnd == m_groupMovie->m_hWnd) return TRUE;
    if (msg->message == 0x36A) return TRUE;
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_F1)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CPavlenDlg::OnPaint() {
    CPaintDC dc(this);
    if (IsIconic()) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
        RECT r;
        GetClientRect(&r);
        const int x = (r.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (r.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_icon);
        return;
    }
    InvalidateAll();
    Render(&dc);
}

void CPavlenDlg::OnWindowPosChanged(WINDOWPOS* pos) {
    CDialog::OnWindowPosChanged(pos);
    RECT window;
    GetWindowRect(&window);
    const int W0 = m_client.right, H0 = m_client.bottom;
    const int bx = (window.right - window.left - W0) / 2;
    if (m_effectMovie && m_effectMovie->m_hWnd && m_game.State().phase != 15)
        m_effectMovie->MoveWindow(window.left + bx, window.top + (window.bottom - window.top) - H0 - bx, W0, H0);
    if (m_panel && m_panel->m_hWnd) {
        RECT panel;
        m_panel->GetWindowRect(&panel);
        m_panel->SetWindowPos(nullptr, window.left + W0 - (panel.right - panel.left) - 6, window.top + 23, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RaiseFloatingWindows((pos->flags & SWP_SHOWWINDOW) || !(pos->flags & SWP_NOZORDER));
    Invalidate();
}

void CPavlenDlg::OnSysCommand(UINT code, LPARAM lParam) {
    if (code == 0xF010) {
        CloseWindow();
        return;
    }
    CDialog::OnSysCommand(code, lParam);
}


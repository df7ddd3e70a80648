// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/ui/DlgRight.h"

#include <cstdio>
#include <memory>

#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "game/core/MsgFactory.h"
#include "game/ui/GameImages.h"
#include "game/ui/ImageRegion.h"
#include "game/ui/PanelText.h"
#include "game/ui/SkinPaint.h"
#include "game/ui/TableHooks.h"
#include "platform/AppServices.h"
#include "platform/TextFont.h"

namespace {

constexpr COLORREF kLabel = 0xFFDB79;
constexpr COLORREF kValue = 0xFFF7BD;
constexpr COLORREF kListBack = 0x9C6110;
constexpr COLORREF kInputBack = 0xFFFAEB;
constexpr int kInputLimit = 200;

// The oldest lines of a history give way to a line of `bytes`: what goes past
// the control's text limit would not be shown at all.
void MakeRoom(CSkinRichEditCtrl& history, size_t bytes) {
    const long limit = static_cast<long>(history.SendMessage(EM_GETLIMITTEXT));
    const long length = history.GetTextLength();
    const long excess = length + static_cast<long>(bytes) - limit;
    if (limit <= 0 || excess <= 0) return;
    const long line = static_cast<long>(history.SendMessage(EM_EXLINEFROMCHAR, 0, excess));
    long cut = static_cast<long>(history.SendMessage(EM_LINEINDEX, line + 1));
    if (cut < 0) cut = length;
    history.SetSel(0, cut);
    history.ReplaceSel("");
}

// The pictures of an image table entry.
enum {
    kHeaderSpan = 355, kVerticalTop = 358, kMoreUp = 368, kMoreHover = 369, kSendUp = 370,
    kQuickUp = 373
};

HFONT MakeFont(const char* face, int height, int weight, BOOL underline) {
    return AfxTextFont(face, height, weight, underline, ANTIALIASED_QUALITY, DEFAULT_PITCH);
}

// Draws text at (x, y) in colour; returns the x after it.
int Text(HDC dc, int x, int y, const CString& text, COLORREF colour) {
    ::SetTextColor(dc, colour);
    ::TextOutA(dc, x, y, text, text.GetLength());
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    return x + size.cx;
}

HBRUSH InputBrush() {
    static HBRUSH brush = ::CreateSolidBrush(kInputBack);
    return brush;
}

bool g_adViewCreated = false;  // once per process, for every panel

}  // namespace

BEGIN_MESSAGE_MAP(CDlgRight, CDialog)
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_NOTIFY(HDN_ENDTRACKA, 0, OnNothing)
ON_NOTIFY(HDN_ENDTRACKW, 0, OnNothing)
ON_NOTIFY(LVN_KEYDOWN, IDC_PANEL_SECOND_LIST, OnNothing)
ON_NOTIFY(NM_RETURN, IDC_PANEL_RANK_LIST, OnNothing)
ON_COMMAND(IDC_PANEL_LINK, OnLinkCommand)
ON_BN_CLICKED(IDC_PANEL_SEND, OnSend)
ON_BN_CLICKED(IDC_PANEL_QUICK, OnQuickInput)
ON_EN_SETFOCUS(IDC_PANEL_INPUT, OnInputSetFocus)
ON_EN_KILLFOCUS(IDC_PANEL_INPUT, OnInputKillFocus)
ON_CBN_CLOSEUP(IDC_PANEL_PHRASES, OnPhraseCloseUp)
ON_BN_CLICKED(IDC_PANEL_MORE_RANKS, OnMoreRanks)
END_MESSAGE_MAP()

CDlgRight::CDlgRight(CWnd* parent) : CDialog(IDD, parent), m_adView(nullptr) {
    // The chat history is a rich edit of the template.
    AfxInitRichEdit2();
}

CDlgRight::~CDlgRight() { DestroyWindow(); }

void CDlgRight::SetPictures(CxImage* background, CxImage* peopleDigits, CxImage* rankDigits) {
    m_background = background;
    m_peopleDigits = peopleDigits;
    m_rankDigits = rankDigits;
}

void CDlgRight::SetImageTablePictures(CxImage* const* entries) {
    for (int i = 0; i < kEntryCount; ++i) m_entries[i] = entries ? entries[i] : nullptr;
}

void CDlgRight::SetImageTable(const CGameImages* images) {
    for (int i = 0; i < kEntryCount; ++i) m_entries[i] = images ? images->Get(kFirstEntry + i) : nullptr;
}

int CDlgRight::BackgroundWidth() const { return skin::Width(m_background); }
int CDlgRight::BackgroundHeight() const { return skin::Height(m_background); }

CString CDlgRight::ReadSetting(const char* key) const {
    char value[512] = "";
    ::GetPrivateProfileStringA("SYSTEM", key, "", value, sizeof value, GetGameSession()->ConfigPath());
    return CString(value);
}

BOOL CDlgRight::OnInitDialog() {
    CDialog::OnInitDialog();
    m_unusedCombo.SubclassDlgItem(IDC_PANEL_UNUSED_COMBO, this);
    m_rankList.SubclassDlgItem(IDC_PANEL_RANK_LIST, this);
    m_secondList.SubclassDlgItem(IDC_PANEL_SECOND_LIST, this);
    m_moreRanks.SubclassDlgItem(IDC_PANEL_MORE_RANKS, this);
    m_send.SubclassDlgItem(IDC_PANEL_SEND, this);
    m_quickInput.SubclassDlgItem(IDC_PANEL_QUICK, this);
    m_link.SubclassDlgItem(IDC_PANEL_LINK, this);
    m_phrases.SubclassDlgItem(IDC_PANEL_PHRASES, this);
    m_input.SubclassDlgItem(IDC_PANEL_INPUT, this);
    m_history.SubclassDlgItem(IDC_PANEL_HISTORY, this);

    const int width = BackgroundWidth(), height = BackgroundHeight();
    if (width > 0 && height > 0) MoveWindow(0, 0, width, height, FALSE);
    m_rankList.MoveWindow(2, 287, width - 16, 221);
    m_rankList.FlatScrollSetup();
    m_rankList.ShowWindow(SW_HIDE);
    if (HRGN region = CreateRegionFromImage(m_background)) SetWindowRgn(region, TRUE);

    m_link.SetURL(ReadSetting("url1"));
    m_link.SetUnderline(CHyperLink::kUnderlineAlways);
    m_link.SetBackgroundColour(kListBack);
    m_link.SetColours(0xFFDB79, 0xFFDB79, 0x0000FF);
    m_link.SetWindowPos(nullptr, 8, 265, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_link.ShowWindow(SW_SHOW);
    SetTimer(kTimerId, kTimerMs);
    return TRUE;
}

void CDlgRight::PlaceButton(CXImgButton& button, int x, int y, CxImage* up, CxImage* hover, CxImage* pressed) {
    button.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (up) button.SetImages(up, hover, pressed);
    button.ShowWindow(SW_SHOW);
}

void CDlgRight::InitRankList() {
    CxImage* const* e = m_entries;
    m_rankList.AttachSkin(e + (kHeaderSpan - kFirstEntry));
    m_rankList.SetBkColor(kListBack);
    m_rankList.SetTextColor(kValue);
    m_rankList.SetTextBkColor(kListBack);
    m_rankList.SetSelectedColours(kValue, 0xC68E18);
    m_rankList.Header().SetTextColor(kValue);
    m_rankList.InsertColumn(0, "排名", LVCFMT_LEFT, 28);
    m_rankList.InsertColumn(1, "昵称", LVCFMT_LEFT, 84);
    m_rankList.InsertColumn(2, "输赢", LVCFMT_LEFT, 50);
    m_rankList.InsertColumn(3, "局数", LVCFMT_LEFT, 30);
    m_rankList.ShowWindow(SW_SHOW);
    m_rankList.PlaceBars();

    PlaceButton(m_moreRanks, 134, 172, e[kMoreUp - kFirstEntry], e[kMoreHover - kFirstEntry],
                e[kMoreUp - kFirstEntry]);
    m_unusedCombo.ShowWindow(SW_HIDE);
    m_unusedCombo.EnableWindow(FALSE);

    const int width = BackgroundWidth(), height = BackgroundHeight();
    m_history.MoveWindow(2, 522, width - 16, 133);
    m_history.AttachSkin(e + (kVerticalTop - kFirstEntry));
    m_history.SetBackgroundColor(FALSE, 0x683903);
    m_history.ShowWindow(SW_SHOWNA);

    const int y = height - skin::Height(e[kSendUp - kFirstEntry]);
    m_phrases.MoveWindow(14, y, 100, 100);
    const CString path = GetGameSession()->ConfigPath();
    const int count = static_cast<int>(::GetPrivateProfileIntA("SYSTEM", "customcount", 0, path));
    for (int i = 1; i <= count && i <= 10000; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "custom%d", i);
        m_phrases.AddString(ReadSetting(key));
    }
    m_input.MoveWindow(14, y, 100, 22);
    m_input.SetWindowText(kPlaceholder);
    m_input.LimitText(kInputLimit);
    m_input.ShowWindow(SW_SHOWNA);
    PlaceButton(m_quickInput, 119, y - 4, e[kQuickUp - kFirstEntry], e[kQuickUp + 1 - kFirstEntry],
                e[kQuickUp + 2 - kFirstEntry]);
    PlaceButton(m_send, skin::Width(e[kQuickUp - kFirstEntry]) + 120, y - 5, e[kSendUp - kFirstEntry],
                e[kSendUp + 1 - kFirstEntry], e[kSendUp + 2 - kFirstEntry]);
}

void CDlgRight::SetMyRank(int rank, int total) {
    m_myRank = rank < 0 ? 0 : rank;
    m_total = total < 0 ? 0 : total;
    if (m_hWnd) Invalidate(FALSE);
}

void CDlgRight::SetNetWinLoss(const std::string& text) {
    m_netWinLoss = text.c_str();
    if (m_hWnd) Invalidate(FALSE);
}

void CDlgRight::SetGames(int count) {
    m_games = count;
    if (m_hWnd) Invalidate(FALSE);
}

void CDlgRight::SetRemainTime(int seconds) {
    if (seconds <= 0) return;
    m_remainSeconds = seconds;
    m_countdownStamp = GameClockNow();
    if (!m_countdownStamp) m_countdownStamp = 1;  // 0 means stopped
    if (m_hWnd) Invalidate(FALSE);
}

void CDlgRight::ShowAdPage(const std::string& address) {
    m_adAddress = address.c_str();
    if (m_adView.m_hWnd) m_adView.Navigate(m_adAddress);
}

void CDlgRight::AppendChat(const std::string& text, COLORREF colour) {
    if (text.empty() || !m_history.m_hWnd) return;
    const std::string line = ClipChatLine(UnescapeChat(text));
    MakeRoom(m_history, line.size());
    m_history.SetSel(-1, -1);
    CHARFORMATA cf = {};
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_COLOR;
    cf.yHeight = 182;
    cf.bCharSet = GB2312_CHARSET;
    cf.crTextColor = colour;
    lstrcpynA(cf.szFaceName, "宋体", LF_FACESIZE);
    m_history.SetSelectionCharFormat(cf);
    m_history.ReplaceSel(line.c_str());
    m_history.SendMessage(EM_REQUESTRESIZE);  // the scroll range of the new text
    m_history.LineScroll(m_history.ScrollRange() - m_history.GetFirstVisibleLine());
    m_history.RefreshBars();
}

void CDlgRight::OnTimer(UINT_PTR id) {
    if (id != kTimerId) return;
    if (!g_adViewCreated) {
        g_adViewCreated = true;
        if (m_adView.Create(IDD_EXPLORER, this)) {
            m_adView.MoveWindow(2, 0, BackgroundWidth() * 2, 168);
            m_adView.Navigate(ReadSetting("advulr"));
            m_adView.ShowWindow(SW_SHOWNA);
        }
    }
    StepCountdown();
}

void CDlgRight::StepCountdown() {
    if (!m_countdownStamp) return;
    const DWORD now = GameClockNow();
    if (now - m_countdownStamp <= 999) return;
    const int was = m_remainSeconds--;
    m_countdownStamp = now ? now : 1;
    if (was <= 1) {
        m_remainSeconds = 0;
        m_countdownStamp = 0;
    }
    Invalidate(FALSE);
}

int CDlgRight::DrawDigits(HDC dc, CxImage* strip, int value, int x, int y) const {
    const int cell = skin::Width(strip) / 10, height = skin::Height(strip);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    for (const char* d = digits; *d; ++d, x += cell) {
        if (cell <= 0 || *d < '0' || *d > '9') continue;
        RECT clip = {x, y, x + cell, y + height};
        strip->Draw(dc, x - (*d - '0') * cell, y, -1, -1, &clip);
    }
    return x;
}

void CDlgRight::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    const int width = BackgroundWidth() > 0 ? BackgroundWidth() : client.Width();
    const int height = BackgroundHeight() > 0 ? BackgroundHeight() : client.Height();
    CMemDC buffer(paint, CRect(0, 0, width, height));
    HDC dc = buffer;
    buffer.FillSolidRect(0, 0, width, height, kListBack);
    skin::Draw(m_background, dc, 0, 0);
    ::SetBkMode(dc, TRANSPARENT);
    HFONT song = MakeFont("宋体", 12, FW_NORMAL, FALSE);
    HFONT slash = MakeFont("黑体", 24, 900, FALSE);
    HFONT hei = MakeFont("黑体", 12, FW_NORMAL, TRUE);
    HGDIOBJ oldFont = ::SelectObject(dc, song);

    // Own rank / total.
    const int labelEnd = Text(dc, 9, 204, "我的排名", kLabel);
    int x = DrawDigits(dc, m_rankDigits, m_myRank, labelEnd - 9 + 14, 200);
    ::SelectObject(dc, slash);
    Text(dc, x, 205, "/", 0x0065FF);
    Text(dc, x - 3, 210, "/", 0x0065FF);
    DrawDigits(dc, m_peopleDigits, m_total, x + skin::Width(m_rankDigits) / 10, 207);

    // Net win or loss and games.
    ::SelectObject(dc, song);
    const int netLabelEnd = Text(dc, 9, 228, "净输赢:", kLabel);
    x = Text(dc, netLabelEnd - 9 + 14, 228, m_netWinLoss, kValue);
    x = Text(dc, x + 10, 228, "局数:", kLabel);
    char number[16];
    std::snprintf(number, sizeof number, "%d", m_games);
    Text(dc, x + 5, 228, number, kValue);

    // Match time left.
    x = Text(dc, 9, 246, "比赛剩余时间:", kLabel);
    ::SelectObject(dc, hei);
    const int hours = m_remainSeconds / 3600, rest = m_remainSeconds % 3600;
    x = Text(dc, x, 246, TwoDigits(hours).c_str(), kValue);
    x = Text(dc, x, 246, "小时", kLabel);
    x = Text(dc, x, 246, TwoDigits(rest / 60).c_str(), kValue);
    x = Text(dc, x, 246, "分钟", kLabel);
    x = Text(dc, x, 246, TwoDigits(rest % 60).c_str(), kValue);
    Text(dc, x, 246, "秒", kLabel);

    ::SelectObject(dc, oldFont);
}

HBRUSH CDlgRight::OnCtlColor(CDC* dc, CWnd* wnd, UINT) {
    if (!wnd || wnd->m_hWnd != m_input.m_hWnd) return reinterpret_cast<HBRUSH>(Default());
    CString text;
    m_input.GetWindowText(text);
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(kInputBack);
    dc->SetTextColor(!m_inputFocused && text == kPlaceholder ? RGB(192, 192, 192) : RGB(0, 0, 0));
    return InputBrush();
}

void CDlgRight::OnInputSetFocus() {
    m_inputFocused = 1;
    CString text;
    m_input.GetWindowText(text);
    if (text == kPlaceholder) m_input.SetWindowText("");
}

void CDlgRight::OnInputKillFocus() {
    m_inputFocused = 0;
    CString text;
    m_input.GetWindowText(text);
    if (text.IsEmpty()) m_input.SetWindowText(kPlaceholder);
}

void CDlgRight::OnPhraseCloseUp() {
    const int selected = m_phrases.GetCurSel();
    if (selected >= 0) {
        CString phrase;
        m_phrases.GetLBText(selected, phrase);
        if (!phrase.IsEmpty()) m_input.SetWindowText(phrase);
    }
    m_input.SetFocus();
}

void CDlgRight::OnMoreRanks() {
    const CString address = ReadSetting("moresocre");
    if (!address.IsEmpty()) ShellOpen(address.GetString());
}

void CDlgRight::SendChat() {
    CString text;
    m_input.GetWindowText(text);
    if (text == kPlaceholder) {
        m_input.SetWindowText("");
        m_input.SetFocus();
        return;
    }
    if (text.IsEmpty()) return;
    const std::string escaped = EscapeChat(text.GetString());
    CGameSession* session = GetGameSession();
    if (session->chatName != " ") {
        unsigned int length = 0;
        std::unique_ptr<unsigned char[]> request(
            GetMsgFactory()->BuildChat(kLabel, session->chatName, " ", escaped, &length));
        if (request) session->SendMsg(reinterpret_cast<const char*>(request.get()), static_cast<int>(length));
    }
    m_input.SetWindowText("");
    m_input.SetFocus();
}

BOOL CDlgRight::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_RETURN) {
            if (m_input.m_hWnd && msg->hwnd == m_input.m_hWnd && m_send.m_hWnd && m_send.IsWindowEnabled())
                SendChat();
            return TRUE;
        }
        if (msg->wParam == VK_ESCAPE) return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

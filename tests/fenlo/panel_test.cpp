// The side panel beside a table: its digits and texts by pixel, the match
// count-down on the test clock, chat typed and sent, the stock phrases, the
// advertisement view; the table's messages reaching it; the Flash overlay
// against the recording control, and without Flash.
// winsock2.h (through the harness) must come before windows.h
#include "tests/fenlo/TableHarness.h"

#include <gtest/gtest.h>

#include <exdispid.h>
#include <olectl.h>

#include <fstream>

#include "game/ui/DlgRight.h"
#include "game/ui/Explorer.h"
#include "game/ui/FlashDlg.h"
#include "game/ui/PanelText.h"
#include "game/ui/TableHooks.h"
#include "platform/controls/HyperLink.h"
#include "tests/com/BrowserFakes.h"
#include "tests/fenlo/PanelTestKit.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/recording/RecordingControl.h"

using fenlo_test::TableHarness;

namespace {

const std::string kPanelSettings = fenlo_test::kTableSettings +
                                   "url1=http://127.0.0.1:1/top\r\nadvulr=http://127.0.0.1:1/ad\r\n"
                                   "advulr1=http://127.0.0.1:1/ad1\r\ncustomcount=2\r\ncustom1=zeta\r\n"
                                   "custom2=alpha\r\n";

COLORREF RankCell(int digit) { return RGB(10 + digit, 200, 10); }
COLORREF PeopleCell(int digit) { return RGB(200, 10 + digit, 10); }

MSG Msg(HWND wnd, UINT message, WPARAM wParam) {
    MSG msg = {};
    msg.hwnd = wnd;
    msg.message = message;
    msg.wParam = wParam;
    return msg;
}

// Dispatches messages through the windows' key filters.
void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < ms);
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        TableHarness::Folder();
        TableHarness::WriteSettings(kPanelSettings);
        SetGameClockSource(&TableHarness::Now);
        GetGameSession()->SetRequestSink([this](const char* text, int n) { requests.emplace_back(text, n); });
        GetGameSession()->chatName = "bob";
        CxImage* rank = art.Solid(100, 16, 0);
        CxImage* people = art.Solid(100, 16, 0);
        for (int d = 0; d < 10; ++d)
            for (int x = d * 10; x < d * 10 + 10; ++x)
                for (int y = 0; y < 16; ++y) {
                    rank->SetPixelColor(x, y, {10, 200, static_cast<BYTE>(10 + d), 255});
                    people->SetPixelColor(x, y, {10, static_cast<BYTE>(10 + d), 200, 255});
                }
        CxImage* entries[CDlgRight::kEntryCount];
        for (int i = 0; i < 13; ++i) entries[i] = list.pictures[i];
        entries[13] = entries[14] = art.Solid(40, 16, RGB(1, 2, 3));
        entries[15] = entries[16] = entries[17] = art.Solid(40, 20, RGB(4, 5, 6));
        entries[18] = entries[19] = entries[20] = art.Solid(50, 20, RGB(7, 8, 9));
        panel.SetPictures(art.Solid(220, 700, RGB(30, 40, 50)), people, rank);
        panel.SetImageTablePictures(entries);
        ASSERT_TRUE(panel.Create(CDlgRight::IDD, nullptr));
        panel.InitRankList();
        panel.ShowWindow(SW_SHOWNA);
        panel.UpdateWindow();
    }
    void TearDown() override {
        panel.DestroyWindow();
        GetGameSession()->SetRequestSink(nullptr);
        SetGameClockSource(nullptr);
    }
    int Count(const Capture& c, COLORREF colour, int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < c.width; ++x) n += c.At(x, y) == colour;
        return n;
    }
    Capture Shot() {
        panel.Invalidate(FALSE);
        panel.UpdateWindow();
        return CaptureWindow(panel);
    }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) ::PostMessageA(panel.Input(), WM_CHAR, static_cast<BYTE>(*c), 1);
        Pump(30);
    }
    CString InputText() {
        CString t;
        panel.Input().GetWindowText(t);
        return t;
    }

    paneltest::Art art;
    paneltest::ListArt list{art};
    CDlgRight panel;
    std::vector<std::string> requests;
};

}  // namespace

TEST(PanelText, EscapesAndMatchTime) {
    EXPECT_EQ("a@_3b@_1@_2@_4@_5@_6", EscapeChat("a<b\\=>/&"));
    EXPECT_EQ("x&y\r\n<", UnescapeChat("x@_6y&#xD;&#xA;@_3"));
    EXPECT_EQ("01", TwoDigits(3725 / 3600));
    EXPECT_EQ("05", TwoDigits(5));
    EXPECT_EQ("120", TwoDigits(120));
}

// A long chat line is cut on a character's boundary and keeps its line break.
TEST(PanelText, LongChatLinesAreCut) {
    EXPECT_EQ("short\r\n", ClipChatLine("short\r\n"));
    const std::string cut = ClipChatLine(std::string(5000, 'x') + "\r\n");
    EXPECT_EQ(cut, std::string(kMaxChatLine, 'x') + "\r\n");
    const std::string gbk = ClipChatLine("x" + std::string(3000, '\xD6'));  // one byte, then two-byte characters
    EXPECT_EQ(gbk.size(), kMaxChatLine - 1);
}

// The first test of the panel: the view is made once per process, on the
// first timer tick of the first panel.
TEST_F(PanelTest, AdvertisementViewOnceAndStaysOpen) {
    panel.SendMessage(WM_TIMER, CDlgRight::kTimerId);
    CExplorer& view = panel.AdView();
    ASSERT_TRUE(view.m_hWnd);
    EXPECT_EQ(panel.m_hWnd, ::GetParent(view));
    panel.ShowAdPage("http://127.0.0.1:1/ad1?stageid=3&cnsttype=4");
    EXPECT_STREQ("http://127.0.0.1:1/ad1?stageid=3&cnsttype=4", panel.AdAddress());
    for (UINT m : {WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        MSG msg = Msg(view, m, 0);
        EXPECT_TRUE(view.PreTranslateMessage(&msg));
    }
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        MSG msg = Msg(view, WM_KEYDOWN, key);
        EXPECT_TRUE(view.PreTranslateMessage(&msg));
    }
    Pump(50);
    EXPECT_TRUE(::IsWindow(view));
}

TEST_F(PanelTest, SettersRepaintTheDigitsAndTheCountDownRuns) {
    panel.SetMyRank(-3, 120);
    Capture c = Shot();
    EXPECT_EQ(0, panel.MyRank());
    EXPECT_GT(Count(c, RankCell(0), 200, 216), 50);
    for (int d : {1, 2, 0}) EXPECT_GT(Count(c, PeopleCell(d), 207, 223), 50) << d;
    panel.SetMyRank(15, 7);
    c = Shot();
    EXPECT_GT(Count(c, RankCell(1), 200, 216), 50);
    EXPECT_GT(Count(c, RankCell(5), 200, 216), 50);
    EXPECT_EQ(0, Count(c, RankCell(0), 200, 216));
    EXPECT_GT(Count(c, PeopleCell(7), 207, 223), 50);
    panel.SetNetWinLoss("-350");
    panel.SetGames(12);
    const int valueBefore = Count(Shot(), 0xFFF7BD, 226, 242);
    panel.SetNetWinLoss("-350000");
    EXPECT_GT(Count(Shot(), 0xFFF7BD, 226, 242), valueBefore);

    TableHarness::now = 50000;
    panel.SetRemainTime(3725);
    panel.SetRemainTime(0);  // ignored
    EXPECT_EQ(3725, panel.RemainSeconds());
    TableHarness::now += 999;
    panel.SendMessage(WM_TIMER, CDlgRight::kTimerId);
    EXPECT_EQ(3725, panel.RemainSeconds());
    TableHarness::now += 2;
    panel.SendMessage(WM_TIMER, CDlgRight::kTimerId);
    EXPECT_EQ(3724, panel.RemainSeconds());
    panel.SetRemainTime(1);
    TableHarness::now += 1000;
    panel.SendMessage(WM_TIMER, CDlgRight::kTimerId);
    EXPECT_EQ(0, panel.RemainSeconds());
    TableHarness::now += 5000;
    panel.SendMessage(WM_TIMER, CDlgRight::kTimerId);
    EXPECT_EQ(0, panel.RemainSeconds());
    SavePng(Shot(), "side_panel");
}

TEST_F(PanelTest, ChatSentByButtonAndEnterAndPhrases) {
    EXPECT_STREQ(CDlgRight::kPlaceholder, InputText());
    panel.Input().SetFocus();
    EXPECT_STREQ("", InputText());  // the placeholder leaves with the focus
    Type("a<b");
    CRect send;
    ::GetClientRect(::GetDlgItem(panel, IDC_PANEL_SEND), &send);
    paneltest::Click(::GetDlgItem(panel, IDC_PANEL_SEND), 3, 3);
    ASSERT_TRUE(PumpUntil([&] { return requests.size() == 1; }));
    EXPECT_NE(std::string::npos, requests[0].find("a@_3b"));
    EXPECT_STREQ("", InputText());

    Type("x>y");
    ::PostMessageA(panel.Input(), WM_KEYDOWN, VK_RETURN, 1);
    Pump(50);
    ASSERT_EQ(2u, requests.size());
    EXPECT_NE(std::string::npos, requests[1].find("x@_4y"));

    panel.Input().SetWindowText(CDlgRight::kPlaceholder);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PANEL_SEND, BN_CLICKED), 0);
    EXPECT_STREQ("", InputText());  // only cleared
    GetGameSession()->chatName = " ";
    Type("quiet");
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PANEL_SEND, BN_CLICKED), 0);
    EXPECT_EQ(2u, requests.size());

    // Escape is swallowed.
    MSG esc = Msg(panel.Input(), WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(panel.PreTranslateMessage(&esc));
    Pump(20);
    EXPECT_TRUE(panel.IsWindowVisible());

    CComboBox& phrases = panel.Phrases();
    ASSERT_EQ(2, phrases.GetCount());
    CString first;
    phrases.GetLBText(0, first);
    EXPECT_STREQ("alpha", first);
    phrases.SetCurSel(1);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PANEL_PHRASES, CBN_CLOSEUP), reinterpret_cast<LPARAM>(phrases.m_hWnd));
    EXPECT_STREQ("zeta", InputText());
}

TEST_F(PanelTest, ChatLinesAreColouredAndScrolledIntoView) {
    panel.AppendChat("x@_6y&#xD;&#xA;", RGB(0, 255, 0));
    CSkinRichEditCtrl& history = panel.History();
    EXPECT_STREQ("x&y", history.GetTextRange(0, 3));
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    history.SetSel(0, 1);
    history.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    EXPECT_EQ(RGB(0, 255, 0), cf.crTextColor);
    for (int i = 0; i < 40; ++i) panel.AppendChat("[bob]: line " + std::to_string(i) + "\r\n", RGB(255, 0, 0));
    ASSERT_GT(history.ScrollRange(), 0);
    const int first = history.GetFirstVisibleLine();
    EXPECT_GT(first, 30);
    history.LineScroll(1);  // already at the end
    EXPECT_EQ(first, history.GetFirstVisibleLine());

    // Past the history's text limit the oldest lines give way.
    const std::string filler(950, 'f');
    for (int i = 0; i < 36; ++i) panel.AppendChat("[bob]: " + std::to_string(i) + filler + "\r\n", RGB(255, 0, 0));
    const long length = history.GetTextLength();
    EXPECT_LE(length, static_cast<long>(history.SendMessage(EM_GETLIMITTEXT)));
    const std::string text = static_cast<const char*>(history.GetTextRange(0, length));
    EXPECT_NE(text.find("[bob]: 35f"), std::string::npos);
    EXPECT_EQ(text.find("[bob]: 0f"), std::string::npos);
}

TEST(PanelTable, TableMessagesReachThePanel) {
    TableHarness h;
    TableHarness::WriteSettings(kPanelSettings);
    CDlgRight panel;
    ASSERT_TRUE(panel.Create(CDlgRight::IDD, h.table));
    panel.InitRankList();
    h.table->SetSidePanel(&panel);

    auto* chat = new CChatMsg;
    chat->playerName = "carol";
    chat->content = "hi@_3";
    chat->color = RGB(1, 2, 3);
    h.Hand(chat);
    auto* system = new CChatMsg;
    system->sysMsg = 1;
    system->content = "sys";
    h.Hand(system);
    auto* notice = new CGameNotice;
    notice->body = "notice";
    h.Hand(notice);
    CString text = panel.History().GetTextRange(0, panel.History().GetTextLength());
    EXPECT_STREQ("[carol]: hi<\rsysnotice\r", text);

    auto* top = new CRankTopNMsg;
    top->rank = {3, 1, 2};
    top->nickName = {"c", "a", "b"};
    top->winLoss = {"-5", "9", "1"};
    top->rounds = {"4"};  // shorter than the others
    h.Hand(top);
    CSkinListCtrl* list = panel.GetRankList();
    ASSERT_EQ(3, list->GetItemCount());
    EXPECT_EQ("a", list->StoredText(0, 1));
    EXPECT_EQ("", list->StoredText(0, 3));
    EXPECT_EQ("c", list->StoredText(2, 1));

    auto* rank = new CPlayerRankMsg;
    rank->rank = 4;
    rank->total = 30;
    rank->winLoss = "+12";
    rank->rounds = 6;
    h.Hand(rank);
    EXPECT_EQ(30, panel.RankTotal());
    EXPECT_STREQ("+12", panel.NetWinLoss());
    auto* time = new CRemainTimeMsg;
    time->remainTime = 90;
    time->stageId = 3;
    time->contestType = 4;
    h.Hand(time);
    EXPECT_EQ(90, panel.RemainSeconds());
    EXPECT_STREQ("http://127.0.0.1:1/ad1?stageid=3&cnsttype=4", panel.AdAddress());
    h.table->SetSidePanel(nullptr);
    h.Hand(new CGameNotice);  // no panel: nothing happens
}

namespace {

class FlashTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::OleInitialize(nullptr); }
    static void TearDownTestSuite() { ::OleUninitialize(); }
    void SetUp() override {
        char exe[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        dir = std::string(exe, n);
        dir = dir.substr(0, dir.rfind('\\') + 1);
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        log = std::string(temp) + "flash_" + std::to_string(::GetCurrentProcessId()) + ".log";
        ::DeleteFileA(log.c_str());
        ::SetEnvironmentVariableA("MIRABO_RECORDING_LOG", log.c_str());
        ASSERT_TRUE(paneltest::CreateHost(host, 300, 200));
        host.MoveWindow(50, 40, 300, 200);
    }
    void TearDown() override {
        host.DestroyWindow();
        UnregisterRecordingControl(flash::kClsid, nullptr);
        ::DeleteFileA(log.c_str());
    }
    std::string Log() {
        std::ifstream in(log, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir, log;
    CWnd host;
};

}  // namespace

TEST_F(FlashTest, MovieIsSetTransparentAndKeyedOverTheParent) {
    ASSERT_TRUE(RegisterRecordingControl(flash::kClsid, nullptr, dir + "RecordingControl.dll"));
    CFlashDlg movie("C:\\game\\fenlo\\flash\\bomb1.swf", &host);
    ASSERT_TRUE(movie.Create(CFlashDlg::IDD, &host));
    ASSERT_TRUE(movie.HasControl());
    const std::string calls = Log();
    EXPECT_EQ(0u, calls.find("133 4 [8:transparent]\nsite\n")) << "transparent before the control is attached";
    EXPECT_NE(std::string::npos, calls.find("102 4 [8:C:\\game\\fenlo\\flash\\bomb1.swf]"));
    EXPECT_NE(std::string::npos, calls.find("123 4 [3:0]"));
    EXPECT_NE(std::string::npos, calls.find("106 4 [b:0]"));
    EXPECT_TRUE(movie.GetExStyle() & WS_EX_LAYERED);
    CRect inner, outer;
    movie.Host().GetClientRect(&inner);
    EXPECT_EQ(300, inner.Width());
    movie.GetWindowRect(&outer);
    POINT origin = {0, 0};
    host.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, outer.left);
    // A script's command reaches no handler and changes nothing.
    movie.Host().InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_BSTR,
                              static_cast<long>(flash::kFSCommand), "return", "");
    PumpMessages(20);
    EXPECT_TRUE(::IsWindow(movie));
}

TEST_F(FlashTest, TheTableShowsOneEffectMovieAtATime) {
    ASSERT_TRUE(RegisterRecordingControl(flash::kClsid, nullptr, dir + "RecordingControl.dll"));
    TableHarness h;
    h.table->ShowEffectMovie(100);
    CFlashDlg* first = h.table->EffectMovie();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->HasControl());
    const std::string path = first->MoviePath().GetString();
    EXPECT_EQ("\\fenlo\\flash\\spring.swf", path.substr(path.size() - 23));
    h.table->ShowEffectMovie(42);  // unknown codes play the fourth bomb
    const std::string next = h.table->EffectMovie()->MoviePath().GetString();
    EXPECT_EQ("bomb4.swf", next.substr(next.size() - 9));
    h.table->CloseEffectMovie();
    EXPECT_EQ(nullptr, h.table->EffectMovie());
}

TEST_F(FlashTest, WithoutFlashTheOverlayClosesItself) {
    CFlashDlg movie("none.swf", &host);
    movie.Create(CFlashDlg::IDD, &host);
    EXPECT_FALSE(movie.HasControl());
    EXPECT_TRUE(PumpUntil([&] { return movie.m_hWnd == nullptr; }));
    EXPECT_TRUE(::IsWindow(host));
}

// A link of the chat history, clicked: only a web address goes to the shell.
TEST_F(PanelTest, ChatLinksOpenOnlyWebAddresses) {
    std::vector<std::string> opened;
    SetTableShellSink([&](const std::string& address) { opened.push_back(address); });
    CSkinRichEditCtrl& history = panel.History();
    const char* const links[] = {"c:\\windows\\system32\\cmd.exe", "cmd", "http://a/b"};
    std::vector<long> starts;
    std::string text;
    for (const char* link : links) {
        text += "see ";
        starts.push_back(static_cast<long>(text.size()));
        text += std::string(link) + " here\r";  // the control keeps a line break as \r
    }
    history.SetSel(-1, -1);
    history.ReplaceSel(text.c_str());
    for (size_t i = 0; i < starts.size(); ++i) {
        history.SetSel(starts[i], starts[i] + static_cast<long>(strlen(links[i])));
        CHARFORMAT2A cf = {};
        cf.cbSize = sizeof cf;
        cf.dwMask = CFM_LINK;
        cf.dwEffects = CFE_LINK;
        history.SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    }
    // The web address last: once it has opened, the clicks before it have been handled.
    for (long start : starts) {
        const CPoint at = history.PosFromChar(static_cast<UINT>(start + 1));
        paneltest::Click(history, at.x + 2, at.y + 5);
    }
    EXPECT_TRUE(PumpUntil([&] { return !opened.empty(); }));
    EXPECT_EQ(opened, std::vector<std::string>{"http://a/b"});
    SetTableShellSink(nullptr);
}

// Without its temporary storage (no temporary folder) the chat history runs
// without the OLE callback, and its text still works.
TEST(PanelHistory, WithoutItsStorageItRunsWithoutTheCallback) {
    char tmp[MAX_PATH] = "", temp[MAX_PATH] = "";
    ::GetEnvironmentVariableA("TMP", tmp, MAX_PATH);
    ::GetEnvironmentVariableA("TEMP", temp, MAX_PATH);
    for (const char* name : {"TMP", "TEMP"}) ::SetEnvironmentVariableA(name, "C:\\no\\such\\folder");
    auto history = std::make_unique<CSkinRichEditCtrl>();
    ::SetEnvironmentVariableA("TMP", tmp[0] ? tmp : nullptr);
    ::SetEnvironmentVariableA("TEMP", temp[0] ? temp : nullptr);
    EXPECT_EQ(nullptr, history->OleCallback());
    CWnd host;
    ASSERT_TRUE(paneltest::CreateHost(host));
    ASSERT_TRUE(history->Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_VSCROLL, CRect(10, 10, 250, 90),
                                &host, 1097));
    EXPECT_FALSE(history->CallbackRegistered());
    history->ReplaceSel("line\r\n");
    EXPECT_STREQ("line", history->GetTextRange(0, 4));
    history->DestroyWindow();
    host.DestroyWindow();
}

// The client's link: 0xEE0000 on the button face, underlined only under
// the mouse.
TEST(PanelLink, TheClientsDefaults) {
    CWnd host;
    ASSERT_TRUE(paneltest::CreateHost(host));
    HWND text = ::CreateWindowExA(0, "STATIC", "http://a/", WS_CHILD | WS_VISIBLE, 10, 10, 150, 20, host, nullptr,
                                  nullptr, nullptr);
    CHyperLink link(CHyperLink::kClientDefaults);
    ASSERT_TRUE(link.SubclassWindow(text));
    EXPECT_EQ(RGB(0, 0, 238), link.GetLinkColour());
    EXPECT_EQ(CHyperLink::kUnderlineHover, link.GetUnderline());
    link.Invalidate();
    PumpMessages(30);
    const Capture c = CaptureWindow(link);
    int inked = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) inked += c.At(x, y) == RGB(0, 0, 238);
    EXPECT_GT(inked, 0) << "the text in the link colour";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), c.At(c.width - 1, c.height - 1)) << "on the button face";
    link.DestroyWindow();
    host.DestroyWindow();
}

// The HTML view: its document flag once a page has completed, and the page's
// "ButtonCancel" ends it with OK.
TEST(PanelExplorer, DocumentFlagAndTheCancelButton) {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    {
        struct TestExplorer : CExplorer {
            int Result() const { return m_nModalResult; }
        } view;
        CWnd host;
        ASSERT_TRUE(paneltest::CreateHost(host));
        ASSERT_TRUE(view.Create(CExplorer::IDD, &host));
        CWebBrowserWnd& browser = view.GetBrowserWnd();
        IDispatch* sink = browser.GetEventSink();
        ASSERT_NE(nullptr, sink);
        EXPECT_EQ(0, view.DocumentComplete());
        comtest::EventArgs()
            .Dispatch(browser.GetControlDispatch())
            .Text(L"http://a/")
            .Fire(sink, DISPID_DOCUMENTCOMPLETE);
        EXPECT_EQ(1, view.DocumentComplete());

        comtest::FakeDocument page(L"ButtonCancel");
        view.ConnectDHtmlEvents(&page);
        ASSERT_NE(nullptr, page.button.sink);
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        EXPECT_EQ(S_OK, page.button.sink->Invoke(DISPID_CLICK, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                                                 nullptr));
        EXPECT_EQ(IDOK, view.Result());
        view.DestroyWindow();
        host.DestroyWindow();
    }
    ::OleUninitialize();
}

// The lobby's records to the table, the table's records to the lobby, the
// result dialog by its pixels and buttons, and the group movie against the
// recording control in place of the Flash player.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "game/core/table/SeatFields.h"
#include "game/ui/GameImages.h"
#include "platform/vantor/CxImage.h"
#include "tests/fenlo/PictureFiles.h"
#include "tests/fenlo/TableHarness.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/recording/RecordingControl.h"

using namespace fenlo_test;

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path).substr(0, std::string(path).rfind('\\'));
}

LobbyToGameCopyData Record(const std::string& text, const std::string& rooms, int kind, int value = 0) {
    LobbyToGameCopyData r = {};
    strncpy(r.text, text.c_str(), sizeof r.text - 1);
    strncpy(r.rooms, rooms.c_str(), sizeof r.rooms - 1);
    r.kind = kind;
    r.value = value;
    return r;
}

// Sent as the lobby sends it: to the window found by the table's title.
void SendToTable(HWND from, const void* data, DWORD size) {
    COPYDATASTRUCT d = {0, size, const_cast<void*>(data)};
    SendMessageA(FindWindowA(nullptr, CPavlenDlg::kTitle), WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                 reinterpret_cast<LPARAM>(&d));
}

TEST(LobbyLink, NoticesReachTheListedRoomsAndBadRecordsAreIgnored) {
    Lobby lobby;
    TableHarness h;
    EXPECT_EQ(lobby.records.size(), 2u);
    EXPECT_EQ(lobby.records.at(0).first, 1u) << "set-up is reported as kind 1";
    for (const char* room : {"7", "12", "1"}) {
        h.Session()->roomId = room;
        const LobbyToGameCopyData r = Record(std::string("notice ") + room, "12,7", 0, 3);
        SendToTable(lobby.windows[0], &r, sizeof r);
        if (std::string(room) == "1")
            EXPECT_EQ(h.table->NoticeText(), "notice 12") << "room 1 is not listed";
        else
            EXPECT_EQ(h.table->NoticeText(), std::string("notice ") + room);
        EXPECT_EQ(h.table->NoticeCount(), 3);
    }
    LobbyToGameCopyData r = Record("everyone", "0", 0, 1);
    SendToTable(lobby.windows[1], &r, sizeof r);
    EXPECT_EQ(h.table->NoticeText(), "everyone");
    r = Record("stored", "99", 2);
    SendToTable(lobby.windows[1], &r, sizeof r);
    EXPECT_EQ(h.Session()->noticeText, "stored") << "kind 2 whatever the rooms";
    r = Record("lobby line", "0", 1);
    SendToTable(lobby.windows[1], &r, sizeof r);
    CSkinRichEditCtrl& chat = h.table->SidePanel()->History();
    EXPECT_NE(std::string(chat.GetTextRange(0, chat.GetTextLength())).find("lobby line"), std::string::npos)
        << "kind 1 goes to the side panel's chat";

    r = Record("short", "0", 0, 1);
    SendToTable(lobby.windows[0], &r, sizeof r - 1);
    SendToTable(lobby.windows[0], nullptr, sizeof r);
    EXPECT_EQ(h.table->NoticeText(), "everyone") << "short and empty records are not read";
    memset(r.text, 'x', sizeof r.text);
    SendToTable(lobby.windows[0], &r, sizeof r);
    EXPECT_EQ(h.table->NoticeText(), std::string(512, 'x')) << "cut at the field's end";
    EXPECT_TRUE(IsWindow(h.table->m_hWnd));
}

// Pixels of a colour in a rectangle of a capture.
int Pixels(const Capture& c, int x0, int y0, int x1, int y1, COLORREF color) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += c.At(x, y) == color;
    return n;
}

void CopyResultPictures() {
    ScratchFolder& f = TableHarness::Folder();
    for (const char* dir : {"fenlo\\image", "fenlo\\image\\desk", "fenlo\\image\\button"})
        CreateDirectoryA((f / dir).c_str(), nullptr);
    for (const char* file : {"desk\\PromptBg.png", "desk\\BankerResult.png", "desk\\FarmerResult.png",
                             "desk\\Spring.png", "desk\\AntiSpring.png", "button\\GoOnGameUp.bmp",
                             "button\\BackToLobbyUp.bmp"})
        CopyFileA((ProgramFolder() + "\\fenlo\\image\\" + file).c_str(), (f / "fenlo\\image\\" + file).c_str(), FALSE);
}

// A picture of the image table: its size, and whether it shows whole at (x, y).
SIZE PictureSize(int entry) {
    CxImage* image = GetGameImages()->Get(entry);
    return {static_cast<LONG>(image->GetWidth()), static_cast<LONG>(image->GetHeight())};
}
bool Shows(const Capture& c, int entry, int x, int y) {
    const SIZE size = PictureSize(entry);
    return ShowsPicture(c, x, y, GetGameImages()->Get(entry), 0, 0, size.cx, size.cy);
}

struct Seats {
    CPlayerInfo a{"alice"}, b{"bob"}, c{"carol"};
    Seats() {
        a.seat = 0, b.seat = 1, c.seat = 2;
        a.SetNickName("阿丽"), b.SetNickName("鲍勃"), c.SetNickName("卡罗");
        seat::Landlord(b) = 1;
        a.resultA = -12.345, b.resultA = 24.69, c.resultA = -12.345;
        a.doubling = 2, c.doubling = 3;
    }
};

TEST(ResultDialog, RowsBombsSpringAndTheAmountFormat) {
    EXPECT_EQ(CReslutDlg::FormatAmount(0), "0.00");
    EXPECT_EQ(CReslutDlg::FormatAmount(12.345), "12.35");
    EXPECT_EQ(CReslutDlg::FormatAmount(-12.345), "-12.35");
    CopyResultPictures();
    TableHarness h;
    Seats s;
    CReslutDlg dialog(h.table);
    ASSERT_TRUE(dialog.Create(IDD_RESULT_DIALOG, h.table));
    const SIZE size = PictureSize(CReslutDlg::kBackground);
    ASSERT_GE(size.cy, 250) << "the rows and the bomb line lie inside it";
    dialog.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    auto shot = [&](int bombs, int spring) {
        dialog.SetResult(&s.c, &s.a, &s.b, bombs, spring);
        dialog.UpdateWindow();
        return CaptureWindow(dialog.m_hWnd);
    };
    const COLORREF win = CReslutDlg::kWinColor, loss = CReslutDlg::kLossColor;
    seat::ResultCount(s.b) = 0;
    Capture c = shot(3, 0);
    SavePng(c, "result_dialog");
    EXPECT_GT(Pixels(c, 174, 193, 192, 210, win), 0) << "the landlord (seat 1) won";
    EXPECT_EQ(Pixels(c, 174, 193, 192, 210, loss), 0);
    EXPECT_GT(Pixels(c, 174, 170, 192, 187, loss), 0) << "the farmers lost";
    EXPECT_GT(Pixels(c, 174, 216, 192, 233, loss), 0);
    EXPECT_TRUE(Shows(c, CReslutDlg::kLandlordIcon, 44, 193 - 7)) << "landlord icon";
    EXPECT_TRUE(Shows(c, CReslutDlg::kFarmerIcon, 44, 170 - 7)) << "farmer icon";
    EXPECT_GT(Pixels(c, 387, 170, 400, 187, loss), 0) << "doubled";
    EXPECT_EQ(Pixels(c, 387, 216, 400, 233, loss), 0) << "doubling state 3 has no mark";
    EXPECT_TRUE(Shows(c, CReslutDlg::kSpring, 150, 237)) << "spring";
    EXPECT_GT(Pixels(c, 120, 242, 132, 250, loss), 0) << "bomb count";

    seat::ResultCount(s.b) = 2;
    c = shot(3, 1);
    EXPECT_GT(Pixels(c, 174, 193, 192, 210, loss), 0) << "the landlord kept cards and lost";
    EXPECT_GT(Pixels(c, 174, 170, 192, 187, win), 0);
    EXPECT_TRUE(Shows(c, CReslutDlg::kAntiSpring, 150, 237)) << "anti-spring";
    auto digits = [](const Capture& k) {
        std::vector<COLORREF> out;
        for (int y = 240; y < 250; ++y)
            for (int x = 118; x < 134; ++x) out.push_back(k.At(x, y));
        return out;
    };
    const Capture none = shot(0, -1), negative = shot(-2, -1);
    EXPECT_EQ(none.At(160, 245), PixelOf(GetGameImages()->Get(CReslutDlg::kBackground), 160, 245))
        << "no spring picture";
    EXPECT_EQ(digits(none), digits(negative)) << "a negative count shows 0";
    EXPECT_NE(digits(none), digits(c));
    dialog.DestroyWindow();
}

TEST(ResultDialog, ShownAtTheEndOfAHandItsButtonsChooseAndKeysDoNot) {
    CopyResultPictures();
    for (int choice : {1, 0}) {
        Lobby lobby;
        TableHarness h;
        h.Deal();
        h.Feed(Doc("SendRemainCard", "<player id=\"bob\"/>" + std::string("<card number=\"16\" suit=\"0\"/>")));
        h.Feed(Doc("GameResult", "<player id=\"alice\" money=\"50\"/><player id=\"bob\" money=\"-100\"/>"
                                 "<player id=\"carol\" money=\"50\"/>"));
        h.Run(3000);
        EXPECT_EQ(lobby.records.back().first, 2u) << "the result phase is reported as kind 2";
        CReslutDlg* dialog = h.table->ResultDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->IsWindowVisible());
        CRect r;
        dialog->GetWindowRect(&r);
        EXPECT_EQ(r.Width(), PictureSize(CReslutDlg::kBackground).cx);
        EXPECT_EQ(r.Height(), PictureSize(CReslutDlg::kBackground).cy);
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            dialog->GetDlgItem(IDC_RESULT_CONTINUE)->PostMessage(WM_KEYDOWN, key, 0);
            dialog->PostMessage(WM_KEYDOWN, key, 0);
            TableHarness::Pump();
        }
        ASSERT_EQ(h.table->ResultDialog(), dialog) << "neither key closes it";
        EXPECT_TRUE(dialog->IsWindowVisible());
        EXPECT_TRUE(h.State().holdMain);
        if (choice == 1) SavePng(CaptureWindow(dialog->m_hWnd), "result_dialog_in_table");
        dialog->GetDlgItem(choice ? IDC_RESULT_CONTINUE : IDC_RESULT_BACK)->SendMessage(BM_CLICK);
        TableHarness::Pump();
        if (choice) {
            EXPECT_EQ(h.table->ResultDialog(), nullptr) << "continue removes it";
            EXPECT_FALSE(h.State().holdMain);
            EXPECT_FALSE(h.table->Ended());
        } else {
            EXPECT_TRUE(h.table->Ended()) << "back to the lobby";
            EXPECT_EQ(lobby.Last(), -1.0);
        }
    }
}

// The render pass brings the result up once the result's film has run.
TEST(ResultDialog, TheResultWaitsForItsSpringFilm) {
    TableHarness h;
    h.Deal();
    seat::Landlord(*h.State().FindPlayerByName("bob")) = 1;
    h.Feed(Doc("GameResult", "<player id=\"alice\" money=\"50\"/><player id=\"bob\" money=\"-100\"/>"
                             "<card number=\"3\" suit=\"0\"/><player id=\"carol\" money=\"50\" spring=\"ChunTian\"/>"));
    h.Run(500);
    EXPECT_FALSE(h.table->Visible(IDC_CONTINUE)) << "the spring film runs first";
    h.Run(2500);
    EXPECT_TRUE(h.table->Visible(IDC_CONTINUE));
    EXPECT_TRUE(h.State().holdMain);
}

// The recording control registered as the Flash player for one test.
class MovieTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        log_ = std::string(temp) + "movie_" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("MIRABO_RECORDING_LOG", log_.c_str());
        ASSERT_TRUE(
            RegisterRecordingControl(CShockwaveflash::GetClsid(), nullptr, ProgramFolder() + "\\RecordingControl.dll"));
    }
    void TearDown() override {
        UnregisterRecordingControl(CShockwaveflash::GetClsid(), nullptr);
        DeleteFileA(log_.c_str());
        OleUninitialize();
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(log_, std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string log_;
};

TEST_F(MovieTest, TheGroupMovieCoversTheTableTakesNoticesAndItsReturnLeaves) {
    Lobby lobby;
    TableHarness h(true);
    CShockwaveflash* movie = h.table->GroupMovie();
    ASSERT_NE(movie, nullptr);
    // Created at set-up, in the program's folder.
    const std::string swf = TableHarness::PictureFolder() + "\\fenlo\\flash\\group.swf";
    EXPECT_EQ(Log(), std::vector<std::string>({"site", "102 4 [8:" + swf + "]", "112 1 ", "135 4 [b:0]"}));
    EXPECT_FALSE(h.table->Visible(IDC_SOUND_ON) || h.table->Visible(IDC_SORT));
    CRect r, client;
    movie->GetWindowRect(&r);
    h.table->GetClientRect(&client);
    EXPECT_EQ(r.Width(), client.Width());
    EXPECT_EQ(r.Height(), client.Height());

    const LobbyToGameCopyData notice = Record("a<b&c", "0", 0, 2);
    SendToTable(lobby.windows[0], &notice, sizeof notice);
    CWaittingArrangeMsg* waiting = new CWaittingArrangeMsg;
    waiting->playerCount = 5;
    h.Hand(waiting);
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[4], "198 1 [8:<invoke name=\"trundleText\" returntype=\"xml\"><arguments><string>a&lt;b&amp;c,2"
                      "</string></arguments></invoke>]");
    EXPECT_EQ(log[5], "198 1 [8:<invoke name=\"setText\" returntype=\"xml\"><arguments><string>5," +
                          std::to_string((client.Width() - 200) / 2 - 96) + "," +
                          std::to_string(client.Height() - 200) + "</string></arguments></invoke>]");

    h.Feed(Doc("DeskPlayerInfo", "<desk stake=\"1\"/>" + Player("alice", 0) + Player("bob", 1)));
    ASSERT_EQ(h.table->GroupMovie(), movie) << "the desk is not full yet";
    h.Feed(Doc("AutoPlay", "<player id=\"alice\"/>"));
    EXPECT_EQ(seat::AutoPlay(*h.State().Own()), 0) << "ignored under the movie";
    movie->InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_BSTR, 150L, "press",
                        "press");
    TableHarness::Pump();
    EXPECT_EQ(h.table->captionDrags, 1) << "pressing on the movie drags the table";
    h.answers = {IDYES};
    h.table->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    TableHarness::Pump();
    EXPECT_TRUE(h.boxes.empty()) << "no exit box under the movie";
    EXPECT_TRUE(h.table->Ended()) << "nothing came from the server: quit at once";
    EXPECT_EQ(lobby.Last(), -1.0);
}

TEST_F(MovieTest, AFullDeskClosesTheMovieAndItsReturnAsksToLeave) {
    TableHarness h(true);
    CShockwaveflash* movie = h.table->GroupMovie();
    ASSERT_NE(movie, nullptr);
    movie->InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_BSTR, 150L, "release",
                        "");
    h.Heard();
    movie->InvokeHelper(kRecordingFire, DISPATCH_METHOD, VT_EMPTY, nullptr, VTS_I4 VTS_BSTR VTS_BSTR, 150L, "return",
                        "");
    TableHarness::Pump();
    EXPECT_EQ(h.Sent("Leaving"), 1) << "a table that heard from the server asks to leave";
    EXPECT_FALSE(h.table->Ended());
    EXPECT_EQ(h.BackBuffer().At(500, 300), RGB(0, 0, 0)) << "nothing is drawn under the movie";
    h.SeatThree();
    EXPECT_EQ(h.table->GroupMovie(), nullptr);
    EXPECT_EQ(Log().back(), "113 1 ") << "the close call before the control goes";
    EXPECT_TRUE(h.table->Visible(IDC_SOUND_ON) && h.table->Visible(IDC_SORT));
    EXPECT_GT(GetGValue(h.BackBuffer().At(500, 300)), 60) << "the table is drawn at once, before any tick";
}

}  // namespace

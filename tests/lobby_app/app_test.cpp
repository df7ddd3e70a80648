// MiraboGame.exe copied into a scratch program folder and started from there.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/BannerKit.h"
#include "tests/lobby_app/LobbyAppKit.h"
#include "tests/platform/WindowCapture.h"
// clang-format on
#include <commctrl.h>

#include "tests/support/HttpResponder.h"
#include "tests/support/Patience.h"
#include "tools/loop/RemoteTree.h"
#include "tools/loop/WindowFind.h"

using namespace lobbyapp;
using loop::FindChild;
using loop::FindClass;
using loop::FindControl;
using loop::RemoteTree;

// The main window's icon, resource 128 of MiraboGame.exe: its own, not the system's default.
TEST(LobbyApp, TheProgramCarriesItsOwnIcon) {
    for (int size : {16, 32, 48}) {
        const Capture own = ProgramIcon(OwnFolder() + "MiraboGame.exe", 128, size);
        ASSERT_EQ(own.width, size) << "no icon 128 in MiraboGame.exe";
        EXPECT_NE(own.pixels, CaptureIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), size).pixels) << size;
    }
}

// A lobby started in a bare folder fails its loading and may show the box before its
// login window: these folders hold what loading needs and a server that answers.
TEST(LobbyApp, RegRecordsThePathAndShowsNoWindow) {
    auto server = testsupport::StartFakeLobby([](testsupport::Connection&, const std::string&) {});
    ProgramFolder folder("reg");
    PointAtLobby(folder, server->Port());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MiraboGame");
    {
        ChildProcess upper(folder.Exe(), "REG", folder.Path());
        EXPECT_NE(upper.WaitWindow("#32770", "MiraboGame"), nullptr) << "only the exact word registers";
    }
    ChildProcess reg(folder.Exe(), "reg", folder.Path());
    bool windowSeen = false;
    EXPECT_TRUE(WaitFor([&] {
        windowSeen = windowSeen || !reg.Windows().empty();
        return reg.WaitExit(0);
    }, 15000));
    EXPECT_FALSE(windowSeen);
    EXPECT_EQ(RegisteredPath(), folder.Exe());
}

TEST(LobbyApp, OneLobbyRunsUnlessTheDeveloperMarkerIsThere) {
    auto server = testsupport::StartFakeLobby([](testsupport::Connection&, const std::string&) {});
    ProgramFolder folder("single");
    PointAtLobby(folder, server->Port());
    ChildProcess first(folder.Exe(), "", folder.Path());
    ASSERT_NE(first.WaitWindow("#32770", "MiraboGame"), nullptr);
    char mapping[64];
    std::snprintf(mapping, sizeof mapping, "GDIPlusInitID=%lx", static_cast<unsigned long>(first.Id()));
    HANDLE gdiplus = OpenFileMappingA(FILE_MAP_READ, FALSE, mapping);
    EXPECT_NE(gdiplus, nullptr) << "the GDI+ guard's mapping";
    if (gdiplus) CloseHandle(gdiplus);

    {
        ChildProcess second(folder.Exe(), "", folder.Path());
        HWND box = second.WaitWindow("#32770", "错误");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), "检测到游戏大厅已经开启,请先关闭原游戏大厅!");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(second.WaitExit(10000));
    }

    folder.Write("MiraboDever.abc", "");
    ChildProcess third(folder.Exe(), "", folder.Path());
    EXPECT_NE(third.WaitWindow("#32770", "MiraboGame"), nullptr) << "the marker lets any number run";
    EXPECT_TRUE(third.Windows("#32770", "错误").empty());
}

TEST(LobbyApp, TypedLoginReachesTheMainWindow) {
    std::atomic<bool> sawUser{false};
    auto server = testsupport::StartFakeLobby([&](testsupport::Connection& c, const std::string& login) {
        sawUser = login.find("id=\"player\"") != std::string::npos;
        testsupport::LoginVerdict(kKey, kTicket,
                                  testsupport::LobbyReply("LoginSuccess",
                                                          "<p a=\"player\" b=\"1\" c=\"True\" d=\"False\" e=\"s\" "
                                                          "f=\"n\" g=\"1\" h=\"\" i=\"\"/>"))(c, login);
    });
    ProgramFolder folder("login");
    PointAtLobby(folder, server->Port());
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND start = GetDlgItem(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000)) << "loading never finished";
    Type(GetDlgItem(dialog, 1001), "Player  ");
    Type(GetDlgItem(dialog, 1002), "secret");
    Click(GetDlgItem(dialog, 1035));
    Click(start);
    EXPECT_NE(lobby.WaitWindow("#32770", "游戏大厅", 15000), nullptr);
    EXPECT_TRUE(sawUser);
    EXPECT_EQ(ReadIni(folder, "SYSTEM", "time4"), "0");
    EXPECT_EQ(ReadIni(folder, "SYSTEM", "SvrSelect"), "2");
}

TEST(LobbyApp, CommandLineLoginUsesTheDigestAsItStands) {
    for (const std::string& user : {std::string("Bob"), std::string(300, 'a')}) {
        std::string seenLogin;
        std::atomic<bool> done{false};
        auto server = testsupport::StartFakeLobby([&](testsupport::Connection& c, const std::string& login) {
            seenLogin = login;
            done = true;
            testsupport::LoginVerdict(kKey, kTicket,
                                      testsupport::LobbyReply("LoginSuccess",
                                                              "<p a=\"bob\" b=\"1\" c=\"True\" d=\"False\" e=\"s\" "
                                                              "f=\"n\" g=\"1\" h=\"\" i=\"\"/>"))(c, login);
        });
        ProgramFolder folder("auto");
        PointAtLobby(folder, server->Port());
        folder.WriteAutoLoginSkin(kAutoLoginKeys);
        folder.Write("MiraboDever.abc", "");
        ChildProcess lobby(folder.Exe(), "('" + user + "," + kStoredDigest + "')", folder.Path());
        EXPECT_NE(lobby.WaitWindow("#32770", "游戏大厅", 20000), nullptr) << user.size();
        ASSERT_TRUE(done);
        const std::string lower = user.size() > 255 ? std::string(255, 'a') : "bob";
        EXPECT_NE(seenLogin.find("id=\"" + lower + "\""), std::string::npos) << seenLogin;
    }
}

TEST(LobbyApp, CommandLineLoginEndsOnAMissingPictureOrAnEmptyField) {
    auto server = testsupport::StartFakeLobby([](testsupport::Connection&, const std::string&) {});
    ProgramFolder folder("autobad");
    PointAtLobby(folder, server->Port());
    folder.WriteAutoLoginSkin({"auto_login_bk", "auto_login_exit", "auto_login_l1"});
    {
        ChildProcess lobby(folder.Exe(), std::string("('bob,") + kStoredDigest + "')", folder.Path());
        HWND box = lobby.WaitWindow("#32770", "错误");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), "载入资源失败,请重新下载客户端!");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(lobby.WaitExit(10000));
    }
    // Each field quoted apart leaves the password empty: the normal dialog.
    ChildProcess apart(folder.Exe(), "('bob','x')", folder.Path());
    EXPECT_NE(apart.WaitWindow("#32770", "MiraboGame"), nullptr);
}

// A wrong password is refused and emptied; typed again, the login goes in.
TEST(LobbyApp, RefusalEmptiesThePasswordAndTheNextLoginGoesIn) {
    auto server = testsupport::StartFakeLobby(testsupport::LoginVerdict(
        kKey, kTicket, testsupport::LobbyReply("LoginSuccess", "<p a=\"player\" b=\"1\" c=\"True\" d=\"False\" "
                                                               "e=\"s\" f=\"n\" g=\"1\" h=\"\" i=\"\"/>")));
    ProgramFolder folder("refused");
    PointAtLobby(folder, server->Port());
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = ReadyLoginDialog(lobby);
    ASSERT_NE(dialog, nullptr);
    HWND start = GetDlgItem(dialog, IDOK);
    TypeAndStart(dialog, "player", "wrong");
    ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(start); }, 5000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) && WindowText(GetDlgItem(dialog, 1002)).empty(); }, 10000));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1001)));
    TypeAndStart(dialog, "", "secret");
    EXPECT_NE(lobby.WaitWindow("#32770", "游戏大厅", 15000), nullptr);
}

TEST(LobbyApp, SkinnedLoginDialogIsShapedAndRemembersTheNameAsTyped) {
    auto server = testsupport::StartFakeLobby(testsupport::LoginVerdict(
        kKey, kTicket,
        testsupport::LobbyReply("LoginSuccess", "<p a=\"player\" b=\"1\" c=\"True\" d=\"False\" e=\"s\" f=\"n\" "
                                                "g=\"1\" h=\"\" i=\"\"/>")));
    ProgramFolder folder("skinned");
    PointAtLobby(folder, server->Port());
    folder.CopySkin();
    const std::string skinIni = folder.Path() + "Skin\\Style1\\Skin.ini";
    WritePrivateProfileStringA("text", "text_user", "Remembered", skinIni.c_str());
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    RECT window;
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.right - window.left, 300) << "the size of login_bk";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dialog, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the magenta corner is cut away";
    EXPECT_TRUE(PtInRegion(region, 150, 100));
    DeleteObject(region);
    EXPECT_TRUE(WaitFor([&] { return WindowText(GetDlgItem(dialog, 1001)) == "Remembered"; }, 3000))
        << WindowText(GetDlgItem(dialog, 1001));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1013), BST_CHECKED);
    const Capture shot = CaptureWindow(dialog);
    SavePng(shot, "lobby_login_dialog");
    EXPECT_NE(shot.At(150, 60), RGB(255, 0, 255));
    EXPECT_NE(shot.At(150, 60), GetSysColor(COLOR_BTNFACE)) << "the login background is painted";

    HWND start = GetDlgItem(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000));
    SetDlgItemTextA(dialog, 1001, "");
    Type(GetDlgItem(dialog, 1001), "PLAYER  ");
    Type(GetDlgItem(dialog, 1002), "secret");
    Click(start);
    EXPECT_NE(lobby.WaitWindow("#32770", "游戏大厅", 15000), nullptr);
    std::string ini;  // read raw: the profile reader trims blanks
    if (FILE* f = std::fopen(skinIni.c_str(), "rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) ini.append(chunk, n);
        std::fclose(f);
    }
    EXPECT_NE(ini.find("text_user=PLAYER  \r\n"), std::string::npos);
}

TEST(LobbyApp, BlockingNoticeEndsTheLoginOrMakesAToolWindow) {
    for (int type : {1, 2}) {
        const std::wstring notice = L"<n t=\"" + std::to_wstring(type) +
                                    L"\" b=\"1\"><s x=\"hi\"/><w u=\"http://127.0.0.1:1/\" w=\"300\" h=\"200\"/></n>";
        std::string body = "\xFF\xFE";
        body.append(reinterpret_cast<const char*>(notice.data()), notice.size() * 2);
        testsupport::LoopbackServer web([body](testsupport::Connection& c) {
            std::string head;
            if (testsupport::ReadHttpRequest(c, head, 5000)) c.Send(testsupport::HttpResponse(200, body));
            c.WaitClosed(2000);
        });
        ProgramFolder folder("notice");
        PointAtLobby(folder, 1);
        PointNoticeAt(folder, web.Port());
        folder.Write("MiraboDever.abc", "");
        ChildProcess lobby(folder.Exe(), "", folder.Path());
        HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
        ASSERT_NE(dialog, nullptr) << "notice type " << type << ": the lobby " << [&] {
            if (lobby.WaitExit(0)) return std::string("has ended");
            std::string shown = "runs, showing:";
            for (HWND w : lobby.Windows(nullptr, nullptr)) {
                char cls[64] = "";
                GetClassNameA(w, cls, sizeof cls);
                shown += std::string(" ") + cls + " \"" + WindowText(w) + "\"";
            }
            return shown;
        }();
        if (type == 1) {
            EXPECT_TRUE(lobby.WaitExit(15000)) << "a blocking notice of type 1 ends the login";
        } else {
            EXPECT_TRUE(WaitFor([&] { return (GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; },
                                15000));
            EXPECT_EQ(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
            HWND browser = nullptr;
            EXPECT_TRUE(WaitFor([&] {
                for (HWND w : lobby.Windows("#32770", "MiraboGame"))
                    if (w != dialog) browser = w;
                return browser != nullptr;
            }, 5000)) << "the notice's web window";
            RECT r{};
            GetWindowRect(browser, &r);
            EXPECT_EQ(r.right - r.left, 300);
            EXPECT_EQ(r.bottom - r.top, 200);
        }
    }
}

TEST(LobbyApp, BinaryMessageTypeSendsLoginInBinaryForm) {
    std::atomic<bool> seen{false};
    std::string first;
    auto server = testsupport::StartFakeLobby([&](testsupport::Connection&, const std::string& login) {
        first = login;
        seen = true;
    });
    ProgramFolder folder("binary");
    PointAtLobby(folder, server->Port());
    WritePrivateProfileStringA("MsgType", "Type", "1", (folder.Path() + "config.ini").c_str());
    folder.Write("Msg.ini", "[TotalMessageNum]\r\ncount=1\r\n[message1]\r\nid=7\r\nname=Login\r\ncontent =login\r\n");
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = ReadyLoginDialog(lobby);
    ASSERT_NE(dialog, nullptr);
    TypeAndStart(dialog, "player", "secret");
    ASSERT_TRUE(WaitFor([&] { return seen.load(); }, 10000));
    EXPECT_EQ(first.find("<GameMessage"), std::string::npos) << "not the XML text form";
    EXPECT_NE(first.find("player"), std::string::npos);
}

TEST(LobbyApp, CommandLineLoginFreezesOnTheSecondPictureWhenNoServerAnswers) {
    ProgramFolder folder("frozen");
    PointAtLobby(folder, 1);  // nothing listens there
    folder.WriteAutoLoginSkin(kAutoLoginKeys);
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), std::string("('bob,") + kStoredDigest + "')", folder.Path());
    HWND window = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(window, nullptr);
    // Stopped: the second picture (green) stays at (30, 77), past a blink period (a loaded
    // machine stretches the period: the picture must stay for the stretched time).
    DWORD greenSince = 0;
    EXPECT_TRUE(WaitFor([&] {
        const Capture shot = CaptureWindow(window);
        const bool green = shot.width > 40 && shot.At(40, 85) == RGB(60, 200, 60);
        if (!green) greenSince = 0;
        else if (!greenSince) greenSince = GetTickCount();
        return green && GetTickCount() - greenSince > static_cast<DWORD>(testsupport::Patience(700));
    }, 30000));
    const Capture shot = CaptureWindow(window);
    SavePng(shot, "lobby_auto_login");
    EXPECT_NE(shot.At(5, 5), RGB(255, 0, 255));
}

TEST(LobbyApp, BannerSlidesThePanelAndEscEndsTheLogin) {
    ProgramFolder folder("banner");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND banner = lobby.WaitWindow("#32770", "");
    ASSERT_NE(banner, nullptr);
    RECT top, panel;
    GetWindowRect(banner, &top);
    GetWindowRect(dialog, &panel);
    EXPECT_EQ(top.bottom - panel.top, 110) << "the panel starts up under the banner";
    Click(GetDlgItem(banner, 1031));
    EXPECT_TRUE(WaitFor([&] {
        GetWindowRect(dialog, &panel);
        return panel.top >= top.bottom;
    }, 5000)) << "slid down";
    Sleep(100);
    Click(GetDlgItem(banner, 1031));
    EXPECT_TRUE(WaitFor([&] {
        GetWindowRect(dialog, &panel);
        return top.bottom - panel.top >= 110;
    }, 5000)) << "slid back up";
    PostMessageA(banner, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(lobby.WaitExit(10000)) << "Esc on the banner ends the login";
}

TEST(LobbyApp, LinksOpenTheRegisterAndFindPasswordPages) {
    ProgramFolder folder("links");
    PointAtLobby(folder, 1);
    InstallUpdater(folder);  // the recorder and its record file
    const std::string config = folder.Path() + "config.ini";
    for (const char* page : {"reg.exe", "find.exe"})
        CopyFileA((OwnFolder() + "record_start.exe").c_str(), (folder.Path() + page).c_str(), FALSE);
    WritePrivateProfileStringA("URL1", "RegWeb", (folder.Path() + "reg.exe").c_str(), config.c_str());
    WritePrivateProfileStringA("URL1", "FindPassWeb", (folder.Path() + "find.exe").c_str(), config.c_str());
    folder.Write("MiraboDever.abc", "");
    const std::string trace = folder.Path() + "trace.txt";
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", trace.c_str());
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    auto opened = [&] {
        std::vector<std::string> lines;
        if (FILE* f = std::fopen(trace.c_str(), "r")) {
            char line[1024];
            while (std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "open ", 5) == 0) lines.push_back(std::string(line + 5, std::strcspn(line + 5, "\r\n")));
            std::fclose(f);
        }
        return lines;
    };
    Click(GetDlgItem(dialog, 1029));
    EXPECT_TRUE(WaitFor([&] { return Starts(folder).size() == 1; }, 10000));
    Click(GetDlgItem(dialog, 1030));
    EXPECT_TRUE(WaitFor([&] { return Starts(folder).size() == 2; }, 10000));
    EXPECT_EQ(opened(), (std::vector<std::string>{folder.Path() + "reg.exe", folder.Path() + "find.exe"}))
        << "the register link opens RegWeb, the find-password link FindPassWeb";
}

namespace {
// The browser the partner-site login looks up, pointed at a recorder while it lives.
class PartnerBrowser {
public:
    explicit PartnerBrowser(const std::string& program) {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                       static_cast<DWORD>(program.size() + 1));
    }
    ~PartnerBrowser() {
        if (had_) RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_), static_cast<DWORD>(strlen(old_) + 1));
        else RegDeleteValueA(key_, nullptr);
        RegCloseKey(key_);
    }

private:
    static constexpr const char* kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
    HKEY key_ = nullptr;
    char old_[1024] = "";
    bool had_ = false;
};
}  // namespace

namespace {
// The banner has painted its background, its three buttons and "ver:2.0.1" in black in (220, 45)-(320, 65),
// read above the login panel, whose top lies 110 pixels above the banner's bottom: its set-up is over.
bool BannerDrawn(HWND banner, const Capture& ground) {
    const Capture shot = CaptureWindow(banner);
    if (shot.height < 65 || (shot.At(150, 60) & 0xFFFFFF) == 0) return false;
    if (BannerButtonsNotDrawn(banner, shot, ground) != 0) return false;
    int dark = 0;
    for (int y = 45; y < 65; ++y)
        for (int x = 220; x < 300; ++x)
            if ((shot.At(x, y) & 0xFFFFFF) == 0) ++dark;
    return dark > 10;
}
}  // namespace

TEST(LobbyApp, BannerShowsItsPageAndVersionAndItsButtonsEndTheLogin) {
    ProgramFolder folder("bannerbuttons");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    InstallUpdater(folder);
    CopyFileA((OwnFolder() + "record_start.exe").c_str(), (folder.Path() + "iexplore.exe").c_str(), FALSE);
    WritePrivateProfileStringA("URL1", "PartnerLoginWeb", "http://partner.example/login",
                               (folder.Path() + "config.ini").c_str());
    folder.Write("MiraboDever.abc", "");
    const Capture ground = PictureFile(folder.Path() + "Skin\\Style1\\login\\login_bk2.bmp");
    PartnerBrowser browser(folder.Path() + "iexplore.exe");
    {
        ChildProcess lobby(folder.Exe(), "", folder.Path());
        HWND banner = lobby.WaitWindow("#32770", "");
        ASSERT_NE(banner, nullptr);
        // The web view sits on the skin's login_web place (blank here: no HTML engine).
        HWND web = FindWindowExA(banner, nullptr, "#32770", nullptr);
        ASSERT_NE(web, nullptr);
        RECT r;
        GetWindowRect(web, &r);
        MapWindowPoints(nullptr, banner, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, 300);
        EXPECT_EQ(r.bottom, 40);
        EXPECT_TRUE(WaitFor([&] { return BannerDrawn(banner, ground); }, 10000));
        SavePng(CaptureWindow(banner), "lobby_banner");

        Click(GetDlgItem(banner, 1030));
        HWND ask = lobby.WaitWindow("#32770", "提示");
        ASSERT_NE(ask, nullptr);
        Click(GetDlgItem(ask, IDOK));
        EXPECT_TRUE(WaitFor([&] { return Starts(folder).size() == 1; }, 10000));
        EXPECT_EQ(Starts(folder), std::vector<std::string>{"http://partner.example/login"});
        EXPECT_TRUE(lobby.WaitExit(10000)) << "the partner-site login ends the login";
    }
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND banner = lobby.WaitWindow("#32770", "");
    ASSERT_NE(banner, nullptr);
    // A click while the banner is still being set up (its web view pumps messages) may
    // meet a button not yet placed.
    ASSERT_TRUE(WaitFor([&] { return BannerDrawn(banner, ground); }, 10000));
    RECT close;  // a person's click in its middle, where the banner shows it above the panel
    GetWindowRect(GetDlgItem(banner, 1032), &close);
    ASSERT_TRUE(ClickScreenAt((close.left + close.right) / 2, (close.top + close.bottom) / 2));
    EXPECT_TRUE(lobby.WaitExit(10000)) << "the close button ends the login";
}

TEST(LobbyApp, TypeOneNoticeShowsItsTextInABox) {
    const std::wstring notice = L"<n t=\"1\" b=\"0\"><s x=\"hello\"/><w u=\"\" w=\"0\" h=\"0\"/></n>";
    std::string body = "\xFF\xFE";
    body.append(reinterpret_cast<const char*>(notice.data()), notice.size() * 2);
    testsupport::LoopbackServer web([body](testsupport::Connection& c) {
        std::string head;
        if (testsupport::ReadHttpRequest(c, head, 5000)) c.Send(testsupport::HttpResponse(200, body));
        c.WaitClosed(2000);
    });
    ProgramFolder folder("noticebox");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    PointNoticeAt(folder, web.Port());
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND box = lobby.WaitWindow("#32770", "公告信息", 15000);
    ASSERT_NE(box, nullptr) << "the banner shows the notice text";
    Click(GetDlgItem(box, IDOK));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(IsWindow(dialog)) << "a notice that does not block leaves the login open";
}

// ---- the main window against a scripted lobby ------------------------------------

TEST(LobbyMain, TreeFollowsTheGameAndRoomListsAndCounts) {
    ScriptedLobby server;
    LobbyRun run("tree", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));
    std::vector<std::string> sent = server.Requests();  // after the login step's own MAC line
    if (!sent.empty() && sent[0].compare(0, 4, "MAC=") == 0) sent.erase(sent.begin());
    ASSERT_FALSE(sent.empty());
    EXPECT_NE(sent[0].find("RequestRoomList"), std::string::npos) << sent[0];
    EXPECT_TRUE(IsZoomed(main)) << "maximised";

    HWND treeWindow = FindClass(main, "SysTreeView32");
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree tree(treeWindow, lobby.Id());
    server.Send("GameList", "<game a=\"2\" b=\"QOLT\" c=\"扎金花\" d=\"\"/>" + Room("40", "金花房", 5, "0", 1, "1", "16", "2"));
    server.Send("PlayerCount", "<room a=\"99\" b=\"1\"/>");
    EXPECT_TRUE(server.WaitCount("RequestRoomList", 2)) << "an unknown room asks for the list again";
    EXPECT_TRUE(tree.Items().empty()) << "only QOLT games";

    server.Send("GameList", kGames);
    const std::vector<std::string> expected = {"0:斗地主", "1:初级场", "2:新手房(5人,比赛中)", "2:维护房(1人)", "1:比赛场",
                                               "2:高手房(4人,比赛中)"};
    EXPECT_TRUE(WaitFor([&] { return tree.Items() == expected; }, 5000)) << ::testing::PrintToString(tree.Items());

    server.Send("PlayerCount", "<room a=\"5\" b=\"10\"/>");
    EXPECT_TRUE(WaitFor([&] { return tree.Find("新手房(12人,比赛中)") != nullptr; }, 5000));
    server.Send("RemoveRoom", "<removeroom a=\"7\"/>");
    server.Send("AddRoom", "<addroom a=\"30\" b=\"新房\" c=\"h\" d=\"1\" e=\"False\" f=\"6\" g=\"0\" h=\"2\" i=\"1\" "
                           "j=\"\" k=\"1\" l=\"15\"/>");
    const std::vector<std::string> after = {"0:斗地主", "1:初级场", "2:新手房(12人,比赛中)", "2:维护房(1人)", "1:比赛场",
                                            "2:新房(6人)"};
    EXPECT_TRUE(WaitFor([&] { return tree.Items() == after; }, 5000)) << ::testing::PrintToString(tree.Items());
    server.Send("RemoveGame", "<removegame a=\"1\"/>");
    EXPECT_TRUE(WaitFor([&] { return tree.Items().empty(); }, 5000));
    server.Send("GameList", kGames);
    ASSERT_TRUE(WaitFor([&] { return tree.Items().size() == expected.size(); }, 5000));
    SavePng(CaptureWindow(main), "lobby_main_window");
}

TEST(LobbyMain, RoomGroupsLaunchTheClientAndTheLinkWorksBothWays) {
    // Refusals for rooms 3 and 5, then room 7 is ready; "金额" ends a walk.
    std::atomic<bool> poor{false};
    ScriptedLobby server([&](const std::string& request) -> std::vector<std::string> {
        if (request.find("RequestEnterRoom") == std::string::npos) return {};
        if (poor) return {testsupport::LobbyReply("EnterRoomFailed", "<p a=\"\" b=\"\" c=\"vfC27rK71+M=\"/>")};
        for (const char* ready : {"7", "200"})
            if (request.find("roomid=\"" + std::string(ready) + "\"") != std::string::npos)
                return {testsupport::LobbyReply("ReadyToEnterRoom", "<p a=\"s\" b=\"tok\" c=\"" + std::string(ready) +
                                                                        "\"/>")};
        return {testsupport::LobbyReply("EnterRoomFailed", "<p a=\"\" b=\"\" c=\"wvo=\"/>")};
    });
    LobbyRun run("entry", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));
    server.Send("GameList", kGames);
    HWND treeWindow = FindClass(main, "SysTreeView32");
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree tree(treeWindow, lobby.Id());
    ASSERT_TRUE(WaitFor([&] { return tree.Find("维护房(1人)") != nullptr; }, 5000));

    // A closed room: its text, nothing sent.
    tree.DoubleClick(tree.Find("维护房(1人)"));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示信息|维护中|0|0"));
    EXPECT_EQ(server.Count("RequestEnterRoom"), 0);

    // Match 2 holds rooms 7, 3, 5: tried as 3, 5, 7 behind the waiting page.
    PostMessageA(main, WM_USER + 5555, 9, 2);
    ASSERT_TRUE(server.WaitCount("RequestEnterRoom", 3));
    const std::vector<std::string> requests = server.Requests();
    std::vector<std::string> rooms;
    for (const std::string& r : requests)
        if (r.find("RequestEnterRoom") != std::string::npos) rooms.push_back(r.substr(r.find("roomid=\"") + 8, 1));
    EXPECT_EQ(rooms, (std::vector<std::string>{"3", "5", "7"}));
    EXPECT_TRUE(WaitFor([&] { return FindChild(main, "等  待") != nullptr; }, 5000)) << "the waiting page";
    ASSERT_TRUE(run.WaitLine("starts.txt", " 127.0.0.1 bob 9000 7 tok 0 h2 p2 1 0 0", 15000))
        << ::testing::PrintToString(run.Lines("starts.txt"));
    HWND client = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (client = FindWindowA(nullptr, "Mirabo斗地主")) != nullptr; }, 10000));

    // A switch while the client runs is refused.
    tree.DoubleClick(tree.Find("新手房(5人,比赛中)"));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|检测到玩家正在游戏中，请先退出游戏，再进行房间切换！|0|0"));

    // The client reports its start: the waiting page closes, the room's path goes back.
    PostMessageA(client, WM_APP + 1, 0, 0);
    EXPECT_TRUE(run.WaitLine("client.txt", "2|0|0|斗地主\\比赛场\\高手房"));
    EXPECT_TRUE(WaitFor([&] { return FindChild(main, "等  待") == nullptr; }, 5000));
    // Bad records are dropped; the running report carries bob's money.
    for (int bad : {10, 11, 12}) PostMessageA(client, WM_APP + bad, 0, 0);
    PostMessageA(client, WM_APP + 0, 0, 0);
    EXPECT_TRUE(run.WaitLine("trace.txt", "money 12.50"));
    EXPECT_EQ(TraceCount(run.folder, "money "), 1u) << "nothing from the bad records";

    // Notices: chat-box lines for codes 1 and 3 only, scrolling lines with their count, others a box.
    const char* notices[] = {"<p a=\"aGk=\" b=\"6\" c=\"0|2\"/>", "<p a=\"aGk=\" b=\"6\" c=\"0|3\"/>",
                             "<p a=\"aGk=\" b=\"7\" c=\"12,15|5\"/>", "<p a=\"aGk=\" b=\"1\"/>",
                             "<p a=\"aGk=\" b=\"3\"/>"};
    for (const char* n : notices) server.Send("Notice", n);
    EXPECT_TRUE(run.WaitLine("trace.txt", "popup Mirabo系统消息|hi|10000|0"));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 公告信息|hi|0|0"));
    EXPECT_EQ(run.Lines("client.txt"), (std::vector<std::string>{"2|0|0|斗地主\\比赛场\\高手房", "1|1|0|hi", "0|5|12,15|hi"}))
        << "no line for 0|2 nor for the bad records; starts: " << ::testing::PrintToString(run.Lines("starts.txt"))
        << "\ntrace: " << ::testing::PrintToString(run.Lines("trace.txt"));
    AnswerBoxes(lobby, "公告信息");
    AnswerBoxes(lobby, "提示");
    AnswerBoxes(lobby, "提示信息");
    // The lobby asks the semaphore, which outlives the window by a moment.
    PostMessageA(client, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !ClientRunning(); }, 5000));

    // Not enough money ends a group walk at its first refusal.
    poor = true;
    const int before = server.Count("RequestEnterRoom");
    tree.DoubleClick(tree.Find("新手房(5人,比赛中)"));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 失败|金额不足|0|0"));
    EXPECT_EQ(server.Count("RequestEnterRoom"), before + 1) << ::testing::PrintToString(server.Requests());

    // Room id "200" starts Dovra\Dovra.exe whatever the game.
    poor = false;
    ASSERT_TRUE(DeleteFileA((run.folder.Path() + "fenlo.exe").c_str()));
    CreateDirectoryA((run.folder.Path() + "Dovra").c_str(), nullptr);
    CopyFileA((OwnFolder() + "fake_client.exe").c_str(), (run.folder.Path() + "Dovra\\Dovra.exe").c_str(), FALSE);
    server.Send("AddRoom", "<addroom a=\"200\" b=\"二百\" c=\"127.0.0.1\" d=\"9000\" e=\"False\" f=\"1\" g=\"0\" "
                           "h=\"1\" i=\"1\" j=\"\" k=\"1\" l=\"17\"/>");
    ASSERT_TRUE(WaitFor([&] { return tree.Find("二百(1人)") != nullptr; }, 5000));
    tree.DoubleClick(tree.Find("二百(1人)"));
    EXPECT_TRUE(run.WaitLine("starts.txt", " 127.0.0.1 bob 9000 200 tok 0 0 0 1 0 0", 15000))
        << ::testing::PrintToString(run.Lines("starts.txt"));
    HWND dovra = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dovra = FindWindowA(nullptr, "Mirabo斗地主")) != nullptr; }, 10000));
    PostMessageA(dovra, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dovra); }, 5000));
}

TEST(LobbyMain, ALostConnectionIsRetriedAndKicksAndClosingAsk) {
    ScriptedLobby server;
    LobbyRun run("drop", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));

    // Closing asks first; Cancel keeps the window.
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND ask = nullptr;
    ASSERT_TRUE(WaitFor([&] { return run.Has("trace.txt", "box 提示|    是否要退出游戏大厅?|1|0"); }, 5000));
    ASSERT_TRUE(WaitFor([&] { return (ask = lobby.WaitWindow("#32770", "提示", 100)) != nullptr; }, 5000));
    PostMessageA(ask, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(ask); }, 5000));
    EXPECT_TRUE(IsWindow(main));

    server.Refuse(true);
    const int accepted = server.Accepted();
    server.Drop();
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 错误|检测到和服务器断开连接，正在尝试重连!|0|1"));
    ASSERT_TRUE(WaitFor([&] { return server.Accepted() >= accepted + 1; }, 10000)) << "a first retry";
    const DWORD first = GetTickCount();
    ASSERT_TRUE(WaitFor([&] { return server.Accepted() >= accepted + 2; }, 20000)) << "a second retry";
    EXPECT_GE(GetTickCount() - first, 8000u) << "retries about 10 s apart";
    server.Refuse(false);
    EXPECT_TRUE(server.WaitCount("RequestRoomList", 2, 25000)) << "logged in again";
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|连接服务器成功|0|1"));
    EXPECT_EQ(server.Logins(), 2);

    // A kick that closes the lobby shows its text and ends the program.
    AnswerBoxes(lobby, "错误");
    AnswerBoxes(lobby, "提示");
    server.Send("KickPlayer", "<p a=\"bye\" b=\"True\" c=\"True\"/>");
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|bye|0|0"));
    ASSERT_TRUE(WaitFor([&] {
        AnswerBoxes(lobby, "提示");
        return lobby.WaitExit(100);
    }, 10000));
}

TEST(LobbyMain, ATooOldClientStopsTheRetriesAndStartsTheUpdaterOnce) {
    ScriptedLobby server;
    LobbyRun run("tooold", server.Port());
    CopyFileA((OwnFolder() + "record_start.exe").c_str(), (run.folder.Path() + "Updater.exe").c_str(), FALSE);
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    ASSERT_NE(lobby.WaitWindow("#32770", "游戏大厅", 20000), nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));
    server.SetTooOld(true);
    const int accepted = server.Accepted();
    server.Drop();
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|当前客户的版本过低!   将为您更新为最新版本...|0|0", 15000));
    EXPECT_TRUE(run.WaitLine("starts.txt", "."));
    EXPECT_FALSE(WaitFor([&] { return server.Accepted() > accepted + 1; }, 13000)) << "no retry after the verdict";
    EXPECT_EQ(run.Lines("starts.txt"), std::vector<std::string>{"."});
}

TEST(LobbyMain, AMissingClientIsOfferedDownloadedAndUnpacked) {
    const std::string package = OwnFolder() + "download_data\\package.zip";
    std::string bytes;
    if (FILE* f = std::fopen(package.c_str(), "rb")) {
        char block[4096];
        for (size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
        std::fclose(f);
    }
    ASSERT_FALSE(bytes.empty()) << package;
    testsupport::LoopbackServer http([bytes](testsupport::Connection& c) {
        std::string head;
        if (testsupport::ReadHttpRequest(c, head, 5000)) c.Send(testsupport::HttpResponse(200, bytes));
        c.Close();
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(http.Port()) + "/package.zip";
    testsupport::LoopbackServer app([url](testsupport::Connection& c) {
        int kind;
        std::string request;
        if (!c.ReadFrame(kind, request, 5000)) return;
        c.SendFrame(1, "<AppInfo name=\"fenlo\" version=\"1.0\" file=\"package.zip\" size=\"0\" url=\"" + url + "\"/>");
        c.WaitClosed(5000);
    });
    ScriptedLobby server;
    LobbyRun run("download", server.Port());
    DeleteFileA((run.folder.Path() + "fenlo.exe").c_str());
    CopyFileA((OwnFolder() + "UNZDLL.dll").c_str(), (run.folder.Path() + "UNZDLL.dll").c_str(), FALSE);
    // The updater's entry names the lobby (comport) and the application server (port).
    run.folder.Write("updater\\config.ini", testsupport::UpdaterIni("127.0.0.1", app.Port(), server.Port()));
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));
    server.Send("GameList", kGames);
    HWND treeWindow = FindClass(main, "SysTreeView32");
    ASSERT_NE(treeWindow, nullptr);
    RemoteTree tree(treeWindow, lobby.Id());
    ASSERT_TRUE(WaitFor([&] { return tree.Find("斗地主") != nullptr; }, 5000));
    tree.DoubleClick(tree.Find("斗地主"));
    HWND offer = lobby.WaitWindow("#32770", "提示", 10000);
    ASSERT_NE(offer, nullptr) << "the download is offered";
    Click(GetDlgItem(offer, IDOK));
    // The download dialog fetches and unpacks, then its box says so.
    EXPECT_TRUE(WaitFor([&] {
        AnswerBoxes(lobby, "提示");
        std::FILE* f = std::fopen((run.folder.Path() + "fenlo\\config.ini").c_str(), "rb");
        if (f) std::fclose(f);
        return f != nullptr;
    }, 20000)) << "the client unpacked into the program folder: " << ::testing::PrintToString(run.Lines("trace.txt"));
    EXPECT_TRUE(WaitFor([&] {
        AnswerBoxes(lobby, "提示");
        for (const std::string& line : run.Lines("trace.txt"))
            if (line.find("下载完成,总大小:" + std::to_string(bytes.size())) != std::string::npos) return true;
        return false;
    }, 10000)) << "the finished box in the trace";
}

TEST(LobbyMain, MemberPageAndAdvertisementOpenAsWebPages) {
    ScriptedLobby server;
    LobbyRun run("webpages", server.Port());
    const std::string config = run.folder.Path() + "config.ini";
    for (const auto& kv : std::vector<std::pair<const char*, const char*>>{{"PostWeb", "http://127.0.0.1:9/member.asp"},
                                                                        {"AdvWeb", "about:blank"},
                                                                        {"AdvWidth", "300"},
                                                                        {"AdvHeight", "200"},
                                                                        {"AdvCloseTime", "2"}})
        WritePrivateProfileStringA("URL1", kv.first, kv.second, config.c_str());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    // The member page: a page of the middle panel with its strip and, once navigated, its web view.
    HWND member = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (member = FindChild(main, "主  页")) != nullptr; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return GetDlgItem(member, 10299) != nullptr; }, 10000)) << "the member page's web view";
    EXPECT_EQ(GetDlgItem(member, 1026) != nullptr && IsWindowVisible(GetDlgItem(member, 1026)), false)
        << "the member page has no close button";
    // The advertisement comes up at its size and closes itself.
    HWND advert = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        for (HWND w : lobby.Windows("#32770", "MiraboGame")) advert = w;
        return advert != nullptr;
    }, 15000));
    if (advert) {
        RECT r{};
        GetWindowRect(advert, &r);
        EXPECT_EQ(r.right - r.left, 300);
        EXPECT_EQ(r.bottom - r.top, 200);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(advert); }, 10000)) << "closed after its close time";
    }
    SavePng(CaptureWindow(main), "lobby_member_page");
}


TEST(LobbyMain, PanelsShowTheAllowedLinksAndANoticePopsUp) {
    ScriptedLobby server;
    LobbyRun run("panels", server.Port());
    const std::string config = run.folder.Path() + "config.ini";
    WritePrivateProfileStringA("URL1", "MainWebShow", "1", config.c_str());
    WritePrivateProfileStringA("URL1", "PayWebShow", "0", config.c_str());
    WritePrivateProfileStringA("URL1", "MainWeb", "no-such-main-page", config.c_str());
    for (const char* key : {"BBSWebShow", "SetWebShow"}) WritePrivateProfileStringA("URL1", key, "1", config.c_str());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));

    // The top bar: the close button always, a link only when its flag is "1".
    HWND link = FindControl(main, 1008, "Button");
    ASSERT_NE(link, nullptr);
    HWND top = GetParent(link);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(top, 1016)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(top, 1008)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(top, 1010)));
    // Around its picture a button shows the bar's own frame (a gradient from
    // top to bottom): its corner pixels match the bar's just left of it.
    for (int id : {1008, 1016}) {
        RECT r;
        GetWindowRect(GetDlgItem(top, id), &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        Capture bar;
        ASSERT_TRUE(WaitFor([&] {
            bar = CaptureWindow(main);
            return bar.At(r.left - 1, r.top) != 0 && bar.At(r.left - 1, r.bottom - 1) != 0;
        }, 10000)) << "the bar painted";
        // Compared in one picture: the bar may still be drawing its own frame.
        for (int y : {static_cast<int>(r.top), static_cast<int>(r.bottom) - 1})
            EXPECT_TRUE(WaitFor([&] {
                bar = CaptureWindow(main);
                return bar.At(r.left, y) == bar.At(r.left - 1, y);
            }, 5000)) << id << " at " << r.left << "," << y << ": " << std::hex << bar.At(r.left, y) << " beside "
                      << bar.At(r.left - 1, y);
    }
    PostMessageA(top, WM_COMMAND, MAKEWPARAM(1008, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(top, 1008)));
    EXPECT_TRUE(run.WaitLine("trace.txt", "open no-such-main-page"));
    // The page links share one page of the middle area, retitled.
    PostMessageA(top, WM_COMMAND, MAKEWPARAM(1009, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(top, 1009)));
    EXPECT_TRUE(WaitFor([&] { return FindChild(main, "论  坛") != nullptr; }, 10000));
    PostMessageA(top, WM_COMMAND, MAKEWPARAM(1011, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(top, 1011)));
    EXPECT_TRUE(WaitFor([&] { return FindChild(main, "设  置") != nullptr; }, 10000));
    EXPECT_EQ(FindChild(main, "论  坛"), nullptr);

    // The middle panel has its tab strip; a type-2 notice pops up and stays.
    EXPECT_NE(FindControl(main, 0xE900, "MiraboWnd"), nullptr);
    server.Send("Notice", "<p a=\"aGk=\" b=\"2\"/>");
    EXPECT_TRUE(WaitFor([&] { return !lobby.Windows("#32770", "Mirabo系统消息").empty(); }, 10000));
    server.Send("GameList", kGames);
    HWND tree = FindControl(main, 1000, "SysTreeView32");
    EXPECT_TRUE(WaitFor([&] { return tree && SendMessageA(tree, TVM_GETCOUNT, 0, 0) > 0; }, 10000)) << "the game tree";
    SavePng(CaptureWindow(main), "lobby_panels");
}

// ---- the room page ------------------------------------------------------------

TEST(LobbyMain, RoomPageSeatClickStartsTheClientAtThatSeat) {
    std::atomic<bool> refuse{false};
    ScriptedLobby server([&](const std::string& request) -> std::vector<std::string> {
        if (request.find("RequestEnterRoom") != std::string::npos)
            return {testsupport::LobbyReply("ReadyToEnterRoom", "<p a=\"s\" b=\"tok\" c=\"7\"/>"),
                    testsupport::LobbyReply("DeskList", "<Room a=\"False\"><desk a=\"D3\" b=\"7\" c=\"3\" d=\"-\" "
                                                        "e=\"false\"/><player a=\"x\" b=\"nx\" c=\"1\" d=\"True\" "
                                                        "e=\"0\"/></Room>")};
        if (request.find("RequestEnterDesk") != std::string::npos)
            return {testsupport::LobbyReply("EnterDeskAK", refuse ? "<p a=\"False\"/>" : "<p a=\"True\"/>")};
        return {};
    });
    LobbyRun run("room", server.Port());
    ChildProcess lobby(run.folder.Exe(), kBobLine, run.folder.Path());
    HWND main = lobby.WaitWindow("#32770", "游戏大厅", 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(server.WaitCount("RequestRoomList", 1));
    server.Send("GameList", kGames);
    PostMessageA(main, WM_USER + 5555, 4, 7);
    ASSERT_TRUE(run.WaitLine("starts.txt", " 127.0.0.1 bob 9000 7 tok 0 h2 p2 1 0 0", 15000));
    HWND view = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (view = FindClass(main, "MiraboView")) != nullptr; }, 10000)) << "the room page";
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(GetDlgItem(view, 60007)); }, 5000)) << "x sits on seat 1";
    ASSERT_TRUE(CloseClient());
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(view) && FindChild(main, "等  待") == nullptr; }, 5000))
        << IsWindowVisible(view) << " " << (FindChild(main, "等  待") != nullptr);
    SavePng(CaptureWindow(main), "lobby_room_page");

    // A free seat: RequestEnterDesk on the lobby connection, then the client at that seat.
    Click(GetDlgItem(view, 60006));
    ASSERT_TRUE(server.WaitCount("RequestEnterDesk", 1));
    const std::vector<std::string> sent = server.Requests();
    EXPECT_NE(sent.back().find("deskid=\"3\""), std::string::npos) << sent.back();
    EXPECT_NE(sent.back().find("seat=\"0\""), std::string::npos) << sent.back();
    ASSERT_TRUE(run.WaitLine("starts.txt", " 127.0.0.1 bob 9000 7 tok 0 h2 p2 0 3 0", 15000))
        << ::testing::PrintToString(run.Lines("starts.txt"));
    // Its way in the trace, in order on one clock: the press, the request, the
    // answer queued by the socket thread, its dispatch.
    const std::vector<std::string> way = {"room button pressed", "seat requested", "message 12 received", "message 12"};
    std::vector<std::string> traced;
    long last = 0;
    for (const std::string& line : run.Lines("trace.txt")) {
        const size_t blank = line.find(' ', 3);
        if (line.compare(0, 3, "at ") != 0 || blank == std::string::npos) continue;
        if (std::find(way.begin(), way.end(), line.substr(blank + 1)) == way.end()) continue;
        traced.push_back(line.substr(blank + 1));
        const long at = std::atol(line.c_str() + 3);
        EXPECT_GE(at, last) << line;
        last = at;
    }
    EXPECT_EQ(traced, way);

    // While the client runs no seat is asked for; a refusal shows its box.
    ASSERT_TRUE(WaitFor(ClientRunning, 10000));
    Click(GetDlgItem(view, 60008));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|游戏客户端已经启动!|0|0"));
    EXPECT_EQ(server.Count("RequestEnterDesk"), 1);
    ASSERT_TRUE(CloseClient());
    refuse = true;
    Click(GetDlgItem(view, 60008));
    EXPECT_TRUE(run.WaitLine("trace.txt", "box 提示|该座位已经有人!|0|0"));
    EXPECT_EQ(server.Count("RequestEnterDesk"), 2);
    AnswerBoxes(lobby, "提示");
}

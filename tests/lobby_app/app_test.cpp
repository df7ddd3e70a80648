// MiraboGame.exe copied into a scratch program folder and started from there.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// ChildProcess.h brings winsock2.h before windows.h
// clang-format off
#include "tests/support/ChildProcess.h"
#include "tests/platform/WindowCapture.h"
// clang-format on
#include "tests/support/FakeLobby.h"
#include "tests/support/HttpResponder.h"
#include "tests/support/LoopbackServer.h"

using testsupport::ChildProcess;
using testsupport::WaitFor;
using testsupport::WindowText;

namespace {

std::string BinFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.rfind('\\') + 1);
}

// A program folder holding MiraboGame.exe, removed afterwards.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "mirabo_lobby_" + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
        CopyFileA((BinFolder() + "MiraboGame.exe").c_str(), Exe().c_str(), FALSE);
    }
    ~ProgramFolder() { Remove(path_); }
    static void Remove(const std::string& folder) {
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((folder + "*").c_str(), &f);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &f)) {
            const std::string name = f.cFileName;
            if (name == "." || name == "..") continue;
            if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(folder + name + "\\");
            else DeleteFileA((folder + name).c_str());
        }
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
        RemoveDirectoryA(folder.c_str());
    }
    std::string Exe() const { return path_ + "MiraboGame.exe"; }
    std::string Path() const { return path_; }
    // The whole stand-in skin.
    void CopySkin() const { CopyTree(BinFolder() + "Skin\\", path_ + "Skin\\"); }
    static void CopyTree(const std::string& from, const std::string& to) {
        CreateDirectoryA(to.c_str(), nullptr);
        WIN32_FIND_DATAA f;
        HANDLE h = FindFirstFileA((from + "*").c_str(), &f);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &f)) {
            const std::string name = f.cFileName;
            if (name == "." || name == "..") continue;
            if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CopyTree(from + name + "\\", to + name + "\\");
            else CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
        }
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
    // The command-line login's pictures and a skin ini naming those of the keys.
    void WriteAutoLoginSkin(const std::vector<std::string>& keys) const {
        for (const char* sub : {"Skin", "Skin\\Style1", "Skin\\Style1\\login"})
            CreateDirectoryA((path_ + sub).c_str(), nullptr);
        std::string ini = "[login_dlg]\r\n";
        for (const std::string& key : keys) {
            const std::string file = key + (key == "auto_login_bk" ? ".bmp" : ".png");
            CopyFileA((BinFolder() + "Skin\\Style1\\login\\" + file).c_str(),
                      (path_ + "Skin\\Style1\\login\\" + file).c_str(), FALSE);
            ini += key + "=login\\" + file + "\r\n";
        }
        Write("Skin\\Style1\\Skin.ini", ini);
    }
    void Write(const std::string& name, const std::string& text) const {
        if (FILE* f = std::fopen((path_ + name).c_str(), "wb")) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    }

private:
    std::string path_;
};

std::string RegisteredPath() {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MiraboGame", "path", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "";
    return value;
}

// The static text of a system message box.
std::string BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

}  // namespace

TEST(LobbyApp, RegRecordsThePathAndShowsNoWindow) {
    ProgramFolder folder("reg");
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
    ProgramFolder folder("single");
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

namespace {

// The digest of "secret" as the login dialog stores it, the server's key and
// the ticket they make.
const char kKey[] = "KEY42";
const char kTicket[] = "fa9193b62f9b192df01be030f73490f3";

// A program folder pointed at a fake lobby on the port.
void PointAtLobby(const ProgramFolder& folder, unsigned short port) {
    folder.Write("config.ini",
                 "[SYSTEM]\r\nversionxml=<version game=\"FENLO\" number=\"2.0.1\"/>\r\n"
                 "ping=<GameMessage game=\"FENLO\"><Message name=\"Ping\" type=\"Request\"/></GameMessage>\r\n"
                 "time1=-1\r\ntime2=300\r\ntime3=3000\r\ntime4=0\r\ntime5=3000\r\nSvrSelect=0\r\n"
                 "[MsgType]\r\nType=0\r\n");
    folder.Write("serveraddr.ini", testsupport::ServerAddrIni(1, {testsupport::ServerSection(1, "127.0.0.1", port, 1)}));
    CreateDirectoryA((folder.Path() + "updater").c_str(), nullptr);
    folder.Write("updater\\config.ini", testsupport::UpdaterIni("127.0.0.1", 1, port));
}

std::string ReadIni(const ProgramFolder& folder, const char* section, const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, (folder.Path() + "config.ini").c_str());
    return value;
}

void Type(HWND edit, const std::string& text) {
    for (unsigned char c : text) PostMessageA(edit, WM_CHAR, c, 1);
}

void Click(HWND button) {
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

}  // namespace

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

namespace {
const char kStoredDigest[] = "DBAB93EC051ED01C20B7797AFD19CC7B";  // of "secret"
const std::vector<std::string> kAutoLoginKeys = {"auto_login_bk", "auto_login_exit", "auto_login_l1", "auto_login_l2"};
}  // namespace

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
    ProgramFolder folder("autobad");
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

namespace {
// The lines record_start wrote, when it stands in as Updater.exe.
std::vector<std::string> Starts(const ProgramFolder& folder) {
    std::vector<std::string> lines;
    if (FILE* f = std::fopen((folder.Path() + "starts.txt").c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, f)) lines.push_back(std::string(line, std::strcspn(line, "\r\n")));
        std::fclose(f);
    }
    return lines;
}

void InstallUpdater(const ProgramFolder& folder) {
    CopyFileA((BinFolder() + "record_start.exe").c_str(), (folder.Path() + "Updater.exe").c_str(), FALSE);
    SetEnvironmentVariableA("MIRABO_RECORD_STARTS", (folder.Path() + "starts.txt").c_str());
}

testsupport::LoginScript TooOld() {
    return [](testsupport::Connection& c, const std::string&) {
        c.SendFrame(1, testsupport::LobbyReply("LowClientVersion", ""));
        c.SendFrame(1, testsupport::LobbyReply("LoginFailed", "<p a=\"later\"/>"));
    };
}
}  // namespace

TEST(LobbyApp, RefusalEmptiesThePasswordAndTooOldStartsTheUpdaterOnce) {
    auto refusing = testsupport::StartFakeLobby(testsupport::LoginVerdict(kKey, "not the ticket", ""));
    ProgramFolder folder("refused");
    PointAtLobby(folder, refusing->Port());
    folder.Write("MiraboDever.abc", "");
    InstallUpdater(folder);
    {
        ChildProcess lobby(folder.Exe(), "", folder.Path());
        HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
        ASSERT_NE(dialog, nullptr);
        HWND start = GetDlgItem(dialog, IDOK);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000));
        Type(GetDlgItem(dialog, 1001), "player");
        Type(GetDlgItem(dialog, 1002), "secret");
        Click(start);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(start); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(start) && WindowText(GetDlgItem(dialog, 1002)).empty(); },
                            10000));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1001)));
    }

    auto old = testsupport::StartFakeLobby(TooOld());
    PointAtLobby(folder, old->Port());
    {
        ChildProcess lobby(folder.Exe(), "", folder.Path());
        HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
        ASSERT_NE(dialog, nullptr);
        HWND start = GetDlgItem(dialog, IDOK);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000));
        Type(GetDlgItem(dialog, 1001), "player");
        Type(GetDlgItem(dialog, 1002), "secret");
        Click(start);
        EXPECT_TRUE(lobby.WaitExit(15000));
    }
    EXPECT_TRUE(WaitFor([&] { return !Starts(folder).empty(); }, 5000));
    EXPECT_EQ(Starts(folder), std::vector<std::string>{"."});

    // The command-line login hands the updater the whole command line.
    DeleteFileA((folder.Path() + "starts.txt").c_str());
    folder.WriteAutoLoginSkin(kAutoLoginKeys);
    const std::string line = std::string("('bob,") + kStoredDigest + "')";
    {
        ChildProcess lobby(folder.Exe(), line, folder.Path());
        EXPECT_TRUE(lobby.WaitExit(20000));
    }
    EXPECT_TRUE(WaitFor([&] { return !Starts(folder).empty(); }, 5000));
    EXPECT_EQ(Starts(folder), std::vector<std::string>{line});
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
        WritePrivateProfileStringA("SYSTEM", "notice_url",
                                   ("http://127.0.0.1:" + std::to_string(web.Port()) + "/n.txt").c_str(),
                                   (folder.Path() + "config.ini").c_str());
        folder.Write("MiraboDever.abc", "");
        ChildProcess lobby(folder.Exe(), "", folder.Path());
        HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
        ASSERT_NE(dialog, nullptr);
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
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    HWND start = GetDlgItem(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000));
    Type(GetDlgItem(dialog, 1001), "player");
    Type(GetDlgItem(dialog, 1002), "secret");
    Click(start);
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
    // Stopped: the second picture (green) stays at (30, 77).
    EXPECT_TRUE(WaitFor([&] {
        const Capture shot = CaptureWindow(window);
        return shot.width > 40 && shot.At(40, 85) == RGB(60, 200, 60);
    }, 20000));
    Sleep(700);  // past a blink period: still the second picture
    const Capture shot = CaptureWindow(window);
    SavePng(shot, "lobby_auto_login");
    EXPECT_EQ(shot.At(40, 85), RGB(60, 200, 60));
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
        CopyFileA((BinFolder() + "record_start.exe").c_str(), (folder.Path() + page).c_str(), FALSE);
    WritePrivateProfileStringA("URL1", "RegWeb", (folder.Path() + "reg.exe").c_str(), config.c_str());
    WritePrivateProfileStringA("URL1", "FindPassWeb", (folder.Path() + "find.exe").c_str(), config.c_str());
    folder.Write("MiraboDever.abc", "");
    ChildProcess lobby(folder.Exe(), "", folder.Path());
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    ASSERT_NE(dialog, nullptr);
    Click(GetDlgItem(dialog, 1029));
    EXPECT_TRUE(WaitFor([&] { return Starts(folder).size() == 1; }, 10000));
    Click(GetDlgItem(dialog, 1030));
    EXPECT_TRUE(WaitFor([&] { return Starts(folder).size() == 2; }, 10000));
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

TEST(LobbyApp, BannerShowsItsPageAndVersionAndItsButtonsEndTheLogin) {
    ProgramFolder folder("bannerbuttons");
    PointAtLobby(folder, 1);
    folder.CopySkin();
    InstallUpdater(folder);
    CopyFileA((BinFolder() + "record_start.exe").c_str(), (folder.Path() + "iexplore.exe").c_str(), FALSE);
    WritePrivateProfileStringA("URL1", "PartnerLoginWeb", "http://partner.example/login",
                               (folder.Path() + "config.ini").c_str());
    folder.Write("MiraboDever.abc", "");
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
        // The background drawn, and "ver:2.0.1" in black in (220, 45)-(320, 65).
        auto versionDrawn = [&] {
            const Capture shot = CaptureWindow(banner);
            if (shot.height < 65 || (shot.At(150, 150) & 0xFFFFFF) == 0) return false;
            int dark = 0;
            for (int y = 45; y < 65; ++y)
                for (int x = 220; x < 300; ++x)
                    if ((shot.At(x, y) & 0xFFFFFF) == 0) ++dark;
            return dark > 10;
        };
        EXPECT_TRUE(WaitFor(versionDrawn, 10000));
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
    Click(GetDlgItem(banner, 1032));
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
    WritePrivateProfileStringA("SYSTEM", "notice_url",
                               ("http://127.0.0.1:" + std::to_string(web.Port()) + "/n.txt").c_str(),
                               (folder.Path() + "config.ini").c_str());
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

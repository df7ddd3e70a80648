// The boxes of the two login dialogs, which run before the main window
// exists: each is shown at once over the dialog that asks, and what follows
// it (the updater) waits for the player.
// LobbyAppKit.h brings winsock2.h before windows.h
// clang-format off
#include "tests/lobby_app/LobbyAppKit.h"
// clang-format on

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>

using namespace lobbyapp;

namespace {

// A folder for a login of either kind, with a trace, pointed at the port.
struct Login {
    Login(const char* name, unsigned short port, bool commandLine) : folder(name), commandLine(commandLine) {
        PointAtLobby(folder, port);
        folder.Write("MiraboDever.abc", "");
        if (commandLine) folder.WriteAutoLoginSkin(kAutoLoginKeys);
        InstallUpdater(folder);
    }
    // Starts the lobby; the typed login logs in once its start button is enabled.
    void Start(bool logIn = true) {
        SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", (folder.Path() + "trace.txt").c_str());
        lobby.reset(new ChildProcess(folder.Exe(), commandLine ? kBobLine : "", folder.Path()));
        SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
        dialog = lobby->WaitWindow("#32770", "MiraboGame");
        if (logIn && !commandLine && dialog) {
            HWND start = GetDlgItem(dialog, IDOK);
            if (!WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000)) return;
            Type(GetDlgItem(dialog, 1001), "player");
            Type(GetDlgItem(dialog, 1002), "secret");
            Click(start);
        }
    }
    bool Traced(const std::string& begin) { return TraceBegins(folder, begin, 5000); }
    ProgramFolder folder;
    bool commandLine;
    std::unique_ptr<ChildProcess> lobby;
    HWND dialog = nullptr;
};

}  // namespace

// A loading step that fails (no server list here) is told, and the dialog
// stays for the player to leave.
TEST(LoginBoxes, AStartUpFailureIsShownOverTheLoginDialog) {
    for (bool commandLine : {false, true}) {
        Login login("startfail", 1, commandLine);
        DeleteFileA((login.folder.Path() + "serveraddr.ini").c_str());
        login.Start(false);
        ASSERT_NE(login.dialog, nullptr);
        HWND box = login.lobby->WaitWindow("#32770", "错误", 20000);
        ASSERT_NE(box, nullptr) << commandLine;
        EXPECT_EQ(GetWindow(box, GW_OWNER), login.dialog);
        EXPECT_TRUE(login.Traced("box 错误|很抱歉,出现以下意外:加载配置文件出错:"));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
        EXPECT_TRUE(IsWindow(login.dialog)) << "only exit is left";
        PostMessageA(login.dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(login.lobby->WaitExit(10000));
    }
}

// The server wants a newer client: the player reads so before the updater
// starts (once, whichever of the login step's two signals came first).
TEST(LoginBoxes, ATooOldClientIsToldBeforeTheUpdaterStarts) {
    auto server = testsupport::StartFakeLobby(TooOld());
    for (bool commandLine : {false, true}) {
        Login login("tooold", server->Port(), commandLine);
        login.Start();
        ASSERT_NE(login.dialog, nullptr);
        HWND box = login.lobby->WaitWindow("#32770", "提示", 20000);
        ASSERT_NE(box, nullptr) << commandLine;
        EXPECT_EQ(GetWindow(box, GW_OWNER), login.dialog);
        EXPECT_TRUE(login.Traced("box 提示|当前客户的版本过低!   将为您更新为最新版本...|0|0"));
        FILETIME answered;
        GetSystemTimeAsFileTime(&answered);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(login.lobby->WaitExit(15000));
        EXPECT_TRUE(WaitFor([&] { return !Starts(login.folder).empty(); }, 5000));
        EXPECT_EQ(Starts(login.folder), std::vector<std::string>{commandLine ? kBobLine : "."});
        WIN32_FILE_ATTRIBUTE_DATA started;
        ASSERT_TRUE(GetFileAttributesExA((login.folder.Path() + "starts.txt").c_str(), GetFileExInfoStandard, &started));
        EXPECT_GE(CompareFileTime(&started.ftLastWriteTime, &answered), 0) << "the updater waits for the box";
    }
}

// The command line comes from a web page: its user name gets the typed
// login's test (no GBK character, no '"', '<' or '>', which would break every
// request it goes in), and a refused one logs nothing in.
TEST(LoginBoxes, ACommandLineNameTheRequestsCannotCarryIsRefused) {
    std::atomic<bool> asked{false};
    auto server = testsupport::StartFakeLobby([&](testsupport::Connection&, const std::string&) { asked = true; });
    ProgramFolder folder("badname");
    PointAtLobby(folder, server->Port());
    folder.Write("MiraboDever.abc", "");
    folder.WriteAutoLoginSkin(kAutoLoginKeys);
    for (const char* name : {"玩家", "a\"b", "<b>"}) {
        ChildProcess lobby(folder.Exe(), std::string("('") + name + "," + kStoredDigest + "')", folder.Path());
        HWND box = lobby.WaitWindow("#32770", "提示", 20000);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(BoxText(box), "请输入正确格式的用户名!");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(lobby.WaitExit(10000)) << name;
    }
    EXPECT_FALSE(asked) << "no login sent";
}

// The typed login's two refusals, each in the lobby's box over the dialog,
// which stays with nothing sent: a name the requests cannot carry, and an
// empty field (a name of blanks only counts as empty).
TEST(LoginBoxes, TypedLoginRefusesABadNameAndAnEmptyField) {
    std::atomic<bool> asked{false};
    auto server = testsupport::StartFakeLobby([&](testsupport::Connection&, const std::string&) { asked = true; });
    Login login("typedbad", server->Port(), false);
    login.Start(false);
    ASSERT_NE(login.dialog, nullptr);
    HWND start = GetDlgItem(login.dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000));
    struct Case {
        const char* name;
        const char* password;
        const char* box;
    } cases[] = {
        {"a\"b", "secret", "提示|请输入正确格式的用户名!"},
        {"<b>", "secret", "提示|请输入正确格式的用户名!"},
        {"bob", "", "消息|请输入完整的用户名和密码!"},
        {"   ", "secret", "消息|请输入完整的用户名和密码!"},
    };
    std::map<std::string, size_t> shown;
    for (const Case& c : cases) {
        SendMessageA(GetDlgItem(login.dialog, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        SendMessageA(GetDlgItem(login.dialog, 1002), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        Type(GetDlgItem(login.dialog, 1001), c.name);
        Type(GetDlgItem(login.dialog, 1002), c.password);
        Click(start);
        const std::string line = std::string("box ") + c.box + "|0|0";
        const size_t before = shown[line]++;
        ASSERT_TRUE(WaitFor([&] { return TraceCount(login.folder, line) > before; }, 10000)) << c.name;
        const std::string caption = std::string(c.box).substr(0, std::string(c.box).find('|'));
        HWND box = login.lobby->WaitWindow("#32770", caption.c_str(), 10000);
        ASSERT_NE(box, nullptr) << c.name;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000)) << c.name;
        EXPECT_TRUE(IsWindowEnabled(start)) << c.name;
    }
    EXPECT_FALSE(asked) << "no login sent";
}

// What the tests of MiraboGame.exe driven from outside share: a scratch
// program folder, the files that point it at a lobby on 127.0.0.1, a
// scripted lobby server, the stand-ins for the programs it starts, and the
// posted input and box answers the tests use.
#pragma once

// ChildProcess.h brings winsock2.h before windows.h
// clang-format off
#include "tests/support/ChildProcess.h"
// clang-format on

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <map>
#include <string>
#include <vector>

#include "tests/support/FakeLobby.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/PlayFolder.h"

namespace lobbyapp {

using testsupport::ChildProcess;
using testsupport::OwnFolder;
using testsupport::WaitFor;
using testsupport::WindowText;

// A program folder holding MiraboGame.exe, removed afterwards.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "mirabo_lobby_" + name + "_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
        CopyFileA((OwnFolder() + "MiraboGame.exe").c_str(), Exe().c_str(), FALSE);
    }
    ~ProgramFolder() { Remove(path_); }
    static void Remove(const std::string& folder) { loop::RemoveTree(folder); }
    std::string Exe() const { return path_ + "MiraboGame.exe"; }
    std::string Path() const { return path_; }
    // The whole stand-in skin.
    void CopySkin() const { CopyTree(OwnFolder() + "Skin\\", path_ + "Skin\\"); }
    static void CopyTree(const std::string& from, const std::string& to) { loop::CopyTree(from, to); }
    // The command-line login's pictures and a skin ini naming those of the keys.
    void WriteAutoLoginSkin(const std::vector<std::string>& keys) const {
        for (const char* sub : {"Skin", "Skin\\Style1", "Skin\\Style1\\login"})
            CreateDirectoryA((path_ + sub).c_str(), nullptr);
        std::string ini = "[login_dlg]\r\n";
        for (const std::string& key : keys) {
            const std::string file = key + (key == "auto_login_bk" ? ".bmp" : ".png");
            CopyFileA((OwnFolder() + "Skin\\Style1\\login\\" + file).c_str(),
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

inline std::string RegisteredPath() {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\MiraboGame", "path", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return "";
    return value;
}

// The static text of a system message box.
inline std::string BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

// The digest of "secret" as the login dialog stores it, the server's key and
// the ticket they make.
inline const char kKey[] = "KEY42";
inline const char kTicket[] = "fa9193b62f9b192df01be030f73490f3";

// A program folder pointed at a fake lobby on the port.
inline void PointAtLobby(const ProgramFolder& folder, unsigned short port) {
    folder.Write("config.ini",
                 "[SYSTEM]\r\nversionxml=<version game=\"FENLO\" number=\"2.0.1\"/>\r\n"
                 "ping=<GameMessage game=\"FENLO\"><Message name=\"Ping\" type=\"Request\"/></GameMessage>\r\n"
                 "time1=-1\r\ntime2=300\r\ntime3=3000\r\ntime4=0\r\ntime5=3000\r\nSvrSelect=0\r\n"
                 "[MsgType]\r\nType=0\r\n");
    folder.Write("serveraddr.ini", testsupport::ServerAddrIni(1, {testsupport::ServerSection(1, "127.0.0.1", port, 1)}));
    CreateDirectoryA((folder.Path() + "updater").c_str(), nullptr);
    folder.Write("updater\\config.ini", testsupport::UpdaterIni("127.0.0.1", 1, port));
}

// The login's notice fetched from a web server of the test on the port.
inline void PointNoticeAt(const ProgramFolder& folder, unsigned short port) {
    WritePrivateProfileStringA("SYSTEM", "notice_url", ("http://127.0.0.1:" + std::to_string(port) + "/n.txt").c_str(),
                               (folder.Path() + "config.ini").c_str());
}

inline std::string ReadIni(const ProgramFolder& folder, const char* section, const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, (folder.Path() + "config.ini").c_str());
    return value;
}

inline void Type(HWND edit, const std::string& text) {
    for (unsigned char c : text) PostMessageA(edit, WM_CHAR, c, 1);
}

inline void Click(HWND button) {
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// The typed login's dialog once its start button is enabled (the loading
// done); null when either does not come.
inline HWND ReadyLoginDialog(ChildProcess& lobby) {
    HWND dialog = lobby.WaitWindow("#32770", "MiraboGame");
    if (!dialog) return nullptr;
    HWND start = GetDlgItem(dialog, IDOK);
    return WaitFor([&] { return IsWindowEnabled(start) != FALSE; }, 15000) ? dialog : nullptr;
}

// Types the user name and the password into the login dialog and presses start.
inline void TypeAndStart(HWND dialog, const std::string& user, const std::string& password) {
    Type(GetDlgItem(dialog, 1001), user);
    Type(GetDlgItem(dialog, 1002), password);
    Click(GetDlgItem(dialog, IDOK));
}

inline const char kStoredDigest[] = "DBAB93EC051ED01C20B7797AFD19CC7B";  // of "secret"
inline const std::vector<std::string> kAutoLoginKeys = {"auto_login_bk", "auto_login_exit", "auto_login_l1", "auto_login_l2"};

// The lines record_start wrote, when it stands in as Updater.exe.
inline std::vector<std::string> Starts(const ProgramFolder& folder) {
    std::vector<std::string> lines;
    if (FILE* f = std::fopen((folder.Path() + "starts.txt").c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, f)) lines.push_back(std::string(line, std::strcspn(line, "\r\n")));
        std::fclose(f);
    }
    return lines;
}

inline void InstallUpdater(const ProgramFolder& folder) {
    CopyFileA((OwnFolder() + "record_start.exe").c_str(), (folder.Path() + "Updater.exe").c_str(), FALSE);
    SetEnvironmentVariableA("MIRABO_RECORD_STARTS", (folder.Path() + "starts.txt").c_str());
}

inline testsupport::LoginScript TooOld() {
    return [](testsupport::Connection& c, const std::string&) {
        c.SendFrame(1, testsupport::LobbyReply("LowClientVersion", ""));
        c.SendFrame(1, testsupport::LobbyReply("LoginFailed", "<p a=\"later\"/>"));
    };
}

inline const char kBobSuccess[] =
    "<p a=\"bob\" b=\"100.00\" c=\"True\" d=\"False\" e=\"s\" f=\"Bob\" g=\"1\" h=\"\" i=\"\"/>";

// A lobby that logs the player in, records every later request and answers
// through the responder; the test sends it frames and may drop or refuse.
class ScriptedLobby {
public:
    using Responder = std::function<std::vector<std::string>(const std::string& request)>;
    explicit ScriptedLobby(Responder responder = nullptr)
        : responder_(std::move(responder)), server_([this](testsupport::Connection& c) { Serve(c); }) {}
    unsigned short Port() const { return server_.Port(); }
    int Accepted() const { return server_.Accepted(); }
    void Refuse(bool refuse) { refuse_ = refuse; }
    // Logins answered with "client too old".
    void SetTooOld(bool tooOld) { tooOld_ = tooOld; }
    int Logins() const { return logins_; }

    bool Send(const std::string& name, const std::string& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        return conn_ && conn_->SendFrame(1, testsupport::LobbyReply(name, body));
    }
    void Drop() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (conn_) conn_->Reset();
        conn_ = nullptr;
        ++generation_;
    }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }
    int Count(const std::string& part) {
        int n = 0;
        for (const std::string& r : Requests()) n += r.find(part) != std::string::npos;
        return n;
    }
    bool WaitCount(const std::string& part, int n, int ms = 10000) {
        return WaitFor([&] { return Count(part) >= n; }, ms);
    }

private:
    void Serve(testsupport::Connection& c) {
        int kind;
        std::string first;
        if (!c.ReadFrame(kind, first, 10000)) return;
        if (first.find("Ping") != std::string::npos) {
            c.SendFrame(1, testsupport::kPingAnswer);
            c.WaitClosed(30000);
            return;
        }
        if (refuse_) return c.Reset();
        if (tooOld_) {
            TooOld()(c, first);
            c.WaitClosed(30000);
            return;
        }
        testsupport::LoginVerdict(kKey, kTicket, testsupport::LobbyReply("LoginSuccess", kBobSuccess))(c, first);
        int generation;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            conn_ = &c;
            generation = generation_;
            ++logins_;
        }
        while (!c.Stopping()) {
            std::string request;
            const DWORD start = GetTickCount();
            if (!c.ReadFrame(kind, request, 300)) {
                std::lock_guard<std::mutex> lock(mutex_);
                if (generation != generation_) return;
                if (GetTickCount() - start < 200) {  // closed by the lobby, not a time-out
                    if (conn_ == &c) conn_ = nullptr;
                    return;
                }
                continue;
            }
            std::vector<std::string> answers = responder_ ? responder_(request) : std::vector<std::string>();
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
            for (const std::string& a : answers) c.SendFrame(1, a);
        }
    }

    Responder responder_;
    std::mutex mutex_;
    testsupport::Connection* conn_ = nullptr;
    int generation_ = 0;
    std::atomic<int> logins_{0};
    std::atomic<bool> refuse_{false};
    std::atomic<bool> tooOld_{false};
    std::vector<std::string> requests_;
    testsupport::LoopbackServer server_;
};

// Rooms in list order 7, 3, 5 (all of match 2), 9 (its group names no entry)
// and 20 (closed); QOLT's room stays out of the tree.
inline std::string Room(const std::string& id, const std::string& name, int count, const std::string& match, int group,
                 const std::string& open, const std::string& node, const std::string& game = "1") {
    return "<room a=\"" + id + "\" b=\"" + name + "\" c=\"127.0.0.1,h2\" d=\"9000,p2\" e=\"False\" f=\"" +
           std::to_string(count) + "\" g=\"" + match + "\" h=\"" + std::to_string(group) + "\" i=\"" + open +
           "\" j=\"维护中\" k=\"" + game + "\" l=\"" + node + "\"/>";
}
inline const std::string kGames = "<game a=\"1\" b=\"FENLO\" c=\"斗地主\" d=\"\"/>" + Room("7", "高手房", 4, "2", 2, "1", "12") +
                           Room("3", "新手房", 2, "2", 1, "1", "11") + Room("5", "新手房B", 3, "2", 1, "1", "11") +
                           Room("9", "无处房", 1, "0", 7, "1", "13") + Room("20", "维护房", 1, "0", 1, "0", "14") +
                           "<game a=\"2\" b=\"QOLT\" c=\"扎金花\" d=\"\"/>" + Room("40", "金花房", 5, "0", 1, "1", "16", "2");
inline const char kRoomTree[] =
    "[count]\r\nitem_count=2\r\n[item0]\r\nid=1\r\ntext=初级场\r\ncolor=255 0 0\r\nicon=3\r\nparent=0\r\nexpand=1\r\n"
    "url=0\r\n[item1]\r\nid=2\r\ntext=比赛场\r\ncolor=0 255 0\r\nicon=3\r\nparent=0\r\nexpand=1\r\nurl=0\r\n";

// A program folder with the skin, the room tree, the stand-in client as
// fenlo.exe and the trace files, pointed at the lobby.
struct LobbyRun {
    explicit LobbyRun(const std::string& name, unsigned short port) : folder(name) {
        PointAtLobby(folder, port);
        folder.CopySkin();
        folder.Write("FENLORoomTree.ini", kRoomTree);
        CopyFileA((OwnFolder() + "fake_client.exe").c_str(), (folder.Path() + "fenlo.exe").c_str(), FALSE);
        SetEnvironmentVariableA("MIRABO_RECORD_STARTS", (folder.Path() + "starts.txt").c_str());
        SetEnvironmentVariableA("MIRABO_CLIENT_LOG", (folder.Path() + "client.txt").c_str());
        SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", (folder.Path() + "trace.txt").c_str());
        SetEnvironmentVariableA("MIRABO_CLIENT_PLAYER", "bob");
    }
    ~LobbyRun() { SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr); }
    std::vector<std::string> Lines(const char* file) const {
        std::vector<std::string> lines;
        if (FILE* f = std::fopen((folder.Path() + file).c_str(), "r")) {
            char line[2048];
            while (std::fgets(line, sizeof line, f)) lines.push_back(std::string(line, std::strcspn(line, "\r\n")));
            std::fclose(f);
        }
        return lines;
    }
    bool Has(const char* file, const std::string& line) const {
        for (const std::string& l : Lines(file))
            if (l == line) return true;
        return false;
    }
    bool WaitLine(const char* file, const std::string& line, int ms = 10000) const {
        return WaitFor([&] { return Has(file, line); }, ms);
    }
    ProgramFolder folder;
};

inline const std::string kBobLine = std::string("('bob,") + kStoredDigest + "')";

// Answers every open box of the lobby with the button.
inline void AnswerBoxes(ChildProcess& lobby, const char* caption, int button = IDOK) {
    for (HWND box : lobby.Windows("#32770", caption)) PostMessageA(box, WM_COMMAND, button, 0);
}

// The stand-in client holds its semaphore while it runs.
inline bool ClientRunning() {
    HANDLE running = OpenSemaphoreA(SYNCHRONIZE, FALSE, "MiraboFENLO");
    if (running) CloseHandle(running);
    return running != nullptr;
}

// Closes the stand-in client once its window is up; true when it has gone.
inline bool CloseClient() {
    return WaitFor([] {
        if (HWND client = FindWindowA(nullptr, "Mirabo斗地主")) PostMessageA(client, WM_CLOSE, 0, 0);
        return !ClientRunning();
    }, 10000);
}

// The lines of the folder's lobby trace that begin with the text.
inline size_t TraceCount(const ProgramFolder& folder, const std::string& begin) {
    size_t found = 0;
    if (FILE* f = std::fopen((folder.Path() + "trace.txt").c_str(), "r")) {
        char line[2048];
        while (std::fgets(line, sizeof line, f)) found += std::strncmp(line, begin.c_str(), begin.size()) == 0;
        std::fclose(f);
    }
    return found;
}

// A line of the folder's lobby trace that begins with the text, within the time.
inline bool TraceBegins(const ProgramFolder& folder, const std::string& begin, int ms = 10000) {
    return WaitFor([&] { return TraceCount(folder, begin) > 0; }, ms);
}

// The lobby logged in against a scripted server, its main window up.
struct MainRun {
    MainRun(const char* name, ScriptedLobby::Responder responder = nullptr, bool roomTree = true)
        : server(std::move(responder)), run(name, server.Port()) {
        if (!roomTree) DeleteFileA((run.folder.Path() + "FENLORoomTree.ini").c_str());
        lobby.reset(new ChildProcess(run.folder.Exe(), kBobLine, run.folder.Path()));
        main = lobby->WaitWindow("#32770", "游戏大厅", 20000);
        if (main) server.WaitCount("RequestRoomList", 1);
    }
    bool Traced(const std::string& begin, int ms = 10000) { return TraceBegins(run.folder, begin, ms); }
    HWND Box(const char* caption) { return lobby->WaitWindow("#32770", caption, 10000); }
    // The lobby's next box of that caption showing the text (style 0 or 1), answered with the button.
    testing::AssertionResult Answer(const char* caption, const std::string& text, int style = 0, int button = IDOK) {
        const std::string line = std::string("box ") + caption + "|" + text + "|" + std::to_string(style) + "|";
        size_t& seen = answered[line];
        if (!WaitFor([&] { return TraceCount(run.folder, line) > seen; }, 10000))
            return testing::AssertionFailure() << "no new box traced: " << line;
        ++seen;
        HWND box = Box(caption);
        if (!box) return testing::AssertionFailure() << "the traced box has no window: " << line;
        PostMessageA(box, WM_COMMAND, button, 0);
        if (!WaitFor([&] { return !IsWindow(box); }, 5000))
            return testing::AssertionFailure() << "the box stayed after button " << button << ": " << line;
        return testing::AssertionSuccess();
    }
    std::map<std::string, size_t> answered;
    ScriptedLobby server;
    LobbyRun run;
    std::unique_ptr<ChildProcess> lobby;
    HWND main = nullptr;
};

}  // namespace lobbyapp

// fenlo.exe as the lobby starts it, against a game server of ours on
// 127.0.0.1. The table window writes what it takes to a trace file (the
// FENLO_TABLE_TRACE hook); the server side records what the client sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <sstream>
#include <vector>

#include "tests/fenlo/FenloTestKit.h"
#include "tests/support/LoopbackServer.h"

using namespace fenlo_test;
using namespace testsupport;

namespace {

const char kTitle[] = "Mirabo斗地主";
const char kValidation[] =
    "<GameMessage game=\"FENLO\"><Message name=\"PlayerInfoValidate\" type=\"Request\">"
    "<player id=\"alice\" validation=\"v4l1d\" version=\"2.3.4.5\"/></Message></GameMessage>";

std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.rfind('\\'));
}

// The parameters exactly as the lobby writes them: a leading blank, then
// host, player, port, room, token, "0", second host and port, "1", "0", "0".
std::string LobbyLine(unsigned short port) {
    const std::string p = std::to_string(port);
    return " 127.0.0.1 alice " + p + " 31 v4l1d 0 127.0.0.1 " + p + " 1 0 0";
}

struct WindowQuery {
    DWORD pid;
    const char* cls;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND h, LPARAM lp) {
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    char text[256] = "", cls[64] = "";
    GetWindowTextA(h, text, sizeof text);
    GetClassNameA(h, cls, sizeof cls);
    if (owner == q.pid && IsWindowVisible(h) && (!q.cls || std::string(cls) == q.cls) &&
        (!q.title || std::string(text) == q.title))
        q.found.push_back(h);
    return TRUE;
}

// The visible top-level windows of a process, of a class or title when given.
std::vector<HWND> WindowsOf(DWORD pid, const char* cls, const char* title = nullptr) {
    WindowQuery q{pid, cls, title, {}};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

// The text of a system message box.
std::string BoxText(HWND box) {
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

// One program run with its own working directory.
class Process {
public:
    Process(const std::string& program, const std::string& args, const std::string& folder) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = "\"" + program + "\"" + args;
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        started_ = CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.c_str(), &si, &info_) != 0;
    }
    ~Process() {
        if (!started_) return;
        if (!WaitExit(0)) {
            for (HWND h : WindowsOf(info_.dwProcessId, nullptr)) PostMessageA(h, WM_CLOSE, 0, 0);
            if (!WaitExit(5000)) TerminateProcess(info_.hProcess, 9);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitExit(int ms) { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // Waits for one visible window of the class (and title) and returns it.
    HWND WaitWindow(const char* cls, const char* title = nullptr, int ms = 10000) {
        HWND found = nullptr;
        WaitFor(
            [&] {
                std::vector<HWND> w = WindowsOf(Id(), cls, title);
                found = w.empty() ? nullptr : w[0];
                return found != nullptr;
            },
            ms);
        return found;
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// fenlo.exe in a scratch working directory, tracing into it.
class Client {
public:
    Client(const ScratchFolder& folder, const std::string& args) : folder_(folder) {
        SetEnvironmentVariableA("FENLO_TABLE_TRACE", (folder / "trace.txt").c_str());
        process_.reset(new Process(ProgramFolder() + "\\fenlo.exe", args, folder.Path()));
    }
    Process& process() { return *process_; }

    std::vector<std::string> Trace() const {
        std::vector<std::string> lines;
        std::istringstream in(folder_.Read("trace.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool WaitTrace(const std::string& line, int ms = 10000) const {
        return WaitFor(
            [&] {
                std::vector<std::string> t = Trace();
                return std::find(t.begin(), t.end(), line) != t.end();
            },
            ms);
    }
    // The ids taken from one queue ("main" or "second"), in order.
    std::vector<int> Taken(const std::string& queue) const {
        std::vector<int> ids;
        for (const std::string& line : Trace())
            if (line.compare(0, queue.size() + 1, queue + " ") == 0) ids.push_back(std::stoi(line.substr(queue.size())));
        return ids;
    }
    // Closes the table window; the program then ends.
    bool CloseTable() {
        HWND table = process_->WaitWindow(nullptr, kTitle);
        if (!table) return false;
        PostMessageA(table, WM_CLOSE, 0, 0);
        return process_->WaitExit(10000);
    }

private:
    const ScratchFolder& folder_;
    std::unique_ptr<Process> process_;
};

// A game server that records the first frame of each connection and then
// sends its script.
class GameServer {
public:
    explicit GameServer(std::vector<std::pair<int, std::string>> script, bool closeAfter = false)
        : server_([this, script, closeAfter](Connection& c) {
              Frame first;
              if (!c.ReadFrame(first.kind, first.payload, 10000)) return;
              {
                  std::lock_guard<std::mutex> lock(mutex_);
                  firsts_.push_back(first);
              }
              for (const auto& frame : script) c.SendFrame(frame.first, frame.second);
              if (closeAfter) {
                  c.Close();
                  return;
              }
              c.WaitClosed(60000);
          }) {}
    unsigned short Port() const { return server_.Port(); }
    LoopbackServer& server() { return server_; }
    struct Frame {
        int kind = -1;
        std::string payload;
    };
    Frame First(int i = 0) {
        WaitFor([&] { return FirstCount() > i; }, 10000);
        std::lock_guard<std::mutex> lock(mutex_);
        return i < static_cast<int>(firsts_.size()) ? firsts_[i] : Frame();
    }
    int FirstCount() {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(firsts_.size());
    }

private:
    std::mutex mutex_;
    std::vector<Frame> firsts_;
    LoopbackServer server_;
};

std::pair<int, std::string> Text(const std::string& name, const std::string& data = "") {
    return {1, Doc(name, data)};
}

TEST(FenloClient, TheLobbysCommandLineValidatesAndTheReplyReachesTheTable) {
    for (const char* reply : {"ValidateSuccess", "ValidateFailed"}) {
        const bool success = std::string(reply) == "ValidateSuccess";
        GameServer server({success ? Text(reply, "<GameInfo GameType=\"normal\"/>")
                                   : Text(reply, "<failed reason=\"验证失败\"/>")});
        ScratchFolder folder("client");
        folder.WriteConfig(0);
        Client client(folder, LobbyLine(server.Port()));
        ASSERT_TRUE(client.process().Started());
        GameServer::Frame first = server.First();
        EXPECT_EQ(first.kind, 1);
        EXPECT_EQ(first.payload, kValidation);
        EXPECT_TRUE(client.WaitTrace(success ? "main 1" : "main 0")) << reply;
        ASSERT_TRUE(client.CloseTable());
        EXPECT_EQ(client.process().ExitCode(), 0u);
    }
}

TEST(FenloClient, AHandsMessagesReachTheTableInOrderThroughBothQueues) {
    std::string hand, bottom = "<player id=\"alice\"/>";
    for (int i = 0; i < 17; ++i)
        hand += "<card number=\"" + std::to_string(3 + i % 13) + "\" suit=\"" + std::to_string(i % 4) + "\"/>";
    for (int n : {16, 9, 3}) bottom += "<card number=\"" + std::to_string(n) + "\" suit=\"1\"/>";
    GameServer server({
        Text("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"),
        Text("DeskPlayerInfo", "<desk stake=\"100\"/><player id=\"alice\" seat=\"0\" money=\"1500\" ready=\"True\"/>"),
        Text("GameStart"),
        Text("SendCard", "<player id=\"alice\"/>" + hand),
        Text("BeginJiaoFen", "<player id=\"alice\" remainTime=\"15\"/>"),
        Text("RemainTime", "<time remain=\"600\" stage=\"3\" type=\"2\"/>"),
        Text("JiaoFen", "<player id=\"alice\" score=\"3\"/>"),
        Text("SendRemainCard", bottom),
        Text("BeginChuPai", "<player id=\"alice\" remainTime=\"20\"/>"),
        Text("AutoPlay", "<player id=\"alice\"/>"),
        Text("ChuPai", "<player id=\"alice\"/><card number=\"3\" suit=\"1\"/>"),
        Text("CancelAutoPlay", "<player id=\"alice\"/>"),
        Text("ChuPai", "<player id=\"bob\"/>"),
        Text("GameNotice", "<Notice body=\"比赛开始\"/>"),
        Text("GameResult", "<player id=\"alice\" score=\"200\"/>"),
        Text("AnswerLeave", "<player Allow=\"True\"/>"),
    });
    ScratchFolder folder("hand");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    ASSERT_TRUE(client.WaitTrace("main 15"));
    ASSERT_TRUE(client.WaitTrace("second 31"));
    EXPECT_EQ(client.Taken("main"), std::vector<int>({1, 3, 4, 9, 7, 8, 10, 11, 13, 13, 15}));
    EXPECT_EQ(client.Taken("second"), std::vector<int>({43, 16, 17, 33, 31}));
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloClient, BinaryModeSendsAndReceivesTheBinaryForm) {
    GameServer server({{0, Packet(99, {"x"})},
                       {0, Packet(kValidateSuccess, {"normal"})},
                       {0, Packet(kAutoPlay, {"alice"})},
                       {0, Packet(kChuPai, {"alice", "1", "5", "2"})}});
    ScratchFolder folder("binary");
    folder.WriteConfig(1);
    Client client(folder, LobbyLine(server.Port()));
    GameServer::Frame first = server.First();
    EXPECT_EQ(first.kind, 0);
    EXPECT_EQ(first.payload, Packet(kValidate, {"alice", "v4l1d", "2.3.4.5"}));
    ASSERT_TRUE(client.WaitTrace("main 13"));
    EXPECT_EQ(client.Taken("main"), std::vector<int>({1, 13}));
    EXPECT_EQ(client.Taken("second"), std::vector<int>({16}));
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloClient, AServerThatDropsTheConnectionLeavesTheClientRunning) {
    GameServer server({Text("ValidateSuccess", "<GameInfo GameType=\"normal\"/>")}, true);
    ScratchFolder folder("drop");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    EXPECT_TRUE(client.WaitTrace("main 1"));
    EXPECT_TRUE(client.WaitTrace("alive 0")) << "the table learns that the connection is gone";
    EXPECT_FALSE(client.process().WaitExit(0));
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloClient, OnlyOneClientRunsUnlessTheMarkerFileIsThere) {
    GameServer server({Text("ValidateSuccess", "<GameInfo GameType=\"normal\"/>")});
    ScratchFolder first("first"), second("second"), third("third");
    for (ScratchFolder* f : {&first, &second, &third}) f->WriteConfig(0);
    Client running(first, LobbyLine(server.Port()));
    ASSERT_TRUE(running.WaitTrace("main 1"));

    Client refused(second, LobbyLine(server.Port()));
    ASSERT_TRUE(refused.process().WaitExit(10000));
    EXPECT_EQ(refused.process().ExitCode(), 0u);
    EXPECT_EQ(server.server().Accepted(), 1);

    third.Write("110.txt", "");
    Client allowed(third, LobbyLine(server.Port()));
    EXPECT_TRUE(allowed.WaitTrace("main 1"));
    EXPECT_EQ(server.server().Accepted(), 2);
    EXPECT_TRUE(allowed.CloseTable());
    EXPECT_TRUE(running.CloseTable());
}

TEST(FenloClient, ABadCommandLineOrVersionEndsTheClientWithoutConnecting) {
    GameServer server({});
    ScratchFolder folder("bad");
    folder.WriteConfig(0);
    const std::string port = std::to_string(server.Port());
    for (const std::string& args : {" 127.0.0.1 alice " + port + " 31 v4l1d 0 127.0.0.1 " + port + " 1 0",
                                    std::string(" 127.0.0.1 alice port 31 v4l1d 0 127.0.0.1 7 1 0 0")}) {
        Client client(folder, args);
        ASSERT_TRUE(client.process().WaitExit(10000)) << args;
        EXPECT_EQ(client.process().ExitCode(), 0u);
    }
    // Without a version the player is told, and nothing is sent.
    folder.WriteConfig(0, nullptr);
    Client client(folder, LobbyLine(server.Port()));
    HWND box = client.process().WaitWindow("#32770");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(client.process().WaitExit(10000));
    EXPECT_EQ(server.server().Accepted(), 0);
}

// The crash helper in a folder of its own, with the DbgHelp library given.
struct CrashRun {
    ScratchFolder folder{"crash"};
    std::vector<std::string> boxes;
    std::vector<std::string> dumps;

    // onlyThisOne: the program may load no DbgHelp but the one beside it. Wine
    // would otherwise take its own for any path; a per-program override of its
    // loader, set here for the run, says to take the file or nothing.
    CrashRun(const std::string& dbghelp, bool onlyThisOne) {
        const std::string program = folder / "crasher.exe";
        CopyFileA((ProgramFolder() + "\\fenlo_crash_child.exe").c_str(), program.c_str(), FALSE);
        if (!dbghelp.empty()) CopyFileA(dbghelp.c_str(), (folder / "DBGHELP.dll").c_str(), FALSE);
        const char* overrides = "Software\\Wine\\AppDefaults\\crasher.exe\\DllOverrides";
        HKEY key = nullptr;
        if (onlyThisOne && RegCreateKeyExA(HKEY_CURRENT_USER, overrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                           nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
            RegCloseKey(key);
        }
        Process p(program, "", folder.Path());
        // Read and answer every box until the program has gone.
        WaitFor(
            [&] {
                for (HWND box : WindowsOf(p.Id(), "#32770")) {
                    boxes.push_back(BoxText(box));
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
                }
                return p.WaitExit(0);
            },
            30000);
        EXPECT_TRUE(p.WaitExit(0));
        if (onlyThisOne) {
            RegDeleteKeyA(HKEY_CURRENT_USER, overrides);
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\crasher.exe");
        }
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder / "crasher.*.dmp").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do dumps.push_back(found.cFileName);
            while (FindNextFileA(h, &found));
            FindClose(h);
        }
    }
};

TEST(FenloCrashDump, ACrashLeavesADumpBesideTheProgram) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    CrashRun run(std::string(system) + "\\dbghelp.dll", false);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_EQ(run.folder.Read(run.dumps[0]).substr(0, 4), "MDMP");
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0], run.folder / run.dumps[0]) << "the first box names the dump";
    EXPECT_EQ(run.boxes[1], "crasher.exe出现意外即将关闭，对此造成的不便我们深感抱歉！");
}

TEST(FenloCrashDump, WithoutTheDumpWriterThePlayerIsToldAndNothingIsWritten) {
    for (const std::string& dbghelp : {std::string(), ProgramFolder() + "\\fenlo_no_dump_writer.dll"}) {
        CrashRun run(dbghelp, true);
        EXPECT_TRUE(run.dumps.empty()) << dbghelp;
        EXPECT_EQ(run.boxes, std::vector<std::string>({"没有找到Dbghelp.dll"})) << dbghelp;
    }
}

}  // namespace

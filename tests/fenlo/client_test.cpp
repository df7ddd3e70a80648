// fenlo.exe as the lobby starts it, against a game server of ours on
// 127.0.0.1. The table window writes what it takes to a trace file (its
// FENLO_TABLE_TRACE hook); the server records what the client sends.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "tests/fenlo/FenloTestKit.h"

using namespace fenlo_test;
using testsupport::WaitFor;

namespace {

const char kValidation[] =
    "<GameMessage game=\"FENLO\"><Message name=\"PlayerInfoValidate\" type=\"Request\">"
    "<player id=\"alice\" validation=\"v4l1d\" version=\"2.3.4.5\"/></Message></GameMessage>";

std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path).substr(0, std::string(path).rfind('\\'));
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
    std::vector<HWND> found;
};
BOOL CALLBACK MatchWindow(HWND h, LPARAM lp) {
    WindowQuery& q = *reinterpret_cast<WindowQuery*>(lp);
    DWORD owner = 0;
    char cls[64] = "";
    GetWindowThreadProcessId(h, &owner);
    GetClassNameA(h, cls, sizeof cls);
    if (owner == q.pid && IsWindowVisible(h) && (!q.cls || std::string(cls) == q.cls)) q.found.push_back(h);
    return TRUE;
}

// One program run in a working directory of its own.
class Process {
public:
    Process(const std::string& program, const std::string& args, const std::string& folder) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = "\"" + program + "\"" + args;
        started_ = CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                  &info_) != 0;
    }
    ~Process() {
        if (!started_) return;
        if (!WaitExit(0)) {
            for (HWND h : Windows()) PostMessageA(h, WM_CLOSE, 0, 0);
            if (!WaitExit(5000)) TerminateProcess(info_.hProcess, 9);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool WaitExit(int ms) { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 1;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // Its visible top-level windows, of a class when given.
    std::vector<HWND> Windows(const char* cls = nullptr) {
        WindowQuery q{info_.dwProcessId, cls, {}};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
        return q.found;
    }
    HWND WaitWindow(const char* cls) {
        std::vector<HWND> w;
        WaitFor([&] { return !(w = Windows(cls)).empty(); }, 10000);
        return w.empty() ? nullptr : w[0];
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// fenlo.exe in a scratch working directory, tracing into it.
class Client : public Process {
public:
    Client(const ScratchFolder& folder, const std::string& args)
        : Process((SetEnvironmentVariableA("FENLO_TABLE_TRACE", (folder / "trace.txt").c_str()),
                   ProgramFolder() + "\\fenlo.exe"),
                  args, folder.Path()),
          folder_(folder) {}

    std::vector<std::string> Trace() const {
        std::vector<std::string> lines;
        std::istringstream in(folder_.Read("trace.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool WaitTrace(const std::string& line) const {
        return WaitFor(
            [&] {
                const std::vector<std::string> t = Trace();
                return std::find(t.begin(), t.end(), line) != t.end();
            },
            10000);
    }
    // The type ids taken from one queue ("main" or "second"), in order.
    std::vector<int> Taken(const std::string& queue) const {
        std::vector<int> ids;
        for (const std::string& line : Trace())
            if (line.compare(0, queue.size() + 1, queue + " ") == 0)
                ids.push_back(std::stoi(line.substr(queue.size())));
        return ids;
    }
    // Closes the table window and waits for the program to end.
    bool CloseTable() {
        HWND table = WaitWindow(nullptr);
        char title[64] = "";
        GetWindowTextA(table, title, sizeof title);
        EXPECT_STREQ(title, "Mirabo斗地主") << "the lobby finds the table by it";
        PostMessageA(table, WM_CLOSE, 0, 0);
        return WaitExit(10000) && ExitCode() == 0;
    }

private:
    const ScratchFolder& folder_;
};

TEST(FenloClient, TheLobbysCommandLineValidatesAndTheReplyReachesTheTable) {
    for (bool success : {true, false}) {
        GameServer server({success ? Xml("ValidateSuccess", "<GameInfo GameType=\"normal\"/>")
                                   : Xml("ValidateFailed", "<failed reason=\"验证失败\"/>")});
        ScratchFolder folder("client");
        folder.WriteConfig(0);
        Client client(folder, LobbyLine(server.Port()));
        ASSERT_TRUE(server.WaitSent(1));
        EXPECT_EQ(server.Sent()[0], std::make_pair(1, std::string(kValidation)));
        EXPECT_TRUE(client.WaitTrace(success ? "main 1" : "main 0"));
        EXPECT_TRUE(client.WaitTrace("loaded 1")) << "the pictures are loaded on the loader's thread";
        EXPECT_TRUE(client.CloseTable());
        EXPECT_TRUE(server.loopback().WaitHandlersDone(5000)) << "the connection is closed at the end";
    }
}

TEST(FenloClient, AHandsMessagesReachTheTableInOrderThroughBothQueues) {
    std::string hand, bottom = "<player id=\"alice\"/>";
    for (int i = 0; i < 17; ++i)
        hand += "<card number=\"" + std::to_string(3 + i % 13) + "\" suit=\"" + std::to_string(i % 4) + "\"/>";
    for (int n : {16, 9, 3}) bottom += "<card number=\"" + std::to_string(n) + "\" suit=\"1\"/>";
    GameServer server({
        Xml("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"),
        Xml("DeskPlayerInfo", "<desk stake=\"100\"/><player id=\"alice\" seat=\"0\" money=\"1500\" ready=\"True\"/>"),
        Xml("GameStart"),
        Xml("SendCard", "<player id=\"alice\"/>" + hand),
        Xml("BeginJiaoFen", "<player id=\"alice\" remainTime=\"15\"/>"),
        Xml("RemainTime", "<time remain=\"600\" stage=\"3\" type=\"2\"/>"),
        Xml("JiaoFen", "<player id=\"alice\" score=\"3\"/>"),
        Xml("SendRemainCard", bottom),
        Xml("BeginChuPai", "<player id=\"alice\" remainTime=\"20\"/>"),
        Xml("AutoPlay", "<player id=\"alice\"/>"),
        Xml("ChuPai", "<player id=\"alice\"/><card number=\"3\" suit=\"1\"/>"),
        Xml("CancelAutoPlay", "<player id=\"alice\"/>"),
        Xml("ChuPai", "<player id=\"bob\"/>"),
        Xml("GameNotice", "<Notice body=\"比赛开始\"/>"),
        Xml("GameResult", "<player id=\"alice\" score=\"200\"/>"),
        Xml("AnswerLeave", "<player Allow=\"True\"/>"),
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

// Frames of unknown codes, or too short, are dropped.
TEST(FenloClient, BinaryModeSendsAndReceivesTheBinaryForm) {
    GameServer server({Bin(99, {"x"}), testsupport::Frame(0, "\x01"), Bin(kValidateSuccess, {"normal"}),
                       Bin(kAutoPlay, {"alice"}), Bin(kChuPai, {"alice", "1", "5", "2"})});
    ScratchFolder folder("binary");
    folder.WriteConfig(1);
    Client client(folder, LobbyLine(server.Port()));
    ASSERT_TRUE(server.WaitSent(1));
    EXPECT_EQ(server.Sent()[0], std::make_pair(0, Packet(kValidate, {"alice", "v4l1d", "2.3.4.5"})));
    ASSERT_TRUE(client.WaitTrace("main 13"));
    EXPECT_EQ(client.Taken("main"), std::vector<int>({1, 13}));
    EXPECT_EQ(client.Taken("second"), std::vector<int>({16}));
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloClient, AServerThatDropsTheConnectionLeavesTheClientRunning) {
    GameServer server({Xml("ValidateSuccess")}, true);
    ScratchFolder folder("drop");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    EXPECT_TRUE(client.WaitTrace("main 1"));
    EXPECT_TRUE(client.WaitTrace("alive 0")) << "the table learns that the connection is gone";
    EXPECT_FALSE(client.WaitExit(0));
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloClient, OnlyOneClientRunsUnlessTheMarkerFileIsThere) {
    GameServer server({Xml("ValidateSuccess")});
    ScratchFolder first("first"), second("second"), third("third");
    for (ScratchFolder* f : {&first, &second, &third}) f->WriteConfig(0);
    Client running(first, LobbyLine(server.Port()));
    ASSERT_TRUE(running.WaitTrace("main 1"));
    Client refused(second, LobbyLine(server.Port()));
    ASSERT_TRUE(refused.WaitExit(10000));
    EXPECT_EQ(refused.ExitCode(), 0u);
    EXPECT_EQ(server.loopback().Accepted(), 1);

    third.Write("110.txt", "");
    Client allowed(third, LobbyLine(server.Port()));
    EXPECT_TRUE(allowed.WaitTrace("main 1"));
    EXPECT_TRUE(allowed.CloseTable());
    EXPECT_TRUE(running.CloseTable());
}

TEST(FenloClient, ABadCommandLineOrVersionEndsTheClientWithoutConnecting) {
    GameServer server;
    ScratchFolder folder("bad");
    folder.WriteConfig(0);
    const std::string line = LobbyLine(server.Port());
    for (const std::string& args : {line.substr(0, line.size() - 2), std::string(" h alice port 31 v 0 h 7 1 0 0")}) {
        Client client(folder, args);
        EXPECT_TRUE(client.WaitExit(10000) && client.ExitCode() == 0) << args;
    }
    // Without a version the player is told, and nothing is sent.
    folder.WriteConfig(0, nullptr);
    Client client(folder, line);
    HWND box = client.WaitWindow("#32770");
    ASSERT_NE(box, nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(client.WaitExit(10000));
    EXPECT_EQ(server.loopback().Accepted(), 0);
}

// The crash helper in a folder of its own with the DbgHelp library given;
// every box it shows is read and answered.
struct CrashRun {
    ScratchFolder folder{"crash"};
    std::vector<std::string> boxes;
    std::vector<std::string> dumps;

    // onlyThisOne: the program may load no DbgHelp but the file beside it.
    // Wine would take its own for any path; a per-program override of its
    // loader, set for the run, says to take the file or nothing.
    CrashRun(const std::string& dbghelp, bool onlyThisOne) {
        const std::string program = folder / "crasher.exe";
        CopyFileA((ProgramFolder() + "\\fenlo_crash_child.exe").c_str(), program.c_str(), FALSE);
        if (!dbghelp.empty()) CopyFileA(dbghelp.c_str(), (folder / "DBGHELP.dll").c_str(), FALSE);
        const char* app = "Software\\Wine\\AppDefaults\\crasher.exe";
        const std::string overrides = std::string(app) + "\\DllOverrides";
        HKEY key;
        if (onlyThisOne &&
            !RegCreateKeyExA(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) {
            RegSetValueExA(key, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
            RegCloseKey(key);
        }
        {
            Process p(program, "", folder.Path());
            WaitFor(
                [&] {
                    for (HWND box : p.Windows("#32770")) {
                        char text[1024] = "";
                        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                        boxes.push_back(text);
                        PostMessageA(box, WM_COMMAND, IDOK, 0);
                        WaitFor([&] { return !IsWindowVisible(box); }, 5000);
                    }
                    return p.WaitExit(0);
                },
                30000);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, overrides.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, app);
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder / "crasher.*.dmp").c_str(), &found);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
            dumps.push_back(found.cFileName);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};

TEST(FenloCrashDump, ACrashLeavesADumpBesideTheProgram) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    CrashRun run(std::string(system) + "\\dbghelp.dll", false);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_EQ(run.folder.Read(run.dumps[0]).substr(0, 4), "MDMP");
    EXPECT_EQ(run.boxes, std::vector<std::string>(
                             {run.folder / run.dumps[0], "crasher.exe出现意外即将关闭，对此造成的不便我们深感抱歉！"}));
}

TEST(FenloCrashDump, WithoutTheDumpWriterThePlayerIsToldAndNothingIsWritten) {
    for (const std::string& dbghelp : {std::string(), ProgramFolder() + "\\fenlo_no_dump_writer.dll"}) {
        CrashRun run(dbghelp, true);
        EXPECT_TRUE(run.dumps.empty()) << dbghelp;
        EXPECT_EQ(run.boxes, std::vector<std::string>({"没有找到Dbghelp.dll"})) << dbghelp;
    }
}

}  // namespace

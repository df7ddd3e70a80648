// fenlo.exe as the lobby starts it, against a game server of ours on
// 127.0.0.1. The table window writes what it takes to a trace file (its
// FENLO_TABLE_TRACE hook); the server records what the client sends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "game/core/CrashDump.h"
#include "lobby/net/base/CopyData.h"

#include "tests/fenlo/FenloClient.h"
#include "tests/fenlo/FenloTestKit.h"
#include "tests/platform/WindowCapture.h"
#include "tests/support/ChildProcess.h"

using namespace fenlo_test;
using testsupport::WaitFor;

namespace {

const char kValidation[] =
    "<GameMessage game=\"FENLO\"><Message name=\"PlayerInfoValidate\" type=\"Request\">"
    "<player id=\"alice\" validation=\"v4l1d\" version=\"2.3.4.5\"/></Message></GameMessage>";

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
        EXPECT_NE(client.FindTable(), nullptr) << "the lobby finds the table by its title";
        EXPECT_TRUE(client.CloseTable()) << folder.Read("trace.txt");
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
    });
    ScratchFolder folder("hand");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    ASSERT_TRUE(client.WaitTrace("main 15", 30000)) << folder.Read("trace.txt");
    EXPECT_EQ(client.Taken("main"), std::vector<int>({1, 3, 4, 9, 7, 8, 10, 11, 13, 13, 15}));
    EXPECT_EQ(client.Taken("second"), std::vector<int>({43, 16, 17, 33}));
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

// The first connection is dropped after the validation reply; the client
// connects again and is left waiting there.
TEST(FenloClient, AServerThatDropsTheConnectionLeavesTheClientRunning) {
    std::atomic<int> connections{0};
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        int kind;
        std::string first;
        if (!c.ReadFrame(kind, first, 10000)) return;
        if (connections++ == 0) {
            c.Send(Xml("ValidateSuccess"));
            c.Close();
        } else {
            c.WaitClosed(60000);
        }
    });
    ScratchFolder folder("drop");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    EXPECT_TRUE(client.WaitTrace("alive 0")) << folder.Read("trace.txt");
    EXPECT_TRUE(client.WaitTrace("phase 16"));
    EXPECT_TRUE(client.WaitTrace("phase 0")) << "connected again";
    EXPECT_FALSE(client.WaitExit(0));
    EXPECT_TRUE(client.CloseTable()) << folder.Read("trace.txt");
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

// One side of a scripted game server's conversation: requests are awaited
// by name (keep-alives and others in between are passed over), answers sent.
struct Talk {
    testsupport::Connection& c;
    bool Await(const std::string& name, std::string* got = nullptr) {
        int kind;
        std::string payload;
        while (c.ReadFrame(kind, payload, 20000))
            if (payload.find("name=\"" + name + "\"") != std::string::npos) {
                if (got) *got = payload;
                return true;
            }
        return false;
    }
    void Say(const std::string& name, const std::string& data = "") { c.Send(Xml(name, data)); }
};

std::string Seat(const char* id, int seat) {
    return std::string("<player id=\"") + id + "\" seat=\"" + std::to_string(seat) + "\" money=\"1000\" ready=\"False\" ip=\"1\"/>";
}
std::string Cards(std::initializer_list<std::pair<int, int>> cards) {
    std::string out;
    for (auto c : cards)
        out += "<card number=\"" + std::to_string(c.first) + "\" suit=\"" + std::to_string(c.second) + "\"/>";
    return out;
}
std::string Turn(const char* name, const char* who, int seconds) {
    return Xml(name, std::string("<player id=\"") + who + "\" remainTime=\"" + std::to_string(seconds) + "\"/>");
}

// Validation, a desk of three and the deal (alice: 3..7 of every suit and the 8 of suit 0).
bool SeatAndDeal(Talk& t) {
    if (!t.Await("PlayerInfoValidate")) return false;
    t.Say("ValidateSuccess", "<GameInfo GameType=\"normal\"/>");
    std::string desk;
    if (!t.Await("RequestDesk", &desk) || desk.find("\"test\"") == std::string::npos) return false;
    t.Say("DeskPlayerInfo", "<desk stake=\"100\"/>" + Seat("alice", 0) + Seat("bob", 1) + Seat("carol", 2));
    if (!t.Await("ReadyForPlaying")) return false;  // an auto-grouping table readies itself
    t.Say("ReadyForPlaying", "<player id=\"alice\"/>");
    t.Say("GameStart");
    std::string hand = "<player id=\"alice\"/>";
    for (int i = 0; i < 16; ++i) hand += Cards({{3 + i / 4, i % 4}});
    t.Say("SendCard", hand + Cards({{8, 0}}));
    return true;
}

// The lobby: a window titled "游戏大厅" on a thread of its own, recording the
// money the table reports.
class LobbyWindow {
public:
    LobbyWindow() : thread_([this] { Run(); }) { WaitFor([&] { return window_ != nullptr; }, 5000); }
    ~LobbyWindow() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    std::vector<std::pair<ULONG_PTR, double>> Records() {
        std::lock_guard<std::mutex> lock(mutex_);
        return records_;
    }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        LobbyWindow* self = reinterpret_cast<LobbyWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (m == WM_COPYDATA && self) {
            const COPYDATASTRUCT* d = reinterpret_cast<const COPYDATASTRUCT*>(lp);
            if (d->cbData == sizeof(GameCopyData)) {
                std::lock_guard<std::mutex> lock(self->mutex_);
                self->records_.emplace_back(d->dwData, static_cast<const GameCopyData*>(d->lpData)->money);
            }
            return TRUE;
        }
        if (m == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(w, m, wp, lp);
    }
    void Run() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "TestLobbyWindow";
        RegisterClassA(&wc);
        HWND w = CreateWindowA("TestLobbyWindow", "游戏大厅", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = w;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }
    std::atomic<HWND> window_{nullptr};
    std::mutex mutex_;
    std::vector<std::pair<ULONG_PTR, double>> records_;
    std::thread thread_;
};

// The whole hand by the client's own time-outs: it bids 0, passes on its
// first play turn, asks for auto-play on its second, and reports its money.
TEST(FenloHand, AHandFromValidationToTheResultByTimeOuts) {
    std::mutex m;
    std::vector<std::string> steps;
    auto step = [&](const std::string& s) {
        std::lock_guard<std::mutex> lock(m);
        steps.push_back(s);
    };
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        Talk t{c};
        if (!SeatAndDeal(t)) return;
        t.c.Send(Turn("BeginJiaoFen", "alice", 1));
        std::string r;
        if (!t.Await("JiaoFen", &r) || r.find("score=\"0\"") == std::string::npos) return;
        step("bid 0");
        t.Say("JiaoFen", "<player id=\"alice\" score=\"0\"/>");
        t.Say("JiaoFen", "<player id=\"bob\" score=\"3\"/>");
        t.Say("SendRemainCard", "<player id=\"bob\"/>" + Cards({{16, 0}, {17, 0}, {9, 0}}));
        t.c.Send(Turn("BeginChuPai", "bob", 20));
        t.Say("ChuPai", "<player id=\"bob\"/>" + Cards({{10, 0}}));
        t.c.Send(Turn("BeginChuPai", "alice", 1));
        if (!t.Await("ChuPai", &r) || r.find("<card") != std::string::npos) return;
        step("pass");
        t.Say("ChuPai", "<player id=\"alice\"/>");
        t.c.Send(Turn("BeginChuPai", "carol", 20));
        t.Say("ChuPai", "<player id=\"carol\"/>" + Cards({{11, 0}}));
        t.c.Send(Turn("BeginChuPai", "alice", 1));
        if (!t.Await("AutoPlay")) return;
        step("auto");
        t.Say("AutoPlay", "<player id=\"alice\"/>");
        t.Say("ChuPai", "<player id=\"alice\"/>" + Cards({{8, 0}}));
        t.Say("GameResult", "<player id=\"alice\" money=\"250\"/><player id=\"bob\" money=\"-500\"/>" +
                                Cards({{12, 1}}) + "<player id=\"carol\" money=\"250\"/>");
        c.WaitClosed(60000);
    });
    LobbyWindow lobby;
    ScratchFolder folder("whole");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    EXPECT_TRUE(client.WaitTrace("phase 15", 60000));
    EXPECT_EQ(steps, std::vector<std::string>({"bid 0", "pass", "auto"}));
    EXPECT_TRUE(client.WaitTrace("box 连续延时两次后将")) << "the first own time-out warns";
    EXPECT_TRUE(WaitFor([&] {
        for (auto r : lobby.Records())
            if (r.first == 2 && r.second == 1250) return true;
        return false;
    }, 5000)) << "the result's money, reported in the result phase";
    EXPECT_TRUE(client.CloseTable());
}

// The connection drops mid-hand: the client rebuilds it at the second
// address, validates again and takes the restored hand.
TEST(FenloHand, ADroppedConnectionIsRebuiltAtTheSecondAddressAndTheHandRestored) {
    std::atomic<bool> dealt{false};  // the client took the deal: the drop comes mid-hand
    testsupport::LoopbackServer first([&](testsupport::Connection& c) {
        Talk t{c};
        if (!SeatAndDeal(t)) return;
        WaitFor([&] { return dealt.load(); }, 20000);
        c.Close();
    });
    std::string restore = "<game state=\"PlayingCard\" now=\"bob\" banker=\"bob\" stake=\"5\" vip=\"False\" id=\"g\" bomb=\"0\"/>";
    const char* ids[] = {"alice", "bob", "carol"};
    for (int i = 0; i < 3; ++i)
        restore += std::string("<player id=\"") + ids[i] + "\" seat=\"" + std::to_string(i) +
                   "\" money=\"10\" ready=\"True\" cardNum=\"" + (i == 1 ? "20" : "17") +
                   "\" bid=\" \" ip=\"1\" auto=\"False\"/><last/>";
    restore += "<hand/>" + Cards({{3, 0}, {3, 1}}) + "<bottom/>";
    testsupport::LoopbackServer second([&](testsupport::Connection& c) {
        Talk t{c};
        if (t.Await("PlayerInfoValidate")) t.Say("RestorePlayer", restore);
        c.WaitClosed(60000);
    });
    ScratchFolder folder("rebuilt");
    folder.WriteConfig(0);
    const std::string line = " 127.0.0.1 alice " + std::to_string(first.Port()) + " 31 v4l1d 0 127.0.0.1 " +
                             std::to_string(second.Port()) + " 1 0 0";
    Client client(folder, line);
    const bool tookTheDeal = client.WaitTrace("phase 4");
    dealt = true;
    ASSERT_TRUE(tookTheDeal);
    ASSERT_TRUE(client.WaitTrace("phase 16", 20000));
    EXPECT_TRUE(client.WaitTrace("box 网络错误,"));
    EXPECT_TRUE(client.WaitTrace("reconnect 127.0.0.1:" + std::to_string(second.Port())));
    EXPECT_TRUE(client.WaitTrace("box 重新连接服务器成功"));
    EXPECT_TRUE(client.WaitTrace("main 18"));
    EXPECT_TRUE(client.WaitTrace("phase 14")) << "bob's turn in the restored hand";
    EXPECT_EQ(first.Accepted(), 1);
    EXPECT_EQ(second.Accepted(), 1);
    EXPECT_TRUE(client.CloseTable());
}

TEST(FenloHand, AKickEndsTheClient) {
    GameServer server({Xml("ValidateSuccess"), Xml("KickPlayer", "<kick reason=\"走开\" close=\"True\" reconnect=\"False\"/>")});
    ScratchFolder folder("kick");
    folder.WriteConfig(0);
    Client client(folder, LobbyLine(server.Port()));
    ASSERT_TRUE(client.WaitTrace("box 走开"));
    EXPECT_FALSE(client.WaitExit(200)) << "the box waits for the player";
    EXPECT_TRUE(WaitFor([&] { return client.AnswerBoxes(IDOK) > 0; }, 5000));
    EXPECT_TRUE(client.WaitExit(10000));
    EXPECT_EQ(client.ExitCode(), 0u);
}

// A program of the build copied into a folder of its own, with the libraries
// it loads and the DbgHelp library given beside it, and run there until it
// ends; every box it shows is read and answered.
struct CrashRun {
    ScratchFolder folder{"crash"};
    std::string name;
    std::vector<std::string> boxes;
    std::vector<std::string> dumps;
    DWORD exitCode = 0;

    CrashRun(const std::string& built, const std::string& copyName, const std::vector<std::string>& libraries,
             const std::string& dbghelp)
        : name(copyName) {
        for (const std::string& file : libraries)
            CopyFileA((ProgramFolder() + "\\" + file).c_str(), (folder / file).c_str(), FALSE);
        CopyFileA((ProgramFolder() + "\\" + built).c_str(), (folder / name).c_str(), FALSE);
        if (!dbghelp.empty()) CopyFileA(dbghelp.c_str(), (folder / "DBGHELP.dll").c_str(), FALSE);
    }

    // onlyThisOne: the program may load no DbgHelp but the file beside it.
    // Wine would take its own for any path; a per-program override of its
    // loader, set for the run, says to take the file or nothing. crash, when
    // given, is what makes the running program crash.
    void Run(const std::string& args, bool onlyThisOne = false,
             const std::function<void(testsupport::ChildProcess&)>& crash = nullptr) {
        const std::string app = "Software\\Wine\\AppDefaults\\" + name;
        const std::string overrides = app + "\\DllOverrides";
        HKEY key;
        if (onlyThisOne &&
            !RegCreateKeyExA(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)) {
            RegSetValueExA(key, "dbghelp", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
            RegCloseKey(key);
        }
        {
            testsupport::ChildProcess p(folder / name, args, folder.Path());
            if (crash) crash(p);
            // Each box is read once it shows its text (a box still being
            // built reads empty) and answered once; the client's table and
            // side panel are no boxes.
            std::set<HWND> answered;
            WaitFor(
                [&] {
                    for (HWND box : p.Windows("#32770")) {
                        char text[1024] = "";
                        if (answered.count(box) || !IsWindowVisible(box) || IsSidePanel(box) ||
                            testsupport::WindowText(box) == "Mirabo斗地主" ||
                            !GetDlgItemTextA(box, 0xFFFF, text, sizeof text))
                            continue;
                        answered.insert(box);
                        boxes.push_back(text);
                        PostMessageA(box, WM_COMMAND, IDOK, 0);
                    }
                    return p.WaitExit(0);
                },
                60000);
            exitCode = p.ExitCode();
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, overrides.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, app.c_str());
        const std::string pattern = name.substr(0, name.rfind('.')) + ".*.dmp";
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder / pattern).c_str(), &found);
        for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found))
            dumps.push_back(found.cFileName);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }

    // The dump and the two boxes that tell the player of it, nothing else.
    void ExpectTheDumpAndBothBoxes() const {
        ASSERT_EQ(dumps.size(), 1u);
        EXPECT_EQ(folder.Read(dumps[0]).substr(0, 4), "MDMP");
        EXPECT_EQ(boxes, std::vector<std::string>({folder / dumps[0], name + "出现意外即将关闭，对此造成的不便我们深感抱歉！"}));
    }
};

// The crash helper (it loads Tessel.dll from its folder), run with args.
struct CrasherRun : CrashRun {
    CrasherRun(const std::string& dbghelp, bool onlyThisOne, const std::string& args = "")
        : CrashRun("fenlo_crash_child.exe", "crasher.exe", {"Tessel.dll"}, dbghelp) {
        Run(args, onlyThisOne);
    }
};

std::string SystemDbgHelp() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\dbghelp.dll";
}

// A fault, a C++ exception that leaves InitInstance and one that Tessel.dll
// throws and nothing there catches (either of which its runtime alone would
// end silently) take the same way: the dump and both boxes.
TEST(FenloCrashDump, ACrashLeavesADumpBesideTheProgram) {
    for (const char* args : {"", "throw", "tessel"}) {
        CrasherRun run(SystemDbgHelp(), false, args);
        SCOPED_TRACE(args);
        run.ExpectTheDumpAndBothBoxes();
        EXPECT_EQ(run.exitCode, *args ? kUncaughtCppException : static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    }
}

TEST(FenloCrashDump, WithoutTheDumpWriterThePlayerIsToldAndNothingIsWritten) {
    for (const std::string& dbghelp : {std::string(), ProgramFolder() + "\\fenlo_no_dump_writer.dll"}) {
        CrasherRun run(dbghelp, true);
        EXPECT_TRUE(run.dumps.empty()) << dbghelp;
        EXPECT_EQ(run.boxes, std::vector<std::string>({"没有找到Dbghelp.dll"})) << dbghelp;
    }
}

// fenlo.exe installs the handler itself: a thread started in it from outside,
// once its table shows, at an address where no code lies faults there, and
// the client leaves its dump and both boxes.
TEST(FenloCrashDump, TheClientLeavesADumpOfAFaultOnAnyThread) {
    CrashRun run("fenlo.exe", "fenlo.exe", {"Corvet.dll", "Moxbell.dll", "Ostral.dll", "Tessel.dll", "Vantor.dll"},
                 SystemDbgHelp());
    run.folder.WriteConfig(0);
    Client::Install(run.folder);
    GameServer server({Xml("ValidateSuccess")});
    run.Run(LobbyLine(server.Port()), false, [](testsupport::ChildProcess& p) {
        ASSERT_NE(p.WaitWindow("#32770", "Mirabo斗地主"), nullptr);
        HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                         PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, p.Id());
        ASSERT_NE(process, nullptr);
        HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10),
                                           nullptr, 0, nullptr);
        EXPECT_NE(thread, nullptr);
        if (thread) CloseHandle(thread);
        CloseHandle(process);
    });
    run.ExpectTheDumpAndBothBoxes();
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

// ---- the table on screen

// The table's big and small icon: fenlo.exe's own (IDR_MAINFRAME, 128), not the system's default.
TEST(FenloLook, TheProgramCarriesItsOwnIcon) {
    for (int size : {16, 32, 48}) {
        const Capture own = ProgramIcon(ProgramFolder() + "\\fenlo.exe", 128, size);
        ASSERT_EQ(own.width, size) << "no icon 128 in fenlo.exe";
        EXPECT_NE(own.pixels, CaptureIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), size).pixels) << size;
    }
}

// fenlo.exe run from the program folder, where its stand-in pictures lie,
// shows the dealt hand: its window is read back and saved for a person.
TEST(FenloLook, TheDealtHandIsOnScreen) {
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        Talk t{c};
        if (!t.Await("PlayerInfoValidate")) return;
        t.Say("ValidateSuccess", "<GameInfo GameType=\"normal\"/>");
        if (!t.Await("RequestDesk")) return;
        t.Say("DeskPlayerInfo", "<desk stake=\"100\"/>" + Seat("alice", 0) + Seat("bob", 1) + Seat("carol", 2));
        t.Say("GameStart");
        std::string hand = "<player id=\"alice\"/>";
        for (int i = 0; i < 16; ++i) hand += Cards({{3 + i / 4, i % 4}});
        t.Say("SendCard", hand + Cards({{8, 0}}));
        c.WaitClosed(60000);
    });
    LobbyWindow lobby;
    ScratchFolder folder("look");
    SetEnvironmentVariableA("FENLO_TABLE_TRACE", (folder / "trace.txt").c_str());
    testsupport::ChildProcess client(ProgramFolder() + "\\fenlo.exe", LobbyLine(server.Port()), ProgramFolder());
    HWND table = client.WaitWindow("#32770", "Mirabo斗地主");
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(WaitFor([&] { return folder.Read("trace.txt").find("phase 4") != std::string::npos; }, 20000));
    SetWindowPos(table, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    // The deal takes 4200 ms (and the start pause 1500 ms before it).
    const int W = 1040, H = 720, x0 = (W - 17 * 18 - 253) / 2;
    const Capture felt = PictureFile(ProgramFolder() + "\\fenlo\\image\\desk\\bg.jpg");
    const POINT deck = {(W - 271) / 2 + 35, (H - 96) / 2}, bottom = {(W - 449) / 2 + 178 + 35, 25 + 48};
    Capture shot;
    EXPECT_TRUE(WaitFor(
        [&] {
            shot = CaptureWindow(table);
            // The last card of the hand, white inside its frame; the deck gone
            // (the background shows there) and the third bottom card in its place.
            return shot.width == W && shot.At(x0 + 16 * 18 + 35, H - 176 + 90) == RGB(255, 255, 255) &&
                   shot.At(deck.x, deck.y) == felt.At(deck.x, deck.y) &&
                   shot.At(bottom.x, bottom.y) != felt.At(bottom.x, bottom.y);
        },
        15000));
    SavePng(shot, "fenlo_exe_dealt_hand");
    EXPECT_EQ(shot.height, H);
    for (HWND h : client.Windows()) PostMessageA(h, WM_CLOSE, 0, 0);
    WaitFor([&] {
        for (HWND h : client.Windows("#32770")) {
            char title[64] = "";
            GetWindowTextA(h, title, sizeof title);
            if (std::string(title) != "Mirabo斗地主" && !IsSidePanel(h)) PostMessageA(h, WM_COMMAND, IDYES, 0);
        }
        return client.WaitExit(50);
    }, 10000);
}

}  // namespace

namespace {

// The card elements of a ChuPai request, to be echoed as the server's ChuPai.
std::string PlayedCards(const std::string& request) {
    const size_t from = request.find("<card");
    return from == std::string::npos ? "" : request.substr(from, request.find("</Message>") - from);
}
int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}
// A person's click on a table button, and the mouse on own card i of n
// (left in its strip, where raised and lowered cards overlap).
void Click(HWND window, int id) {
    // The phase is traced before the button is shown: the person waits for it.
    HWND control = GetDlgItem(window, id);
    WaitFor([&] { return IsWindowVisible(control) && IsWindowEnabled(control); }, 5000);
    ClickControl(window, id);
}
void MouseOnCard(HWND table, UINT message, int i, int n) {
    RECT c;
    GetClientRect(table, &c);
    const int x = (c.right - 18 * n - 253) / 2 + 18 * i + 9, y = c.bottom - 150;
    PostMessageA(table, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// A hand played with the mouse at a desk-view seat: ready, a bid of 3, a
// double, a pair picked by clicks, a bomb by a drag, a hinted lead, a pass,
// the result dialog's continue, ready again, and leaving through the exit
// box. The server checks each request and answers as the game server does.
TEST(FenloHand, AWholeHandPlayedWithTheMouse) {
    std::mutex m;
    std::vector<std::string> steps;
    auto step = [&](const std::string& s) {
        std::lock_guard<std::mutex> lock(m);
        steps.push_back(s);
    };
    auto done = [&](const std::string& s) {
        std::lock_guard<std::mutex> lock(m);
        return std::find(steps.begin(), steps.end(), s) != steps.end();
    };
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        Talk t{c};
        if (!SeatAndDeal(t)) return;
        t.c.Send(Turn("BeginJiaoFen", "alice", 20));
        std::string r;
        if (!t.Await("JiaoFen", &r) || r.find("\"3\"") == std::string::npos) return;
        step("bid 3");
        t.Say("JiaoFen", "<player id=\"alice\" score=\"3\"/>");
        t.Say("SendRemainCard", "<player id=\"alice\"/>" + Cards({{15, 0}, {16, 0}, {17, 0}}));
        t.c.Send(Turn("BeginDouble", "alice", 20));
        if (!t.Await("Double", &r) || r.find("\"True\"") == std::string::npos) return;
        step("double");
        t.Say("Double", "<player id=\"alice\" answer=\"True\"/>");
        t.c.Send(Turn("BeginChuPai", "alice", 20));
        auto others = [&](const std::string& bob) {
            t.c.Send(Turn("BeginChuPai", "bob", 20));
            t.Say("ChuPai", "<player id=\"bob\"/>" + bob);
            t.c.Send(Turn("BeginChuPai", "carol", 20));
            t.Say("ChuPai", "<player id=\"carol\"/>");
            t.c.Send(Turn("BeginChuPai", "alice", 20));
        };
        if (!t.Await("ChuPai", &r) || Occurrences(r, "<card") != 2 || Occurrences(r, "number=\"3\"") != 2) return;
        step("pair by clicks");
        t.Say("ChuPai", "<player id=\"alice\"/>" + PlayedCards(r));
        others(Cards({{7, 0}, {7, 1}}));
        if (!t.Await("ChuPai", &r) || Occurrences(r, "<card") != 4 || Occurrences(r, "number=\"6\"") != 4) return;
        step("bomb by a drag");
        t.Say("ChuPai", "<player id=\"alice\"/>" + PlayedCards(r));
        others("");
        if (!t.Await("ChuPai", &r) || Occurrences(r, "<card") == 0) return;
        step("hinted lead");
        t.Say("ChuPai", "<player id=\"alice\"/>" + PlayedCards(r));
        others(Cards({{9, 0}, {9, 1}, {9, 2}, {9, 3}}));
        if (!t.Await("ChuPai", &r) || Occurrences(r, "<card") != 0) return;
        step("pass");
        t.Say("ChuPai", "<player id=\"alice\"/>");
        t.Say("GameResult", "<player id=\"alice\" money=\"-500\"/><player id=\"bob\" money=\"250\"/>" +
                                Cards({{12, 1}}) + "<player id=\"carol\" money=\"250\"/>");
        t.Say("DeskPlayerInfo", "<desk stake=\"100\"/>" + Seat("alice", 0) + Seat("bob", 1) + Seat("carol", 2));
        if (!t.Await("ReadyForPlaying")) return;
        step("ready again");
        if (!t.Await("Leaving")) return;
        step("leaving");
        t.Say("AnswerLeave", "<player Allow=\"True\"/>");
        c.WaitClosed(60000);
    });
    ScratchFolder folder("mouse");
    folder.WriteConfig(0);
    // A seat taken in the desk view (desk 7, seat 1): the player readies by the button.
    const std::string port = std::to_string(server.Port());
    Client client(folder, " 127.0.0.1 alice " + port + " 31 v4l1d 0 127.0.0.1 " + port + " 0 7 1");
    auto turns = [&](int n) {
        return WaitFor([&] {
            int k = 0;
            for (const std::string& line : client.Trace()) k += line == "phase 12";
            return k >= n;
        }, 20000);
    };
    ASSERT_TRUE(client.WaitTrace("phase 1", 20000)) << folder.Read("trace.txt");
    HWND table = client.FindTable();
    Click(table, 1000);
    ASSERT_TRUE(client.WaitTrace("phase 5", 20000)) << folder.Read("trace.txt");
    Click(table, 1009);
    ASSERT_TRUE(client.WaitTrace("phase 10"));
    Click(table, 1059);
    ASSERT_TRUE(turns(1));
    PostMessageA(table, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);  // the bottom cards come raised
    for (int i : {18, 19}) {
        MouseOnCard(table, WM_LBUTTONDOWN, i, 20);
        MouseOnCard(table, WM_LBUTTONUP, i, 20);
    }
    Click(table, 1004);
    ASSERT_TRUE(turns(2));
    SavePng(CaptureWindow(table), "table_mid_hand");
    MouseOnCard(table, WM_LBUTTONDOWN, 4, 18);
    MouseOnCard(table, WM_MOUSEMOVE, 7, 18);
    MouseOnCard(table, WM_LBUTTONUP, 7, 18);
    Click(table, 1004);
    ASSERT_TRUE(turns(3));
    Click(table, 1006);
    Click(table, 1004);
    ASSERT_TRUE(turns(4));
    Click(table, 1005);
    std::vector<HWND> result;
    ASSERT_TRUE(WaitFor([&] {
        result = client.Windows("#32770");
        result.erase(std::remove_if(result.begin(), result.end(),
                                    [&](HWND h) { return h == table || IsSidePanel(h); }),
                     result.end());
        return !result.empty();
    }, 20000)) << "the result dialog";
    Click(result[0], 1078);
    ASSERT_TRUE(WaitFor([&] {
        int k = 0;
        for (const std::string& line : client.Trace()) k += line == "phase 1";
        return k >= 2;
    }, 4000)) << "continue: the held desk message is taken before the 5 s time-out";
    Click(table, 1000);
    EXPECT_TRUE(WaitFor([&] { return done("ready again"); }, 20000)) << folder.Read("trace.txt");
    EXPECT_TRUE(client.CloseTable()) << "Yes in the exit box sends Leaving; the answer ends the client";
    EXPECT_EQ(steps, std::vector<std::string>({"bid 3", "double", "pair by clicks", "bomb by a drag", "hinted lead",
                                               "pass", "ready again", "leaving"}));
}

}  // namespace

// fenlo.exe as the lobby starts it, against our game server gone hostile once
// the validation is answered: thousands of bad frames, with a well-formed
// chat line after every few of them, on two connections that each end in a
// reset or a cut frame. The table must not crash, must answer WM_NULL within
// a second throughout, must show every chat line, and on the third
// connection must still be dealt its hand or have it restored (the desk
// plays on between connections). MIRABO_HOSTILE_SEED=n replays a run.
#include <gtest/gtest.h>

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <richedit.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "tests/fenlo/FenloClient.h"
#include "tests/support/ProgramWatch.h"
#include "tools/servers/GameServer.h"
#include "tools/servers/GameVocabulary.h"
#include "tools/servers/RoomToken.h"

using namespace fenlo_test;

namespace {

const char kPlayer[] = "alice";
const char kRoom[] = "31";
const int kHostileConnections = 2;
const int kFramesEach = 5000;
const int kProbeEvery = 40;
// The run takes about 70 s on an idle machine; a loaded one takes several times that.
const int kRunDeadlineMs = 400000;

// 1 unless MIRABO_HOSTILE_SEED gives another.
unsigned RunSeed() {
    const char* replay = std::getenv("MIRABO_HOSTILE_SEED");
    return replay ? static_cast<unsigned>(std::strtoul(replay, nullptr, 10)) : 1;
}

const int kReady = 1000, kContinue = 1002;  // the table's ready and continue buttons

std::string Probe(int n) { return "probe-" + std::to_string(n) + "."; }

// Every fifth probe is a keep-alive answer (the server's run answers no
// request, and the table drops a connection whose keep-alives go unanswered);
// the others are chat lines, seen in the side panel.
bool IsPing(int n) { return n % 5 == 0; }

servers::Reply GoodMessage(int n) {
    if (IsPing(n)) return servers::Reply("FENLO", "PingData");
    return servers::Reply("FENLO", "Chat").Element("Chat", {{"sysmsg", "0"},
                                                            {"color", "0,0,0"},
                                                            {"playername", "robot1"},
                                                            {"messageplace", "desk"},
                                                            {"sendto", ""},
                                                            {"chatcontent", Probe(n)}});
}

// Mostly frames the client must drop whole, fewer it reads (every one of
// those is a message the table takes on one of its 25 ms ticks), and a few
// heavy ones.
void Tune(servers::HostileGenerator& g) {
    using K = servers::HostileKind;
    const std::pair<K, int> weights[] = {
        {K::kRandomFrame, 200}, {K::kEmpty, 150},     {K::kOneByte, 150},     {K::kTruncatedXml, 30},
        {K::kUnterminatedXml, 30}, {K::kDeepXml, 2},  {K::kManyAttributes, 1}, {K::kBadValues, 30},
        {K::kBadBinary, 30},    {K::kUnknownCode, 150}, {K::kFieldPastEnd, 40}, {K::kExtreme, 20}};
    for (const auto& w : weights) g.SetWeight(w.first, w.second);
}

// Messages that end the session by design (a kick, a refused version, money
// short, leave allowed, a sign-up question not answered yes) would end the
// run, not test it.
bool Ends(const std::string& name) {
    return name == "KickPlayer" || name == "InvalidClientVersion" || name == "MoneyIsNotEnough" ||
           name == "AnswerLeave" || name == "AskPlayerSignUp";
}

// The probes the side panel's chat history shows. The history is read
// through memory of the table's process (EM_GETTEXTRANGE takes a pointer
// there; no message returns a long text across processes).
class ChatReader {
public:
    const std::set<int>& Update(HWND panel) {
        HWND history = panel ? GetDlgItem(panel, 1097) : nullptr;
        DWORD pid = 0;
        if (!history || !GetWindowThreadProcessId(history, &pid)) return seen_;
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process) return seen_;
        // The whole text, every character in at most two bytes: room for the
        // larger of its length and its limit (a length asked for apart can
        // fall short of the text).
        DWORD_PTR length = 0, limit = 0, copied = 0;
        SendMessageTimeoutA(history, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
        SendMessageTimeoutA(history, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 5000, &limit);
        const size_t room = 2 * (std::max(length, limit) + 256) + 2;
        char* remote =
            static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(TEXTRANGEA) + room, MEM_COMMIT, PAGE_READWRITE));
        TEXTRANGEA range = {{0, -1}, remote + sizeof(TEXTRANGEA)};
        if (remote && WriteProcessMemory(process, remote, &range, sizeof range, nullptr) &&
            SendMessageTimeoutA(history, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                                &copied)) {
            // The answer counts characters, not bytes: the buffer is read
            // whole and the text taken up to its end.
            std::string text(room, '\0');
            ReadProcessMemory(process, range.lpstrText, &text[0], text.size(), nullptr);
            text.resize(std::strlen(text.c_str()));
            for (size_t at = text.find("probe-"); at != std::string::npos; at = text.find("probe-", at + 1))
                seen_.insert(std::atoi(text.c_str() + at + 6));
        }
        if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        CloseHandle(process);
        return seen_;
    }

private:
    std::set<int> seen_;
};

}  // namespace

TEST(GameHostile, TheTableSurvivesAHostileServerAndTakesEveryGoodMessage) {
    const unsigned seed = RunSeed();
    std::printf("game_hostile: seed %u (MIRABO_HOSTILE_SEED=%u replays this run)\n", seed, seed);
    std::fflush(stdout);
    const int sendType = static_cast<int>(seed % 2);
    ScratchFolder folder("game_hostile");
    // Sound off: a start takes no pause.
    std::string settings = kTableSettings;
    settings.replace(settings.find("soundon=1"), 9, "soundon=0");
    folder.WriteConfig(sendType, kVersionSetting, settings);
    folder.Write("fenlo\\FENLOMsg.ini", servers::CodeFileText(servers::GameClientCodes()));

    std::atomic<HWND> panel{nullptr};
    std::atomic<bool> stopping{false};
    std::atomic<int> probes{0}, checked{0};
    std::mutex missingMutex;
    std::string missing;
    ChatReader chat;  // used on the server's thread only
    std::atomic<Client*> tracing{nullptr};
    std::string stall;  // the table's last steps when it stopped showing chat lines

    auto vocabulary = std::make_shared<servers::HostileVocabulary>(servers::GameVocabulary(kPlayer));
    auto& messages = vocabulary->messages;
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [](const servers::HostileMessage& m) { return Ends(m.name); }),
                   messages.end());
    auto& extremes = vocabulary->extremes;
    extremes.erase(std::remove_if(extremes.begin(), extremes.end(),
                                  [&](const std::function<servers::Reply()>& make) { return Ends(make().Name()); }),
                   extremes.end());
    servers::GameConfig config;
    config.room = kRoom;
    servers::HostOptions options;
    options.codes = servers::GameClientCodes();
    servers::HostilePlan& plan = options.hostile;
    plan.vocabulary = vocabulary;
    plan.seed = seed;
    plan.after = "PlayerInfoValidate";
    plan.frames = kFramesEach;
    plan.connections = kHostileConnections;
    plan.ending = true;
    plan.probeEvery = kProbeEvery;
    // Whether the side panel shows chat line n (none below 1). The server
    // polls it every 50 ms at most, answering the table meanwhile.
    auto seen = [&](int n) { return stopping || n < 1 || !panel || chat.Update(panel).count(n) > 0; };
    auto lastChatUpTo = [](int n) { return IsPing(n) ? n - 1 : n; };
    // The table takes one queued message per tick and holds its queue for
    // a start, a deal and a result: the server keeps no more than a few
    // probes ahead of what the side panel shows, or a connection's end would
    // drop a backlog of good messages.
    plan.probeWhen = [&](int n) { return seen(lastChatUpTo(n - 3)); };
    plan.probe = [&](int n) {
        probes = n;
        return GoodMessage(n);
    };
    plan.tune = Tune;
    // Before a connection ends, the table has taken every chat line sent on
    // it (a reconnect drops what is still queued).
    plan.endWhen = [&] { return seen(lastChatUpTo(probes)); };
    plan.beforeEnding = [&] {
        const int last = probes;
        if (!seen(lastChatUpTo(last)) && tracing) {
            const std::vector<std::string> trace = tracing.load()->Trace();
            std::lock_guard<std::mutex> lock(missingMutex);
            stall += "\n";
            for (size_t i = trace.size() > 20 ? trace.size() - 20 : 0; i < trace.size(); ++i) stall += trace[i] + "; ";
        }
        const std::set<int>& shown = chat.Update(panel);
        std::lock_guard<std::mutex> lock(missingMutex);
        for (int n = checked + 1; n <= last; ++n)
            if (!IsPing(n) && !shown.count(n)) missing += Probe(n) + " ";
        checked = last;
    };

    servers::GameServer server(config, options);
    ASSERT_NE(server.Port(), 0);
    Client client(folder, LobbyLine(server.Port(), kPlayer, kRoom, servers::RoomToken(config.secret, kPlayer, kRoom)));
    tracing = &client;
    testsupport::ProgramWatch watch(client, ProgramFolder(), "fenlo");
    const HWND table = client.FindTable();
    ASSERT_NE(table, nullptr);
    watch.Watch(table);

    // Until the third connection deals or restores a hand: boxes are answered, crashes
    // looked for, five times a second.
    std::string crashes;
    const unsigned long long start = testsupport::NowMs();
    unsigned long long lastLook = 0, lastAnswer = start;
    bool dealt = false;
    int misses = 0;
    std::string slowAt;  // the table's last step when an answer was late
    WaitFor(
        [&] {
            const unsigned long long now = testsupport::NowMs();
            if (now - lastLook < 200) return false;
            lastLook = now;
            if (!panel || !IsWindow(panel))
                for (HWND h : client.Windows("#32770"))
                    if (IsSidePanel(h)) panel = h;
            if (now - lastAnswer >= 1000) {
                client.AnswerBoxes(IDYES);
                lastAnswer = now;
            }
            // A result is left at once and a free seat taken at once, as a
            // player in a hurry would: by the commands of the table's buttons.
            for (int id : {kContinue, kReady}) {
                const HWND button = GetDlgItem(table, id);
                if (button && IsWindowVisible(button) && IsWindowEnabled(button))
                    PostMessageA(table, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            }
            if (!(crashes = watch.Crashes()).empty()) return true;
            if (watch.Misses() != misses) {
                misses = watch.Misses();
                const std::vector<std::string> trace = client.Trace();
                slowAt += (trace.empty() ? std::string("start") : trace.back()) + "; ";
            }
            if (server.Connections() <= kHostileConnections) return false;
            const std::vector<std::string> trace = client.Trace();
            size_t last = 0;
            for (size_t i = 0; i < trace.size(); ++i)
                if (trace[i].compare(0, 10, "reconnect ") == 0) last = i;
            dealt = std::any_of(trace.begin() + static_cast<long>(last), trace.end(),
                                [](const std::string& line) { return line == "main 9" || line == "main 18"; });
            return dealt;
        },
        kRunDeadlineMs);
    stopping = true;
    tracing = nullptr;
    const unsigned long long took = testsupport::NowMs() - start;
    std::printf("game_hostile: %d bad frames, %d chat lines, %d connections in %llu ms; longest WM_NULL answer %u ms\n",
                server.HostileSent(), server.ProbesSent(), server.Connections(), took, watch.LongestAnswerMs());

    std::string tail;
    const std::vector<std::string> trace = client.Trace();
    for (size_t i = trace.size() > 30 ? trace.size() - 30 : 0; i < trace.size(); ++i) tail += trace[i] + "\n";
    EXPECT_EQ(crashes, "") << "seed " << seed << ", the table's last steps:\n" << tail;
    EXPECT_EQ(watch.Misses(), 0) << "longest answer " << watch.LongestAnswerMs() << " ms, load up to " << watch.LargestLoad() << ", seed " << seed
                                 << ", late while the table took: " << slowAt;
    EXPECT_GE(server.HostileSent(), kHostileConnections * kFramesEach) << "seed " << seed;
    EXPECT_EQ(checked, server.ProbesSent()) << "seed " << seed;
    {
        std::lock_guard<std::mutex> lock(missingMutex);
        EXPECT_EQ(missing, "") << "chat lines the table did not show, seed " << seed << stall;
    }
    EXPECT_TRUE(dealt) << "no hand dealt or restored after the last reconnect, seed " << seed;
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                            [](const std::string& line) { return line.compare(0, 10, "reconnect ") == 0; }),
              kHostileConnections)
        << "the table dropped a connection itself, seed " << seed << ", its connection steps:\n" << [&] {
               std::string steps;
               for (const std::string& line : trace)
                   if (line.compare(0, 10, "reconnect ") == 0 || line.compare(0, 6, "alive ") == 0 ||
                       line == "phase 16" || line == "phase 0")
                       steps += line + "\n";
               return steps;
           }();
    watch.Watch(nullptr);
    EXPECT_TRUE(client.CloseTable()) << "seed " << seed;
}

// The watch itself: a program that crashes is reported, by its handler's box
// while it is open and by its exit code once it has ended.
TEST(GameHostile, TheWatchReportsACrash) {
    ScratchFolder folder("watch");
    const std::string program = folder / "crasher.exe";
    CopyFileA((ProgramFolder() + "\\fenlo_crash_child.exe").c_str(), program.c_str(), FALSE);
    {
        testsupport::ChildProcess crasher(program, "", folder.Path());
        testsupport::ProgramWatch watch(crasher, folder.Path(), "crasher");
        HWND box = crasher.WaitWindow("#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_NE(watch.Crashes().find("a crash box"), std::string::npos);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(crasher.WaitExit(10000));
        EXPECT_NE(watch.Crashes(true).find("exception code"), std::string::npos);
        EXPECT_EQ(testsupport::ProgramWatch::ScanOutput("x\nwine: Unhandled page fault on read access\ny"),
                  "wine: Unhandled page fault on read access\n");
    }
    DeleteFileA(program.c_str());
}

// The watch's bound stretches with the machine's load: with more threads
// spinning than there are processors, the load read is well over 1.
TEST(GameHostile, TheWatchSeesTheMachineLoad) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    std::atomic<bool> stop{false};
    std::vector<std::thread> spinners;
    for (DWORD i = 0; i < 3 * info.dwNumberOfProcessors; ++i)
        spinners.emplace_back([&] {
            volatile unsigned x = 1;
            while (!stop) x = x * 1103515245u + 12345u;
        });
    double seen = 1.0;
    testsupport::WaitFor([&] { return (seen = testsupport::LoadFactor()) > 2.0; }, 5000);
    stop = true;
    for (std::thread& t : spinners) t.join();
    EXPECT_GT(seen, 2.0);
}

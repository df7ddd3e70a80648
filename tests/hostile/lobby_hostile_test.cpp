// MiraboGame.exe logged in from its command line against our lobby server gone
// hostile once the room list was asked for. Seeded (1 unless
// MIRABO_HOSTILE_SEED gives another); the seed is printed.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>

// ChildProcess.h brings winsock2.h before windows.h
// clang-format off
#include "tests/support/ChildProcess.h"
#include "tools/loop/PlayFolder.h"
// clang-format on
#include <commctrl.h>

#include "lobby/net/protocol/LoginDigest.h"
#include "tests/support/FakeLobby.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ProgramWatch.h"
#include "tools/servers/CodeTables.h"
#include "tools/servers/LobbyHostile.h"
#include "tools/servers/LobbyServer.h"
#include "tools/servers/ProgramOptions.h"

using testsupport::ChildProcess;
using testsupport::OwnFolder;
using testsupport::WaitFor;

namespace {

const char kDigest[] = "DBAB93EC051ED01C20B7797AFD19CC7B";  // of "secret"
const char kLobbyTitle[] = "游戏大厅";

// A program folder with the lobby, its skin and room tree, pointed at the port.
struct LobbyFolder {
    explicit LobbyFolder(unsigned short port) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "mirabo_hostile_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
        CopyFileA((OwnFolder() + "MiraboGame.exe").c_str(), (path + "MiraboGame.exe").c_str(), FALSE);
        loop::CopyTree(OwnFolder() + "Skin\\", path + "Skin\\");
        Write("config.ini", "[SYSTEM]\r\nversionxml=<version game=\"FENLO\" number=\"2.0.1\"/>\r\n"
                            "time1=-1\r\ntime2=300\r\ntime3=3000\r\ntime4=0\r\ntime5=3000\r\nSvrSelect=0\r\n"
                            "[MsgType]\r\nType=0\r\n");
        Write("serveraddr.ini", testsupport::ServerAddrIni(1, {testsupport::ServerSection(1, "127.0.0.1", port, 1)}));
        CreateDirectoryA((path + "updater").c_str(), nullptr);
        Write("updater\\config.ini", testsupport::UpdaterIni("127.0.0.1", 1, port));
        Write("FENLORoomTree.ini", "[count]\r\nitem_count=1\r\n[item0]\r\nid=1\r\ntext=初级场\r\ncolor=255 0 0\r\n"
                                   "icon=3\r\nparent=0\r\nexpand=1\r\nurl=0\r\n");
        SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", (path + "trace.txt").c_str());
    }
    ~LobbyFolder() {
        SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", nullptr);
        loop::RemoveTree(path);
    }
    void Write(const std::string& name, const std::string& text) const {
        servers::WriteWholeFile(path + name, text);
    }
    std::string Trace() const {
        std::string text;
        servers::ReadWholeFile(path + "trace.txt", text);
        return text;
    }
    std::string path;
};

// WaitFor at a pace that suits reading files.
bool Poll(const std::function<bool()>& condition, int ms) {
    return WaitFor([&] {
        if (condition()) return true;
        Sleep(50);
        return false;
    }, ms);
}

unsigned Seed() {
    const char* replay = std::getenv("MIRABO_HOSTILE_SEED");
    const unsigned seed = replay ? static_cast<unsigned>(std::strtoul(replay, nullptr, 10)) : 1;
    std::printf("lobby_hostile seed %u (MIRABO_HOSTILE_SEED=%u replays it)\n", seed, seed);
    std::fflush(stdout);
    return seed;
}

// The probes: notices that pop up with their number, traced as they show.
std::string ProbeText(int n) { return "probe " + std::to_string(n); }
bool Probed(const std::string& trace, int n) { return trace.find("|" + ProbeText(n) + "|10000|0") != std::string::npos; }

// The lobby's messages that end its session by design (a refused login, a
// kick) or open pages and programs are left out of the bad ones.
servers::HostileVocabulary Vocabulary() {
    servers::HostileVocabulary v = servers::LobbyVocabulary();
    const std::set<std::string> out = {"LoginFailed", "ValidateFailed", "KickPlayer", "MoneyIsNotEnough",
                                       "ReadyToEnterRoom"};
    std::vector<servers::HostileMessage> kept;
    for (const servers::HostileMessage& m : v.messages)
        if (!out.count(m.name)) kept.push_back(m);
    v.messages = kept;
    return v;
}

// Our lobby server with bob's account, going hostile once the room list was
// asked for, probing with notices.
servers::HostOptions HostileOptions(unsigned seed, int frames, int connections, int probeEvery) {
    servers::HostOptions options;
    options.codes = servers::DefaultLobbyCodes();
    servers::HostilePlan& plan = options.hostile;
    plan.vocabulary = std::make_shared<servers::HostileVocabulary>(Vocabulary());
    plan.seed = seed;
    plan.after = "RequestRoomList";
    plan.frames = frames;
    plan.connections = connections;
    plan.probeEvery = probeEvery;
    plan.probe = [](int n) { return servers::LobbyNotice(ProbeText(n), 3); };
    return options;
}

servers::LobbyConfig BobsLobby() {
    servers::LobbyConfig config = servers::DefaultLobbyConfig();
    config.accounts = {{"bob", kDigest, "1000.00", "bob"}};
    config.rooms.clear();  // the tree then shows the game and the group of FENLORoomTree.ini
    return config;
}

HWND FindTree(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == WC_TREEVIEWA) return child;
        if (HWND deeper = FindTree(child)) return deeper;
    }
    return nullptr;
}

}  // namespace

TEST(LobbyHostile, LivesAnswersAndHandlesEveryGoodMessage) {
    const unsigned seed = Seed();
    const int kConnections = 3, kFrames = 3400, kProbeEvery = 100;
    // About 50 s on an idle machine; a loaded one takes several times that.
    const int kRunDeadlineMs = 400000;

    servers::HostOptions options = HostileOptions(seed, kFrames, kConnections, kProbeEvery);
    servers::HostilePlan& plan = options.hostile;
    plan.ending = true;
    plan.tune = [](servers::HostileGenerator& g) {
        // Texts that are no document end the lobby's connection by design:
        // they come last. Named messages cost the lobby a tick each.
        using K = servers::HostileKind;
        g.SetTextShare(0);
        for (K k : {K::kTruncatedXml, K::kUnterminatedXml}) {
            g.SetWeight(k, 0);
            g.SetEndingWeight(k, 1);
        }
        for (K k : {K::kRandomFrame, K::kEmpty, K::kOneByte, K::kUnknownCode, K::kFieldPastEnd}) g.SetWeight(k, 40);
        g.SetWeight(K::kBadBinary, 6);
        g.SetWeight(K::kBadValues, 6);
        g.SetWeight(K::kDeepXml, 1);
        g.SetWeight(K::kNamesApartXml, 1);
        g.SetWeight(K::kManyAttributes, 1);
        g.SetWeight(K::kExtreme, 1);
    };
    std::unique_ptr<LobbyFolder> folder;
    servers::LobbyServer* host = nullptr;
    // A lost connection drops what the lobby has queued: end it once the
    // probes sent so far have shown.
    plan.endWhen = [&] { return host->ProbesSent() == 0 || Probed(folder->Trace(), host->ProbesSent()); };
    servers::LobbyServer server(BobsLobby(), options);
    host = &server;
    ASSERT_NE(server.Port(), 0);
    folder.reset(new LobbyFolder(server.Port()));

    ChildProcess lobby(folder->path + "MiraboGame.exe", std::string("('bob,") + kDigest + "')", folder->path);
    HWND main = lobby.WaitWindow("#32770", kLobbyTitle, 30000);
    ASSERT_NE(main, nullptr);

    testsupport::ProgramWatch watch(lobby, folder->path, "MiraboGame");
    watch.Watch(main);
    // The boxes the bad messages open are answered meanwhile.
    std::atomic<bool> done{false};
    std::thread answer([&] {
        while (!done) {
            for (const char* caption : {"公告信息", "提示", "失败", "错误", "提示信息"})
                for (HWND box : lobby.Windows("#32770", caption)) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
    });
    // After the hostile connections, a plain one fills the tree again.
    const bool over = Poll([&] {
        return server.Connections() > kConnections && FindTree(main) &&
               SendMessageA(FindTree(main), TVM_GETCOUNT, 0, 0) == 2;
    }, kRunDeadlineMs);
    done = true;
    answer.join();
    EXPECT_TRUE(over) << server.Connections() << " connections, tree items " << (FindTree(main) ? SendMessageA(FindTree(main), TVM_GETCOUNT, 0, 0) : -1);
    EXPECT_GE(server.HostileSent(), kConnections * kFrames);
    EXPECT_EQ(watch.Misses(), 0) << "longest answer " << watch.LongestAnswerMs() << " ms, load up to "
                                  << watch.LargestLoad();
    EXPECT_EQ(watch.Crashes(), "");
    const std::string trace = folder->Trace();
    int missing = 0;
    for (int n = 1; n <= server.ProbesSent(); ++n) missing += Probed(trace, n) ? 0 : 1;
    EXPECT_EQ(missing, 0) << "of " << server.ProbesSent() << " probes";
}

// Texts nesting 100 000 names apart: each is read while the lobby's lock is
// held, so the main window, which takes the lock every tick, answers within a
// second only when the reading takes time in line with the text; the notice
// sent after each text shows.
TEST(LobbyHostile, TextsOfNamesApartLeaveTheWindowAnswering) {
    const int kTexts = 3;
    servers::HostOptions options = HostileOptions(Seed(), kTexts, 1, 1);
    options.hostile.tune = [](servers::HostileGenerator& g) {
        for (int k = 0; k < static_cast<int>(servers::HostileKind::kCount); ++k)
            g.SetWeight(static_cast<servers::HostileKind>(k), 0);
        g.SetWeight(servers::HostileKind::kNamesApartXml, 1);
    };
    servers::LobbyServer server(BobsLobby(), options);
    ASSERT_NE(server.Port(), 0);
    LobbyFolder folder(server.Port());
    ChildProcess lobby(folder.path + "MiraboGame.exe", std::string("('bob,") + kDigest + "')", folder.path);
    HWND main = lobby.WaitWindow("#32770", kLobbyTitle, 30000);
    ASSERT_NE(main, nullptr);
    testsupport::ProgramWatch watch(lobby, folder.path, "MiraboGame", 1000);
    watch.Watch(main);
    EXPECT_TRUE(Poll([&] { return Probed(folder.Trace(), kTexts); }, 120000)) << server.HostileSent() << " texts sent";
    EXPECT_EQ(server.HostileSent(), kTexts);
    EXPECT_GT(watch.Pings(), 0);
    EXPECT_EQ(watch.Misses(), 0) << "longest answer " << watch.LongestAnswerMs() << " ms, load up to "
                                  << watch.LargestLoad();
    EXPECT_EQ(watch.Crashes(), "");
}

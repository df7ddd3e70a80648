// The programs' main job while the lobby has no windows of its own: plays the
// lobby's part and the game server's part around a real fenlo.exe.
//
// A game server of ours listens on 127.0.0.1; fenlo.exe is started in this
// folder with the eleven fields the lobby writes, validates, and is dealt a
// hand. The table window's trace shows what it took from its queues; at the end
// the table is closed as the player would close it. Exit code 0 when the client
// validated, took the whole hand and ended cleanly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/LoopbackServer.h"

namespace {

std::string Doc(const std::string& name, const std::string& data) {
    return "<GameMessage game=\"FENLO\"><Message name=\"" + name + "\">" + data + "</Message></GameMessage>";
}

std::string Cards(const std::vector<std::pair<int, int>>& cards) {
    std::string out;
    for (const auto& c : cards)
        out += "<card number=\"" + std::to_string(c.first) + "\" suit=\"" + std::to_string(c.second) + "\"/>";
    return out;
}

// One seeded deal: 17 cards for the player, 3 for the bottom.
void Deal(std::vector<std::pair<int, int>>& hand, std::vector<std::pair<int, int>>& bottom) {
    std::vector<std::pair<int, int>> deck;
    for (int n = 3; n <= 15; ++n)
        for (int s = 0; s < 4; ++s) deck.emplace_back(n, s);
    deck.emplace_back(16, 0);
    deck.emplace_back(17, 0);
    unsigned seed = 20261208;
    for (size_t i = deck.size() - 1; i > 0; --i) {
        seed = seed * 1103515245u + 12345u;
        std::swap(deck[i], deck[(seed >> 8) % (i + 1)]);
    }
    hand.assign(deck.begin(), deck.begin() + 17);
    bottom.assign(deck.begin() + 51, deck.end());
}

std::vector<std::string> Script() {
    std::vector<std::pair<int, int>> hand, bottom;
    Deal(hand, bottom);
    const std::string me = "<player id=\"player1\"/>";
    return {
        Doc("ValidateSuccess", "<GameInfo GameType=\"normal\"/>"),
        Doc("DeskPlayerInfo",
            "<desk stake=\"100\"/><player id=\"player1\" seat=\"0\" money=\"1500\" ready=\"True\"/>"
            "<player id=\"player2\" seat=\"1\" money=\"900\" ready=\"True\"/>"
            "<player id=\"player3\" seat=\"2\" money=\"2100\" ready=\"True\"/>"),
        Doc("GameStart", ""),
        Doc("SendCard", me + Cards(hand)),
        Doc("BeginJiaoFen", "<player id=\"player1\" remainTime=\"15\"/>"),
        Doc("JiaoFen", "<player id=\"player1\" score=\"3\"/>"),
        Doc("SendRemainCard", me + Cards(bottom)),
        Doc("BeginChuPai", "<player id=\"player1\" remainTime=\"20\"/>"),
        Doc("ChuPai", me + Cards({hand[0]})),
        Doc("ChuPai", "<player id=\"player2\"/>"),
        Doc("ChuPai", "<player id=\"player3\"/>"),
        Doc("GameResult", "<player id=\"player1\" score=\"200\"/>"),
    };
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& path, const std::string& line) {
    const auto lines = ReadLines(path);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct TableQuery {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchTable(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<TableQuery*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner != q->pid || !IsWindowVisible(h)) return TRUE;
    q->found = h;
    return FALSE;
}

HWND FindTable(DWORD pid) {
    TableQuery q{pid, nullptr};
    EnumWindows(MatchTable, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

}  // namespace

int main() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string folder = std::string(exe).substr(0, std::string(exe).rfind('\\'));
    const std::string trace = folder + "\\fenlo_demo_trace.txt";
    DeleteFileA(trace.c_str());

    const std::vector<std::string> script = Script();
    std::string firstRequest;
    testsupport::LoopbackServer server([&](testsupport::Connection& c) {
        int kind = 0;
        if (!c.ReadFrame(kind, firstRequest, 10000)) return;
        for (const std::string& doc : script) {
            c.SendFrame(1, doc);
            c.Pause(150);
        }
        c.WaitClosed(30000);
    });

    const std::string port = std::to_string(server.Port());
    std::string line = "\"" + folder + "\\fenlo.exe\" 127.0.0.1 player1 " + port + " 101 t0k3n 0 0 0 1 0 0";
    std::printf("game server on 127.0.0.1:%s\nstarting:%s\n", port.c_str(), line.c_str() + line.find(' '));
    SetEnvironmentVariableA("FENLO_TABLE_TRACE", trace.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::printf("fenlo.exe did not start (error %lu)\n", GetLastError());
        return 1;
    }

    const bool dealt = testsupport::WaitFor([&] { return HasLine(trace, "main 15"); }, 20000);
    std::printf("validation request: %s\n", firstRequest.c_str());
    std::printf("the table took, in order:");
    for (const std::string& l : ReadLines(trace)) std::printf(" [%s]", l.c_str());
    std::printf("\n");

    HWND table = FindTable(pi.dwProcessId);
    if (table) PostMessageA(table, WM_CLOSE, 0, 0);
    // The table asks before it quits: every box of the program gets Yes.
    const bool ended = testsupport::WaitFor(
        [&] {
            for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(box, &owner);
                if (owner == pi.dwProcessId && box != table && IsWindowVisible(box))
                    PostMessageA(box, WM_COMMAND, IDYES, 0);
            }
            return WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0;
        },
        10000);
    DWORD code = 1;
    if (!ended) TerminateProcess(pi.hProcess, 9);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    server.Stop();

    const bool ok = !firstRequest.empty() && dealt && ended && code == 0;
    std::printf("fenlo demo: %s (table %s, exit code %lu)\n", ok ? "ok" : "FAILED", table ? "closed" : "not found",
                code);
    return ok ? 0 : 1;
}

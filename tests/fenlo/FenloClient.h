// fenlo.exe as the lobby starts it, in a scratch folder, with the table's
// trace (FENLO_TABLE_TRACE) written into it.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fenlo/FenloTestKit.h"
#include "tests/support/ChildProcess.h"

namespace fenlo_test {

using testsupport::WaitFor;

inline std::string ProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path).substr(0, std::string(path).rfind('\\'));
}

// The parameters exactly as the lobby writes them: a leading blank, then
// host, player, port, room, token, "0", second host and port, "1", "0", "0".
inline std::string LobbyLine(unsigned short port, const std::string& player = "alice", const std::string& room = "31",
                             const std::string& token = "v4l1d") {
    const std::string p = std::to_string(port);
    return " 127.0.0.1 " + player + " " + p + " " + room + " " + token + " 0 127.0.0.1 " + p + " 1 0 0";
}

// The table's side panel, a dialog of the program beside its boxes.
inline bool IsSidePanel(HWND window) { return GetDlgItem(window, 1097) != nullptr; }

// fenlo.exe in a scratch working directory, tracing into it.
class Client : public testsupport::ChildProcess {
public:
    Client(const ScratchFolder& folder, const std::string& args)
        : ChildProcess(Install(folder), args, folder.Path()), folder_(folder) {}

    // The program's pictures in the folder, as an installed client has them
    // beside its settings; the trace goes there too. Returns the program.
    static std::string Install(const ScratchFolder& folder) {
        SetEnvironmentVariableA("FENLO_TABLE_TRACE", (folder / "trace.txt").c_str());
        CopyTree(ProgramFolder() + "\\fenlo\\image", folder / "fenlo\\image");
        CreateDirectoryA((folder / "Skin").c_str(), nullptr);
        CreateDirectoryA((folder / "Skin\\Style1").c_str(), nullptr);
        CopyTree(ProgramFolder() + "\\Skin\\Style1\\png", folder / "Skin\\Style1\\png");
        return ProgramFolder() + "\\fenlo.exe";
    }

    std::vector<std::string> Trace() const {
        std::vector<std::string> lines;
        std::istringstream in(folder_.Read("trace.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool WaitTrace(const std::string& line, int ms = 10000) const {
        return WaitFor(
            [&] {
                const std::vector<std::string> t = Trace();
                return std::find(t.begin(), t.end(), line) != t.end();
            },
            ms);
    }
    // The type ids taken from one queue ("main" or "second"), in order.
    std::vector<int> Taken(const std::string& queue) const {
        std::vector<int> ids;
        for (const std::string& line : Trace())
            if (line.compare(0, queue.size() + 1, queue + " ") == 0)
                ids.push_back(std::stoi(line.substr(queue.size())));
        return ids;
    }
    // Closes the table window, says Yes to the exit box (and to any other
    // box) and waits for the program to end.
    bool CloseTable() {
        if (WaitExit(0)) return ExitCode() == 0;
        // Asked again every 2 s: a box the table opens meanwhile (the network
        // notices) ends an open exit box.
        int round = 0;
        WaitFor(
            [&] {
                if (round++ % 40 == 0) PostMessageA(FindTable(), WM_CLOSE, 0, 0);
                AnswerBoxes(IDYES);
                return WaitExit(50);
            },
            20000);
        return WaitExit(0) && ExitCode() == 0;
    }
    // The window the lobby finds by its title.
    HWND FindTable() {
        HWND table = nullptr;
        WaitFor(
            [&] {
                for (HWND h = nullptr; (h = FindWindowExA(nullptr, h, nullptr, "Mirabo斗地主")) != nullptr;) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(h, &owner);
                    if (owner == Id()) table = h;
                }
                return table != nullptr;
            },
            10000);
        return table;
    }
    // Answers every open box of the program; the number answered.
    int AnswerBoxes(int answer) {
        int n = 0;
        for (HWND h : Windows("#32770")) {
            char title[64] = "";
            GetWindowTextA(h, title, sizeof title);
            if (std::string(title) == "Mirabo斗地主" || IsSidePanel(h)) continue;
            PostMessageA(h, WM_COMMAND, answer, 0);
            ++n;
        }
        return n;
    }

private:
    const ScratchFolder& folder_;
};

}  // namespace fenlo_test

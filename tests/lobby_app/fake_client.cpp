// Stand-in for the card-game client: records its parameters (as record_start
// does) to MIRABO_RECORD_STARTS, holds the "MiraboFENLO" semaphore, shows a
// window titled "Mirabo斗地主" that logs every WM_COPYDATA to MIRABO_CLIENT_LOG
// ("kind|value|rooms|text") and, on WM_APP + n, sends the lobby windows
// titled "游戏大厅" GameCopyData for player MIRABO_CLIENT_PLAYER:
// n = 0, 1, 2 that kind with money 12.5 and second amount 3.25; 10 a short
// record, 11 an unterminated player id, 12 an empty record.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lobby/net/base/CopyData.h"

namespace {

void Append(const char* variable, const std::string& line) {
    const char* path = std::getenv(variable);
    if (!path) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

struct Target {
    COPYDATASTRUCT* copy;
    HWND from;
};

BOOL CALLBACK SendToLobby(HWND window, LPARAM lp) {
    char title[64] = "";
    ::GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, "游戏大厅") == 0) {
        Target* t = reinterpret_cast<Target*>(lp);
        ::SendMessageA(window, WM_COPYDATA, reinterpret_cast<WPARAM>(t->from), reinterpret_cast<LPARAM>(t->copy));
    }
    return TRUE;
}

void Report(HWND self, int cue) {
    GameCopyData record;
    std::memset(&record, 0, sizeof record);
    const char* player = std::getenv("MIRABO_CLIENT_PLAYER");
    std::snprintf(record.playerId, sizeof record.playerId, "%s", player ? player : "");
    record.money = 12.5;
    record.secondAmount = 3.25;
    COPYDATASTRUCT copy{};
    copy.dwData = static_cast<ULONG_PTR>(cue < 10 ? cue : 0);
    copy.cbData = sizeof record;
    copy.lpData = &record;
    if (cue == 10) copy.cbData = sizeof record - 8;
    if (cue == 11) std::memset(record.playerId, 'x', sizeof record.playerId);
    if (cue == 12) {
        copy.cbData = 0;
        copy.lpData = nullptr;
    }
    Target target{&copy, self};
    ::EnumWindows(SendToLobby, reinterpret_cast<LPARAM>(&target));
}

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (copy->cbData == sizeof(LobbyToGameCopyData)) {
            const LobbyToGameCopyData* d = static_cast<const LobbyToGameCopyData*>(copy->lpData);
            Append("MIRABO_CLIENT_LOG", std::to_string(d->kind) + "|" + std::to_string(d->value) + "|" +
                                            std::string(d->rooms, strnlen(d->rooms, sizeof d->rooms)) + "|" +
                                            std::string(d->text, strnlen(d->text, sizeof d->text)));
        } else {
            Append("MIRABO_CLIENT_LOG", "size " + std::to_string(copy->cbData));
        }
        return TRUE;
    }
    if (message >= WM_APP && message < WM_APP + 20) {
        Report(window, static_cast<int>(message - WM_APP));
        return 0;
    }
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcA(window, message, wp, lp);
}

}  // namespace

int main() {
    const char* line = ::GetCommandLineA();
    if (*line == '"') {
        line = std::strchr(line + 1, '"');
        line = line ? line + 1 : "";
    } else {
        while (*line && *line != ' ') ++line;
    }
    if (*line == ' ') ++line;  // the separator after the program
    // The semaphore before the record: a test that has seen the start and
    // then finds no semaphore knows the client has ended, not yet to begin.
    HANDLE running = ::CreateSemaphoreA(nullptr, 1, 1, "MiraboFENLO");
    Append("MIRABO_RECORD_STARTS", line);  // the lobby's parameters, leading blank included
    WNDCLASSA wc{};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "MiraboFakeClient";
    ::RegisterClassA(&wc);
    ::CreateWindowA(wc.lpszClassName, "Mirabo斗地主", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                    nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    if (running) ::CloseHandle(running);
    return 0;
}

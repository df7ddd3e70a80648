// The records the lobby and the card-game client exchange by WM_COPYDATA
// between their top-level windows, which they find by title. Plain bytes of
// the same layout in 32- and 64-bit builds.
#pragma once

#include <cstddef>

// From the table to every window titled "游戏大厅". COPYDATASTRUCT::dwData is
// the kind, cbData the record's size, wParam the table window.
struct GameCopyData {
    enum Kind { kRunning = 0, kStarting = 1, kGameOver = 2 };

    char playerId[256];   // NUL-terminated, at most 255 bytes
    double money;         // -1.0 when unknown
    double secondAmount;  // the own seat's second amount, with a known money only
};

// From the lobby to the window titled "Mirabo斗地主".
struct LobbyToGameCopyData {
    enum Kind { kNotice = 0, kChatLine = 1, kStoredText = 2 };

    char text[512];   // NUL-terminated
    char rooms[512];  // "0" for every room, else room ids joined by ","
    int kind;
    int value;  // kNotice: how many times the notice scrolls
};

static_assert(sizeof(GameCopyData) == 272 && offsetof(GameCopyData, money) == 256 &&
                  offsetof(GameCopyData, secondAmount) == 264,
              "GameCopyData is 272 bytes");
static_assert(sizeof(LobbyToGameCopyData) == 1032 && offsetof(LobbyToGameCopyData, rooms) == 512 &&
                  offsetof(LobbyToGameCopyData, kind) == 1024 && offsetof(LobbyToGameCopyData, value) == 1028,
              "LobbyToGameCopyData is 1032 bytes");

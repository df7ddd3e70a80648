// The records the card-game client and the lobby exchange by WM_COPYDATA
// between their top-level windows.
#pragma once

// From the table to every window titled "游戏大厅". dwData: 0 normally, 1 while
// the table's set-up is not complete, 2 in the result phase.
struct GameCopyData {
    char playerId[256];  // NUL-terminated, at most 255 bytes
    double money;        // -1.0 when unknown or when the table is quitting
    double secondAmount; // written only together with a known money
};
static_assert(sizeof(GameCopyData) == 272, "GameCopyData is 272 bytes on the wire");

// From the lobby to the window titled "Mirabo斗地主".
struct LobbyToGameCopyData {
    char text[512];
    char rooms[512];  // "0" for every room, else room ids joined by ","
    int kind;         // 0 scrolling notice, 1 chat line, 2 stored text
    int value;        // kind 0: how many times the notice scrolls
};
static_assert(sizeof(LobbyToGameCopyData) == 1032, "LobbyToGameCopyData is 1032 bytes on the wire");

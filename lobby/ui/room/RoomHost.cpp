#include "lobby/ui/room/RoomHost.h"

#include <shellapi.h>

namespace {
CRoomHost* g_host = nullptr;
}

void CRoomHost::LaunchGame(HWND owner, const std::string& params) {
    ::ShellExecuteA(owner, "open", "fenlo.exe", params.c_str(), "", SW_SHOWNORMAL);
}

void SetRoomHost(CRoomHost* host) { g_host = host; }

CRoomHost* GetRoomHost() { return g_host; }

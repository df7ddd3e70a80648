// bench_lobby_room.exe [iterations]: run from the bin folder. One full paint
// of the desk view's grid (100 desks, 300 seated players, 900 wide), ms per paint.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>

#include "lobby/net/base/PrivateMessages.h"
#include "lobby/net/protocol/LobbyMessages.h"
#include "lobby/net/protocol/RoomDeskList.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/room/ExScrollView.h"
#include "lobby/ui/room/RoomHost.h"

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 20;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string ini(exe);
    ini = ini.substr(0, ini.find_last_of('\\')) + "\\Skin\\Style1\\Skin.ini";
    if (!GetLobbySkin()->Load(ini.c_str())) {
        std::fprintf(stderr, "no skin at %s\n", ini.c_str());
        return 1;
    }
    {
        CExScrollView view;
        view.SetSkinRes(GetLobbySkin());
        view.SetGroupMode(0);
        if (!view.Create(nullptr, "", WS_POPUP, CRect(0, 0, 900, 600), nullptr, 0)) return 1;
        auto* m = new CDeskInfoMsg;
        m->roomFlag = false;
        m->deskList = new CRoomDeskList;
        for (int d = 1; d <= 100; ++d) {
            CRoomDeskInfo* desk = m->deskList->AddDesk(0, 0, "D", "101", std::to_string(d));
            for (int s = 0; s < 3; ++s)
                desk->AddPlayer("p" + std::to_string(d * 3 + s), "玩家" + std::to_string(d * 3 + s), std::to_string(s),
                                s == 1, s == 2);
        }
        view.SendMessage(kMsgRoomUpdate, 5, reinterpret_cast<LPARAM>(m));
        const int width = 900, height = view.GetTotalSize().cy;
        HDC screen = ::GetDC(nullptr);
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = ::SelectObject(mem, bitmap);
        LARGE_INTEGER f, a, b;
        ::QueryPerformanceFrequency(&f);
        view.DrawGrid(mem, width, height);
        ::QueryPerformanceCounter(&a);
        for (int i = 0; i < n; ++i) view.DrawGrid(mem, width, height);
        ::QueryPerformanceCounter(&b);
        std::printf("desk grid %d x %d, 100 desks, 300 players: %.2f ms per paint\n", width, height,
                    1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart) / n);
        ::SelectObject(mem, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(mem);
        ::ReleaseDC(nullptr, screen);
    }
    GetLobbySkin()->Release();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}

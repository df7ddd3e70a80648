// The left panel's player card (130): badge, money, nickname, three further
// player texts and the online count over the skin's frame.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <gdiplus.h>

#include <cstdio>
#include <string>

#include "lobby/net/protocol/LobbyData.h"
#include "lobby/ui/SkinRes.h"
#include "lobby/ui/app/LobbyPanels.h"

namespace {
const COLORREF kCardText = 0x6E6805, kCountText = 0x00F0B0;
const CRect kMoney(156, 27, 239, 38), kNickname(12, 80, 93, 98), kRow3(156, 45, 239, 58), kRow4(156, 63, 239, 76),
    kOnline(18, 104, 238, 118), kRow5(156, 79, 239, 97);

void Line(HDC dc, const std::string& text, CRect r, UINT align) {
    ::DrawTextA(dc, text.c_str(), -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
}  // namespace

BOOL CDlgLeft::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    CSkinRes* skin = GetLobbySkin();
    skin->DrawFrame(dc, 0, 0, client.right, client.bottom, 1);
    if (Gdiplus::Image* top = skin->GetTreeTopImage()) {
        Gdiplus::Graphics g(dc->m_hDC);
        g.DrawImage(top, 10, 10, static_cast<INT>(top->GetWidth()), static_cast<INT>(top->GetHeight()));
    }
    return TRUE;
}

void CDlgLeft::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kCardText);
    std::string money, nickname, rows[3];
    int badge = 2;
    {
        CLobbyData& hub = GetLobbyData();
        LobbyLockGuard guard(hub.lobbyLock);
        money = hub.moneyText;
        nickname = hub.nickname;
        rows[0] = hub.loginText8;
        rows[1] = hub.loginText9;
        rows[2] = hub.secondAmountText;
        if (hub.loginNumber == 1) badge = 3;
    }
    if (Gdiplus::Image* image = GetLobbySkin()->GetImage(badge)) {
        Gdiplus::Graphics g(dc);
        g.DrawImage(image, 25, 27, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
    }
    Line(dc, money, kMoney, DT_LEFT);
    Line(dc, nickname, kNickname, DT_CENTER);
    Line(dc, rows[0], kRow3, DT_LEFT);
    Line(dc, rows[1], kRow4, DT_LEFT);
    Line(dc, rows[2], kRow5, DT_LEFT);
    ::SetTextColor(dc, kCountText);
    char online[64];
    std::snprintf(online, sizeof online, "在线人数[%d人]", m_totalCount);
    Line(dc, online, kOnline, DT_LEFT);
    ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
}

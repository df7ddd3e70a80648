// The table's draw routines for the seats (avatars, names, role icons, auto
// play, waiting time, the VIP room number, the reconnect text) and the
// information panel (network quality, counter box, multiplier).
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "game/core/table/SeatFields.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "platform/TextFont.h"
#include "platform/vantor/RenderMgr.h"

namespace {

const COLORREF kNameColor = RGB(121, 219, 255);


// An avatar index outside 0..1 shows avatar 0.
int AvatarEntry(const CPlayerInfo& p) { return 304 + (p.avatar == 1 ? 1 : 0); }

// Width and height of a text in the font RenderMgr::DrawTextToDC draws it in.
SIZE TextSize(CDC* dc, const std::string& text, int height, int weight = FW_NORMAL, const char* face = "宋体") {
    return AfxTextExtent(dc->m_hDC, AfxTextFont(face, height, weight), text.c_str(), static_cast<int>(text.size()));
}

void Text(CDC* dc, const std::string& text, int x, int y, COLORREF color, int height = 12) {
    RenderMgr::DrawTextToDC(dc, text.c_str(), x, y, "宋体", height, color, 0x2000);
}

// The title line: the two kept texts joined.
std::string TitleLine(const CPlayerInfo& p, const char* joint) {
    const std::string& a = p.GetIPDetail();
    const std::string& b = p.GetIPLocation();
    std::string line = a;
    if (!a.empty() && !b.empty() && a != " ") line += joint;
    return line + b;
}

}  // namespace

void CPavlenDlg::DrawSeats(CDC* dc) {
    RenderMgr scope;
    const CTableState& s = m_game.State();
    const int W0 = m_client.right, H0 = m_client.bottom;
    dc->SetTextColor(RGB(255, 0, 0));
    if (!m_game.StatusText().empty()) {
        const int x = (W0 - 200) / 2 - 80, y = H0 / 2;
        const SIZE size = TextSize(dc, m_game.StatusText(), 18, FW_BOLD, "黑体");
        if (IntersectsDirty(x, y, size.cx, size.cy))
            RenderMgr::DrawTextToDC(dc, m_game.StatusText().c_str(), x, y, "黑体", 18, RGB(255, 0, 0), DT_SINGLELINE,
                                    FW_BOLD);
    }
    CPlayerInfo* own = s.Own();
    if (own) {
        const int aw = GameImageW(AvatarEntry(*own)), ah = GameImageH(AvatarEntry(*own));
        const int ax = 140 - aw, ay = H0 - GameImageH(273) - 40;
        if (s.nameMode != 0 && s.nameMode != 3) {
            DrawEntry(dc, AvatarEntry(*own), ax, ay);
            const std::string name = own->GetNickName();
            const SIZE size = TextSize(dc, name, 12);
            if (IntersectsDirty(ax, ay, aw, size.cy)) Text(dc, name, ax + (aw - size.cx) / 2, ay, kNameColor);
        }
        if (s.nameMode != 0 && s.nameMode != 2 && IntersectsDirty(ax - 20, ay + 17, aw + 40, 14))
            Text(dc, TitleLine(*own, "/"), ax - 20, ay + 17, kNameColor);
        if (s.phase >= 10) {
            const int icon = seat::Landlord(*own) == 1 ? 310 : 309;
            DrawEntry(dc, icon, ax, ay - GameImageH(icon));
        }
        if (seat::Bounce(*own) > 0) {
            const int fh = GameImageH(353), lift = seat::Bounce(*own) % 2 ? 5 : 0;
            DrawEntry(dc, 353, 40, H0 - fh - 116);
            DrawEntry(dc, seat::Landlord(*own) == 1 ? 306 : 307, 50, H0 - fh - 116 + 10 - lift);
        }
        if (seat::AutoPlay(*own)) DrawEntry(dc, 63, (W0 - GameImageW(63) - 200) / 2, H0 - GameImageH(63) - 60);
    }
    if (CPlayerInfo* next = s.GetNextPlayer()) DrawSideSeat(dc, next, true);
    if (CPlayerInfo* prev = s.GetPrevPlayer()) DrawSideSeat(dc, prev, false);

    CGameSession* session = GetGameSession();
    if (session->vipFlag && !session->vipGameId.empty()) {
        const std::string text = "VIP房号：" + session->vipGameId;
        const SIZE size = TextSize(dc, text, 14);
        if (IntersectsDirty(10, 64, size.cx, size.cy)) {
            RECT r = {10, 64, 10 + size.cx, 64 + size.cy};
            dc->DrawText(text.c_str(), -1, &r, DT_SINGLELINE);
        }
    }
}

void CPavlenDlg::DrawSideSeat(CDC* dc, CPlayerInfo* p, bool next) {
    const CTableState& s = m_game.State();
    const int W0 = m_client.right, H0 = m_client.bottom, top = (H0 - 96) / 2;
    if (seat::AutoPlay(*p)) {
        const int w = GameImageW(63), h = GameImageH(63);
        DrawEntry(dc, 63, next ? W0 - 220 - w - 71 : 91, top - h - 10);
    }
    const int avatar = AvatarEntry(*p), aw = GameImageW(avatar), ah = GameImageH(avatar);
    const int ax = next ? W0 - 220 - aw : 20, ay = top - ah - 24;
    if (s.nameMode != 0 && s.nameMode != 3) {
        DrawEntry(dc, avatar, ax, ay);
        const std::string name = p->GetNickName();
        const SIZE size = TextSize(dc, name, 12);
        if (IntersectsDirty(ax, ay, aw, size.cy)) Text(dc, name, ax + (aw - size.cx) / 2, ay, kNameColor);
    }
    if (s.nameMode != 0 && s.nameMode != 2 && IntersectsDirty(ax - 20, ay + 17, aw + 40, 14))
        Text(dc, TitleLine(*p, " "), ax - 20, ay + 17, kNameColor);
    if (s.phase >= 10) {
        CPlayerInfo* own = s.Own();
        const int icon = seat::Landlord(*p) == 1 ? 310 : own && seat::Landlord(*own) == 1 ? 309 : 308;
        DrawEntry(dc, icon, next ? W0 - GameImageW(icon) - 220 : 20 + aw, ay - GameImageH(icon));
    }
    if (s.phase >= 5) {
        // The seat's time left: its reconnect wait while it waits, else its turn time.
        const int dx = next ? W0 - GameImageW(208) - 220 : 20, dy = H0 / 2 + 48 + GameImageH(349);
        DrawEntry(dc, 208, dx, dy);
        const int left = seat::Waiting(*p) && seat::WaitRemaining(*p) >= 0
                             ? seat::WaitRemaining(*p)
                             : p->ClockLeft(static_cast<int>(GameClockNow()));
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%d", left / 1000);
        if (left >= 0 && IntersectsDirty(dx, dy, GameImageW(208) + 40, GameImageH(208)))
            Text(dc, seconds, dx + GameImageW(208) + 4, dy + (GameImageH(208) - 12) / 2, RGB(255, 255, 255));
    }
}

void CPavlenDlg::DrawInfoPanel(CDC* dc) {
    RenderMgr scope;
    const CTableState& s = m_game.State();
    const int W0 = m_client.right, H0 = m_client.bottom;
    const COLORREF color = RGB(42, 78, 43);
    dc->SetTextColor(color);

    // Network quality.
    const int t = m_game.Watch().roundTrip;
    const int ping = t < 0 ? 205 : t < 80 ? 200 : t < 150 ? 201 : t < 300 ? 202 : t < 600 ? 203 : t < 800 ? 204 : 205;
    const std::string quality = "网络质量 : " + std::to_string(t);
    const SIZE qs = TextSize(dc, quality, 12);
    if (IntersectsDirty(10, 5, qs.cx, qs.cy)) Text(dc, quality, 10, 5, color);
    DrawEntry(dc, ping, 10 + qs.cx + 5, 5);
    const std::string& notice = GetGameSession()->noticeText;
    if (!notice.empty() && IntersectsDirty(10, 5 + GameImageH(ping), W0 / 2, 14))
        Text(dc, notice, 10, 5 + GameImageH(ping) + 2, color);

    // Counter box.
    const int x = m_counterAt.x, y = m_counterAt.y < 25 ? 25 : m_counterAt.y;
    DrawEntry(dc, 206, x, y);
    DrawEntry(dc, 207, x - GameImageW(207) + 15, m_blink ? y + 1 : y - 3);
    const CPlayerInfo* own = s.Own();
    char money[32] = "", stake[32] = "";
    std::snprintf(money, sizeof money, "%.2f", own ? own->money : 0.0);
    const double value = std::atof(s.deskText.c_str()) * s.highestBid;
    if (value == static_cast<double>(static_cast<long long>(value)))
        std::snprintf(stake, sizeof stake, "%d", static_cast<int>(value));
    else
        std::snprintf(stake, sizeof stake, "%.2f", value);
    const struct {
        std::string text;
        int centre, top;
    } lines[] = {{own ? own->GetNickName() : s.ownName, x + 112, y + 10}, {money, x + 107, y + 30}, {stake, x + 107, y + 50}};
    for (const auto& line : lines) {
        if (line.top <= 25) continue;
        const SIZE size = TextSize(dc, line.text, 12);
        if (IntersectsDirty(line.centre - size.cx / 2, line.top, size.cx, size.cy))
            Text(dc, line.text, line.centre - size.cx / 2, line.top, color);
    }

    // Multiplier and own remaining cards.
    if (s.phase < 5) return;
    const int iconX = 250, iconY = H0 - GameImageH(351) - 10;
    DrawEntry(dc, 351, iconX, iconY);
    const int g = GameImageW(348) / 10;
    DrawDigits(dc, 348, s.DoublingMultiplier(), iconX + GameImageW(351) + 4 + 3 * g, iconY);
    char left[48];
    std::snprintf(left, sizeof left, "(还剩下%d张)", own ? own->cardCount : 0);
    const SIZE ls = TextSize(dc, left, 12);
    const int lx = (W0 - 200) / 2 - ls.cx / 2, ly = H0 - GameImageH(348) - 40;
    if (IntersectsDirty(lx, ly, ls.cx, ls.cy)) Text(dc, left, lx, ly, kNameColor);
}

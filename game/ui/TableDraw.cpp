// The table's draw routines for the cards and the seats' answers: ready
// prompts, hands, bottom cards, bids, contest and doubling answers, played
// cards, card counts and the result hands. Each draws into the back buffer
// only what meets a dirty rectangle.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/table/SeatFields.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "platform/vantor/RenderMgr.h"

namespace {

// Own, next (right) and previous (left) seat.
struct Seats {
    CPlayerInfo* own;
    CPlayerInfo* next;
    CPlayerInfo* prev;
};
Seats SeatsOf(const CTableState& s) { return {s.Own(), s.GetNextPlayer(), s.GetPrevPlayer()}; }

}  // namespace

void CPavlenDlg::DrawReadyPrompts(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom, w = GameImageW(180), h = GameImageH(180);
    const Seats seats = SeatsOf(m_game.State());
    if (seats.own && seats.own->ready) DrawEntry(dc, 180, (W0 - w - 200) / 2, H0 - h - 194, false);
    if (seats.next && seats.next->ready)
        DrawEntry(dc, 180, W0 - GameImageW(CGameImages::kRightBacks) - w - 236, (H0 - h) / 2, false);
    if (seats.prev && seats.prev->ready) DrawEntry(dc, 180, GameImageW(CGameImages::kLeftBacks) + 36, (H0 - h) / 2, false);
}

void CPavlenDlg::DrawHands(CDC* dc) {
    RenderMgr scope;
    CTableState& s = m_game.State();
    const int W0 = m_client.right, H0 = m_client.bottom;
    const Seats seats = SeatsOf(s);
    if (s.phase == 4 && s.ownHand && s.ownHand->IsEmpty()) {
        int n = seats.own ? seats.own->cardCount : 0;
        if (n > static_cast<int>(s.dealt.size())) n = static_cast<int>(s.dealt.size());
        const int x0 = (W0 - n * 18 - 253) / 2;
        for (int i = 0; i < n; ++i)
            DrawCard(dc, s.dealt[i]->GetNumber(), s.dealt[i]->GetSuit(), x0 + i * 18, H0 - 176, FALSE, FALSE);
    } else if (s.ownHand) {
        const int n = s.ownHand->GetCardCount();
        int x = (W0 - n * 18 - 253) / 2;
        for (auto it = s.ownHand->CardsBegin(); it != s.ownHand->CardsEnd(); ++it, x += 18)
            DrawCard(dc, (*it)->GetNumber(), (*it)->GetSuit(), x, (*it)->IsSelected() ? H0 - 194 : H0 - 176, FALSE,
                     FALSE);
    }
    for (int side = 0; side < 2; ++side) {
        CPlayerInfo* p = side == 0 ? seats.next : seats.prev;
        if (!p || p->cardCount < 1) continue;
        const int back = seat::Landlord(*p) == 1 && s.phase > 9 ? CGameImages::kFirstBack + 1 : CGameImages::kFirstBack;
        DrawEntry(dc, back, side == 0 ? W0 - 291 : 20, (H0 - GameImageH(back)) / 2, false);
        // The one-or-two-cards badge shows one half of its picture at a time.
        if (!seat::FewCards(*p) || (p->cardCount != 1 && p->cardCount != 2)) continue;
        const int badge = p->cardCount == 1 ? 328 : 329, half = GameImageW(badge) / 2;
        if (seat::FewCardsTicks(*p) % 5 == 0) m_reportHalf[side] ^= 1;
        const int top = H0 / 2 - GameImageH(304) - GameImageH(328) - 42;
        const int left = side == 0 ? W0 - 291 - half : 91 - half / 2;
        DrawSlice(dc, badge, 2, m_reportHalf[side], left, top);
    }
}

void CPavlenDlg::DrawBottomCards(CDC* dc) {
    RenderMgr scope;
    const int x0 = (m_client.right - 449) / 2;
    for (int i = 0; i < m_game.State().bottomLanded && i < 3; ++i) {
        const CCard* card = m_game.State().bottom[i];
        if (card)
            DrawCard(dc, card->GetNumber(), card->GetSuit(), x0 + 89 * i, 25, FALSE, FALSE);
        else
            DrawEntry(dc, CGameImages::kFirstBack + 1, x0 + 89 * i, 25);
    }
}

void CPavlenDlg::DrawBids(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom;
    const Seats seats = SeatsOf(m_game.State());
    auto entryOf = [](const CPlayerInfo* p) { return !p || p->bid < 0 || p->bid > 3 ? -1 : p->bid == 0 ? 179 : 175 + p->bid; };
    int e = entryOf(seats.own);
    if (e > 0) DrawEntry(dc, e, (W0 - GameImageW(e) - 200) / 2, H0 - GameImageH(e) - 214);
    if ((e = entryOf(seats.next)) > 0) DrawEntry(dc, e, W0 - GameImageW(e) - 336, (H0 - GameImageH(e)) / 2);
    if ((e = entryOf(seats.prev)) > 0) DrawEntry(dc, e, 136, (H0 - GameImageH(e)) / 2);
}

void CPavlenDlg::DrawDoubles(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom;
    const Seats seats = SeatsOf(m_game.State());
    auto entryOf = [this](const CPlayerInfo* p) {
        static const int entries[] = {-1, 183, 182, 185, 184};
        if (!p || p->doubling < 1 || p->doubling > 4 || p->bid == m_game.State().highestBid) return -1;
        return entries[p->doubling];
    };
    int e = entryOf(seats.own);
    if (e > 0) DrawEntry(dc, e, (W0 + 231) / 2, H0 - GameImageH(e) - 128);
    if ((e = entryOf(seats.next)) > 0) DrawEntry(dc, e, W0 - GameImageW(e) - 387, H0 / 2 - GameImageH(e) - 96);
    if ((e = entryOf(seats.prev)) > 0) DrawEntry(dc, e, 187, H0 / 2 - GameImageH(e) - 96);
}

void CPavlenDlg::DrawContest(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom, hd = GameImageH(183);
    const Seats seats = SeatsOf(m_game.State());
    auto entryOf = [](CPlayerInfo* p) {
        if (!p) return -1;
        const int answer = seat::ContestAnswer(*p);
        return answer == 0 ? 189 : answer == 1 ? 188 : -1;
    };
    int e = entryOf(seats.own);
    if (e > 0) DrawEntry(dc, e, (W0 + 231) / 2, H0 - GameImageH(e) - 128 + hd);
    if ((e = entryOf(seats.next)) > 0) DrawEntry(dc, e, W0 - GameImageW(e) - 387, H0 / 2 - GameImageH(e) - hd - 96);
    if ((e = entryOf(seats.prev)) > 0) DrawEntry(dc, e, 187, H0 / 2 - GameImageH(e) - hd - 96);
}

void CPavlenDlg::DrawPlayed(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom, result = m_game.State().phase == 15;
    const int y = (H0 - 96) / 2, fw = GameImageW(319) / 7, fh = GameImageH(319);
    const Seats seats = SeatsOf(m_game.State());
    CPlayerInfo* order[3] = {seats.own, seats.next, seats.prev};
    for (int i = 0; i < 3; ++i) {
        CPlayerInfo* p = order[i];
        if (!p || !p->lastPlay) continue;
        const int n = p->lastPlay->GetCardCount();
        int x0, top, step;
        if (i == 0)
            x0 = (W0 - n * 18 - 253) / 2, top = H0 - 292, step = 18;
        else if (i == 1)
            x0 = W0 - n * 15 - (result ? 443 : 367), top = y, step = 15;
        else
            x0 = result ? 187 : 111, top = y, step = 15;
        if (n == 0) {
            const int w = GameImageW(181), h = GameImageH(181);
            if (i == 0)
                DrawEntry(dc, 181, (W0 - w - 200) / 2, H0 - h - 196);
            else
                DrawEntry(dc, 181, x0, (H0 - h) / 2);
        }
        int x = x0;
        for (auto it = p->lastPlay->CardsBegin(); it != p->lastPlay->CardsEnd(); ++it, x += step)
            DrawCard(dc, (*it)->GetNumber(), (*it)->GetSuit(), x, top, FALSE, FALSE);
        if (seat::PatternMark(*p) && fw > 0) {
            const int fx = i == 0 ? (W0 - fw - 200) / 2 : i == 1 ? W0 - fw - 336 : 136;
            DrawSlice(dc, 319, 7, m_patternFrame[i], fx, i == 0 ? H0 - fh - 292 : y - fh);
        }
    }
}

void CPavlenDlg::DrawCardCounts(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom;
    const int iconW = GameImageW(350), g = GameImageW(349) / 10, top = (H0 - 96) / 2 + 96;
    const Seats seats = SeatsOf(m_game.State());
    for (int side = 0; side < 2; ++side) {
        const CPlayerInfo* p = side == 0 ? seats.next : seats.prev;
        if (!p) continue;
        const int iconX = side == 0 ? W0 - iconW - 220 : iconW + g + 20;
        DrawEntry(dc, 350, iconX, top);
        const int count = p->cardCount < 0 ? 0 : p->cardCount;
        if (count < 10) {
            DrawSlice(dc, 349, 10, count, iconX - g, top);
        } else {
            DrawSlice(dc, 349, 10, count % 10, iconX - g, top);
            DrawSlice(dc, 349, 10, count / 10 % 10, iconX - 2 * g, top);
        }
    }
}

void CPavlenDlg::DrawResultHands(CDC* dc) {
    RenderMgr scope;
    const int W0 = m_client.right, H0 = m_client.bottom;
    const Seats seats = SeatsOf(m_game.State());
    if (seats.own && seats.own->hand) {
        const int n = seats.own->hand->GetCardCount();
        int x = (W0 - n * 18 - 253) / 2;
        for (auto it = seats.own->hand->CardsBegin(); it != seats.own->hand->CardsEnd(); ++it, x += 18)
            DrawCard(dc, (*it)->GetNumber(), (*it)->GetSuit(), x, (*it)->IsSelected() ? H0 - 194 : H0 - 176, FALSE,
                     FALSE);
    }
    if (seats.next && seats.next->hand && !seats.next->hand->IsEmpty()) {
        const int n = seats.next->hand->GetCardCount();
        int y = (H0 - n * 18 - 124) / 2 + n * 18 - 36;
        for (auto it = seats.next->hand->CardsBegin(); it != seats.next->hand->CardsEnd(); ++it, y -= 15)
            DrawCard(dc, (*it)->GetNumber(), (*it)->GetSuit(), W0 - 387, y, TRUE, TRUE);
    }
    if (seats.prev && seats.prev->hand && !seats.prev->hand->IsEmpty()) {
        const int n = seats.prev->hand->GetCardCount();
        int y = (H0 - n * 18 - 53) / 2;
        for (auto it = seats.prev->hand->CardsBegin(); it != seats.prev->hand->CardsEnd(); ++it, y += 15)
            DrawCard(dc, (*it)->GetNumber(), (*it)->GetSuit(), 91, y, TRUE, FALSE);
    }
}

// The seats' animations, run every tick: the counter box's blink, the
// play-pattern films, the face bounce, the few-cards alarm, the waiting
// countdowns and the side seats' turn times. Each step marks only the area
// it changes.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdlib>

#include "game/core/GameClock.h"
#include "game/core/table/SeatFields.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"

namespace {

int Since(DWORD now, DWORD then) { return static_cast<int>(now - then); }

}  // namespace

void CPavlenDlg::TickAnimations() {
    CTableState& s = m_game.State();
    const DWORD now = GameClockNow();
    const int W0 = m_client.right, H0 = m_client.bottom;
    if (Since(now, m_blinkStamp) >= 500) {
        m_blinkStamp = now;
        m_blink ^= 1;
        const int logoW = GameImageW(207), badgeW = GameImageW(206), badgeH = GameImageH(206);
        if (m_counterAt.y > 47 - badgeH)
            AddDirtyRect(m_counterAt.x - logoW, m_counterAt.y - 10, logoW + badgeW, badgeH + 20);
    }
    if (Since(now, m_randStamp) >= 100) {
        m_randStamp = now;
        std::rand();
    }
    const int fw = GameImageW(319) / 7, fh = GameImageH(319);
    CPlayerInfo* seats[3] = {s.Own(), s.GetNextPlayer(), s.GetPrevPlayer()};
    for (int i = 0; i < 3; ++i) {
        CPlayerInfo* p = seats[i];
        if (!p) continue;
        if (seat::PatternMark(*p)) {
            int& frame = m_patternFrame[i];
            const int interval = frame == 0 || frame == 6 ? 200 : frame == 5 ? 500 : 100;
            if (Since(now, m_patternStamp[i]) > interval) {
                m_patternStamp[i] = now;
                if (frame >= 7) {
                    frame = -1;
                    seat::PatternMark(*p) = 0;
                } else {
                    ++frame;
                }
                const int x = i == 0 ? (W0 - fw - 200) / 2 : i == 1 ? W0 - fw - 336 : 136;
                AddDirtyRect(x, i == 0 ? H0 - fh - 292 : (H0 - 96) / 2 - fh, fw, fh);
            }
        }
        if (seat::Bounce(*p) > 0 && Since(now, m_bounceStamp[i]) >= 180) {
            m_bounceStamp[i] = now;
            if (++seat::Bounce(*p) >= 11) {
                seat::Bounce(*p) = 0;
                InvalidateAll();
            } else {
                AddDirtyRect(40, H0 - GameImageH(353) - 116 - 5, GameImageW(353), GameImageH(353) + 10);
            }
        }
        if (i == 0) continue;
        if (seat::FewCards(*p)) {
            ++seat::FewCardsTicks(*p);
            const int half = GameImageW(329) / 2, top = H0 / 2 - GameImageH(304) - GameImageH(328) - 42;
            AddDirtyRect(i == 1 ? W0 - 291 - half : 91 - half / 2, top, half, GameImageH(329));
            if (seat::FewCardsTicks(*p) >= 200) seat::FewCards(*p) = 0, seat::FewCardsTicks(*p) = 0;
        }
        const int countdownX = i == 1 ? W0 - GameImageW(208) - 220 : 20, countdownY = H0 / 2 + GameImageH(349) + 48;
        if (seat::WaitStart(*p) != -1) {
            seat::WaitRemaining(*p) = m_game.WaitingMs() + seat::WaitStart(*p) - static_cast<int>(now);
            if (seat::WaitRemaining(*p) < 0) {
                seat::Waiting(*p) = 0;
                seat::WaitStart(*p) = -1;
                seat::WaitRemaining(*p) = -1;
                InvalidateAll();
            } else {
                AddDirtyRect(countdownX, countdownY, GameImageW(208) + 40, GameImageH(208));
            }
        }
        // The seat's turn time beside it; once run out it is cleared and its
        // last figure repainted away.
        if (p->clockStart != -1) {
            if (p->ClockLeft(static_cast<int>(now)) < 0) p->ClearClock();
            AddDirtyRect(countdownX, countdownY, GameImageW(208) + 40, GameImageH(208));
        }
    }
}

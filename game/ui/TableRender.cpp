// The render pass: the table drawn into the back buffer, then the dirty
// rectangles (or the whole client area) copied to the screen; the drawing
// primitives, the background, the dealing, the clock, the dim overlay and the
// effects.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include "game/core/GameClock.h"
#include "game/core/GameSession.h"
#include "game/ui/GameImages.h"
#include "game/ui/PavlenDlg.h"
#include "platform/TextFont.h"
#include "platform/vantor/RenderMgr.h"

namespace {

// The render pass's font, also the notice band's.
HFONT NoticeFont() { return AfxTextFont("宋体", 14, FW_NORMAL, FALSE, ANTIALIASED_QUALITY, DEFAULT_PITCH); }

}  // namespace

bool CPavlenDlg::IntersectsDirty(int x, int y, int width, int height) const {
    for (const DirtyRect& d : m_game.Dirty().Rects())
        if (x < d.right && d.left < x + width && y < d.bottom && d.top < y + height) return true;
    return false;
}

void CPavlenDlg::Render(CDC* target) {
    if (!target || !target->m_hDC || m_game.Dirty().Empty() || m_groupMovie || !m_backBuffer.m_hObject) return;
    CMemDC mem(*target, m_client, m_backBuffer);
    mem.SetBkMode(TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(mem, NoticeFont());
    mem.SetTextColor(RGB(255, 255, 0));
    // Only the dirty rectangles reach the screen: nothing is drawn elsewhere.
    CRgn dirty;
    if (!m_game.Dirty().Full()) {
        dirty.CreateRectRgn(0, 0, 0, 0);
        for (const DirtyRect& d : m_game.Dirty().Rects()) {
            CRgn part;
            part.CreateRectRgn(d.left, d.top, d.right, d.bottom);
            dirty.CombineRgn(dirty, part, RGN_OR);
        }
        mem.SelectClipRgn(&dirty);
    }

    DrawBackground(&mem);
    const CTableState& s = m_game.State();
    if (s.tableReady) {
        const int p = s.phase;
        CGameSession* session = GetGameSession();
        if ((p == 1 || p == 2) && (session->vipFlag || !session->autoPlacedFlag)) DrawReadyPrompts(&mem);
        if (p >= 4 && p <= 15) {
            if (p == 15)
                DrawResultHands(&mem);
            else
                DrawHands(&mem);
            if (p == 4) DrawDealing(&mem);
            if (p >= 5) DrawCardCounts(&mem);
            if (p >= 5 && p <= 7) DrawBids(&mem);
            if (p >= 10) DrawDoubles(&mem);
            if (p >= 8) DrawContest(&mem);
            if (p >= 12) DrawPlayed(&mem);
            DrawBottomCards(&mem);
        }
        DrawSeats(&mem);
        if (s.Own()) DrawInfoPanel(&mem);
        if (p == 16) DrawDim(&mem);
        if (p == 15) HandleResultDisplay(&mem);
        if (m_game.Clock().running) PaintClock(&mem);
        DrawEffects(&mem);
    }

    if (!m_game.Dirty().Full())
        for (const DirtyRect& d : m_game.Dirty().Rects()) mem.CopyBackOnly(CRect(d.left, d.top, d.right, d.bottom));
    mem.SelectClipRgn(nullptr);
    ::SelectObject(mem, oldFont);
}  // the picture, or its dirty rectangles, reaches the target

void CPavlenDlg::DrawEntry(CDC* dc, int entry, int x, int y, bool gate) {
    CGameImages* images = GetGameImages();
    CxImage* image = images ? images->Get(entry) : nullptr;
    if (!image || !image->IsValid()) return;
    if (gate && !IntersectsDirty(x, y, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight())))
        return;
    image->Draw(dc->m_hDC, x, y);
}

void CPavlenDlg::DrawSlice(CDC* dc, int entry, int slices, int index, int x, int y) {
    CGameImages* images = GetGameImages();
    CxImage* image = images ? images->Get(entry) : nullptr;
    if (!image || !image->IsValid() || slices < 1 || index < 0 || index >= slices) return;
    const int w = static_cast<int>(image->GetWidth()) / slices, h = static_cast<int>(image->GetHeight());
    if (w < 1 || !IntersectsDirty(x, y, w, h)) return;
    RECT clip = {x, y, x + w, y + h};
    image->Draw(dc->m_hDC, x - index * w, y, -1, -1, &clip);
}

void CPavlenDlg::DrawDigits(CDC* dc, int entry, int value, int rightX, int y) {
    const int g = GameImageW(entry) / 10;
    if (value < 0) value = 0;
    int x = rightX - g;
    do {
        DrawSlice(dc, entry, 10, value % 10, x, y);
        value /= 10;
        x -= g;
    } while (value > 0);
}

void CPavlenDlg::DrawCard(CDC* dc, int number, int suit, int x, int y, BOOL sideways, BOOL leftSet) {
    const int base = !sideways ? CGameImages::kFirstFace
                               : leftSet ? CGameImages::kLeftFaces : CGameImages::kRightFaces;
    int slot;
    if (number >= 3 && number <= 15 && suit >= 0 && suit <= 3)
        slot = base + (number - 3) * 4 + suit;
    else if (number == 16 || number == 17)
        slot = base + number + 36;
    else
        return;
    const int w = sideways ? 96 : 71, h = sideways ? 71 : 96;
    if (!IntersectsDirty(x, y, w, h)) return;
    DrawEntry(dc, slot, x, y, false);
}

void CPavlenDlg::DrawBackground(CDC* dc) {
    if (m_bg.IsValid()) {
        if (m_game.Dirty().Full()) {
            m_bg.Draw(dc->m_hDC, 0, 0);
        } else {
            for (const DirtyRect& d : m_game.Dirty().Rects()) {
                RECT clip = {d.left, d.top, d.right, d.bottom};
                m_bg.Draw(dc->m_hDC, 0, 0, -1, -1, &clip);
            }
        }
    } else {
        for (const DirtyRect& d : m_game.Dirty().Rects())
            dc->FillSolidRect(d.left, d.top, d.right - d.left, d.bottom - d.top, 0);
    }
    DrawNotice(dc);
}

void CPavlenDlg::DrawNotice(CDC* dc) {
    if (m_noticeText.empty()) return;
    const int left = (m_client.right - 449) / 2, top = 131;
    const int saved = dc->SaveDC();
    ::SelectObject(*dc, NoticeFont());
    RECT size = {0, 0, 0, 0};
    dc->DrawText(m_noticeText.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE);
    const int height = size.bottom - size.top;
    if (IntersectsDirty(left, top, 249, height)) {
        dc->IntersectClipRect(left, top, left + 249, top + height);
        dc->SetTextColor(RGB(189, 247, 255));
        dc->SetBkMode(TRANSPARENT);
        RECT at = {left + 249 - m_noticeOffset, top, left + 249 - m_noticeOffset + size.right, top + height};
        dc->DrawText(m_noticeText.c_str(), -1, &at, DT_SINGLELINE);
    }
    dc->RestoreDC(saved);
}

void CPavlenDlg::SetNotice(const std::string& text, int passes) {
    m_noticeText = text;
    m_noticeCount = passes;
    m_noticeOffset = 0;
}

void CPavlenDlg::ScrollNotice() {
    const DWORD now = GameClockNow();
    if (static_cast<int>(now - m_noticeStamp) < 90) return;
    m_noticeStamp = now;
    if (m_noticeCount <= 0 || m_noticeText.empty()) return;
    m_noticeOffset += 4;
    int width = 0;
    if (m_windowDC.m_hDC) {
        width = AfxTextExtent(m_windowDC.m_hDC, NoticeFont(), m_noticeText.c_str(),
                              static_cast<int>(m_noticeText.size()))
                    .cx;
    }
    if (m_noticeOffset > width + 269) {
        --m_noticeCount;
        m_noticeOffset = 0;
    }
    AddDirtyRect((m_client.right - 449) / 2, 131, 249, 20);
}

void CPavlenDlg::DrawDealing(CDC* dc) {
    if (m_game.Deal().step < 162) DrawEntry(dc, CGameImages::kFirstBack, (m_client.right - 271) / 2,
                                     (m_client.bottom - 96) / 2 - 48);
    for (int k = 0; k < 54; ++k) {
        int x, y;
        if (!DealCardPosition(k, &x, &y)) continue;
        const int shown = m_game.State().shownCard;
        if (k == m_game.State().shownCardPos && shown >= 0 && shown < 54) {
            const int number = shown < 52 ? shown / 4 + 3 : shown - 52 + 16, suit = shown < 52 ? shown % 4 : 0;
            DrawCard(dc, number, suit, x, y, FALSE, FALSE);
        } else {
            DrawEntry(dc, k >= 51 ? CGameImages::kFirstBack + 1 : CGameImages::kFirstBack, x, y);
        }
    }
}

void CPavlenDlg::PaintClock(CDC* dc) {
    const int x = m_clockAt.x, y = m_clockAt.y, r = m_game.Clock().remaining;
    if (r < 0) return;
    DrawSlice(dc, 311, 2, (r / 800) % 2, x, y);
    const int s = r / 1000, top = y + GameImageH(311) / 2, x0 = x + GameImageW(311) / 4 - 7;
    if (s < 10) {
        DrawSlice(dc, 312, 10, s, x0 + 5, top);
    } else {
        DrawSlice(dc, 312, 10, r / 10000, x0, top);
        DrawSlice(dc, 312, 10, s % 10, x0 + 11, top);
    }
}

void CPavlenDlg::DrawDim(CDC* dc) {
    const int W0 = m_client.right, H0 = m_client.bottom;
    CBitmap copy;
    copy.CreateCompatibleBitmap(dc, W0, H0);
    CDC copyDC;
    copyDC.CreateCompatibleDC(dc);
    CBitmap* old = copyDC.SelectObject(&copy);
    copyDC.BitBlt(0, 0, W0, H0, dc, 0, 0, SRCCOPY);
    copyDC.SelectObject(old);
    dc->FillSolidRect(0, 0, W0, H0, RGB(10, 10, 10));
    RenderMgr scope;
    RenderMgr::DrawAlphaCBitmapToDC(dc, &copy, 0, 0, W0, H0, 0, 0, 128);
}

void CPavlenDlg::HandleResultDisplay(CDC* dc) {
    if ((m_effectMovie && m_effectMovie->m_hWnd) || !m_game.Effects().Empty()) return;
    DrawDim(dc);
    CTableState& s = m_game.State();
    if (s.resultPending == 1) ShowResultDialog();
}

void CPavlenDlg::DrawEffects(CDC* dc) {
    const int W0 = m_client.right, H0 = m_client.bottom;
    const int bw = GameImageW(314), bh = GameImageH(314);
    for (int i = 0; i < m_game.State().bombs && bw > 0; ++i) DrawEntry(dc, 314, 20 + (i % 7) * bw, 20 + (i / 7) * bh);
    if (m_game.Effects().Empty()) return;
    const int code = m_game.Effects().Codes().front();
    int entry = -1, slices = 6;
    if (code >= 0 && code <= 3)
        entry = 316;
    else if (code == 100)
        entry = 317, slices = 7;
    else if (code == 101)
        entry = 318;
    if (entry > 0) {
        const int fw = GameImageW(entry) / slices;
        DrawSlice(dc, entry, slices, m_game.Effects().Frame(), (W0 - fw - 200) / 2, (H0 - GameImageH(entry)) / 2 - 80);
    } else if (code == 9 || code == 10) {
        DrawEntry(dc, 315, (W0 - GameImageW(315) - 200) / 2, m_game.Effects().planeY);
    }
}

void CPavlenDlg::QueueEffect(int code) {
    m_game.Effects().planeHeight = GameImageH(315);
    m_game.Effects().Queue(code, m_client.bottom);
}

// The own hand under the mouse: card rectangles and hit test, click and drag
// selection, double-click to clear, right click to play.
// winsock2.h must come before windows.h
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <algorithm>

#include "game/core/table/HandLayout.h"
#include "game/core/table/SeatFields.h"
#include "game/ui/PavlenDlg.h"

namespace {

CCard* CardAt(const CCardSet* hand, int index) {
    if (!hand || index < 0 || index >= hand->GetCardCount()) return nullptr;
    return *(hand->CardsBegin() + index);
}

}  // namespace

RECT CPavlenDlg::CardRect(int i, int n, bool selected, int width, int height) {
    const DirtyRect r = OwnCardRect(i, n, selected, width, height);
    return {r.left, r.top, r.right, r.bottom};
}

int CPavlenDlg::HitTest(POINT point) {
    m_cardRects.clear();
    const CCardSet* hand = m_game.State().ownHand;
    if (!hand) return -1;
    int w = 0, h = 0;
    ClientSize(&w, &h);
    const int n = hand->GetCardCount();
    for (int i = 0; i < n; ++i) m_cardRects.push_back(CardRect(i, n, CardAt(hand, i)->IsSelected() != 0, w, h));
    for (int i = n - 1; i >= 0; --i)
        if (::PtInRect(&m_cardRects[i], point)) return i;
    return -1;
}

// The card's place raised and lowered, before and after the toggle alike
// (rows H - 196 to H - 80).
void CPavlenDlg::AddCardDirtyRect(int index) {
    const CCardSet* hand = m_game.State().ownHand;
    if (!CardAt(hand, index)) return;
    int w = 0, h = 0;
    ClientSize(&w, &h);
    const int n = hand->GetCardCount();
    const DirtyRect up = OwnCardRect(index, n, true, w, h), down = OwnCardRect(index, n, false, w, h);
    AddDirtyRect(up.left, up.top, up.right - up.left, down.bottom - up.top);
}

void CPavlenDlg::ToggleCard(int index) {
    CCard* card = CardAt(m_game.State().ownHand, index);
    card->ToggleSelected();
    AddCardDirtyRect(index);
    card->SetTouched(1);
}

void CPavlenDlg::OnLButtonDown(UINT, CPoint point) {
    m_dragStart = point;
    CCardSet* hand = m_game.State().ownHand;
    const int k = hand && !hand->IsEmpty() ? HitTest(point) : -1;
    if (k < 0) {
        // A press on the free table drags the window.
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        return;
    }
    m_dragIndex = k;
    if (!CardAt(hand, k)->IsTouched()) {
        m_dragSelect = 1;
        ToggleCard(k);
        RepaintNow();
    }
    Default();
}

void CPavlenDlg::OnMouseMove(UINT, CPoint point) {
    CCardSet* hand = m_game.State().ownHand;
    if (m_dragSelect == 1 && hand && !hand->IsEmpty()) {
        const int k = HitTest(point);
        if (k != -1 && k != m_dragIndex) {
            for (int i = std::min(m_dragIndex, k); i <= std::max(m_dragIndex, k); ++i) {
                CCard* card = CardAt(hand, i);
                if (!card) {
                    OnLButtonUp(0, point);
                    return;
                }
                if (!card->IsTouched()) ToggleCard(i);
            }
            m_dragIndex = k;
            RepaintNow();
        }
    }
    m_lastMouse = point;
}

void CPavlenDlg::OnLButtonUp(UINT, CPoint) {
    m_dragStart = {-1, -1};
    if (CCardSet* hand = m_game.State().ownHand)
        for (auto it = hand->CardsBegin(); it != hand->CardsEnd(); ++it) (*it)->SetTouched(0);
    if (m_dragIndex != -1) {
        AddCardDirtyRect(m_dragIndex);
        RepaintNow();
        m_dragIndex = -1;
    }
    m_dragSelect = 0;
}

void CPavlenDlg::OnLButtonDblClk(UINT, CPoint) {
    if (m_game.State().ownHand) m_game.State().ownHand->UnselectAll();
    Invalidate();
}

void CPavlenDlg::OnRButtonDown(UINT, CPoint) {
    CPlayerInfo* own = m_game.State().Own();
    if (own && !seat::AutoPlay(*own)) m_game.OnPlay();
}

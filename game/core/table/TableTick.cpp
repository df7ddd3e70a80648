// The game's part of the 25 ms tick: the connection watch, keep-alive,
// reconnect, the two queues, dealing, the turn clock's time-outs and the
// effects.
#include <algorithm>
#include <memory>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableGame.h"
#include "game/core/table/TableTrace.h"

namespace {

int Since(DWORD now, DWORD then) { return static_cast<int>(now - then); }

bool FlashPhase(int phase) { return phase == 2 || phase == 5 || phase == 8 || phase == 10 || phase == 12; }

}  // namespace

typedef CTableView V;

bool CTableGame::Tick() {
    m_session.ShowNetworkErrorBox();
    CTableState& s = m_state;
    if (s.kicked) return false;
    CTableConnection* connection = m_session.Connection();
    const int alive = connection ? connection->IsAlive() : 1;
    if (alive != m_lastAlive) {
        m_lastAlive = alive;
        TableTrace("alive %d", alive);
    }
    const DWORD now = GameClockNow();
    int w = 0, h = 0;
    m_view.ClientSize(&w, &h);

    if (!s.online) {
        if (Since(now, m_reconnectStart) > 10000) Reconnect();
        const int elapsed = Since(GameClockNow(), m_reconnectStart);
        m_statusText.erase(std::remove(m_statusText.begin(), m_statusText.end(), '.'), m_statusText.end());
        m_statusText.append(static_cast<size_t>(std::max(elapsed, 0) / 1000), '.');
        if (++m_statusTicks % 18 == 0) {
            // From where the text starts to past its dots.
            AddDirtyRect((w - 200) / 2 - 80, h / 2, 500, 20);
            m_view.RenderNow();
            m_dirty.Clear();
        }
        PollReconnect();
        return false;
    }

    if (connection && connection->IsAlive() && m_session.firstReplyStamp != 0 &&
        Since(now, m_session.firstReplyStamp) > m_watch.time1) {
        m_session.firstReplyStamp = 0;
        m_view.BringToFront();
        if (m_view.Box("你网络速度过慢\n ,是否继续游戏！", "提示", 52, 30) == V::kNo) OnCancel();
    }
    if (connection && !connection->IsWaitingFirstText()) m_session.firstReplyStamp = 0;

    if (connection && !connection->IsAlive()) {
        EnterLostConnection();
        return false;
    }
    if (s.phase == 16 && Since(now, m_reconnectStart) > 10000) {
        s.online = 0;
        StopClock();
        HideAllActionButtons(1);
        Reconnect();
        m_view.InvalidateWindow();
        return false;
    }

    CPlayerInfo* own = s.Own();
    if (FlashPhase(s.phase) && !(own && seat::AutoPlay(*own))) m_view.CallAttention();
    if (m_continueStamp > 0 && Since(now, m_continueStamp) > 5000) OnContinue();
    m_dirty.Clear();

    if (CMessage* message = m_session.PopSecondaryMessage()) {
        TableTrace("second %d", message->typeId);
        HandleGameMessage(message);
    }
    if (m_watch.KeepAliveDue(now)) {
        m_session.SendMsg(m_ping.c_str(), static_cast<int>(m_ping.size()));
        m_watch.KeepAliveSent(now);
    }
    if (m_watch.WatchdogFires(now) && (connection = m_session.Connection())) connection->ClearAlive();

    if (!s.tableReady) return false;
    if (s.bottomTicks >= 0 && ++s.bottomTicks >= 400) {
        s.bottomTicks = -1;
        for (CCard*& card : s.bottom) card = nullptr;
        // Where the three lie: from (W - 449) / 2, 89 apart, at y = 25.
        AddDirtyRect((w - 449) / 2, 25, 89 * 2 + 71, 96);
    }
    if (s.phase == 4) {
        if (!m_deal.Done()) {
            TickDealing();
        } else {
            if (s.ownHand && s.ownHand->IsEmpty()) {
                s.ownHand->AddCards(s.dealt);
                SortAllHands();
                ResetHandPositions();
                InvalidateAll();
            }
            if (!s.holdMain) HandleMain();
        }
    } else if (s.phase == 2 && s.holdMain) {
        const int before = m_startPause++;
        if ((before + 1) * 25 >= 1500) {
            m_startPause = -1;
            s.holdMain = 0;
        }
    } else if (!s.holdMain) {
        HandleMain();
    }
    if (s.redrawPending) {
        InvalidateAll();
        s.redrawPending = 0;
    }
    TickCountdown();
    TickEffect();
    return true;
}

void CTableGame::HandleMain() {
    if (CMessage* message = m_session.PopMessage()) {
        TableTrace("main %d", message->typeId);
        HandleGameMessage(message);
    }
}

void CTableGame::HandleGameMessage(CMessage* message) {
    if (!message) return;
    std::unique_ptr<CMessage> owned(message);
    if (m_watch.OnMessage(message->receiveTime)) InvalidateAll();
    if (!HandleHandMessage(message)) HandleTableMessage(message);
}

void CTableGame::EnterLostConnection() {
    CTableState& s = m_state;
    if (s.phase == 15) OnContinue();
    s.phase = 16;
    TableTrace("phase 16");
    s.online = 0;
    StopClock();
    HideAllActionButtons(1);
    Reconnect();
    m_view.InvalidateWindow();
    if (!s.kicked) {
        m_view.BringToFront();
        m_view.Box("网络错误,\n正在为你重新连接\n    ,请稍候...", "网络重连", 48, 5);
    }
}

void CTableGame::Reconnect() {
    m_continueStamp = 0;
    StopClock();
    while (CMessage* message = m_session.PopMessage()) {
        if (message->typeId == CKickPlayerMsg::kType) {
            TableTrace("main %d", message->typeId);
            HandleGameMessage(message);
            return;
        }
        delete message;
    }
    m_session.ResetConnection();
    m_reconnectStart = GameClockNow();
    std::string host = m_session.serverHost;
    int port = m_session.serverPort;
    if (m_session.reconnectHost != "0" && m_session.reconnectPort != 0) {
        host = m_session.reconnectHost;
        port = m_session.reconnectPort;
    }
    TableTrace("reconnect %s:%d", host.c_str(), port);
    m_session.ConnectTo(host, port);
    m_session.firstReplyStamp = GameClockNow();
    std::string version;
    m_session.ReadClientVersion(version);
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildPlayerInfoValidate(m_session.playerId, m_session.validation, version, &n), n);
    m_statusText = "正在重新连接,请稍候";
}

void CTableGame::PollReconnect() {
    CTableConnection* connection = m_session.Connection();
    if (!connection || !connection->IsConnected() || m_state.phase != 16) return;
    m_state.ResetTable();
    m_watch.Restart();
    m_view.InvalidateWindow();
    m_view.DestroyResultDialog();
    m_view.ShowGroupMovie();
    m_state.phase = 0;
    TableTrace("phase 0");
    m_statusText.clear();
    m_state.online = 1;
    m_state.kicked = 0;
    m_lastAlive = -1;
    m_view.BringToFront();
    m_view.Box("重新连接服务器成功", nullptr, 48, 3);
}

void CTableGame::TickCountdown() {
    CTableState& s = m_state;
    const bool expired = m_clock.Advance(GameClockNow());
    if (expired) {
        StopClock();
        CPlayerInfo* own = s.Own();
        switch (s.phase) {
        case 5:
            SendBid(0);
            break;
        case 8:
            SendContest(0);
            break;
        case 10:
            SendDouble(1);
            break;
        case 12:
            ++s.ownTimeouts;
            if (own && seat::AutoPlay(*own)) break;
            if (s.ownTimeouts == 1) {
                if (s.GetLastPlay()) OnPass();
                if (s.ownHand && !s.ownHand->IsEmpty()) {
                    ChatLine(s.ownName, ":连续延时两次后将进入托管状态");
                    m_view.Box("连续延时两次后将\n进入托管状态", "提示", 0, 5);
                }
            } else if (s.ownTimeouts == 2) {
                OnAutoPlay();
            }
            break;
        default:
            break;
        }
    }
    const int change = m_clock.DisplayChange();
    if (change) m_view.DrawClock();
    if (change == 1 && (m_clock.running || expired) && s.IsOwn(m_clock.owner) && m_clock.Seconds() <= 5)
        Sound("fenlo\\sound\\clock.wav");
    if (expired && s.phase == 1 && s.seated == 3) {
        CPlayerInfo* own = s.Own();
        if (own && !own->ready) SendReady();
    }
}

bool CTableGame::DealCardPosition(int k, int* x, int* y) const {
    const int step = m_deal.step, first = 3 * k + 3;
    if (k < 0 || k > 53 || step < first || step >= first + 6) return false;
    const int W0 = m_width, H0 = m_height;
    const int startX = (W0 - 271) / 2, startY = (H0 - 96) / 2 - 48;
    int landX, landY;
    if (k >= 51) {
        landX = (W0 - 249) / 2 + 89 * (k - 51);
        landY = 18;
    } else {
        const int n = CDealClock::SeatCount(step);
        const CPlayerInfo* own = m_state.Own();
        const int ownSeat = own && own->seat >= 0 ? own->seat : 0;
        const int relative = (k % 3 - ownSeat + 3) % 3;  // 0 own, 1 next, 2 previous
        if (relative == 0) {
            landX = n * 18 + (W0 - n * 18 - 253) / 2;
            landY = H0 - 176;
        } else {
            landX = relative == 1 ? W0 - 291 : 20;
            landY = n * 6 + (H0 - n * 6 - 90) / 2;
        }
    }
    const int t = step - first;
    *x = startX + (landX - startX) * t / 6;
    *y = startY + (landY - startY) * t / 6;
    return true;
}

void CTableGame::TickDealing() {
    CTableState& s = m_state;
    // The cards in flight before the step, to repaint where they were.
    int was[54][2];
    bool flying[54];
    for (int k = 0; k < 54; ++k) flying[k] = DealCardPosition(k, &was[k][0], &was[k][1]);
    const int landedBefore = s.bottomLanded;
    // The first step of a deal repaints the whole table.
    if (m_deal.step < 0) InvalidateAll();
    const int step = m_deal.Advance(GameClockNow());
    const int count = CDealClock::SeatCount(step);
    for (CPlayerInfo* p : s.slots)
        if (p && p->cardCount < 17) p->cardCount = count;
    if (m_deal.TakeNewFlight()) Sound("fenlo\\sound\\send_card.wav");
    s.bottomLanded = std::max(0, std::min(3, (step > 6 ? (step - 6) / 3 : 0) - 51));
    int w = 0, h = 0;
    m_view.ClientSize(&w, &h);
    for (int k = 0; k < 54; ++k) {
        int x, y;
        if (flying[k]) AddDirtyRect(was[k][0], was[k][1], 71, 96);
        if (DealCardPosition(k, &x, &y)) AddDirtyRect(x, y, 71, 96);
    }
    AddDirtyRect((w - 271) / 2, (h - 96) / 2 - 48, 71, 96);                 // the deck
    AddDirtyRect((w - 20 * 18 - 253) / 2, h - 194, 20 * 18 + 71, 96 + 18);  // the own hand
    AddDirtyRect(w - 291, 0, 71, h);                                       // the side hands
    AddDirtyRect(20, 0, 71, h);
    if (s.bottomLanded != landedBefore) AddDirtyRect((w - 449) / 2, 18, 449, 96 + 7);
}

void CTableGame::TickEffect() {
    const int code = m_effects.Empty() ? -1 : m_effects.Codes().front();
    const int planeBefore = m_effects.planeY;
    const CSpriteEffects::Step step = m_effects.Tick(GameClockNow());
    if (!step.stepped) return;
    if (step.sound) Sound(step.sound);
    if (step.bombFinished && m_state.phase != 15 && m_state.bombs < CTableState::kMaxBombs) ++m_state.bombs;
    if (step.finished || code == 4) {
        InvalidateAll();
        return;
    }
    m_view.MarkEffect(code, planeBefore);
}

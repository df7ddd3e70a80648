// The messages that do not move a hand: validation, version and kick,
// auto-play, chat and notices, waiting, leave and sign-up answers, bets and
// money, VIP desks and the ranking.
#include <cstdio>
#include <cstdlib>

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"
#include "game/core/table/SeatFields.h"
#include "game/core/table/TableGame.h"
#include "game/core/table/WebAddress.h"

namespace {
// A longer wait from the wire is taken as this one (the milliseconds must fit an int).
const int kMaxWaitSeconds = 86400;
}  // namespace

typedef CTableView V;

void CTableGame::RequestDesk(const std::string& room) {
    unsigned int n = 0;
    SendRequest(GetMsgFactory()->BuildRequestDesk(room, &n), n);
}

bool CTableGame::HandleTableMessage(CMessage* message) {
    CTableState& s = m_state;
    CTableSession* session = &m_session;
    if (m_view.PanelMessage(*message)) return true;
    switch (message->typeId) {
    case CValidateFaileMsg::kType:
        m_view.BringToFront();
        m_view.Box(static_cast<CValidateFaileMsg*>(message)->reason.c_str(), "斗地主", 48, 0);
        return true;
    case CValidateSuccessMsg::kType: {
        m_validateText = static_cast<CValidateSuccessMsg*>(message)->gameType;
        session->SendMsg(m_ping.c_str(), static_cast<int>(m_ping.size()));
        m_watch.KeepAliveSent(GameClockNow());
        unsigned int n = 0;
        if (session->vipFlag && session->vipEnterFlag)
            SendRequest(GetMsgFactory()->BuildRequestEnterGame(session->vipGameId, session->roomId,
                                                               session->vipPassword, &n),
                        n);
        else if (session->vipFlag)
            SendRequest(GetMsgFactory()->BuildRequestCreateGame(session->playerId, session->roomId,
                                                                session->vipPassword, session->vipMinMoney,
                                                                session->vipStake, &n),
                        n);
        else
            RequestDesk("test");
        return true;
    }
    case CNotifyRequestDeskMsg::kType:
        RequestDesk(session->roomId);
        return true;
    case CVersionErroMsg::kType:
        m_view.BringToFront();
        if (m_view.Box("您目前的版本需要更新才能继续\n，现在下载更新吗？", "斗地主", 52, 0) == V::kYes)
            m_view.RunUpdater();
        m_view.QuitTable();
        return true;
    case CKickPlayerMsg::kType: {
        const CKickPlayerMsg& m = *static_cast<CKickPlayerMsg*>(message);
        s.kicked = m.closeClient;
        m_view.BringToFront();
        m_view.Box(m.reason.c_str(), "斗地主", 48, 0);
        CTableConnection* connection = session->Connection();
        if (!s.kicked && m.reconnect && connection)
            connection->ClearAlive();
        else
            m_view.QuitTable();
        return true;
    }
    case CAutoPlayMsg::kType:
    case CCancelAutoPlayMsg::kType: {
        const std::string& name = message->typeId == CAutoPlayMsg::kType
                                      ? static_cast<CAutoPlayMsg*>(message)->playerId
                                      : static_cast<CCancelAutoPlayMsg*>(message)->playerId;
        CPlayerInfo* p = s.FindPlayerByName(name);
        if (!p || m_view.GroupMovieShown()) return true;
        const bool on = message->typeId == CAutoPlayMsg::kType;
        seat::AutoPlay(*p) = on ? 1 : 0;
        ChatLine(name, on ? ":已经托管" : ":已取消托管");
        if (s.IsOwn(name)) {
            s.autoRequest = 0;
            if (!on) s.ownTimeouts = -1;
            if (s.phase != 15) {
                if (on) ShowTurnButtons(0);
                ShowAutoButtons(on ? 0 : 1);
            }
            if (!on && s.phase == 12) {
                m_view.BringToFront();
                m_view.Box("本轮仍旧托管中\n，至下轮才可出牌", "提示", 0, 5);
            }
        }
        s.redrawPending = 1;
        return true;
    }
    case CNotyfyWaitingPlayer::kType: {
        const CNotyfyWaitingPlayer& m = *static_cast<CNotyfyWaitingPlayer*>(message);
        if (m.time >= 1) m_waitingMs = (m.time < kMaxWaitSeconds ? m.time : kMaxWaitSeconds) * 1000;
        if (CPlayerInfo* p = s.FindPlayerByName(m.memberId)) {
            seat::Waiting(*p) = 1;
            seat::WaitStart(*p) = static_cast<int>(GameClockNow());
            seat::WaitRemaining(*p) = m_waitingMs - 1000;
        }
        ChatLine(m.memberId, ":用户掉线重连中...");
        StopClock();
        if (s.turnCounter == 0) s.turnCounter = -1;
        m_view.InvalidateWindow();
        return true;
    }
    case CNotyfyQuitMsg::kType:
        if (static_cast<CNotyfyQuitMsg*>(message)->allow) {
            m_view.QuitTable();
        } else {
            m_view.BringToFront();
            if (m_view.Box("已经开始分组是否继续游戏?", "提示", 52, 0) == V::kNo) m_view.QuitTable();
        }
        return true;
    case CAskPlayerSignUpMsg::kType:
        m_view.BringToFront();
        if (m_view.Box(static_cast<CAskPlayerSignUpMsg*>(message)->inform.c_str(), "提示", 4, 0) == V::kYes)
            RequestDesk(session->roomId);
        else
            m_view.QuitTable();
        return true;
    case CMoneyIsnotEnoughMsg::kType: {
        const CMoneyIsnotEnoughMsg& m = *static_cast<CMoneyIsnotEnoughMsg*>(message);
        m_view.BringToFront();
        if (m_view.Box(m.text.c_str(), "提示", 4, 0) == V::kYes && IsWebAddress(m.url)) m_view.OpenAddress(m.url);
        m_view.QuitTable();
        return true;
    }
    case CBeginBetMsg::kType:
        m_betText = static_cast<CBeginBetMsg*>(message)->money;
        return true;
    case CBetSuccessMsg::kType: {
        const int amount = static_cast<CBetSuccessMsg*>(message)->amount;
        char text[64];
        std::snprintf(text, sizeof text, "成功下注%d元", amount);
        if (CPlayerInfo* own = s.Own()) own->money -= amount;
        m_view.NotifyLobby();
        AddDirtyRect(944, 330, 96, 300);
        m_view.BringToFront();
        m_view.Box(text, "提示", 0, 5);
        return true;
    }
    case CBetResultMsg::kType:
        if (CPlayerInfo* own = s.Own()) own->money += static_cast<CBetResultMsg*>(message)->money;
        m_view.NotifyLobby();
        return true;
    case CPlayerMoneyNew::kType: {
        const double money = std::strtod(static_cast<CPlayerMoneyNew*>(message)->money.c_str(), nullptr);
        if (CPlayerInfo* own = s.Own()) {
            own->money = money;
            m_view.NotifyLobby();
        } else if (CPlayerInfo* temporary = s.AddPlayer(s.ownName)) {
            temporary->money = money;
            m_view.NotifyLobby();
            for (int i = 0; i < CTableState::kSeats; ++i)
                if (s.slots[i] == temporary) s.DeleteSlot(i);
        }
        return true;
    }
    case CVipCreateSuccessMsg::kType: {
        const std::string& desk = static_cast<CVipCreateSuccessMsg*>(message)->gameId;
        const std::string text = "您已经成功创建了VIP桌\n房号：" + desk + "\n密码：" + session->vipPassword +
                                 "\n要求帐户最低金额：" + session->vipMinMoney;
        m_view.BringToFront();
        m_view.Box(text.c_str(), "提示", 0, 0);
        session->vipGameId = desk;
        AddDirtyRect(10, 64, 120, 40);
        return true;
    }
    case CWaittingArrangeMsg::kType:
        m_view.ShowMovieCount(static_cast<CWaittingArrangeMsg*>(message)->playerCount);
        return true;
    // They reach the side panel, which the table does not have yet.
    case CChatMsg::kType:
    case CGameNotice::kType:
    case CRankTopNMsg::kType:
    case CPlayerRankMsg::kType:
    case CRemainTimeMsg::kType:
        return true;
    default:
        return false;
    }
}

// The main window's dispatch of one server message by its kind. The handler
// runs through GuardMessageHandler: an exception from it is traced ("handler
// of kind N failed") and goes no further, so the pump goes on with the next
// message; what the message still owns is freed by its holder as the stack
// unwinds. A template over the window, so that a test can stand in for it.
#pragma once

#include <memory>

#include "lobby/net/base/LobbyTrace.h"
#include "lobby/net/protocol/LobbyMessages.h"

template <class Handler>
void GuardMessageHandler(int kind, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        LobbyTrace("handler of kind %d failed", kind);
    }
}

// The kinds the window hands on (the room page, the right panel, the desk list)
// are taken from the message's holder; every other kind is freed here.
template <class Window>
void DispatchServerMessage(Window& w, std::unique_ptr<CMessage> message) {
    if (!message) return;
    GuardMessageHandler(message->kind, [&] {
        CMessage* m = message.get();
        switch (m->kind) {
        case kMsgLoginFailed: w.OnLoginRefused(); break;
        case kMsgStartGame: w.OnStartGame(static_cast<CStartGameMsg*>(m)); break;
        case kMsgRejectStartGame: w.OnRoomRefused(static_cast<CRejectStartGame*>(m)); break;
        case kMsgGameInfo: w.OnGameList(); break;
        case kMsgPlayerKick: w.OnKick(static_cast<CPlayerKickMsg*>(m)); break;
        case kMsgDeskInfo: w.OnDeskList(static_cast<CDeskInfoMsg*>(message.release())); break;
        case kMsgPlayerChange: w.PassToRoomPage(3, message.release()); break;
        case kMsgValidateFail: w.OnValidateFail(static_cast<CValidateFailMsg*>(m)); break;
        case kMsgNotice: w.OnNotice(static_cast<CNoticeMsg*>(m)); break;
        case kMsgEnterDeskAK: w.SetDeskGranted(static_cast<CEnterDeskAKMsg*>(m)->granted); break;
        case kMsgPlayerState: w.PassToRoomPage(4, message.release()); break;
        case kMsgGameStart: w.PassToRoomPage(1, message.release()); break;
        case kMsgGameOver: w.PassToRoomPage(2, message.release()); break;
        case kMsgLobbyChat: w.PassToRightPanel(0, message.release()); break;
        case kMsgRoomPlayerList: w.PassToRightPanel(2, message.release()); break;
        case kMsgRoomPlayerRef: w.PassToRightPanel(3, message.release()); break;
        case kMsgRoomPlayerLeave: w.PassToRightPanel(1, message.release()); break;
        case kMsgAddGameList:
            w.OnAddGames(static_cast<CAddGameList*>(m));
            w.RepaintTree();
            break;
        case kMsgRemoveGameList: w.OnRemoveGames(static_cast<CRemoveGameList*>(m)); break;
        case kMsgAddRoomList: w.OnAddRooms(static_cast<CAddRoomList*>(m)); break;
        case kMsgRemoveRoomList: w.OnRemoveRooms(static_cast<CRemoveRoomList*>(m)); break;
        case kMsgPlayerCountList:
            w.OnPlayerCounts(static_cast<CPlayerCountList*>(m));
            w.RepaintTree();
            break;
        case kMsgMoneyIsNotEnough: w.OnMoneyNotEnough(static_cast<CMoneyIsNotEnoughMsg*>(m)); break;
        default: break;
        }
    });
}

// The messages of the lobby server, one class per message, as the reply parser
// builds them. They are plain data: texts are the bytes as they arrived (GBK).
// A consumer tests kind, then treats the object as that class, and deletes it
// through CMessage.
#pragma once

#include <string>
#include <vector>

class CRoomDeskList;

enum LobbyMessageKind {
    kMsgLoginAck = 0,
    kMsgLoginSuccess = 1,
    kMsgLoginFailed = 2,
    kMsgNeedUpdate = 3,
    kMsgStartGame = 4,
    kMsgRejectStartGame = 5,
    kMsgGameInfo = 6,
    kMsgPlayerKick = 7,
    kMsgDeskInfo = 8,
    kMsgPlayerChange = 9,
    kMsgValidateFail = 10,
    kMsgNotice = 11,
    kMsgEnterDeskAK = 12,
    kMsgPlayerState = 13,
    kMsgGameStart = 14,
    kMsgGameOver = 15,
    kMsgLobbyChat = 16,
    kMsgRoomPlayerList = 17,
    kMsgRoomPlayerRef = 18,
    kMsgRoomPlayerLeave = 19,
    kMsgAddGameList = 20,
    kMsgRemoveGameList = 21,
    kMsgAddRoomList = 22,
    kMsgRemoveRoomList = 23,
    kMsgPlayerCountList = 24,
    kMsgMoneyIsNotEnough = 25,
};

class CMessage {
public:
    explicit CMessage(int kind_) : kind(kind_) {}
    virtual ~CMessage() {}
    int kind;

    CMessage(const CMessage&) = delete;
    CMessage& operator=(const CMessage&) = delete;
};

// ---- list entries -------------------------------------------------------------

struct RoomPlayerRecord {
    std::string playerId;
    std::string nickname;  // the room's player list finds the user's own row by it
    int number = 0;
    std::string more[7];  // a4 .. a10
};

struct AddGameRecord {  // the first four members of a LobbyGameRecord
    std::string id;
    std::string code;
    std::string name;
    std::string text4;
};

struct AddRoomRecord {  // the values of a LobbyRoomRecord, in another order
    std::string id;
    std::string name;
    std::string host;
    std::string host2;
    std::string port;
    std::string port2;
    bool flag = false;
    int playerCount = 0;
    int group = 0;
    std::string openFlag;
    std::string closedText;
    std::string gameId;
    std::string text7;
    std::string text12;
};

struct PlayerCountRecord {
    int roomId = 0;
    int count = 0;
};

// ---- messages -----------------------------------------------------------------

class CLoginAckMsg : public CMessage {  // LoginKey
public:
    CLoginAckMsg() : CMessage(kMsgLoginAck) {}
    std::string unused;
    std::string loginKey;
};

class CLoginSuccessMsg : public CMessage {
public:
    CLoginSuccessMsg() : CMessage(kMsgLoginSuccess) {}
    std::string text5;
    std::string money;
    std::string nickname;
    int loginNumber = 0;
    std::string text8;
    std::string text9;
    std::string secondAmount;  // only when the reply has a tenth attribute
    bool flag3 = false;        // a3 is "True"
    bool locked = false;       // a4 is "True"
};

class CLoginFailedMsg : public CMessage {
public:
    CLoginFailedMsg() : CMessage(kMsgLoginFailed) {}
    std::string reason;
};

class CNeedUpdateMsg : public CMessage {  // LowClientVersion
public:
    CNeedUpdateMsg() : CMessage(kMsgNeedUpdate) {}
};

class CStartGameMsg : public CMessage {  // ReadyToEnterRoom
public:
    CStartGameMsg() : CMessage(kMsgStartGame) {}
    std::string text1;
    std::string roomId;
    std::string token;  // validation token for the game server
};

class CRejectStartGame : public CMessage {  // EnterRoomFailed
public:
    CRejectStartGame() : CMessage(kMsgRejectStartGame) {}
    std::string reason;  // Base64-decoded
    std::string text1;
    std::string text2;
};

class CGameInfoMsg : public CMessage {  // GameList: the games went into the hub
public:
    CGameInfoMsg() : CMessage(kMsgGameInfo) {}
};

class CPlayerKickMsg : public CMessage {
public:
    CPlayerKickMsg() : CMessage(kMsgPlayerKick) {}
    std::string text;       // shown to the user
    std::string closeFlag;  // "True": the lobby closes
    std::string reconnect;  // "True": the lobby marks itself disconnected
};

// The message owns its desk list until the room view takes it (and sets the
// pointer to null); a message discarded before that deletes the list. Desk
// lists, and so this destructor, live in the Windows build (RoomDeskList.cpp).
class CDeskInfoMsg : public CMessage {
public:
    CDeskInfoMsg() : CMessage(kMsgDeskInfo) {}
    ~CDeskInfoMsg() override;
    bool roomFlag = true;
    CRoomDeskList* deskList = nullptr;
};

class CPlayerChangeMsg : public CMessage {  // PlayerChangeDesk
public:
    CPlayerChangeMsg() : CMessage(kMsgPlayerChange) {}
    std::string playerId;
    std::string roomId;
    std::string deskId;
    std::string nickname;
    std::string seat;
    int number = 0;
    bool sitsDown = false;  // false: the player at that seat leaves
};

class CValidateFailMsg : public CMessage {
public:
    CValidateFailMsg() : CMessage(kMsgValidateFail) {}
    std::string reason;
};

class CNoticeMsg : public CMessage {
public:
    CNoticeMsg() : CMessage(kMsgNotice) {}
    std::string text;  // Base64-decoded
    int type = 1;
    std::string roomSelector = "0";
};

class CEnterDeskAKMsg : public CMessage {
public:
    CEnterDeskAKMsg() : CMessage(kMsgEnterDeskAK) {}
    bool granted = true;
};

class CPlayerStateMsg : public CMessage {
public:
    CPlayerStateMsg() : CMessage(kMsgPlayerState) {}
    std::string playerId;
    std::string deskId;
    std::string text3;
    bool state = false;
};

class CGameStartMsg : public CMessage {
public:
    CGameStartMsg() : CMessage(kMsgGameStart) {}
    std::string text1;
    std::string deskId;
};

class CGameOverMsg : public CMessage {
public:
    CGameOverMsg() : CMessage(kMsgGameOver) {}
    std::string text1;
    std::string deskId;
};

class CLobbyChatMsg : public CMessage {
public:
    CLobbyChatMsg() : CMessage(kMsgLobbyChat) {}
    bool system = false;
    unsigned color = 0;  // 0x00BBGGRR
    std::string playerName;
    std::string place;
    std::string target;
    std::string content;
};

// A message that owns the entries of its list.
template <class Entry, int Kind>
class CListMessage : public CMessage {
public:
    CListMessage() : CMessage(Kind) {}
    ~CListMessage() override {
        for (Entry* e : entries) delete e;
    }
    std::vector<Entry*> entries;
};

class CRoomPlayerList : public CListMessage<RoomPlayerRecord, kMsgRoomPlayerList> {};
class CAddGameList : public CListMessage<AddGameRecord, kMsgAddGameList> {};
class CRemoveGameList : public CListMessage<std::string, kMsgRemoveGameList> {};  // game ids
class CAddRoomList : public CListMessage<AddRoomRecord, kMsgAddRoomList> {};
class CRemoveRoomList : public CListMessage<std::string, kMsgRemoveRoomList> {};  // room ids
class CPlayerCountList : public CListMessage<PlayerCountRecord, kMsgPlayerCountList> {};

class CRoomPlayerRef : public CMessage {  // RefreshPlayerInfo
public:
    CRoomPlayerRef() : CMessage(kMsgRoomPlayerRef) {}
    RoomPlayerRecord player;
};

class CRoomPlayerLeave : public CMessage {
public:
    CRoomPlayerLeave() : CMessage(kMsgRoomPlayerLeave) {}
    std::string player;
};

class CMoneyIsNotEnoughMsg : public CMessage {
public:
    CMoneyIsNotEnoughMsg() : CMessage(kMsgMoneyIsNotEnough) {}
    std::string text;
    std::string target;  // Base64-decoded; opened when the user confirms
};

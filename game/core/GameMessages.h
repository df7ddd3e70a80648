// The messages the card-game server sends, decoded. Each class carries its type
// id (kType) and its fields; the parser fills the fields directly and the table
// window reads them. A message owns only its texts and lists.
//
// Cards are two parallel sequences, numbers (3..17) and suits (0..3); element i
// of both is one card. Numbers that the parser leaves unset are 0.
#pragma once

#include <string>
#include <vector>

#include "game/core/WinTypes.h"

class CMessage {
public:
    virtual ~CMessage();
    CMessage(const CMessage&) = delete;
    CMessage& operator=(const CMessage&) = delete;

    const int typeId;
    DWORD receiveTime = 0;  // stamped by the session when it queues the message

protected:
    explicit CMessage(int type) : typeId(type) {}
};

typedef std::vector<int> IntList;
typedef std::vector<std::string> TextList;

// Messages without fields.
template <int Type>
class CEmptyMessage : public CMessage {
public:
    static constexpr int kType = Type;
    CEmptyMessage() : CMessage(kType) {}
};

// Messages that carry only the id of the player they concern.
template <int Type>
class CPlayerIdMessage : public CMessage {
public:
    static constexpr int kType = Type;
    CPlayerIdMessage() : CMessage(kType) {}
    std::string playerId;
};

// A player's turn: whose it is and the seconds left.
template <int Type>
class CTurnMessage : public CMessage {
public:
    static constexpr int kType = Type;
    CTurnMessage() : CMessage(kType) {}
    std::string playerId;
    int remainTime = 0;
};

// "ValidateFailed"
class CValidateFaileMsg : public CMessage {
public:
    static constexpr int kType = 0;
    CValidateFaileMsg() : CMessage(kType) {}
    std::string reason;
};

// "ValidateSuccess"
class CValidateSuccessMsg : public CMessage {
public:
    static constexpr int kType = 1;
    CValidateSuccessMsg() : CMessage(kType) {}
    std::string gameType;
};

// "KickPlayer"
class CKickPlayerMsg : public CMessage {
public:
    static constexpr int kType = 2;
    CKickPlayerMsg() : CMessage(kType) {}
    std::string reason;
    int closeClient = 0;
    int reconnect = 0;
};

// "DeskPlayerInfo": the players seated at the desk (at most 3).
class CDeskInfoMsg : public CMessage {
public:
    static constexpr int kType = 3;
    static constexpr int kMaxPlayers = 3;
    CDeskInfoMsg() : CMessage(kType) {}
    int playerCount = 0;
    std::string memberId;
    int seat[kMaxPlayers] = {};
    std::string playerId[kMaxPlayers];
    double money[kMaxPlayers] = {};
    int ready[kMaxPlayers] = {};
    long ip[kMaxPlayers] = {};
    std::string ipDetail[kMaxPlayers];
    std::string ipLocation[kMaxPlayers];
    int sex[kMaxPlayers] = {};
    std::string nickName[kMaxPlayers];
    std::string stake;
    int visible = -1;
    int showCard = -1;
};

class CStartGameMsg : public CEmptyMessage<4> {};      // "GameStart"
class CNotifySelCardMsg : public CEmptyMessage<5> {};  // "BeginChouPai"

// "ChouPai": the card a player drew.
class CSelCardResultMsg : public CMessage {
public:
    static constexpr int kType = 6;
    CSelCardResultMsg() : CMessage(kType) {}
    std::string playerId;
    int number = 0;
    int suit = 0;
};

class CNotifyCallScoreMsg : public CTurnMessage<7> {};  // "BeginJiaoFen"

// "JiaoFen": a bid made.
class CCallScoreResultMsg : public CMessage {
public:
    static constexpr int kType = 8;
    CCallScoreResultMsg() : CMessage(kType) {}
    std::string playerId;
    int score = 0;
};

// "SendCard": the own dealt hand, always 17 cards.
class CSendCardMsg : public CMessage {
public:
    static constexpr int kType = 9;
    static constexpr int kCards = 17;
    CSendCardMsg() : CMessage(kType) {}
    std::string playerId;
    int numbers[kCards] = {};
    int suits[kCards] = {};
};

// "SendRemainCard": the bottom cards for the landlord.
class CSendRemainCardMsg : public CMessage {
public:
    static constexpr int kType = 10;
    static constexpr int kMaxCards = 8;
    CSendRemainCardMsg() : CMessage(kType) {}
    int cardCount = 0;
    std::string playerId;
    int numbers[kMaxCards] = {};
    int suits[kMaxCards] = {};
};

class CNotifyCardOutMsg : public CTurnMessage<11> {};      // "BeginChuPai"
class CRejectCardOutMsg : public CPlayerIdMessage<12> {};  // "ChuPaiFailed"

// "ChuPai": a play; empty lists are a pass. The numbers are as sent: a desk
// that masks plays raises them by an amount of the player and the suit.
class CCardOutResultMsg : public CMessage {
public:
    static constexpr int kType = 13;
    CCardOutResultMsg() : CMessage(kType) {}
    std::string playerId;
    IntList numbers;
    IntList suits;
};

class CPlayerReadyMsg : public CPlayerIdMessage<14> {};  // "ReadyForPlaying"

// "GameResult": three entries by position; bomb count and spring state are the
// last player element's.
class CGameResultMsg : public CMessage {
public:
    static constexpr int kType = 15;
    static constexpr int kPlayers = 3;
    CGameResultMsg() : CMessage(kType) {}
    std::string playerId[kPlayers];
    double result[kPlayers] = {};
    IntList numbers[kPlayers];  // cards left in each hand
    IntList suits[kPlayers];
    int hasCards[kPlayers] = {};
    int bomb = -1;
    int springState = 0;  // 0 none, 1 "ChunTian", 2 "FanChun"
    double tax[kPlayers] = {};
    double score[kPlayers] = {};
};

class CAutoPlayMsg : public CPlayerIdMessage<16> {};        // "AutoPlay"
class CCancelAutoPlayMsg : public CPlayerIdMessage<17> {};  // "CancelAutoPlay"

// "RestorePlayer": the whole table state for a client that comes back.
class CReconnectMsg : public CMessage {
public:
    static constexpr int kType = 18;
    static constexpr int kPlayers = 3;
    CReconnectMsg() : CMessage(kType) {}
    std::string playerId[kPlayers];
    std::string memberId;
    std::string state;
    std::string nowPlayer;
    std::string stake;
    int vip = 0;
    std::string gameId;
    int visible = -1;
    int showCard = -1;
    int bomb = 0;
    int ready[kPlayers] = {1, 1, 1};
    int seat[kPlayers] = {};
    double money[kPlayers] = {};
    int cardNum[kPlayers] = {};
    int bid[kPlayers] = {-1, -1, -1};  // -1 when the server sent no bid
    long ip[kPlayers] = {};
    int autoPlay[kPlayers] = {1, 1, 1};
    std::string ipLocation[kPlayers];
    std::string ipDetail[kPlayers];
    int multiple[kPlayers] = {};
    IntList lastNumbers[kPlayers];
    IntList lastSuits[kPlayers];
    IntList handNumbers;
    IntList handSuits;
    IntList bottomNumbers;
    IntList bottomSuits;
    std::string banker;
    int askForLandLord[kPlayers] = {};
    int sex[kPlayers] = {};
    std::string nickName[kPlayers];
};

// "MingPai": a card shown face up during the deal.
class CShowCardMsg : public CMessage {
public:
    static constexpr int kType = 19;
    CShowCardMsg() : CMessage(kType) {}
    int number = 0;
    int suit = 0;
    int index = 0;
};

class CVersionErroMsg : public CEmptyMessage<20> {};  // "InvalidClientVersion"

// "BeginBet"
class CBeginBetMsg : public CMessage {
public:
    static constexpr int kType = 21;
    CBeginBetMsg() : CMessage(kType) {}
    std::string money;
};

class CEndBetMsg : public CEmptyMessage<22> {};  // "EndBet"

// "PlayerGoal"
class CBetResultMsg : public CMessage {
public:
    static constexpr int kType = 23;
    CBetResultMsg() : CMessage(kType) {}
    std::string playerId;
    int rank = 0;
    std::string name;
    double ratio = 0.0;
    int money = 0;
};

// "BetSuccess"
class CBetSuccessMsg : public CMessage {
public:
    static constexpr int kType = 24;
    CBetSuccessMsg() : CMessage(kType) {}
    std::string first;
    int amount = 0;
};

// "CreateGameSuccess"
class CVipCreateSuccessMsg : public CMessage {
public:
    static constexpr int kType = 25;
    CVipCreateSuccessMsg() : CMessage(kType) {}
    std::string gameId;
};

class CNotifyRequestDeskMsg : public CEmptyMessage<26> {};  // "ReRequestDesk"

// "PingData": carries the time it was parsed.
class CPingDataMsg : public CMessage {
public:
    static constexpr int kType = 28;
    CPingDataMsg() : CMessage(kType) {}
    DWORD time = 0;
};

class CNotifyCallDoubleMsg : public CTurnMessage<29> {};  // "BeginDouble"

// "Double": the answer as received ("True" or "False").
class CCallDoubleResultMsg : public CMessage {
public:
    static constexpr int kType = 30;
    CCallDoubleResultMsg() : CMessage(kType) {}
    std::string playerId;
    std::string answer;
};

// "AnswerLeave"
class CNotyfyQuitMsg : public CMessage {
public:
    static constexpr int kType = 31;
    CNotyfyQuitMsg() : CMessage(kType) {}
    int allow = 1;
};

// "WaittingPlayer"
class CNotyfyWaitingPlayer : public CMessage {
public:
    static constexpr int kType = 32;
    CNotyfyWaitingPlayer() : CMessage(kType) {}
    std::string memberId;
    int time = 0;
};

// "GameNotice"
class CGameNotice : public CMessage {
public:
    static constexpr int kType = 33;
    CGameNotice() : CMessage(kType) {}
    std::string body;
};

class CBankerContestNoticeMsg : public CTurnMessage<34> {};  // "BeginAskForLandLord"

// "AskForLandLord"
class CBankerContestResultMsg : public CMessage {
public:
    static constexpr int kType = 35;
    CBankerContestResultMsg() : CMessage(kType) {}
    std::string playerId;
    int askForLandLord = 0;
};

// "Chat"
class CChatMsg : public CMessage {
public:
    static constexpr int kType = 36;
    CChatMsg() : CMessage(kType) {}
    int sysMsg = 0;
    COLORREF color = 0;
    std::string playerName;
    std::string sendTo;
    std::string content;
};

// "waittingArrange"
class CWaittingArrangeMsg : public CMessage {
public:
    static constexpr int kType = 37;
    CWaittingArrangeMsg() : CMessage(kType) {}
    int playerCount = 0;
};

// "AskPlayerSignUp"
class CAskPlayerSignUpMsg : public CMessage {
public:
    static constexpr int kType = 38;
    CAskPlayerSignUpMsg() : CMessage(kType) {}
    std::string inform;
};

// "MoneyIsNotEnough"
class CMoneyIsnotEnoughMsg : public CMessage {
public:
    static constexpr int kType = 39;
    CMoneyIsnotEnoughMsg() : CMessage(kType) {}
    std::string text;
    std::string url;  // decoded from Base64
};

// "RankTopN": one entry of each list per ranked player; rounds may be shorter.
class CRankTopNMsg : public CMessage {
public:
    static constexpr int kType = 40;
    // Rows beyond these are dropped: the side panel's list fills slowly.
    static constexpr int kMaxRows = 100;
    CRankTopNMsg() : CMessage(kType) {}
    IntList rank;
    TextList nickName;
    TextList winLoss;
    TextList rounds;
};

// "PlayerRank"
class CPlayerRankMsg : public CMessage {
public:
    static constexpr int kType = 41;
    CPlayerRankMsg() : CMessage(kType) {}
    int rank = 0;
    int total = 0;
    std::string winLoss = "0";
    int rounds = 0;
};

// "DeakRank": the three values of each player element.
class CDeakRankMsg : public CMessage {
public:
    static constexpr int kType = 42;
    CDeakRankMsg() : CMessage(kType) {}
    TextList values[3];
};

// "RemainTime"
class CRemainTimeMsg : public CMessage {
public:
    static constexpr int kType = 43;
    CRemainTimeMsg() : CMessage(kType) {}
    int remainTime = 0;
    int stageId = 0;
    int contestType = 0;
};

// "PlayerMoneyNew"
class CPlayerMoneyNew : public CMessage {
public:
    static constexpr int kType = 44;
    CPlayerMoneyNew() : CMessage(kType) {}
    std::string money;
};

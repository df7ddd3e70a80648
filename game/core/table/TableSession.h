// CTableSession: what the table game needs of the client's session, which
// the session (CGameSession) implements: the facts of the command line it
// reads and the names it keeps, the two queues, the requests, the connection
// and its rebuilding. Tests give the game a recording one.
#pragma once

#include <atomic>
#include <string>

#include "game/core/WinTypes.h"

class CMessage;

// The connection as the table watches it.
class CTableConnection {
public:
    virtual ~CTableConnection() {}
    // 1 until a socket error, a close by the server or ClearAlive.
    virtual int IsAlive() const = 0;
    virtual void ClearAlive() = 0;
    // 1 until the first text has arrived.
    virtual int IsWaitingFirstText() const = 0;
    // True once the connection is up.
    virtual bool IsConnected() = 0;
};

class CTableSession {
public:
    virtual ~CTableSession() {}

    // ---- from the command line
    std::string roomId;
    std::string validation;  // sent in PlayerInfoValidate
    std::string serverHost;
    int serverPort = 0;
    std::string reconnectHost = "0";  // "0": none
    int reconnectPort = 0;            // 0: none
    std::string playerId;
    std::string displayName;
    int vipFlag = 0;
    int autoPlacedFlag = 1;
    std::string field9Text, field10Text;
    int vipEnterFlag = 0;  // 1: enter an existing VIP game, 0: create one
    std::string vipPassword;
    std::string vipMinMoney;
    std::string vipStake;
    std::string vipGameId;

    // ---- kept for the table
    std::string noticeText;
    std::string chatName = " ";  // no chat lines are sent while it is the single blank
    // Time of the validation request, stamped again by the first text
    // received; 0 when not waiting. The table reads and clears it.
    std::atomic<DWORD> firstReplyStamp{0};

    // Sends one request document; the caller keeps the text.
    virtual void SendMsg(const char* xml, int length) = 0;
    // The oldest message of each queue, which the caller then owns; null when
    // there is none.
    virtual CMessage* PopMessage() = 0;
    virtual CMessage* PopSecondaryMessage() = 0;
    // Shows the network-error box when the session's network-error flag was
    // set since the last call; true when it was shown.
    virtual bool ShowNetworkErrorBox() = 0;
    // The client version the validation request carries; false when unknown.
    virtual bool ReadClientVersion(std::string& version) const = 0;
    // The connection; null when there is none.
    virtual CTableConnection* Connection() const = 0;
    // Puts a fresh unconnected connection in place of the old one and
    // discards the main queue.
    virtual void ResetConnection() = 0;
    // Starts connecting the connection to host and port.
    virtual void ConnectTo(const std::string& host, int port) = 0;
};

// CGameSession: the card-game client's one session. It keeps what the command
// line brought and the client's settings, owns the connection to the game
// server, the message code table of the binary form and the table pictures,
// and queues the messages received for the table in two queues.
//
// Threads: the connection's socket thread parses every received text under
// the session lock and queues it; the user-interface thread pops, sends and
// resets the connection. A receive callback waits for the session lock while
// it holds the connection's callback lock, so the session never closes or
// deletes a connection while it holds its own lock.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <utility>
#include <string>

#include "game/core/WinTypes.h"
#include "game/core/table/TableSession.h"
#include "lobby/net/base/Locks.h"
#include "lobby/net/binary/MsgCodeEntry.h"
#include "platform/CString.h"

class CTablePictures;
class CMessage;
class CNetEngineEx;

class CGameSession : public CTableSession {
public:
    // The base folder is the current directory.
    CGameSession();
    explicit CGameSession(const CString& baseFolder);
    ~CGameSession() override;

    CGameSession(const CGameSession&) = delete;
    CGameSession& operator=(const CGameSession&) = delete;

    // The facts of the command line and what is kept for the table are the
    // fields of CTableSession.

    // ---- settings: fenlo\config.ini [SYSTEM]
    // 0: requests go as XML text, 1: in the binary form, else not at all.
    const int sendType;
    const CString baseFolder;  // the game's files lie in its subfolder fenlo
    CString ConfigPath() const;
    // The client version: the second attribute's value of the element in
    // [SYSTEM] version. False, and nothing set, when the setting is missing or
    // is not an element with at least two attributes.
    bool ReadClientVersion(std::string& version) const override;

    // Reads the version, creates the connection, connects to the server host
    // and port and sends the validation request; 1. Without a usable version
    // nothing is created or sent and the result is 0.
    int ConnectAndValidate();
    // Sends one request document as the send type says; the caller keeps the
    // text. A request the binary form cannot carry is not sent (and logged).
    void SendMsg(const char* xml, int length) override;
    // When set, every request goes to the sink instead of the connection (a
    // seam for tests); an empty function restores sending.
    typedef std::function<void(const char* xml, int length)> RequestSink;
    void SetRequestSink(RequestSink sink) { requestSink_ = std::move(sink); }

    // Socket thread: parses one received text into a queue. The caller keeps
    // the text. A text that makes the parse throw sets the network-error flag;
    // from then on every text is dropped and both pops give null.
    void OnReceive(const char* text, int length);
    // The oldest message of each queue, which the caller then owns; null when
    // the queue is empty or the network-error flag is set.
    CMessage* PopMessage() override;
    CMessage* PopSecondaryMessage() override;
    int HasNetworkError();
    // User-interface thread: when the network-error flag was set since the
    // last call, shows the network-error box (10-second count-down, through
    // the table side) and, when it answers OK, posts the quit message that
    // ends the program. True when the box was shown.
    bool ShowNetworkErrorBox() override;

    // Closes and deletes the connection, puts a fresh unconnected one in its
    // place and discards the main queue; the second queue and the error flag
    // stay. User-interface thread only.
    void ResetConnection() override;
    CNetEngineEx* GetConnection() const { return connection_; }
    CTableConnection* Connection() const override;
    void ConnectTo(const std::string& host, int port) override;

    // Loader thread: builds the table pictures through the table side; 1, or
    // 0 when the table could not be allocated or no table side is installed.
    // Exceptions of the pictures' construction pass on.
    int CreateImages();
    CTablePictures* GetImages() const { return images_; }

    // Appends the rows of fenlo\FENLOMsg.ini to the message code table; 1.
    int LoadMessageTable();
    // A copy of the code table for one translation, loaded first while empty.
    MsgCodeTable CodeTable();

    // True for the message types that go to the second queue.
    static bool IsSecondaryType(int typeId);

private:
    CMessage* Pop(std::deque<CMessage*>& queue);
    void DeleteQueue(std::deque<CMessage*>& queue);

    CriticalSection lock_;  // the queues, the error flags, the connection exchange
    std::deque<CMessage*> mainQueue_;
    std::deque<CMessage*> secondQueue_;
    int networkError_ = 0;
    int errorBoxPending_ = 0;
    CNetEngineEx* connection_ = nullptr;
    std::atomic<CTablePictures*> images_{nullptr};
    CriticalSection tableLock_;
    MsgCodeTable msgTable_;
    RequestSink requestSink_;
};

// The client's one session, created on the first call (on the user-interface
// thread, before any other thread runs).
CGameSession* GetGameSession();
// Destroys the session (program end).
void DestroyGameSession();
// The session's connection. (The table's pictures: GetGameImages in
// game/ui/GameImages.h.)
CNetEngineEx* GetNetEngine();

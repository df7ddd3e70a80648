// The table game without a window: a recording view and a recording session
// around it, its time on a test clock and its ticks driven by the test.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "game/core/table/TableGame.h"
#include "tests/game_table/TableDocs.h"

namespace table_test {

typedef CTableView V;

const char kPing[] = "<GameMessage game=\"FENLO\"><Message name=\"PingData\"/></GameMessage>";

class RecordingConnection : public CTableConnection {
public:
    int IsAlive() const override { return alive; }
    void ClearAlive() override { alive = 0; }
    int IsWaitingFirstText() const override { return waitingFirstText; }
    bool IsConnected() override { return connected; }

    int alive = 1;
    int waitingFirstText = 1;
    bool connected = false;
};

class RecordingSession : public CTableSession {
public:
    RecordingSession();
    ~RecordingSession() override;

    void SendMsg(const char* xml, int length) override { requests.emplace_back(xml, length); }
    CMessage* PopMessage() override { return Pop(mainQueue); }
    CMessage* PopSecondaryMessage() override { return Pop(secondQueue); }
    bool ShowNetworkErrorBox() override { return false; }
    bool ReadClientVersion(std::string& v) const override { return v = version, true; }
    CTableConnection* Connection() const override { return connection.get(); }
    // A fresh connection, alive and waiting for its first text.
    void ResetConnection() override;
    void ConnectTo(const std::string& host, int port) override {
        connects.push_back(host + ":" + std::to_string(port));
    }

    std::vector<std::string> requests;  // as sent
    std::vector<std::string> connects;  // "host:port"
    std::deque<CMessage*> mainQueue, secondQueue;
    std::unique_ptr<RecordingConnection> connection;
    std::string version = "2.3.4.5";

private:
    static CMessage* Pop(std::deque<CMessage*>& queue);
};

class RecordingView : public CTableView {
public:
    struct Face {
        bool shown = false, enabled = false;
    };

    void ShowButton(Button b, bool enabled) override { faces[b] = {true, enabled}; }
    void HideButton(Button b) override { faces[b] = {false, false}; }
    void EnableButton(Button b, bool enabled) override { faces[b].enabled = enabled; }
    bool ButtonEnabled(Button b) const override { return faces[b].enabled; }
    // "text|caption|type|seconds" and its owner; answered from answers, else OK.
    int Box(const char* text, const char* caption, unsigned type, int seconds, BoxOwner owner) override;
    void BringToFront() override {}
    void CallAttention() override { ++attention; }
    void Sound(const char* path) override { sounds.push_back(path); }
    void ChatLine(const std::string& line) override { chat.push_back(line); }
    // The side panel's messages are taken (and dropped) as the window takes them.
    bool PanelMessage(const CMessage& message) override;
    void ClientSize(int* w, int* h) const override { *w = width, *h = height; }
    void PlacePrompt(const std::string& name) override { prompt = name; }
    void DrawClock() override {}
    void MarkEffect(int code, int) override { marks.push_back(code); }
    void InvalidateWindow() override {}
    void RenderNow() override {}
    void RepaintNow() override {}
    bool GroupMovieShown() const override { return movie; }
    void ShowGroupMovie() override { ++movieShows; }
    void CloseGroupMovie() override { movie = false; }
    void ShowMovieCount(int players) override { movieCount = players; }
    void DestroyResultDialog() override { ++resultsClosed; }
    // The own money the lobby is told, -1 without an own record.
    void NotifyLobby() override;
    void QuitTable() override { ++quits; }
    void RunUpdater() override { ++updaters; }
    void OpenAddress(const std::string& address) override { opened.push_back(address); }

    bool Shown(Button b) const { return faces[b].shown; }
    bool Enabled(Button b) const { return faces[b].shown && faces[b].enabled; }

    const CTableGame* game = nullptr;
    Face faces[kButtons];
    std::vector<std::string> boxes, sounds, chat, opened;
    std::vector<BoxOwner> owners;  // of each box
    std::vector<double> lobby;
    std::vector<int> marks;
    std::deque<int> answers;
    std::string prompt;
    int width = 1040, height = 720;
    bool movie = false;
    int movieShows = 0, movieCount = -1, resultsClosed = 0, quits = 0, updaters = 0, attention = 0;
};

// The game as the window sets it up (soundon, time1 = 8000, time2 = 20000,
// the keep-alive text), seated at nothing yet; the player is alice in room 31.
class TableRig {
public:
    static DWORD now;

    explicit TableRig(bool autoGroup = false, int soundOn = 1);
    ~TableRig();

    CTableState& State() { return game.State(); }
    // One tick of 25 ms, or as many ticks as fit in ms.
    void Tick();
    void Run(int ms);
    // A server text parsed and handed to the game, received now.
    void Feed(const std::string& document);
    void Hand(CMessage* message) { game.HandleGameMessage(message); }
    // Requests whose text contains the message name.
    int Sent(const std::string& name) const;
    bool Boxed(const std::string& text) const;
    int Played(const std::string& sound) const;
    bool Ended() const { return view.quits > 0; }

    // A seated desk of alice (seat 0), bob (1) and carol (2).
    void SeatThree();
    // SeatThree, start, deal (17 cards 3..6 of each suit and an 8) and the
    // 4200 ms animation.
    void Deal();

    RecordingView view;
    RecordingSession session;
    CTableGame game;
};

}  // namespace table_test

#include "tests/game_table/TableRig.h"

#include "game/core/GameClock.h"
#include "game/core/GameMessages.h"
#include "game/core/MsgFactory.h"

namespace table_test {

RecordingSession::RecordingSession() : connection(new RecordingConnection) {}

RecordingSession::~RecordingSession() {
    for (auto* queue : {&mainQueue, &secondQueue})
        while (CMessage* m = Pop(*queue)) delete m;
}

void RecordingSession::ResetConnection() {
    connection.reset(new RecordingConnection);
    while (CMessage* m = Pop(mainQueue)) delete m;
}

CMessage* RecordingSession::Pop(std::deque<CMessage*>& queue) {
    if (queue.empty()) return nullptr;
    CMessage* m = queue.front();
    queue.pop_front();
    return m;
}

int RecordingView::Box(const char* text, const char* caption, unsigned type, int seconds, BoxOwner owner) {
    owners.push_back(owner);
    boxes.push_back(std::string(text ? text : "") + "|" + (caption ? caption : "") + "|" + std::to_string(type) + "|" +
                    std::to_string(seconds));
    if (answers.empty()) return kOk;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

bool RecordingView::PanelMessage(const CMessage& message) {
    for (int type :
         {CChatMsg::kType, CGameNotice::kType, CRankTopNMsg::kType, CPlayerRankMsg::kType, CRemainTimeMsg::kType})
        if (message.typeId == type) return true;
    return false;
}

void RecordingView::NotifyLobby() {
    const CPlayerInfo* own = game ? game->State().Own() : nullptr;
    lobby.push_back(own ? own->money : -1.0);
}

DWORD TableRig::now = 100000;

namespace {

RecordingSession& Seated(RecordingSession& s, bool autoGroup) {
    s.playerId = "alice";
    s.roomId = "31";
    s.autoPlacedFlag = autoGroup ? 1 : 0;
    s.serverHost = "127.0.0.1";
    s.serverPort = 1;
    return s;
}

}  // namespace

TableRig::TableRig(bool autoGroup, int soundOn) : game(view, Seated(session, autoGroup)) {
    SetGameClockSource([] { return now; });
    view.game = &game;
    game.SetKeepAlive(kPing);
    game.Watch().time1 = 8000;
    game.Watch().time2 = 20000;
    game.SetTableSize(view.width, view.height);
    game.Effects().planeHeight = 100;
    State().soundOn = soundOn;
    // Set up: every game button hidden, the auto-play one enabled.
    view.faces[V::kAutoPlay].enabled = true;
    if (!autoGroup) view.ShowButton(V::kSoundOn, true);
    State().tableReady = 1;
}

TableRig::~TableRig() { SetGameClockSource(nullptr); }

void TableRig::Tick() {
    now += 25;
    game.Tick();
}

void TableRig::Run(int ms) {
    for (int t = 0; t < ms; t += 25) Tick();
}

void TableRig::Feed(const std::string& document) {
    CMessage* m = GetMsgFactory()->ParseMessage(document.c_str(), static_cast<int>(document.size()));
    if (m) m->receiveTime = now;
    Hand(m);
}

int TableRig::Sent(const std::string& name) const { return CountSent(session.requests, name); }

bool TableRig::Boxed(const std::string& text) const { return AnyStartsWith(view.boxes, text); }

int TableRig::Played(const std::string& sound) const { return CountPlayed(view.sounds, sound); }

void TableRig::SeatThree() { Feed(ThreeSeated()); }

void TableRig::Deal() {
    SeatThree();
    Feed(Doc("GameStart"));
    Run(1500);
    Feed(DealtToAlice());
    Run(4300);
}

}  // namespace table_test

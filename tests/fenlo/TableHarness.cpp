#include "tests/fenlo/TableHarness.h"

#include <cstring>

#include "game/core/MsgFactory.h"
#include "game/core/NetEngineEx.h"
#include "game/ui/GameTableSide.h"

namespace fenlo_test {

DWORD TableHarness::now = 100000;

const std::string& TableHarness::PictureFolder() {
    static const std::string start = [] {
        char path[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, path);
        return std::string(path);
    }();
    return start;
}

ScratchFolder& TableHarness::Folder() {
    PictureFolder();
    static ScratchFolder folder("table");
    static bool entered = (SetCurrentDirectoryA(folder.Path().c_str()), true);
    (void)entered;
    return folder;
}

void TableHarness::WriteSettings(const std::string& table) { Folder().WriteConfig(0, kVersionSetting, table); }

TableHarness::TableHarness(bool autoGroup, int soundOn) {
    std::string settings = kTableSettings;
    if (!soundOn) settings.replace(settings.find("soundon=1"), 9, "soundon=0");
    WriteSettings(settings);
    SetGameClockSource(&TableHarness::Now);
    InstallGameTableSide();
    CGameSession* s = Session();
    s->SetRequestSink([this](const char* text, int n) { requests.emplace_back(text, n); });
    s->playerId = "alice";
    s->roomId = "31";
    s->autoPlacedFlag = autoGroup ? 1 : 0;
    s->vipFlag = 0;
    s->serverHost = "127.0.0.1";
    s->serverPort = 1;
    s->reconnectHost = "0";
    s->reconnectPort = 0;
    s->firstReplyStamp = 0;
    s->ResetConnection();  // an unconnected one: alive, waiting for its first text
    while (CMessage* m = s->PopMessage()) delete m;
    while (CMessage* m = s->PopSecondaryMessage()) delete m;
    SetTableBoxHook([this](const char* text, const char* caption, UINT type, int seconds, HWND owner) {
        boxOwners.push_back(owner);
        boxes.push_back(std::string(text ? text : "") + "|" + (caption ? caption : "") + "|" + std::to_string(type) +
                        "|" + std::to_string(seconds));
        if (answers.empty()) return IDOK;
        const int a = answers.front();
        answers.pop_front();
        return a;
    });
    SetTableSoundSink([this](const std::string& path) { sounds.push_back(path); });
    SetTableShellSink([this](const std::string& address) { opened.push_back(address); });
    SetTableFlashSink([this](HWND window) { flashed.push_back(window); });
    table = new TestTable;
    // The table's pictures come from the program's folder (the stand-in art).
    SetCurrentDirectoryA(PictureFolder().c_str());
    table->Create(IDD_FENLO_DIALOG);
    testsupport::WaitFor(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            return table->SetupComplete() != 0 || !table->m_hWnd || table->Ended();
        },
        10000);
    SetCurrentDirectoryA(Folder().Path().c_str());
    table->KillTimer(CPavlenDlg::kTimerId);
}

TableHarness::~TableHarness() {
    table->DestroyWindow();
    delete table;
    SetTableBoxHook(nullptr);
    SetTableSoundSink(nullptr);
    SetTableShellSink(nullptr);
    SetTableFlashSink(nullptr);
    Session()->SetRequestSink(nullptr);
    Session()->ResetConnection();
    SetGameClockSource(nullptr);
}

void TableHarness::Tick() {
    now += 25;
    // The timer's own path: the table's work, then the render pass.
    table->SendMessageA(WM_TIMER, CPavlenDlg::kTimerId, 0);
}

void TableHarness::Run(int ms) {
    for (int t = 0; t < ms; t += 25) Tick();
}

void TableHarness::Feed(const std::string& document) {
    CMessage* m = GetMsgFactory()->ParseMessage(document.c_str(), static_cast<int>(document.size()));
    if (m) m->receiveTime = now;
    Hand(m);
}

int TableHarness::Sent(const std::string& name) const { return table_test::CountSent(requests, name); }

bool TableHarness::Boxed(const std::string& text) const { return table_test::AnyStartsWith(boxes, text); }

int TableHarness::Played(const std::string& sound) const { return table_test::CountPlayed(sounds, sound); }

void TableHarness::SeatThree() { Feed(table_test::ThreeSeated()); }

void TableHarness::Deal() {
    SeatThree();
    Feed(Doc("GameStart"));
    Run(1500);
    Feed(table_test::DealtToAlice());
    Run(4300);
}

}  // namespace fenlo_test

namespace fenlo_test {

void TableHarness::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TableHarness::Mouse(UINT message, int x, int y) {
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_MOUSEMOVE || message == WM_LBUTTONDBLCLK ? MK_LBUTTON
                        : message == WM_RBUTTONDOWN                                                        ? MK_RBUTTON
                                                                                                           : 0;
    table->PostMessage(message, keys, MAKELPARAM(x, y));
    Pump();
}

void TableHarness::Heard() {
    const std::string reply = Doc("PingData");
    char* text = new char[reply.size() + 1];
    memcpy(text, reply.c_str(), reply.size() + 1);
    Session()->GetConnection()->OnReceiveText(text, static_cast<int>(reply.size()));
}

void TableHarness::Click(int id) {
    ClickControl(*table, id);
    Pump();
}

Capture TableHarness::BackBuffer() {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, table->BackBuffer().m_hObject);
    const RECT& r = table->TableRect();
    Capture c = CaptureDC(dc, r.right, r.bottom);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return c;
}

Capture TableHarness::Face(int id) {
    HWND button = ::GetDlgItem(*table, id);
    RECT r = {0, 0, 0, 0};
    if (button) ::GetClientRect(button, &r);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    if (button) ::SendMessageA(button, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Capture face = CaptureDC(dc, r.right, r.bottom);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return face;
}

}  // namespace fenlo_test

namespace fenlo_test {

std::vector<std::pair<ULONG_PTR, GameCopyData>> Lobby::records;

LRESULT CALLBACK Lobby::Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COPYDATA) {
        const COPYDATASTRUCT* d = reinterpret_cast<COPYDATASTRUCT*>(lp);
        if (d->cbData == sizeof(GameCopyData))
            records.emplace_back(d->dwData, *static_cast<const GameCopyData*>(d->lpData));
        return TRUE;
    }
    return DefWindowProcA(w, m, wp, lp);
}

Lobby::Lobby() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "TestLobby";
    wc.hInstance = GetModuleHandleA(nullptr);
    RegisterClassA(&wc);
    for (HWND& w : windows)
        w = CreateWindowA("TestLobby", "游戏大厅", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    records.clear();
}

Lobby::~Lobby() {
    for (HWND w : windows) DestroyWindow(w);
}

}  // namespace fenlo_test

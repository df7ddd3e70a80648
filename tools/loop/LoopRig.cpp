#include "tools/loop/LoopRig.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lobby/net/protocol/LoginDigest.h"
#include "lobby/ui/room/RoomGrid.h"
#include "tests/platform/ScreenCapture.h"
#include "tests/support/FakeLobby.h"
#include "tests/support/LoopbackServer.h"
#include "tools/loop/PlayFolder.h"
#include "tools/loop/WindowFind.h"

namespace loop {

using testsupport::ChildProcess;
using testsupport::WaitFor;
using testsupport::WindowText;

const char kLoginTitle[] = "MiraboGame";
const char kLobbyTitle[] = "游戏大厅";
const char kTableTitle[] = "Mirabo斗地主";

namespace {

const int kIdClose = 1063;         // the table's close button
const int kIdSidePanel = 1097;     // a control only the table's side panel has
const int kIdResultBack = 1079;    // the result dialog's buttons
const int kIdResultContinue = 1078;

// The lobby's settings: the XML message form, probes off, one server line.
std::string LobbyConfig() {
    return "[SYSTEM]\r\nversionxml=<version game=\"FENLO\" number=\"2.0.1\"/>\r\n"
           "ping=<GameMessage game=\"FENLO\"><Message name=\"Ping\" type=\"Request\"/></GameMessage>\r\n"
           "time1=-1\r\ntime2=300\r\ntime3=3000\r\ntime4=0\r\ntime5=3000\r\nSvrSelect=0\r\n"
           "[MsgType]\r\nType=0\r\n";
}

// One entry of the tree that the servers' rooms hang under (their entry "1").
const char kRoomTree[] =
    "[count]\r\nitem_count=1\r\n[item0]\r\nid=1\r\ntext=休闲场\r\ncolor=255 255 255\r\nicon=3\r\nparent=0\r\n"
    "expand=1\r\nurl=0\r\n";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsSidePanel(HWND window) { return GetDlgItem(window, kIdSidePanel) != nullptr; }
bool IsResult(HWND window) {
    return GetDlgItem(window, kIdResultBack) && GetDlgItem(window, kIdResultContinue) &&
           WindowText(window) != kTableTitle;
}

}  // namespace

LoopRig::LoopRig(RigOptions options) : options_(std::move(options)) {
    bin_ = options_.binFolder.empty() ? testsupport::OwnFolder() : options_.binFolder;
    if (bin_.back() != '\\') bin_ += '\\';
    folder_ = options_.playFolder;
    if (folder_.empty()) {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "mirabo_" + options_.name + "_" + std::to_string(GetCurrentProcessId());
        ownFolder_ = true;
    }
    if (folder_.back() != '\\') folder_ += '\\';
    secret_ = "loop" + std::to_string(GetTickCount());
}

LoopRig::~LoopRig() {
    EndFenlo();
    if (lobby_ && !lobby_->WaitExit(0)) CloseLobby(5000);
    lobby_.reset();
    StopLobbyServer();
    StopGameServer();
    if (ownFolder_) RemoveTree(folder_);
}

bool LoopRig::Start(std::string& error) {
    if (ownFolder_) RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* program : {"MiraboGame.exe", "fenlo.exe"})
        if (!CopyFileA((bin_ + program).c_str(), (folder_ + program).c_str(), FALSE)) {
            error = std::string("cannot copy ") + bin_ + program;
            return false;
        }
    CopyMatching(bin_, folder_, "*.dll");
    CopyTree(bin_ + "Skin\\", folder_ + "Skin\\");
    CopyTree(bin_ + "fenlo\\", folder_ + "fenlo\\");
    WriteText(folder_ + "config.ini", LobbyConfig());
    WriteText(folder_ + "FENLORoomTree.ini", kRoomTree);
    if (!StartServer(false, 0, error) || !StartServer(true, 0, error)) return false;
    WriteText(folder_ + "serveraddr.ini",
              testsupport::ServerAddrIni(1, {testsupport::ServerSection(1, "127.0.0.1", lobbyPort_, 1)}));
    CreateDirectoryA((folder_ + "updater").c_str(), nullptr);
    WriteText(folder_ + "updater\\config.ini", testsupport::UpdaterIni("127.0.0.1", 1, lobbyPort_));
    return true;
}

bool LoopRig::StartServer(bool lobby, unsigned short port, std::string& error) {
    const std::string portFile = folder_ + (lobby ? "lobby.port" : "game.port");
    DeleteFileA(portFile.c_str());
    std::string args = "--port " + std::to_string(port) + " --port-file " + Quoted(portFile) + " --secret " + secret_ +
                       " --idle " + std::to_string(options_.idleMs) + " --overall 14400000";
    if (lobby) {
        args += " --game-port " + std::to_string(gamePort_) + " --account " + options_.account + ":" +
                options_.password + " --write-codes " + Quoted(folder_ + "Msg.ini");
        for (const std::string& o : options_.lobbyServerOptions) args += " " + o;
    } else {
        args += " --room 1 --turn " + std::to_string(options_.turnSeconds) + " --write-codes " +
                Quoted(folder_ + "fenlo\\FENLOMsg.ini");
        for (const std::string& o : options_.gameServerOptions) args += " " + o;
    }
    const char* program = lobby ? "MiraboLobbyServer.exe" : "FenloGameServer.exe";
    auto server = std::make_unique<ChildProcess>(bin_ + program, args, folder_);
    unsigned short listening = 0;
    WaitFor([&] {
        std::string text;
        if (ReadText(portFile, text)) listening = static_cast<unsigned short>(std::atoi(text.c_str()));
        return listening != 0 || server->WaitExit(0);
    }, 15000);
    if (!server->Started() || listening == 0) {
        error = std::string(program) + " did not start listening";
        return false;
    }
    (lobby ? lobbyPort_ : gamePort_) = listening;
    (lobby ? lobbyServer_ : gameServer_) = std::move(server);
    return true;
}

void LoopRig::StopLobbyServer() {
    if (lobbyServer_) lobbyServer_->Kill();
    lobbyServer_.reset();
}

void LoopRig::StopGameServer() {
    if (gameServer_) gameServer_->Kill();
    gameServer_.reset();
}

bool LoopRig::RestartLobbyServer(int ms) {
    StopLobbyServer();
    std::string error;
    return WaitFor([&] { return StartServer(true, lobbyPort_, error); }, ms);
}

bool LoopRig::RestartGameServer(int ms) {
    StopGameServer();
    std::string error;
    return WaitFor([&] { return StartServer(false, gamePort_, error); }, ms);
}

std::string LoopRig::LoginLine() const {
    return "('" + options_.account + "," + MakeStoredDigest(options_.password, false) + "')";
}

bool LoopRig::StartLobby() {
    SetEnvironmentVariableA("MIRABO_LOBBY_TRACE", (folder_ + "lobby_trace.txt").c_str());
    SetEnvironmentVariableA("FENLO_TABLE_TRACE", (folder_ + "table_trace.txt").c_str());
    lobby_ = std::make_unique<ChildProcess>(folder_ + "MiraboGame.exe", LoginLine(), folder_);
    return lobby_->Started();
}

std::vector<std::string> LoopRig::TraceLines(bool table) const {
    std::string text;
    ReadText(folder_ + (table ? "table_trace.txt" : "lobby_trace.txt"), text);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// ---- the lobby -----------------------------------------------------------------

HWND LoopRig::WaitLoginWindow(int ms) { return lobby_ ? lobby_->WaitWindow("#32770", kLoginTitle, ms) : nullptr; }
HWND LoopRig::WaitLobbyWindow(int ms) { return lobby_ ? lobby_->WaitWindow("#32770", kLobbyTitle, ms) : nullptr; }
HWND LoopRig::LobbyWindow() { return WaitLobbyWindow(0); }

HWND LoopRig::Tree() {
    HWND main = LobbyWindow();
    return main ? FindClass(main, "SysTreeView32") : nullptr;
}

HTREEITEM LoopRig::WaitRoomItem(RemoteTree& tree, const std::string& room, int ms) {
    HTREEITEM item = nullptr;
    WaitFor([&] { return (item = tree.FindPrefix(room + "(")) != nullptr; }, ms);
    return item;
}

bool LoopRig::EnterRoom(const std::string& room, int ms) {
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = Tree()) != nullptr; }, ms)) return false;
    RemoteTree tree(window, lobby_->Id());
    HTREEITEM item = WaitRoomItem(tree, room, ms);
    if (!item) return false;
    tree.DoubleClick(item);
    return true;
}

HWND LoopRig::RoomPage() {
    HWND main = LobbyWindow();
    HWND view = main ? FindClass(main, "MiraboView") : nullptr;
    return IsShown(view) ? view : nullptr;
}

HWND LoopRig::WaitRoomPage(int ms) {
    HWND view = nullptr;
    WaitFor([&] { return (view = RoomPage()) != nullptr; }, ms);
    return view;
}

HWND LoopRig::SeatButton(int desk, int seat) {
    HWND view = RoomPage();
    return view ? GetDlgItem(view, room::kSeatButtonId + room::kSeatsPerDesk * (desk - 1) + seat) : nullptr;
}

bool LoopRig::ClickSeat(int desk, int seat) {
    HWND button = SeatButton(desk, seat);
    if (!IsUsable(button)) return false;
    Click(button);
    return true;
}

int LoopRig::ConfirmLobbyBoxes(const char* caption) {
    int n = 0;
    if (!lobby_) return n;
    for (HWND box : lobby_->Windows("#32770", caption)) {
        const std::string title = WindowText(box);
        if (title == kLobbyTitle || title == kLoginTitle) continue;
        Confirm(box);
        ++n;
    }
    return n;
}

bool LoopRig::CloseLobby(int ms) {
    if (!lobby_) return true;
    if (HWND main = LobbyWindow()) PostMessageA(main, WM_CLOSE, 0, 0);
    for (HWND login : lobby_->Windows("#32770", kLoginTitle)) PostMessageA(login, WM_CLOSE, 0, 0);
    return WaitFor([&] {
        ConfirmLobbyBoxes();
        return lobby_->WaitExit(50);
    }, ms);
}

// ---- the card table ------------------------------------------------------------

DWORD LoopRig::FenloId() {
    if (!lobby_) return 0;
    std::vector<DWORD> ids = ProcessesNamed("fenlo.exe", lobby_->Id());
    return ids.empty() ? 0 : ids.back();
}

HWND LoopRig::Table() {
    std::vector<HWND> found =
        ProcessWindows(FenloId(), [](HWND w) { return WindowText(w) == kTableTitle && !IsSidePanel(w); });
    return found.empty() ? nullptr : found[0];
}

HWND LoopRig::WaitTable(int ms) {
    HWND table = nullptr;
    WaitFor([&] { return (table = Table()) != nullptr; }, ms);
    return table;
}

bool LoopRig::WaitFenloGone(int ms) { return WaitFor([&] { return FenloId() == 0; }, ms); }

HWND LoopRig::TableButton(int id) {
    HWND table = Table();
    HWND button = table ? GetDlgItem(table, id) : nullptr;
    return IsShown(button) ? button : nullptr;
}

bool LoopRig::ClickTableButton(int id) {
    HWND button = TableButton(id);
    if (!IsUsable(button)) return false;
    Click(button);
    return true;
}

HWND LoopRig::ResultDialog() {
    const DWORD pid = FenloId();
    std::vector<HWND> found = ProcessWindows(pid, IsResult);
    if (!found.empty()) return found[0];
    HWND table = Table();
    for (HWND child = table ? GetWindow(table, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && IsResult(child)) return child;
    return nullptr;
}

HWND LoopRig::WaitResultDialog(int ms) {
    HWND result = nullptr;
    WaitFor([&] { return (result = ResultDialog()) != nullptr; }, ms);
    return result;
}

int LoopRig::AnswerTableBoxes(int button) {
    int n = 0;
    for (HWND box : ProcessWindows(FenloId(), [](HWND w) {
             char cls[16] = "";
             GetClassNameA(w, cls, sizeof cls);
             return std::strcmp(cls, "#32770") == 0 && WindowText(w) != kTableTitle && !IsSidePanel(w) &&
                    !IsResult(w);
         })) {
        HWND b = GetDlgItem(box, button);
        if (b) Click(b);
        else PostMessageA(box, WM_COMMAND, button, 0);
        ++n;
    }
    return n;
}

bool LoopRig::CloseTable(int ms) {
    if (!FenloId()) return true;
    if (!ClickTableButton(kIdClose))
        if (HWND table = Table()) PostMessageA(table, WM_CLOSE, 0, 0);
    const bool gone = WaitFor([&] {
        AnswerTableBoxes(IDYES);
        return FenloId() == 0;
    }, ms);
    if (!gone) EndFenlo();
    return gone;
}

void LoopRig::EndFenlo() {
    if (!lobby_) return;
    for (DWORD pid : ProcessesNamed("fenlo.exe", lobby_->Id())) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(process, 9);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

std::string LoopRig::Screenshot(HWND window, const std::string& folder, const std::string& name) {
    if (!IsWindow(window)) return "";
    // What the screen shows where the window lies, with what covers it; the
    // window's own pixels where the screen cannot be read.
    RECT r{};
    GetWindowRect(window, &r);
    Capture shot = Crop(CaptureScreen(), r);
    if (shot.width == 0) shot = CaptureWindow(window);
    if (shot.width == 0) return "";
    MakeFolders(folder);
    return SavePngTo(shot, folder + (folder.empty() || folder.back() == '\\' ? "" : "\\") + name + ".png");
}

}  // namespace loop

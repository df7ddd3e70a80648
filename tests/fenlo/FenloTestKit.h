// Helpers of the card-game client's tests: a scratch working directory, a game
// server of ours, and server messages as XML documents or binary packets.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tests/game_table/TableDocs.h"
#include "tests/support/LoopbackServer.h"

#include <shellapi.h>

namespace fenlo_test {

// Codes of the binary form in the tests' code table.
enum Code { kValidate = 40, kValidateSuccess, kAutoPlay, kChuPai, kBet, kJiaoFen };
const char kVersionSetting[] = "<Version name=\"FENLO\" value=\"2.3.4.5\"/>";
const char kPing[] = "<GameMessage game=\"FENLO\"><Message name=\"PingData\"/></GameMessage>";
const std::string kTableSettings =
    std::string("ping=") + kPing + "\r\ntime1=8000\r\ntime2=20000\r\nsoundon=1\r\nadvulr=http://127.0.0.1/\r\n";

// A folder with everything in it copied (to a new path) or removed, by the shell.
inline bool TreeOperation(UINT operation, const std::string& from, const std::string& to = "") {
    const std::string source = from + '\0', target = to + '\0';  // lists ended by a second zero
    SHFILEOPSTRUCTA op = {};
    op.wFunc = operation;
    op.pFrom = source.c_str();
    op.pTo = to.empty() ? nullptr : target.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationA(&op) == 0;
}
inline bool CopyTree(const std::string& from, const std::string& to) { return TreeOperation(FO_COPY, from, to); }
inline bool RemoveTree(const std::string& path) { return TreeOperation(FO_DELETE, path); }

// A fresh folder with a subfolder fenlo, removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "mirabo_" + name + "_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
        CreateDirectoryA((path_ + "\\fenlo").c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& file) const { return path_ + "\\" + file; }
    void Write(const std::string& file, const std::string& bytes) const {
        if (FILE* f = std::fopen((*this / file).c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }
    std::string Read(const std::string& file) const {
        std::string bytes;
        if (FILE* f = std::fopen((*this / file).c_str(), "rb")) {
            char b[4096];
            for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) bytes.append(b, n);
            std::fclose(f);
        }
        return bytes;
    }
    // fenlo\config.ini with the send type and the version (none when null),
    // and the code table.
    // The table's settings come after them.
    void WriteConfig(int sendType, const char* version = kVersionSetting,
                     const std::string& tableSettings = kTableSettings) const {
        std::string ini = "[SYSTEM]\r\nsendtype=" + std::to_string(sendType) + "\r\n" + tableSettings;
        if (version) ini += std::string("version=") + version + "\r\n";
        Write("fenlo\\config.ini", ini);
        std::string table = "[TotalMessageNum]\r\ncount=6\r\n";
        const char* names[] = {"PlayerInfoValidate", "ValidateSuccess", "AutoPlay", "ChuPai", "Bet", "JiaoFen"};
        for (int i = 0; i < 6; ++i)
            table += "[message" + std::to_string(i + 1) + "]\r\nid=" + std::to_string(kValidate + i) +
                     "\r\nname=" + names[i] + "\r\n";
        Write("fenlo\\FENLOMsg.ini", table);
    }

private:
    std::string path_;
};

using table_test::Doc;

// 1, code, 1, then each field as a 16-bit little-endian length and its bytes.
inline std::string Packet(int code, const std::vector<std::string>& fields) {
    std::string out = {1, static_cast<char>(code), 1};
    for (const std::string& f : fields) out += std::string{char(f.size() & 0xFF), char(f.size() >> 8)} + f;
    return out;
}

// Framed server messages for a script.
inline std::string Xml(const std::string& name, const std::string& data = "") {
    return testsupport::Frame(1, Doc(name, data));
}
inline std::string Bin(int code, const std::vector<std::string>& fields) {
    return testsupport::Frame(0, Packet(code, fields));
}

typedef std::vector<std::pair<int, std::string>> Frames;

// Plays the game server: once a connection's first frame (the validation
// request) has come, sends the script, then closes or waits for the client.
class GameServer {
public:
    explicit GameServer(std::vector<std::string> script = {}, bool closeAfter = false)
        : server_([script, closeAfter](testsupport::Connection& c) {
              int kind;
              std::string first;
              if (!c.ReadFrame(kind, first, 10000)) return;
              for (const std::string& bytes : script) c.Send(bytes);
              if (closeAfter)
                  c.Close();
              else
                  c.WaitClosed(60000);
          }) {}
    unsigned short Port() const { return server_.Port(); }
    testsupport::LoopbackServer& loopback() { return server_; }
    // The frames connection i has sent so far.
    Frames Sent(int i = 0) const {
        Frames out;
        const std::string b = server_.Received(i);
        for (size_t at = 0; at + 5 <= b.size();) {
            const size_t n = static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
                             static_cast<unsigned char>(b[at + 2]) << 16 |
                             static_cast<size_t>(static_cast<unsigned char>(b[at + 3])) << 24;
            if (at + 5 + n > b.size()) break;
            out.emplace_back(b[at + 4], b.substr(at + 5, n));
            at += 5 + n;
        }
        return out;
    }
    bool WaitSent(size_t n, int i = 0) const {
        return testsupport::WaitFor([&] { return server_.Accepted() > i && Sent(i).size() >= n; }, 10000);
    }

private:
    testsupport::LoopbackServer server_;
};

// A person's click at the middle of a control of parent: down and up go to
// the window the system gives a click at that point, so that a hidden or
// disabled control is not clicked (what lies beneath it gets the click).
// False when the point lies outside the parent's client area.
inline bool ClickControl(HWND parent, int id) {
    HWND control = ::GetDlgItem(parent, id);
    if (!control) return false;
    RECT r;
    ::GetWindowRect(control, &r);
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ScreenToClient(parent, &at);
    HWND target = ::ChildWindowFromPointEx(parent, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!target) return false;
    ::MapWindowPoints(parent, target, &at, 1);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageA(target, WM_MOUSEMOVE, 0, where);
    ::PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageA(target, WM_LBUTTONUP, 0, where);
    return true;
}

}  // namespace fenlo_test

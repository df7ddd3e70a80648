#include "tools/servers/ProgramOptions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "lobby/net/binary/MsgCodeIni.h"

namespace servers {

namespace {

const char* const kCommon[] = {"port",   "port-file", "idle", "overall", "form",
                               "codes",  "write-codes", "script", "secret", "seed",
                               "transcript", "hostile"};

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << text);
}

bool ProgramOptions::Parse(int argc, char** argv, const std::vector<std::string>& ownNames, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool known = false;
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            const std::string name = arg.substr(2);
            for (const char* c : kCommon) known = known || name == c;
            for (const std::string& o : ownNames) known = known || name == o;
            if (known && i + 1 < argc) {
                values_[name] = argv[++i];
                continue;
            }
        }
        error = known ? "no value after " + arg : "unknown option " + arg;
        return false;
    }
    return true;
}

std::string ProgramOptions::Text(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

long ProgramOptions::Number(const std::string& name, long fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : std::strtol(it->second.c_str(), nullptr, 10);
}

bool ProgramOptions::Host(const MsgCodeTable& builtIn, HostOptions& out, std::string& error) const {
    out.port = static_cast<unsigned short>(Number("port", 0));
    out.idleMs = static_cast<int>(Number("idle", out.idleMs));
    out.overallMs = static_cast<int>(Number("overall", out.overallMs));
    const std::string form = Text("form", "mirror");
    if (form != "mirror" && form != "text" && form != "binary") {
        error = "--form takes mirror, text or binary";
        return false;
    }
    out.form = form == "text" ? ReplyForm::kText : form == "binary" ? ReplyForm::kBinary : ReplyForm::kMirror;
    out.codes = builtIn;
    if (Has("codes")) {
        out.codes.clear();
        char full[MAX_PATH];
        if (!GetFullPathNameA(Text("codes").c_str(), MAX_PATH, full, nullptr) || ReadMsgCodeFile(full, out.codes) == 0) {
            error = "no code table in " + Text("codes");
            return false;
        }
    }
    if (Has("write-codes") && !WriteWholeFile(Text("write-codes"), CodeFileText(builtIn))) {
        error = "cannot write " + Text("write-codes");
        return false;
    }
    out.transcript = Text("transcript");
    out.hostile.frames = static_cast<int>(Number("hostile", 0));
    out.hostile.seed = static_cast<unsigned>(Number("seed", 1));
    if (Has("script")) {
        std::string text;
        if (!ReadWholeFile(Text("script"), text)) {
            error = "cannot read " + Text("script");
            return false;
        }
        if (!out.script.Parse(text, &error)) return false;
    }
    return true;
}

int RunUntilExpired(ScriptedHost& host, const ProgramOptions& options, const char* what) {
    if (host.Port() == 0) {
        std::fprintf(stderr, "%s: cannot listen on 127.0.0.1:%ld\n", what, options.Number("port", 0));
        return 2;
    }
    std::printf("%s listening on 127.0.0.1:%u\n", what, host.Port());
    std::fflush(stdout);
    if (options.Has("port-file") && !WriteWholeFile(options.Text("port-file"), std::to_string(host.Port()) + "\n")) {
        std::fprintf(stderr, "%s: cannot write %s\n", what, options.Text("port-file").c_str());
        return 2;
    }
    while (!host.Expired()) Sleep(50);
    std::printf("%s: deadline reached after %d connections\n", what, host.Connections());
    return 0;
}

}  // namespace servers
